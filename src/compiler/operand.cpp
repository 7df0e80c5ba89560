// The operand compiler: one operand of an expression. Its forms are tried in a fixed
// order, so an assembler label hides a BASIC name of the same spelling.
#include <algorithm>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/expression_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// Larger literals report an overflow, even though a push keeps only 16 bits.
constexpr int64_t kLiteralLimit = 131070;

bool IsOperandChar(char ch) { return IsNameChar(ch) && ch != '$'; }

int DigitValue(char ch) {
  if (IsDigit(ch)) return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

// A failed operand: its value text is empty.
std::string Fail(TCompilerContext& c, int32_t position, const std::string& argument, int code) {
  ReportAt(c, position, argument, code);
  return "";
}

bool Refuse(TCompilerContext& c, int32_t position, const std::string& argument, int code) {
  ReportAt(c, position, argument, code);
  return false;
}

std::string ValueText(int64_t value) { return std::to_string(WrapToInt32(value)); }

std::string PushConstant(TCompilerContext& c, int64_t value, uint32_t mask) {
  if (EmitsCode(mask)) EmitConstantPush(c, value);
  return ValueText(value);
}

int DeclaredParameters(const Tlabel& procedure) {
  int32_t count = 0;
  return ParseValueText(procedure.value, count) ? count : 0;
}

// The address of an assembler label; the linker writes it once the assembler has run.
std::string AsmLabelOperand(TCompilerContext& c, int label, const std::string& token, int32_t start, uint32_t mask) {
  if ((mask & kMaskAsmLabel) == 0) return Fail(c, start, token, msg::AssemblerAddressOnlyCalled);
  const TAsmLabel asmLabel = c.asmLabels[static_cast<size_t>(label)];
  if (EmitsCode(mask)) {
    c.errorPosition = start;
    EmitByte(c, tok::PUSHW);
    AddFixup(c, "^" + asmLabel.name);
  }
  return ValueText(asmLabel.address);
}

// A jump target where the caller asks for one: a label, SUB or FUNCTION.
std::string LabelOperand(TCompilerContext& c, int symbol, int32_t start, uint32_t mask) {
  const Tlabel target = c.symbols[static_cast<size_t>(symbol)];
  if ((target.kind & Kinds(kind::Label, kind::Sub, kind::Function)) == 0) return Fail(c, start, target.name, msg::LabelExpected);
  if (EmitsCode(mask)) {
    c.errorPosition = start;
    EmitByte(c, tok::PUSHW);
    AddFixup(c, target.name, DeclaredParameters(target));
  }
  return ValueText(target.address);
}

std::string SymbolOperand(TCompilerContext& c, int symbol, int32_t start, uint32_t mask) {
  c.symbols[static_cast<size_t>(symbol)].used = true;
  // A copy: compiling arguments may add symbols and move the table.
  const Tlabel s = c.symbols[static_cast<size_t>(symbol)];
  if ((mask & kMaskLabel) != 0) return LabelOperand(c, symbol, start, mask);
  if (HasKind(s.kind, kind::Sub)) return Fail(c, start, "", msg::SubHasNoResult);
  if (HasKind(s.kind, kind::Function)) {
    if ((mask & kMaskFunctionCall) == 0) return Fail(c, start, s.name, msg::Unknown);
    c.errorPosition = start;
    CompileFunctionCall(c, s.name, symbol);
    return "0";
  }
  if (HasKind(s.kind, kind::StringConst)) return Fail(c, start, s.name, msg::IncompatibleStringConstant);
  if (HasKind(s.kind, kind::String)) return Fail(c, start, "", msg::StringNotNumeric);
  if (HasKind(s.kind, kind::Constant)) return PushConstant(c, s.address, mask);
  if (!IsVariableKind(s.kind) && !HasKind(s.kind, kind::Table)) return Fail(c, start, s.name, msg::Unknown);
  // A variable's value is known only at run time; constant tables may fold.
  if (!EmitsCode(mask) && !HasKind(s.kind, kind::Table)) return Fail(c, start, s.name, msg::ConstantExpected);
  return CompileVariableOperand(c, symbol, mask);
}

// The name in this scope or globally; a string variable answers to its name without "$".
int LookUp(const TCompilerContext& c, const std::string& token) {
  const int s = FindSymbol(c, token, c.Scope());
  if (s >= 0 || token.back() == '$') return s;
  const int t = FindSymbol(c, token + "$", c.Scope());
  return t >= 0 && HasKind(c.symbols[static_cast<size_t>(t)].kind, kind::String) ? t : -1;
}

// A name not declared (yet) followed by "(" calls a FUNCTION declared further on; the
// post-pass finds it or reports it.
bool IsForwardCall(const TCompilerContext& c, const std::string& upper, uint32_t mask) {
  if ((mask & kMaskFunctionCall) == 0 || (mask & kMaskLabel) != 0) return false;
  if (!IsValidIdentifier(upper) || IsReserved(upper) >= 0) return false;
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  return c.At(p) == '(';
}

bool ParseNumericLiteral(TCompilerContext& c, const std::string& token, int32_t start, int64_t& value) {
  size_t i = 0;
  int radix = 10;
  if (token[0] == '&') {
    const char prefix = token.size() > 1 ? token[1] : '\0';
    if (prefix == 'H' || prefix == 'h') radix = 16;
    else if (prefix == 'B' || prefix == 'b') radix = 2;
    else return Refuse(c, start + 1, "B, H", msg::Expected);
    i = 2;
  }
  const size_t first = i;
  value = 0;
  for (; i < token.size(); ++i) {
    const int32_t at = start + static_cast<int32_t>(i);
    if (token[i] == '&') return Refuse(c, at, "&", msg::UnexpectedCharacter);
    const int digit = DigitValue(token[i]);
    // A decimal word with other letters is no number at all: it stands as an unknown name.
    if (digit < 0 || digit >= radix) return Refuse(c, digit < 0 && radix == 10 ? start : at, token, msg::Unknown);
    value = std::min<int64_t>(value * radix + digit, kLiteralLimit + 1);
  }
  if (i == first) return Refuse(c, start + static_cast<int32_t>(i), "\"0\"", msg::Expected);
  if (value > kLiteralLimit) return Refuse(c, start, token, msg::Overflow);
  return true;
}

std::string LiteralOperand(TCompilerContext& c, const std::string& token, int32_t start, uint32_t mask) {
  if ((mask & kMaskLiteral) == 0) return Fail(c, start, token, msg::Unknown);
  int64_t value = 0;
  if (token[0] == '"') {
    if (token.size() != 3 || token[2] != '"') return Fail(c, start, "", msg::SingleCharacterExpected);
    value = static_cast<unsigned char>(token[1]);
  } else if (!ParseNumericLiteral(c, token, start, value)) {
    return "";
  }
  return PushConstant(c, value, mask);
}

// The forms that are no quoted text and no number: declared names and the words the
// language knows.
std::string NamedOperand(TCompilerContext& c, const std::string& token, int32_t start, uint32_t mask,
                         bool& handled) {
  handled = true;
  if (const int label = FindAsmLabel(c, token); label >= 0) return AsmLabelOperand(c, label, token, start, mask);
  if (const int s = LookUp(c, token); s >= 0) return SymbolOperand(c, s, start, mask);
  if (FindSymbol(c, token, kAnyScope) >= 0) return Fail(c, start, token, msg::Unknown);  // another procedure's local
  const std::string upper = UpperCase(token);
  int32_t value = 0;
  if (CompileBuiltin(c, upper, mask, value)) return c.errorReported ? "" : ValueText(value);
  if (CompileSysRead(c, upper, mask)) return "0";
  if (upper == "TRUE" || upper == "FALSE") return PushConstant(c, upper == "TRUE" ? -1 : 0, mask);
  if (IsForwardCall(c, upper, mask)) {
    c.errorPosition = start;
    CompileFunctionCall(c, token, -1);
    return "0";
  }
  handled = false;
  return "";
}

}  // namespace

std::string ReadOperandToken(TCompilerContext& c) {
  SkipBlanks(c);
  std::string token;
  if (c.Current() == '(') {
    ++c.position;
    return "(";
  }
  if (c.Current() == '"') {
    token.push_back('"');
    ++c.position;
    while (!c.AtEnd() && !IsLineEnd(c.Current())) {
      const char ch = c.Current();
      token.push_back(ch);
      ++c.position;
      if (ch == '"') break;
    }
    return token;
  }
  if (c.Current() == '^') {  // the address of an assembler label
    token.push_back('^');
    ++c.position;
  }
  while (IsOperandChar(c.Current())) {
    token.push_back(c.Current());
    ++c.position;
  }
  if (!token.empty() && token[0] != '^' && c.Current() == '$') {
    token.push_back('$');
    ++c.position;
  }
  return token;
}

// "^name": the address of an assembler label, written by the linker once the assembler
// part has been assembled; so it is a run-time value only.
std::string AsmReference(TCompilerContext& c, const std::string& token, int32_t start, uint32_t mask) {
  if (token.size() < 2) return Fail(c, start, "^", msg::Unknown);
  if (!EmitsCode(mask)) return Fail(c, start, token, msg::ConstantExpected);
  c.errorPosition = start;
  EmitByte(c, tok::PUSHW);
  AddFixup(c, token);
  return "0";
}

std::string CompileOperand(TCompilerContext& c, const std::string& token, uint32_t mask) {
  if (token.empty()) return "";
  const int32_t start = c.errorPosition;
  if (token[0] == '^') return AsmReference(c, token, start, mask);
  if (token[0] != '"') {
    bool handled = false;
    std::string text = NamedOperand(c, token, start, mask, handled);
    if (handled) return text;
  }
  if (token[0] == '"' || IsDigit(token[0]) || token[0] == '&') return LiteralOperand(c, token, start, mask);
  if ((mask & kMaskLabel) != 0 && UpperCase(token) == "INTERRUPT") return Fail(c, start, "", msg::InterruptHandlerMissing);
  return Fail(c, start, token, msg::Unknown);
}

}  // namespace zarvek
