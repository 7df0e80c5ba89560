// The constant string expression: texts known at compile time, joined by "+" or "&".
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/expression_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"

namespace zarvek {

namespace {

bool IsNameStart(char ch) { return IsNameLetter(ch) || ch == '_'; }

bool Refuse(TCompilerContext& c, int32_t position, const std::string& argument, int code) {
  ReportAt(c, position, argument, code);
  return false;
}

// A name that a "$" ends; "&" joins texts here, so it is no name character.
std::string ReadStringName(TCompilerContext& c) {
  std::string name;
  while (IsNameStart(c.Current()) || IsDigit(c.Current())) name.push_back(c.source[static_cast<size_t>(c.position++) - 1]);
  if (c.Current() == '$') {
    name.push_back('$');
    ++c.position;
  }
  return name;
}

bool ReadQuoted(TCompilerContext& c, std::string& text) {
  const int32_t open = c.position;
  ++c.position;
  while (c.Current() != '"') {
    if (c.AtEnd() || IsLineEnd(c.Current())) return Refuse(c, open, "", msg::UnterminatedString);
    text.push_back(c.Current());
    ++c.position;
  }
  ++c.position;
  return true;
}

// CHR$(n): one character; STR$(n): the decimal text of a constant.
bool CharacterFunction(TCompilerContext& c, bool chr, std::string& text) {
  if (!ExpectChar(c, '(')) return false;
  const int32_t value = CompileExpression(c, kConstantMask);
  if (c.errorReported || !ExpectChar(c, ')')) return false;
  text += chr ? std::string(1, static_cast<char>(value & 0xFF)) : std::to_string(value);
  return true;
}

bool NamedOperand(TCompilerContext& c, std::string& text) {
  const int32_t at = c.position;
  const std::string name = ReadStringName(c);
  const std::string upper = UpperCase(name);
  if (upper == "CHR$" || upper == "STR$") return CharacterFunction(c, upper == "CHR$", text);
  const int s = FindSymbol(c, name, c.Scope());
  if (s < 0) return Refuse(c, at, name, msg::Unknown);
  Tlabel& symbol = c.symbols[static_cast<size_t>(s)];
  // A constant is needed here; a variable (STRING or STRING * n) is named as one.
  if (HasKind(symbol.kind, kind::String) || HasKind(symbol.kind, kind::StringStar)) return Refuse(c, at, name, msg::StringConstantExpected);
  if (!HasKind(symbol.kind, kind::StringConst)) return Refuse(c, at, "", msg::StringOperandExpected);
  symbol.used = true;
  text += StringConstantText(c, symbol);
  return true;
}

bool Operand(TCompilerContext& c, std::string& text, bool& quoted) {
  SkipBlanks(c);
  quoted = c.Current() == '"';
  if (quoted) return ReadQuoted(c, text);
  if (IsNameStart(c.Current())) return NamedOperand(c, text);
  return Refuse(c, c.position, "", msg::StringOperandExpected);
}

}  // namespace

bool ReadConstantStringOperand(TCompilerContext& c, std::string& text) {
  bool quoted = false;
  return Operand(c, text, quoted);
}

std::string StringConstantText(const TCompilerContext& c, const Tlabel& stringConstant) {
  const std::string& table = c.tableArea;
  const auto word = [&](int64_t at) -> int {
    if (at < 0 || at + 1 >= static_cast<int64_t>(table.size())) return -1;
    return (static_cast<unsigned char>(table[static_cast<size_t>(at)]) << 8) |
           static_cast<unsigned char>(table[static_cast<size_t>(at) + 1]);
  };
  const int64_t lengthAt = stringConstant.address - 2;
  std::string text;
  const int length = word(lengthAt);
  for (int k = 0; k < length; ++k) {
    const int w = word(lengthAt + 2 + 2 * static_cast<int64_t>(k));
    if (w < 0) break;
    text.push_back(static_cast<char>(w & 0xFF));
  }
  return text;
}

bool ConstantStringAhead(const TCompilerContext& c) {
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  if (c.At(p) == '"') return true;
  std::string name;
  while (IsNameStart(c.At(p)) || IsDigit(c.At(p))) name.push_back(c.At(p++));
  if (name.empty()) return false;
  if (c.At(p) == '$') name.push_back('$');
  const std::string upper = UpperCase(name);
  if (upper == "CHR$" || upper == "STR$") return true;
  const int s = FindSymbol(c, name, c.Scope());
  return s >= 0 && HasKind(c.symbols[static_cast<size_t>(s)].kind, kind::StringConst);
}

bool PushAnonymousString(TCompilerContext& c) {
  std::string text;
  if (!CompileConstantString(c, text)) return false;
  const std::string name = "~" + std::to_string(c.code.size()) + "." + std::to_string(c.tableArea.size()) + "$";
  const int index = DefineStringConstant(c, name, text);
  c.symbols[static_cast<size_t>(index)].used = true;
  EmitConstantPush(c, StringReference(c.symbols[static_cast<size_t>(index)]));
  return true;
}

bool CompileConstantString(TCompilerContext& c, std::string& text) {
  SkipBlanks(c);
  if (c.AtEnd() || IsLineEnd(c.Current()) || c.Current() == ':') return Refuse(c, c.position, "", msg::StringExpressionExpected);
  for (;;) {
    bool quoted = false;
    if (!Operand(c, text, quoted)) return false;
    SkipBlanks(c);
    const char ch = c.Current();
    if (ch == '+' || ch == '&') {
      ++c.position;
      continue;
    }
    if (ch == '"') return Refuse(c, c.position, "", quoted ? msg::SemicolonExpected : msg::ConcatenationExpected);
    if (IsNameStart(ch) || IsDigit(ch)) return Refuse(c, c.position, "", msg::ConcatenationExpected);
    return true;
  }
}

}  // namespace zarvek
