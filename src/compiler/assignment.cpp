// The assignment statement. The target's address code (array indexes, members) is read
// first but must follow the value, since the memory write tokens pop the address before
// the value: it is cut out and appended after the value's code.
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/expression.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/string_star.h"
#include "compiler/symbol_table.h"
#include "compiler/variable_access.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// The value of a word that holds a string reference: a constant string, or the reference
// held by another STRING variable or structure element.
bool CompileStringValue(TCompilerContext& c, const TElement& target) {
  if (ConstantStringAhead(c)) return PushAnonymousString(c);
  SkipBlanks(c);
  const int32_t at = c.position;
  const int source = ReadVariableName(c);
  if (source < 0) return ReportAt(c, at, "", msg::StringValueExpected), false;
  if (source == target.access.symbol && !target.access.onStack) return ReportAt(c, at, "", msg::StringSelfAssignment), false;
  const auto value = ParseElement(c, source, false);
  if (!value || c.errorReported) return false;
  if (value->kind != TElementKind::Memory || !value->holdsString) return ReportAt(c, at, "", msg::StringValueExpected), false;
  EmitAccess(c, value->access, false);
  return true;
}

// One structure variable into another of the same structure, byte by byte.
bool CompileStructureCopy(TCompilerContext& c, const TElement& target, int32_t dotPosition) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const int source = ReadVariableName(c);
  const uint32_t k = source < 0 ? 0 : c.symbols[source].kind;
  if (!HasKind(k, kind::StructVar) || HasKind(k, kind::Array) || c.Current() == '.' || c.Current() == '[')
    return ReportAt(c, dotPosition, "", msg::StructureDotExpected), false;
  const int structure = StructureOf(c, c.symbols[target.access.symbol]);
  if (StructureOf(c, c.symbols[source]) != structure)
    return ReportAt(c, at, structure >= 0 ? c.symbols[structure].name : "", msg::StructureVariableExpected), false;
  c.symbols[source].used = true;
  if (source == target.access.symbol) return true;
  TElement from = target;
  from.access.symbol = source;
  from.access.address = c.symbols[source].address;
  for (int64_t k = 0; k < target.byteCount; ++k) {
    EmitByteAccess(c, from, {}, k, false);
    EmitByteAccess(c, target, {}, k, true);
  }
  return true;
}

bool CompileValueAndStore(TCompilerContext& c, const TElement& target, const TCodePiece& address, int32_t dotPosition) {
  switch (target.kind) {
    case TElementKind::WholeStructure: return CompileStructureCopy(c, target, dotPosition);
    case TElementKind::WholeStringStar: return CompileStringStarValue(c, target, address);
    default: break;
  }
  if (target.holdsString) {
    if (!CompileStringValue(c, target)) return false;
  } else {
    CompileExpression(c, kRuntimeMask);
  }
  if (c.errorReported) return false;
  AppendPiece(c, address);
  EmitElementWrite(c, target);
  return !c.errorReported;
}

// Reports why a symbol cannot be assigned to; false when it can.
bool RefuseTarget(TCompilerContext& c, int symbol, int32_t start) {
  const Tlabel& s = c.symbols[symbol];
  if (HasKind(s.kind, kind::Function)) return ReportAt(c, start, s.name, msg::FunctionResultOutside), true;
  if (HasKind(s.kind, kind::StringConst)) return ReportAt(c, start, "", msg::StringConstantNotAssignable), true;
  if (!IsVariableKind(s.kind)) return ReportAt(c, start, s.name, msg::NotAssignable), true;
  if (HasKind(s.kind, kind::AdInput)) return ReportAt(c, start, s.name, msg::AdReadOnly), true;
  return false;
}

void FinishStatement(TCompilerContext& c) {
  if (c.errorReported) return;
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

}  // namespace

void CompileAssignment(TCompilerContext& c, const std::string& word) {
  const int32_t start = WordStart(c, word);
  const std::string upper = UpperCase(word);
  const std::string bare = upper.size() > 1 && upper.back() == '$' ? upper.substr(0, upper.size() - 1) : upper;
  if (upper == "INKEY$") return ReportAt(c, start, "", msg::InkeyReadOnly);
  if (!IsValidIdentifier(bare)) return ReportAt(c, start, word, msg::NoStatement);
  const int symbol = FindSymbol(c, word, c.Scope());
  if (symbol < 0) {
    if (CompileSysAssign(c, upper)) return FinishStatement(c);
    if (c.errorReported) return;
    SkipBlanks(c);
    return ReportAt(c, start, word, c.Current() == '=' ? msg::NotDeclared : msg::NoStatement);
  }
  c.symbols[symbol].used = true;
  if (symbol == c.currentProcedure && HasKind(c.symbols[symbol].kind, kind::Function))
    return CompileResultAssignment(c);
  if (RefuseTarget(c, symbol, start)) return;
  const size_t mark = c.code.size();
  const auto target = ParseElement(c, symbol, true);
  if (!target || c.errorReported) return;
  const TCodePiece address = CutCode(c, mark);
  if (!ExpectChar(c, '=')) return;
  if (!CompileValueAndStore(c, *target, address, start + static_cast<int32_t>(word.size()))) return;
  FinishStatement(c);
}

}  // namespace zarvek
