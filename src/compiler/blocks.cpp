// The block stack and its synthetic labels; IF, ELSEIF, ELSE, END IF and the one-line IF;
// END with what it closes.
#include <algorithm>

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

// Only blanks, a comment or the line end follow.
bool RestOfLineEmpty(const TCompilerContext& c) {
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  return c.At(p) == '\0' || IsLineEnd(c.At(p)) || c.At(p) == '\'';
}

bool IsIfKind(TBlockKind kind) { return kind == TBlockKind::If || kind == TBlockKind::IfElse || kind == TBlockKind::IfElseIf; }

bool LabelInUse(const TCompilerContext& c, const std::string& name) {
  return c.syntheticLabels.contains(name) || FindSymbol(c, name, kAnyScope) >= 0;
}

// The condition and THEN; false after an error.
bool CompileCondition(TCompilerContext& c) {
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return false;
  const int32_t at = c.position;
  if (ReadUpperName(c) != "THEN") {
    c.position = at;
    ReportHere(c, "", msg::ThenExpected);
    return false;
  }
  return true;
}

// Defines what an IF block still owes: its next-branch label and its end. Without an ELSE,
// where the paths must balance, the failed condition gets an empty ELSE branch that drops
// it, so that the THEN branch does not pass through that drop.
void CloseIf(TCompilerContext& c) {
  if (c.blocks.back().kind != TBlockKind::IfElse && BalancesTesselPaths(c)) {
    EmitJump(c, tok::GOTO, c.blocks.back().end);
    DefineLabel(c, c.blocks.back().nextBranch, CurrentProcedureName(c));
    c.blocks.back().nextBranch.clear();
    EmitDiscard(c);
  }
  const TBlock b = c.blocks.back();
  c.blocks.pop_back();
  if (!b.nextBranch.empty()) DefineLabel(c, b.nextBranch, CurrentProcedureName(c));
  DefineLabel(c, b.end, CurrentProcedureName(c));
}

void CompileIfHead(TCompilerContext& c) {
  const int32_t start = StatementStart(c);
  if (!CompileCondition(c)) return;
  const std::string n = FreshLabelNumber(c, start, {"..", "."});
  TBlock b;
  b.start = start;
  b.kind = TBlockKind::If;
  b.nextBranch = ".." + n;
  b.end = "." + n;
  // Anything after THEN on the same line is the THEN part of a one-line IF.
  b.oneLine = !RestOfLineEmpty(c);
  c.blocks.push_back(b);
  EmitJump(c, tok::JUMPF, b.nextBranch);
  EndStatementInProcedure(c);
  if (!b.oneLine) ExpectEnd(c);
}

void CompileElseIf(TCompilerContext& c) {
  if (c.blocks.empty() || c.blocks.back().kind == TBlockKind::IfElse) return ReportAtStatement(c, msg::ElseIfWithoutIf);
  if (!IsIfKind(c.blocks.back().kind)) return CheckOpenBlock(c);
  const int32_t start = StatementStart(c);
  EmitJump(c, tok::GOTO, c.blocks.back().end);
  DefineLabel(c, c.blocks.back().nextBranch, CurrentProcedureName(c));
  if (BalancesTesselPaths(c)) EmitDiscard(c);  // the failed condition of the branch before
  if (!CompileCondition(c)) return;
  TBlock& b = c.blocks.back();
  b.kind = TBlockKind::IfElseIf;
  b.nextBranch = ".." + FreshLabelNumber(c, start, {".."});
  EmitJump(c, tok::JUMPF, b.nextBranch);
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileElse(TCompilerContext& c) {
  if (c.blocks.empty() || c.blocks.back().kind == TBlockKind::IfElse) return ReportAtStatement(c, msg::ElseWithoutIf);
  if (!IsIfKind(c.blocks.back().kind)) return CheckOpenBlock(c);
  TBlock& b = c.blocks.back();
  EmitJump(c, tok::GOTO, b.end);
  DefineLabel(c, b.nextBranch, CurrentProcedureName(c));
  b.nextBranch.clear();
  b.kind = TBlockKind::IfElse;
  EndStatementInProcedure(c);
  // A one-line IF goes on with its ELSE part on the same line.
  if (!b.oneLine) ExpectEnd(c);
}

}  // namespace

void CheckOpenBlock(TCompilerContext& c) {
  if (c.blocks.empty()) return;
  c.errorPosition = StatementStart(c);
  switch (c.blocks.back().kind) {
    case TBlockKind::Do: case TBlockKind::DoWhile: return CompileError(c, "", msg::LoopExpected);
    case TBlockKind::For: return CompileError(c, "", msg::NextExpected);
    case TBlockKind::If: case TBlockKind::IfElse: case TBlockKind::IfElseIf: return CompileError(c, "", msg::EndIfExpected);
    case TBlockKind::Sub: return CompileError(c, "", msg::EndSubExpected);
    case TBlockKind::Function: return CompileError(c, "", msg::EndFunctionExpected);
    case TBlockKind::Select: return CompileError(c, "", msg::EndSelectExpected);
  }
}

int32_t StatementStart(const TCompilerContext& c) {
  int32_t p = c.statementMap.empty() ? 1 : static_cast<int32_t>(c.statementMap.back().sourcePosition);
  while (IsBlank(c.At(p))) ++p;
  return p;
}

void ReportAtStatement(TCompilerContext& c, int code) { ReportAt(c, StatementStart(c), "", code); }

void ReportHere(TCompilerContext& c, const std::string& argument, int code) {
  SkipBlanks(c);
  ReportAt(c, c.position, argument, code);
}

std::string FreshLabelNumber(TCompilerContext& c, int64_t n, std::initializer_list<std::string_view> prefixes) {
  std::string key = std::to_string(n);
  for (std::string_view prefix : prefixes) key.append(" ").append(prefix);
  int64_t& next = c.nextFreshNumber[key];
  for (n = std::max(n, next);; ++n) {
    const std::string number = std::to_string(n);
    bool taken = false;
    for (std::string_view prefix : prefixes) taken = taken || LabelInUse(c, std::string(prefix) + number);
    if (taken) continue;
    for (std::string_view prefix : prefixes) c.syntheticLabels.insert(std::string(prefix) + number);
    next = n + 1;
    return number;
  }
}

std::string ReadUpperName(TCompilerContext& c) { return UpperCase(ReadName(c)); }

const TBlock* InnermostProcedure(const TCompilerContext& c) {
  for (auto it = c.blocks.rbegin(); it != c.blocks.rend(); ++it)
    if (it->kind == TBlockKind::Sub || it->kind == TBlockKind::Function) return &*it;
  return nullptr;
}

void CompileIf(TCompilerContext& c, const std::string& upperWord) {
  if (upperWord == "IF") return CompileIfHead(c);
  if (upperWord == "ELSEIF") return CompileElseIf(c);
  CompileElse(c);
}

void CompileEndIf(TCompilerContext& c) {
  if (c.blocks.empty()) return ReportAtStatement(c, msg::EndIfWithoutIf);
  if (!IsIfKind(c.blocks.back().kind)) return CheckOpenBlock(c);
  const bool elseSeen = c.blocks.back().kind == TBlockKind::IfElse;
  const bool balanced = BalancesTesselPaths(c);
  CloseIf(c);
  if (!elseSeen && !balanced) EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CloseLineBlocks(TCompilerContext& c) {
  while (!c.blocks.empty() && IsIfKind(c.blocks.back().kind) && c.blocks.back().oneLine) CloseIf(c);
}

void CompileEnd(TCompilerContext& c) {
  const int32_t at = c.position;
  const std::string word = ReadUpperName(c);
  if (word.empty() || word == "ELSE") {
    c.position = at;
    EmitByte(c, tok::END);
    return ExpectEnd(c);
  }
  if (word == "IF") return CompileEndIf(c);
  if (word == "SELECT") return CompileEndSelect(c);
  if (word == "SUB" || word == "FUNCTION") return CompileEndProcedure(c, word == "FUNCTION");
  CompileError(c, word, msg::EndExpected);
}

}  // namespace zarvek
