// Label definitions: a statement word followed by ":".
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/reserved_words.h"
#include "compiler/statements.h"
#include "compiler/symbol_table.h"

namespace zarvek {

namespace {

bool IsVariable(uint32_t kinds) {
  return (kinds & Kinds(kind::Bit, kind::Byte, kind::Word, kind::String, kind::StringStar, kind::StructVar)) != 0;
}

}  // namespace

void CompileLabel(TCompilerContext& c, const std::string& word) {
  // The position is on the ":" right after the name.
  c.errorPosition = c.position - static_cast<int32_t>(word.size());
  const std::string upper = UpperCase(word);
  if (!c.wordIsFirstOfLine) return CompileError(c, word, msg::Unknown);
  if (upper.back() == '$' || !IsValidIdentifier(upper)) return CompileError(c, word, msg::InvalidName);
  if (upper.size() > 16) return CompileError(c, word, msg::NameTooLong);
  if (IsReserved(upper) >= 0) return CompileError(c, word, msg::ReservedLabelName);
  if (FindAsmLabel(c, word) >= 0) return CompileError(c, word, msg::AssemblerName);
  if (const int existing = FindSymbol(c, word, c.Scope()); existing >= 0)
    return IsVariable(c.symbols[existing].kind) ? CompileError(c, "=", msg::Expected) : CompileError(c, word, msg::AlreadyDefined);
  DefineLabelAt(c, word, c.statementAddress, CurrentProcedureName(c));
}

}  // namespace zarvek
