// The block stack and its synthetic labels; IF, ELSEIF, ELSE, END IF and the one-line IF;
// END with what it closes.
#include <algorithm>

#include "compiler/control_flow.h"
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

// Label C of an IF block that ends with its line.
constexpr std::string_view kOneLine = "line";

// Only blanks, a comment or the line end follow.
bool RestOfLineEmpty(const TCompilerContext& c) {
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  return c.At(p) == '\0' || IsLineEnd(c.At(p)) || c.At(p) == '\'';
}

bool IsIfKind(uint8_t kind) { return kind == block::If || kind == block::IfElse || kind == block::IfElseIf; }

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
    ReportHere(c, "", 154);
    return false;
  }
  return true;
}

// Defines what an IF block still owes: its next-branch label and its end.
void CloseIf(TCompilerContext& c) {
  const TBlock b = c.blocks.back();
  c.blocks.pop_back();
  if (!b.labelA.empty()) DefineLabel(c, b.labelA, CurrentProcedureName(c));
  DefineLabel(c, b.labelB, CurrentProcedureName(c));
}

void CompileIfHead(TCompilerContext& c) {
  const int32_t start = StatementStart(c);
  if (!CompileCondition(c)) return;
  const std::string n = FreshLabelNumber(c, start, {"..", "."});
  TBlock b;
  b.start = start;
  b.kind = block::If;
  b.labelA = ".." + n;
  b.labelB = "." + n;
  // Anything after THEN on the same line is the THEN part of a one-line IF.
  if (!RestOfLineEmpty(c)) b.labelC = kOneLine;
  c.blocks.push_back(b);
  EmitJump(c, tok::JUMPF, b.labelA);
  EndStatementInProcedure(c);
  if (b.labelC.empty()) ExpectEnd(c);
}

void CompileElseIf(TCompilerContext& c) {
  if (c.blocks.empty() || c.blocks.back().kind == block::IfElse) return ReportAtStatement(c, 267);
  if (!IsIfKind(c.blocks.back().kind)) return CheckOpenBlock(c);
  const int32_t start = StatementStart(c);
  EmitJump(c, tok::GOTO, c.blocks.back().labelB);
  DefineLabel(c, c.blocks.back().labelA, CurrentProcedureName(c));
  if (!CompileCondition(c)) return;
  TBlock& b = c.blocks.back();
  b.kind = block::IfElseIf;
  b.labelA = ".." + FreshLabelNumber(c, start, {".."});
  EmitJump(c, tok::JUMPF, b.labelA);
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CompileElse(TCompilerContext& c) {
  if (c.blocks.empty() || c.blocks.back().kind == block::IfElse) return ReportAtStatement(c, 157);
  if (!IsIfKind(c.blocks.back().kind)) return CheckOpenBlock(c);
  TBlock& b = c.blocks.back();
  EmitJump(c, tok::GOTO, b.labelB);
  DefineLabel(c, b.labelA, CurrentProcedureName(c));
  b.labelA.clear();
  b.kind = block::IfElse;
  EndStatementInProcedure(c);
  // A one-line IF goes on with its ELSE part on the same line.
  if (b.labelC.empty()) ExpectEnd(c);
}

}  // namespace

void CheckOpenBlock(TCompilerContext& c) {
  if (c.blocks.empty()) return;
  c.errorPosition = StatementStart(c);
  switch (c.blocks.back().kind) {
    case block::Do: case block::DoWhile: return CompileError(c, "", 161);
    case block::For: return CompileError(c, "", 162);
    case block::If: case block::IfElse: case block::IfElseIf: return CompileError(c, "", 155);
    case block::Sub: return CompileError(c, "", 182);
    case block::Function: return CompileError(c, "", 183);
    case block::Select: return CompileError(c, "", 203);
    default: return;
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
    if (it->kind == block::Sub || it->kind == block::Function) return &*it;
  return nullptr;
}

void CompileIf(TCompilerContext& c, const std::string& upperWord) {
  if (upperWord == "IF") return CompileIfHead(c);
  if (upperWord == "ELSEIF") return CompileElseIf(c);
  CompileElse(c);
}

void CompileEndIf(TCompilerContext& c) {
  if (c.blocks.empty()) return ReportAtStatement(c, 156);
  if (!IsIfKind(c.blocks.back().kind)) return CheckOpenBlock(c);
  const bool elseSeen = c.blocks.back().kind == block::IfElse;
  CloseIf(c);
  if (!elseSeen) EndStatementInProcedure(c);
  ExpectEnd(c);
}

void CloseLineBlocks(TCompilerContext& c) {
  while (!c.blocks.empty() && IsIfKind(c.blocks.back().kind) && c.blocks.back().labelC == kOneLine) CloseIf(c);
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
  CompileError(c, word, 109);
}

}  // namespace zarvek
