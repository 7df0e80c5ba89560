// FOR ... NEXT, DO ... LOOP and EXIT.
//
// On the Pyxon boards the loop test of a FOR compares a copy of the variable's new value
// that the start and NEXT leave on the data stack, not the stored variable: a BYTE that
// steps from 255 to 256 stores 0 but still ends the loop. The test consumes the copy.
#include "compiler/control_flow.h"
#include "compiler/messages.h"
#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// The message for a FOR variable that cannot count, 0 when it can.
int LoopVariableError(uint32_t k) {
  if (HasKind(k, kind::DaOutput)) return msg::ForOnDaOutput;
  if (HasKind(k, kind::AdInput)) return msg::AdReadOnly;
  const uint32_t counters = Kinds(kind::Byte, kind::Word);
  const uint32_t whole = Kinds(kind::Array, kind::StringStar, kind::StructVar, kind::Constant, kind::Table,
                               kind::Label, kind::Sub, kind::Function);
  if ((k & counters) == 0 || (k & whole) != 0 || !IsVariableKind(k)) return msg::VariableExpected;
  return 0;
}

// The loop variable after FOR: its symbol, or -1 after a report.
int ReadLoopVariable(TCompilerContext& c, int32_t& at) {
  SkipBlanks(c);
  at = c.position;
  const std::string name = ReadName(c);
  if (name.empty()) return ReportHere(c, "", msg::VariableExpected), -1;
  const int v = FindSymbol(c, name, c.Scope());
  if (v < 0) return CompileError(c, name, msg::Unknown), -1;
  SkipBlanks(c);
  if (c.Current() != '=') return ReportHere(c, "", msg::EqualsExpected), -1;
  ++c.position;
  return v;
}

bool StoreLoopVariable(TCompilerContext& c, int v, int32_t at) {
  const Tlabel& s = c.symbols[static_cast<size_t>(v)];
  int code = LoopVariableError(s.kind);
  // Only the first two byte ports are plain outputs; the third carries the AD and DA pins.
  if (code == 0 && HasKind(s.kind, kind::Port) && HasKind(s.kind, kind::Byte) && s.address >= 2 &&
      c.profile != profile::Tessel20)
    code = msg::AdReadOnly;
  if (code != 0) return ReportAt(c, at, s.name, code), false;
  AppendPiece(c, EmitStore(c, v));
  return !c.errorReported;
}

// TO or DOWNTO: the default step and the test that holds while the loop goes on.
bool ReadDirection(TCompilerContext& c, TBlock& b, uint8_t& test) {
  const int32_t at = c.position;
  const std::string word = ReadUpperName(c);
  if (word != "TO" && word != "DOWNTO") {
    c.position = at;
    ReportHere(c, "", msg::ToExpected);
    return false;
  }
  const bool up = word == "TO";
  b.step.bytes = ConstantPush(c, up ? 1 : -1);
  test = up ? tok::LE : tok::GE;
  return true;
}

// The innermost open block of one of two kinds, nullptr when there is none.
const TBlock* Innermost(const TCompilerContext& c, TBlockKind kindA, TBlockKind kindB) {
  for (auto it = c.blocks.rbegin(); it != c.blocks.rend(); ++it)
    if (it->kind == kindA || it->kind == kindB) return &*it;
  return nullptr;
}

// The condition after WHILE or UNTIL; the code leaves true when the loop goes on.
void CompileLoopCondition(TCompilerContext& c, bool until) {
  CompileExpression(c, kRuntimeMask);
  if (until) EmitByte(c, tok::NOT);
}

void ExitProcedure(TCompilerContext& c, bool function) {
  const TBlock* procedure = InnermostProcedure(c);
  if (procedure == nullptr || procedure->kind != (function ? TBlockKind::Function : TBlockKind::Sub))
    return ReportAtStatement(c, function ? msg::ExitFunctionWithoutFunction : msg::ExitSubWithoutSub);
  EmitProcedureExit(c, false);
}

}  // namespace

void CompileFor(TCompilerContext& c) {
  const int32_t start = StatementStart(c);
  int32_t at = 0;
  const int v = ReadLoopVariable(c, at);
  if (v < 0) return;
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return;
  if (c.Pyxon()) EmitByte(c, tok::DUP);
  if (!StoreLoopVariable(c, v, at)) return;
  // The loop test is where NEXT comes back to: the statement starts there.
  if (!c.statementMap.empty()) c.statementMap.back().codeOffset = static_cast<uint32_t>(c.code.size());
  const std::string n = FreshLabelNumber(c, static_cast<int64_t>(c.code.size()) + 4, {"*", "**"});
  TBlock b;
  b.start = start;
  b.kind = TBlockKind::For;
  b.top = "*" + n;
  b.end = "**" + n;
  b.name = c.symbols[static_cast<size_t>(v)].name;
  uint8_t test = 0;
  if (!ReadDirection(c, b, test)) return;
  DefineLabel(c, b.top, CurrentProcedureName(c));
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return;
  EmitByte(c, test);
  EmitJump(c, tok::JUMPF, b.end);
  const int32_t afterLimit = c.position;
  if (ReadUpperName(c) == "STEP") {
    const size_t mark = c.code.size();
    CompileExpression(c, kRuntimeMask);
    b.step = CutCode(c, mark);
  } else {
    c.position = afterLimit;
    if (!AtStatementEnd(c)) return ReportHere(c, "", msg::EndOrStepExpected);
  }
  if (c.errorReported) return;
  c.blocks.push_back(std::move(b));
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileNext(TCompilerContext& c) {
  if (c.blocks.empty()) return ReportAtStatement(c, msg::NextWithoutFor);
  if (c.blocks.back().kind != TBlockKind::For) return CheckOpenBlock(c);
  const TBlock b = c.blocks.back();
  const std::string name = ReadName(c);
  if (!name.empty() && UpperCase(name) != UpperCase(b.name)) return CompileError(c, b.name, msg::NextVariableMismatch);
  if (!AtStatementEnd(c)) return ReportHere(c, "", msg::EndExpected);
  const int v = FindSymbol(c, b.name, c.Scope());
  if (v < 0) return CompileError(c, b.name, msg::Unknown);
  AppendPiece(c, b.step);
  EmitLoad(c, v);
  EmitByte(c, tok::ADD);
  if (c.Pyxon()) EmitByte(c, tok::DUP);
  AppendPiece(c, EmitStore(c, v));
  EmitJump(c, tok::GOTO, b.top);
  DefineLabel(c, b.end, CurrentProcedureName(c));
  c.blocks.pop_back();
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileDo(TCompilerContext& c) {
  const std::string n = FreshLabelNumber(c, static_cast<int64_t>(c.code.size()) + 4, {"*", "**", "***"});
  TBlock b;
  b.start = StatementStart(c);
  b.top = "*" + n;
  b.end = "**" + n;
  const std::string word = ReadUpperName(c);
  if (word.empty()) {
    b.kind = TBlockKind::Do;
    DefineLabel(c, b.top, CurrentProcedureName(c));
    if (BalancesTesselPaths(c)) {  // a plain DO leaves nothing to drop
      c.blocks.push_back(b);
      return ExpectEnd(c);
    }
  } else if (word == "WHILE" || word == "UNTIL") {
    b.kind = TBlockKind::DoWhile;
    DefineLabel(c, b.top, CurrentProcedureName(c));
    CompileLoopCondition(c, word == "UNTIL");
    EmitJump(c, tok::JUMPF, b.end);
  } else {
    return CompileError(c, "", msg::UntilOrWhileExpected);
  }
  if (c.errorReported) return;
  c.blocks.push_back(b);
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileLoop(TCompilerContext& c) {
  if (c.blocks.empty() || (c.blocks.back().kind != TBlockKind::Do && c.blocks.back().kind != TBlockKind::DoWhile))
    return ReportAtStatement(c, msg::LoopWithoutDo);
  const TBlock b = c.blocks.back();
  if (b.kind == TBlockKind::DoWhile) {
    if (!AtStatementEnd(c)) return ReportHere(c, "", msg::EndExpectedHeadLoop);
    EmitJump(c, tok::GOTO, b.top);
    DefineLabel(c, b.end, CurrentProcedureName(c));
  } else {
    const std::string word = ReadUpperName(c);
    if (word == "WHILE" || word == "UNTIL") {
      CompileLoopCondition(c, word == "UNTIL");
      EmitJump(c, tok::JUMPF, b.end);
      if (BalancesTesselPaths(c)) EmitDiscard(c);  // the condition of the way back
    } else if (!word.empty()) {
      return CompileError(c, "", msg::UntilOrWhileExpected);
    }
    EmitJump(c, tok::GOTO, b.top);
    DefineLabel(c, b.end, CurrentProcedureName(c));
  }
  if (c.errorReported) return;
  c.blocks.pop_back();
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileExit(TCompilerContext& c) {
  const int32_t at = c.position;
  const std::string word = ReadUpperName(c);
  // The loop's exit drops the failed condition its own test leaves; an EXIT brings a
  // stand-in for it where the paths must balance.
  if ((word == "DO" || word == "FOR") && BalancesTesselPaths(c)) EmitConstantPush(c, 0);
  if (word == "DO") {
    const TBlock* loop = Innermost(c, TBlockKind::Do, TBlockKind::DoWhile);
    if (loop == nullptr) return ReportAtStatement(c, msg::ExitDoWithoutDo);
    EmitJump(c, tok::GOTO, loop->end);
  } else if (word == "FOR") {
    const TBlock* loop = Innermost(c, TBlockKind::For, TBlockKind::For);
    if (loop == nullptr) return ReportAtStatement(c, msg::ExitForWithoutFor);
    EmitJump(c, tok::GOTO, loop->end);
  } else if (word == "SUB" || word == "FUNCTION") {
    ExitProcedure(c, word == "FUNCTION");
  } else {
    c.position = at;
    return ReportHere(c, "", msg::ExitWhatExpected);
  }
  ExpectEnd(c);
}

}  // namespace zarvek
