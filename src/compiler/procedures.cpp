// SUB and FUNCTION: heads with their parameters, the ways out, CALL and the FUNCTION
// result.
//
// Calls on the Pyxon boards: the caller pushes the arguments left to right and calls with
// GOSUB from the main program, with CALLF from inside a procedure (a fresh local frame);
// the entry code pops them into the parameters, the last one first. A FUNCTION keeps its
// result in a hidden word of its frame, set to 0 on entry; its way out pushes it and
// returns with RETF. The handler SUBs are entered by the machine itself in whatever frame
// is current: their variables live in global memory and they return without leaving a
// frame.
#include "compiler/control_flow.h"
#include "compiler/messages.h"
#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/expression_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

constexpr size_t kMaxNameLength = 16;
// Where Tessel Micro and Tessel 2.0 hand a FUNCTION's result to the caller.
constexpr uint8_t kMicroResultByte = 23;
constexpr uint8_t kTessel20ResultWord = 31;
// A critical error restarts the program from the CRASH handler, in the frame it struck:
// leaving every frame (a call that returns with RETF) starts the program at frame 0 again.
constexpr int kMaxFrames = 16;

// The hidden local word that holds a FUNCTION's result.
std::string ResultName(const std::string& function) { return "~" + function; }

int ResultSymbol(const TCompilerContext& c) {
  if (c.currentProcedure < 0 || static_cast<size_t>(c.currentProcedure) >= c.symbols.size()) return -1;
  return FindSymbol(c, ResultName(c.symbols[static_cast<size_t>(c.currentProcedure)].name), c.currentProcedure);
}

bool CheckProcedureName(TCompilerContext& c, const std::string& name, int32_t at, bool isFunction) {
  c.errorPosition = at;
  const std::string upper = UpperCase(name);
  const bool handler = IsHandlerName(upper);
  if (upper.size() > kMaxNameLength) return CompileError(c, name, msg::NameTooLong), false;
  if (FindSymbol(c, name, kAnyScope) >= 0) return CompileError(c, name, msg::AlreadyDefined), false;
  if (FindAsmLabel(c, name) >= 0) return CompileError(c, name, msg::AssemblerName), false;
  if (IsReserved(upper) >= 0 && !handler) return CompileError(c, name, msg::ReservedName), false;
  if (isFunction && handler) return CompileError(c, "", msg::HandlerMustBeSub), false;
  return true;
}

bool CheckNotNested(TCompilerContext& c, int32_t start) {
  c.errorPosition = start;
  if (InnermostProcedure(c) != nullptr) return CompileError(c, "", msg::NestedProcedure), false;
  if (c.blocks.empty()) return true;
  CheckOpenBlock(c);
  return false;
}

// The type after AS of a parameter or FUNCTION: its kind bit, or -1 for another word.
int TypeKind(const std::string& upperWord) {
  if (upperWord == "BOOLEAN") return kind::Bit;
  if (upperWord == "BYTE") return kind::Byte;
  if (upperWord == "INTEGER" || upperWord == "WORD") return kind::Word;
  if (upperWord == "STRING") return kind::String;
  return -1;
}

// Whether the type suits the name and the profile.
bool CheckParameterType(TCompilerContext& c, const std::string& name, int type, const std::string& word, int32_t at) {
  const bool dollar = name.back() == '$';
  if (type == kind::String && !dollar) return ReportAt(c, at, name, msg::StringNameExpected), false;
  if (type != kind::String && dollar) return ReportAt(c, at, word, msg::StringTypeExpected), false;
  if (c.profile == profile::TesselMicro && (type == kind::String || type == kind::Word))
    return ReportAt(c, at, type == kind::String ? "STRING" : "INTEGER", msg::UnavailableOnMicro), false;
  return true;
}

int AddVariable(TCompilerContext& c, const std::string& name, int type, int32_t at) {
  Tlabel s;
  s.name = name;
  s.sourcePosition = at;
  s.module = c.moduleIndex;
  s.scope = c.Scope();
  s.kind = KindBit(type);
  c.errorPosition = at;
  const std::vector<uint8_t> pattern = type == kind::Bit ? std::vector<uint8_t>{1}
                                       : type == kind::Byte ? std::vector<uint8_t>{255}
                                                            : std::vector<uint8_t>{255, 255};
  s.address = AllocateVariable(c, s.kind, {}, pattern);
  if (s.address < 0) return -1;
  return AddSymbol(c, std::move(s));
}

// One parameter, a simple variable: name [AS type]. Its symbol, -1 after a report.
int ReadParameter(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string name = ReadIdentifier(c, TIdentifierVariant::String);
  if (name.empty()) return -1;
  c.errorPosition = at;
  if (!CheckNewName(c, name)) return -1;
  if (c.Current() == '[') return ReportAt(c, at, name, msg::SimpleVariableParameter), -1;
  int type = name.back() == '$' ? kind::String : kind::Word;
  std::string word = type == kind::String ? "STRING" : "INTEGER";
  int32_t typeAt = at;
  const int32_t afterName = c.position;
  if (ReadUpperName(c) == "AS") {
    SkipBlanks(c);
    typeAt = c.position;
    word = ReadName(c);
    type = TypeKind(UpperCase(word));
    if (type < 0) return ReportAt(c, at, name, msg::SimpleVariableParameter), -1;
  } else {
    c.position = afterName;
  }
  if (!CheckParameterType(c, name, type, word, typeAt)) return -1;
  return AddVariable(c, name, type, at);
}

// The parameter list in parentheses; false after a report.
bool ReadParameters(TCompilerContext& c, const std::string& upperName, std::vector<int>& parameters) {
  SkipBlanks(c);
  const int32_t open = c.position;
  const bool none = upperName == "INTERRUPT" || upperName == "KEYINTERRUPT";
  if (c.Current() == '(') {
    ++c.position;
    SkipBlanks(c);
    if (c.Current() == ')') ++c.position;
    while (c.At(c.position - 1) != ')') {
      if (none) return ReportAt(c, open, "", msg::HandlerTakesNoParameters), false;
      const int p = ReadParameter(c);
      if (p < 0) return false;
      parameters.push_back(p);
      SkipBlanks(c);
      if (c.Current() != ',' && c.Current() != ')') return CompileError(c, ")", msg::Expected), false;
      ++c.position;
    }
  }
  if ((upperName == "ERROR" || upperName == "CRASH") && parameters.size() != 2) return ReportAt(c, open, "2", msg::ParameterCountExpected), false;
  return true;
}

// AS and a type after a FUNCTION's parameters. The result is held in a word whatever the
// type; `kind` tells what to cut it to.
bool ReadResultType(TCompilerContext& c, int& kind) {
  const int32_t at = c.position;
  if (ReadUpperName(c) != "AS") {
    c.position = at;
    return true;
  }
  SkipBlanks(c);
  const int32_t typeAt = c.position;
  const std::string word = ReadName(c);
  kind = TypeKind(UpperCase(word));
  if (kind < 0) return ReportAt(c, typeAt, word, msg::TypeExpected), false;
  return true;
}

// A BYTE or BOOLEAN result is cut to its type as a store into such a variable would:
// the low byte, or -1 for anything but 0.
void EmitResultCut(TCompilerContext& c, int kind) {
  if (kind == kind::Byte) {
    EmitConstantPush(c, 255);
    EmitByte(c, tok::AND);
  } else if (kind == kind::Bit) {
    EmitConstantPush(c, 0);
    EmitByte(c, tok::NE);
  }
}

// Counts down from kMaxFrames, leaving one frame each time through a call to a RETF.
void EmitFrameReset(TCompilerContext& c) {
  const std::string loop = ".crashframes", leave = ".crashleave", done = ".crashdone";
  EmitConstantPush(c, kMaxFrames);
  DefineLabel(c, loop, CurrentProcedureName(c));
  EmitJump(c, tok::GOSUB, leave);
  EmitConstantPush(c, 1);
  EmitByte(c, tok::SUB);
  EmitByte(c, tok::DUP);
  EmitJump(c, tok::JUMPF, done);
  EmitJump(c, tok::GOTO, loop);
  DefineLabel(c, leave, CurrentProcedureName(c));
  EmitByte(c, tok::RETF);
  DefineLabel(c, done, CurrentProcedureName(c));
  EmitDiscard(c);
}

void EmitEntry(TCompilerContext& c, const std::vector<int>& parameters, int result, const std::string& upperName) {
  for (auto it = parameters.rbegin(); it != parameters.rend() && !c.errorReported; ++it)
    AppendPiece(c, EmitStore(c, *it));
  if (result >= 0) {
    EmitConstantPush(c, 0);
    AppendPiece(c, EmitStore(c, result));
  }
  if (upperName == "CRASH" && c.Pyxon()) EmitFrameReset(c);
}

}  // namespace

void CompileProcedureHead(TCompilerContext& c, bool isFunction) {
  const int32_t start = StatementStart(c);
  SkipBlanks(c);
  const int32_t at = c.position;
  if (!IsNameChar(c.Current())) return ReportHere(c, "", msg::ProcedureNameExpected);
  const std::string name = ReadIdentifier(c, TIdentifierVariant::Procedure);
  if (name.empty() || !CheckProcedureName(c, name, at, isFunction) || !CheckNotNested(c, start)) return;
  const std::string upper = UpperCase(name);
  TBlock b;
  b.start = start;
  b.kind = isFunction ? TBlockKind::Function : TBlockKind::Sub;
  b.end = (isFunction ? ".fun" : ".sub") + name;
  b.name = name;
  c.blocks.push_back(b);
  EmitJump(c, tok::GOTO, b.end);  // the main flow goes round the body
  Tlabel procedure;
  procedure.name = name;
  procedure.kind = KindBit(isFunction ? kind::Function : kind::Sub);
  procedure.address = static_cast<int64_t>(c.code.size()) + 4;
  procedure.value = "0";
  procedure.sourcePosition = at;
  procedure.module = c.moduleIndex;
  c.currentProcedure = AddSymbol(c, std::move(procedure));
  const int result = isFunction && c.Pyxon() ? AddVariable(c, ResultName(name), kind::Word, at) : -1;
  std::vector<int> parameters;
  if (!ReadParameters(c, upper, parameters)) return;
  c.symbols[static_cast<size_t>(c.currentProcedure)].value = std::to_string(parameters.size());
  if (isFunction && !ReadResultType(c, c.blocks.back().resultKind)) return;
  EmitEntry(c, parameters, result, upper);
  ExpectEnd(c);
}

void EmitProcedureExit(TCompilerContext& c, bool atEnd) {
  if (c.currentProcedure < 0 || static_cast<size_t>(c.currentProcedure) >= c.symbols.size()) return;
  const Tlabel procedure = c.symbols[static_cast<size_t>(c.currentProcedure)];
  const std::string upper = UpperCase(procedure.name);
  if (HasKind(procedure.kind, kind::Function)) {
    if (c.Pyxon()) {
      EmitLoad(c, ResultSymbol(c));
      return EmitByte(c, tok::RETF);
    }
    if (c.profile == profile::TesselMicro) {
      EmitByte(c, tok::LBYTEWRITE);
      EmitByte(c, kMicroResultByte);
    } else if (c.profile == profile::Tessel20) {
      EmitByte(c, tok::LWORDWRITE);
      EmitByte(c, kTessel20ResultWord);
    }
    return EmitByte(c, tok::RETURN);
  }
  if (upper == "INTERRUPT") {
    EmitByte(c, tok::RETI);
    if (atEnd && !c.Pyxon()) EmitByte(c, tok::RETURN);
    return;
  }
  EmitByte(c, c.Pyxon() && !IsHandlerName(upper) ? tok::RETF : tok::RETURN);
}

void CompileEndProcedure(TCompilerContext& c, bool isFunction) {
  if (c.blocks.empty()) return ReportAtStatement(c, isFunction ? msg::EndFunctionWithoutFunction : msg::EndSubWithoutSub);
  if (c.blocks.back().kind != (isFunction ? TBlockKind::Function : TBlockKind::Sub)) return CheckOpenBlock(c);
  EmitProcedureExit(c, true);
  c.currentProcedure = -1;
  const TBlock b = c.blocks.back();
  c.blocks.pop_back();
  DefineLabel(c, b.end);
  ExpectEnd(c);
}

void CompileResultAssignment(TCompilerContext& c) {
  if (!ExpectChar(c, '=')) return;
  CompileExpression(c, kRuntimeMask);
  if (const TBlock* function = InnermostProcedure(c); function != nullptr && !c.errorReported)
    EmitResultCut(c, function->resultKind);
  // On the Tessel boards the result stays on the data stack for the FUNCTION's end.
  if (c.Pyxon() && !c.errorReported) AppendPiece(c, EmitStore(c, ResultSymbol(c)));
  if (!c.errorReported) ExpectEnd(c);
}

void CompileCall(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string name = ReadName(c);
  const std::string upper = UpperCase(name);
  if (upper == "INTERRUPT") return ReportAt(c, at, "", msg::InterruptHandlerNotCallable);
  const int s = name.empty() ? -1 : FindSymbol(c, name, c.Scope());
  const bool assembler = !name.empty() && FindAsmLabel(c, name) >= 0;
  if (s >= 0 && HasKind(c.symbols[static_cast<size_t>(s)].kind, kind::Function)) return ReportAt(c, at, name, msg::FunctionNotCallable);
  if (s >= 0 && !HasKind(c.symbols[static_cast<size_t>(s)].kind, kind::Sub)) return ReportAt(c, at, "", msg::CallTargetExpected);
  // A name not declared yet is a SUB further on; the post-pass finds out.
  if (s < 0 && !assembler && (!IsValidIdentifier(upper) || IsReserved(upper) >= 0)) return ReportAt(c, at, "", msg::CallTargetExpected);
  // The ATmega boards cannot run HC05 machine code: an assembler label is no call target there.
  if (assembler && c.Pyxon()) return ReportAt(c, at, "", msg::CallTargetExpected);
  const int count = CompileArgumentList(c, name, at);
  if (count < 0 || c.errorReported) return;
  c.errorPosition = at;
  if (assembler) {
    // The Tessel runtimes call machine code with token 08 and its 16-bit address.
    EmitByte(c, kMachineCodeCall);
    AddFixup(c, "^" + name);
    return ExpectEnd(c);
  }
  // A handler runs in the caller's frame, whoever calls it.
  const bool framed = c.Pyxon() && c.currentProcedure >= 0 && !IsHandlerName(upper);
  EmitByte(c, framed ? tok::CALLF : tok::GOSUB);
  AddFixup(c, name, count);
  if (BalancesTesselPaths(c)) EmitDiscard(c);  // the cell RETURN hands back
  ExpectEnd(c);
}

}  // namespace zarvek
