// SELECT CASE, CASE and END SELECT.
//
// The selector is kept where each item can push it again: in a cell of its own on the
// Tessel boards, and on the data stack on the Pyxon boards, where SELECT leaves two copies.
// An item compares one copy with its value and jumps to the branch body ("C" + the next
// branch's label) on a match, which drops the other; after the last item a fresh copy is
// pushed and the branch fails on to the next CASE (the next branch's label) with two
// copies again. So every body runs
// with the stack as it was before SELECT, and the failure of the last branch drops both
// copies.
#include <initializer_list>

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

// Where the Tessel boards keep the selector: Tessel 1.1 through a routine of its runtime
// (the machine-code call 08 with its address), Tessel Micro in local byte 23, Tessel 2.0 in
// local word 31.
constexpr uint16_t kTessel11SelectorRoutine = 0x1187;
constexpr uint8_t kMicroSelectorByte = 23;
constexpr uint8_t kTessel20SelectorWord = 31;

std::string Bytes(std::initializer_list<uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Tessel11Selector() {
  return Bytes({kMachineCodeCall, static_cast<uint8_t>(kTessel11SelectorRoutine >> 8),
                static_cast<uint8_t>(kTessel11SelectorRoutine & 0xFF)});
}

// After the selector's value: what keeps it and leaves it on the stack for the first item.
std::string SelectorKeep(const TCompilerContext& c) {
  // Where the paths must balance, the store alone keeps the selector on the stack for the
  // first item, as 08 11 87 does on Tessel 1.1.
  if (c.profile == profile::TesselMicro && BalancesTesselPaths(c)) return "\x19\x17";
  switch (c.profile) {
    case profile::Tessel11: return Tessel11Selector();
    case profile::TesselMicro:
      return Bytes({tok::LBYTEWRITE, kMicroSelectorByte, tok::LBYTEREAD, kMicroSelectorByte, tok::LBYTEREAD,
                    kMicroSelectorByte});
    case profile::Tessel20:
      return Bytes({tok::LWORDWRITE, kTessel20SelectorWord, tok::LWORDREAD, kTessel20SelectorWord, tok::LWORDREAD,
                    kTessel20SelectorWord});
    case profile::Pyxon32:
    case profile::Pyxon128: break;
  }
  return Bytes({tok::DUP});
}

// Pushes the selector once more.
std::string SelectorReload(const TCompilerContext& c) {
  // Where a drop comes between the item's test and the reload, the Tessel 1.1 helper
  // cannot tell a reload from a new selector: its reload entry is called directly.
  if (c.profile == profile::Tessel11 && BalancesTesselPaths(c)) return "\x08\x11\x8C";
  switch (c.profile) {
    case profile::Tessel11: return Tessel11Selector();
    case profile::TesselMicro: return Bytes({tok::LBYTEREAD, kMicroSelectorByte});
    case profile::Tessel20: return Bytes({tok::LWORDREAD, kTessel20SelectorWord});
    case profile::Pyxon32:
    case profile::Pyxon128: break;
  }
  return Bytes({tok::DUP});
}

// The next statement must be a CASE: looks ahead over line ends and comments.
bool NextStatementIsCase(TCompilerContext& c) {
  const int32_t position = c.position, errorPosition = c.errorPosition;
  const bool ended = c.lastWordEndedLine, first = c.wordIsFirstOfLine;
  std::string word;
  int32_t at = c.position;
  while (word.empty() && !c.AtEnd() && !c.errorReported) {
    SkipBlanks(c);
    at = c.position;
    word = ReadWord(c);
  }
  c.position = position;
  c.errorPosition = errorPosition;
  c.lastWordEndedLine = ended;
  c.wordIsFirstOfLine = first;
  if (c.errorReported) return false;
  if (UpperCase(word) == "CASE") return true;
  ReportAt(c, at, "", msg::CaseStatementExpected);
  return false;
}

// The comparison after IS, as the token that is true when the item does not match; 0 for
// anything else.
uint8_t ReadNegatedComparison(TCompilerContext& c) {
  SkipBlanks(c);
  std::string op;
  while (op.size() < 2 && (c.Current() == '<' || c.Current() == '=' || c.Current() == '>')) {
    op.push_back(c.Current());
    ++c.position;
  }
  if (op == "=") return tok::NE;
  if (op == "<>") return tok::EQ;
  if (op == ">") return tok::LE;
  if (op == "<") return tok::GE;
  if (op == ">=" || op == "=>") return tok::LT;
  if (op == "<=" || op == "=<") return tok::GT;
  return 0;
}

// a TO b, with a compiled: below a the item does not match, not above b it does.
void CompileRange(TCompilerContext& c, const std::string& match) {
  const std::string skip = "N$" + FreshLabelNumber(c, static_cast<int64_t>(c.code.size()), {"N$"});
  EmitByte(c, tok::GE);
  EmitJump(c, tok::JUMPF, skip);
  if (BalancesTesselPaths(c)) EmitDiscard(c);  // the lower bound's test
  c.code += SelectorReload(c);
  CompileExpression(c, kRuntimeMask);
  EmitByte(c, tok::GT);
  EmitJump(c, tok::JUMPF, match);
  DefineLabel(c, skip, CurrentProcedureName(c));
}

// One item: a value, IS with a comparison, or a range. False after an error.
bool CompileCaseItem(TCompilerContext& c, const std::string& match) {
  SkipBlanks(c);
  if (c.Current() == ',') return CompileError(c, "", msg::ExpressionExpected), false;
  const int32_t at = c.position;
  if (ReadUpperName(c) == "IS") {
    SkipBlanks(c);
    const int32_t opAt = c.position;
    const uint8_t test = ReadNegatedComparison(c);
    if (test == 0) return ReportAt(c, opAt, "", msg::CaseOperatorExpected), false;
    CompileExpression(c, kRuntimeMask);
    EmitByte(c, test);
    EmitJump(c, tok::JUMPF, match);
    return !c.errorReported;
  }
  c.position = at;
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return false;
  const int32_t after = c.position;
  if (ReadUpperName(c) == "TO") {
    CompileRange(c, match);
    return !c.errorReported;
  }
  c.position = after;
  EmitByte(c, tok::NE);
  EmitJump(c, tok::JUMPF, match);
  return true;
}

void CompileCaseItems(TCompilerContext& c, const std::string& failure) {
  const std::string match = "C" + failure;
  for (;;) {
    if (!CompileCaseItem(c, match)) return;
    if (BalancesTesselPaths(c)) EmitDiscard(c);  // the test of the item that did not match
    c.code += SelectorReload(c);
    SkipBlanks(c);
    if (c.Current() != ',') break;
    ++c.position;
    if (AtStatementEnd(c)) return ReportHere(c, "", msg::CaseItemOrEndExpected);
  }
  if (!AtStatementEnd(c)) return ReportHere(c, "", msg::CaseToOrItemExpected);
  EmitJump(c, tok::GOTO, failure);
  DefineLabel(c, match, CurrentProcedureName(c));
  if (c.Pyxon()) EmitDiscard(c);  // the copy the matching item left
}

}  // namespace

void CompileSelect(TCompilerContext& c) {
  const int32_t start = StatementStart(c);
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string word = ReadName(c);
  if (UpperCase(word) != "CASE") {
    c.position = at;
    return ReportHere(c, word, msg::CaseExpected);
  }
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return;
  c.code += SelectorKeep(c);
  ExpectEnd(c);
  if (c.errorReported || !NextStatementIsCase(c)) return;
  const std::string n = FreshLabelNumber(c, static_cast<int64_t>(c.code.size()), {"$", "$$"});
  TBlock b;
  b.start = start;
  b.kind = TBlockKind::Select;
  b.nextBranch = "$" + n;
  b.end = "$$" + n;
  c.blocks.push_back(b);
}

void CompileCase(TCompilerContext& c) {
  if (c.blocks.empty()) return ReportAtStatement(c, msg::CaseWithoutSelect);
  if (c.blocks.back().kind != TBlockKind::Select) return CheckOpenBlock(c);
  if (c.blocks.back().caseElseSeen) return ReportAtStatement(c, msg::CaseAfterCaseElse);
  if (c.blocks.back().branchSeen) EmitJump(c, tok::GOTO, c.blocks.back().end);
  TBlock& b = c.blocks.back();
  b.branchSeen = true;
  DefineLabel(c, b.nextBranch, CurrentProcedureName(c));
  const int32_t at = c.position;
  if (ReadUpperName(c) == "ELSE") {
    b.nextBranch.clear();
    b.caseElseSeen = true;
    if (c.Pyxon()) {
      EmitDiscard(c);
      EmitDiscard(c);
    }
  } else {
    c.position = at;
    b.nextBranch = "$" + FreshLabelNumber(c, static_cast<int64_t>(c.code.size()) + 4, {"$", "C$"});
    CompileCaseItems(c, b.nextBranch);
  }
  if (c.errorReported) return;
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileEndSelect(TCompilerContext& c) {
  if (c.blocks.empty()) return ReportAtStatement(c, msg::EndSelectWithoutSelect);
  if (c.blocks.back().kind != TBlockKind::Select) return CheckOpenBlock(c);
  const TBlock b = c.blocks.back();
  c.blocks.pop_back();
  if (c.Pyxon() && !b.caseElseSeen) {
    // The bodies jump past the drops that the failure of the last branch needs.
    EmitJump(c, tok::GOTO, b.end);
    DefineLabel(c, b.nextBranch, CurrentProcedureName(c));
    EmitDiscard(c);
    EmitDiscard(c);
  } else if (!b.nextBranch.empty() && BalancesTesselPaths(c)) {
    // No branch matched: the selector the last item reloaded is dropped on that path only.
    EmitJump(c, tok::GOTO, b.end);
    DefineLabel(c, b.nextBranch, CurrentProcedureName(c));
    EmitDiscard(c);
  } else if (!b.nextBranch.empty()) {
    DefineLabel(c, b.nextBranch, CurrentProcedureName(c));
  }
  DefineLabel(c, b.end, CurrentProcedureName(c));
  ExpectEnd(c);
}

}  // namespace zarvek
