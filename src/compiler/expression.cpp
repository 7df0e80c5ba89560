// The expression loop: operands are compiled in source order, operators wait on the
// operator stack until an operator of lower or equal precedence (or the end) arrives, and
// each applied operator appends its token and folds the two constant values.
#include "compiler/expression.h"
#include "compiler/messages.h"
#include "compiler/expression_parts.h"

#include <array>
#include <cstring>
#include <string_view>

#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// Nested parentheses, arguments and indexes each hold at least one entry on the operator
// stack, so its size bounds the recursion.
constexpr size_t kMaxOperatorDepth = 200;

enum class TOp { Eq, Ne, Gt, Lt, Ge, Le, And, Or, Xor, Nand, Nor, Shl, Shr, Mul, Div, Mod, Add, Sub };

struct TOperatorInfo {
  std::string_view text;
  int precedence;
  TOp op;
  uint8_t token;
};

constexpr std::array<TOperatorInfo, 20> kOperators{{
    {"=", 80, TOp::Eq, tok::EQ},      {"<>", 80, TOp::Ne, tok::EQ},     {">", 80, TOp::Gt, tok::GT},
    {"<", 80, TOp::Lt, tok::LT},      {">=", 80, TOp::Ge, tok::GE},     {"=>", 80, TOp::Ge, tok::GE},
    {"<=", 80, TOp::Le, tok::LE},     {"=<", 80, TOp::Le, tok::LE},     {"AND", 70, TOp::And, tok::AND},
    {"OR", 70, TOp::Or, tok::OR},     {"XOR", 70, TOp::Xor, tok::XOR},  {"NAND", 70, TOp::Nand, tok::NAND},
    {"NOR", 70, TOp::Nor, tok::NOR},  {"SHL", 110, TOp::Shl, tok::SHL}, {"SHR", 110, TOp::Shr, tok::SHR},
    {"*", 100, TOp::Mul, tok::MUL},   {"/", 100, TOp::Div, tok::DIV},   {"MOD", 100, TOp::Mod, tok::MOD},
    {"+", 90, TOp::Add, tok::ADD},    {"-", 90, TOp::Sub, tok::SUB},
}};

// Words that end an expression silently: the statement that called reads them.
constexpr std::array<std::string_view, 8> kTerminatorWords{"TO",     "DOWNTO", "STEP",    "THEN",
                                                           "ELSE",   "EEPROM", "XEEPROM", "IEEPROM"};

const TOperatorInfo* FindOperator(std::string_view text) {
  for (const TOperatorInfo& info : kOperators)
    if (info.text == text) return &info;
  return nullptr;
}

int Precedence(std::string_view op) {
  if (op == "(") return 1000;
  if (op == ")") return 1;
  if (op.empty()) return 0;
  const TOperatorInfo* info = FindOperator(op);
  return info ? info->precedence : -1;
}

bool IsComparisonChar(char ch) { return ch == '<' || ch == '=' || ch == '>'; }

// A run of '<', '=', '>' that stops as soon as it is a two-character comparison.
std::string ReadComparison(TCompilerContext& c) {
  std::string op(1, c.Current());
  ++c.position;
  if (op == "=" && c.Current() != '<' && c.Current() != '>') return op;
  while (IsComparisonChar(c.Current())) {
    if (op.size() >= 2) {
      ReportAt(c, c.position, "", msg::EndExpected);
      return op;
    }
    op.push_back(c.Current());
    ++c.position;
    if (op == "=>" || op == ">=" || op == "<>" || op == "<=" || op == "=<") break;
  }
  return op;
}

// A run of letters, upper-cased, that stops as soon as it forms a logical operator.
std::string ReadWordOperator(TCompilerContext& c) {
  const int32_t start = c.position;
  std::string op;
  while (IsNameLetter(c.Current())) {
    if (op.size() == 8) {
      ReportAt(c, start, "", msg::EndExpected);
      return op;
    }
    op += UpperCase(std::string_view(&c.source[static_cast<size_t>(c.position) - 1], 1));
    ++c.position;
    if (op == "AND" || op == "OR" || op == "NOR" || op == "NAND" || op == "XOR") break;
  }
  return op;
}

// The next operator; empty (and nothing consumed) at anything that is not one.
std::string ReadOperator(TCompilerContext& c) {
  SkipBlanks(c);
  const char ch = c.Current();
  if (ch == '*' || ch == '+' || ch == '-' || ch == '/') {
    ++c.position;
    return std::string(1, ch);
  }
  if (IsComparisonChar(ch)) return ReadComparison(c);
  if (IsNameLetter(ch)) return ReadWordOperator(c);
  return "";
}

int32_t Fold(TOp op, int32_t a, int32_t b) {
  const int64_t x = a, y = b;
  const uint32_t ux = static_cast<uint32_t>(a), uy = static_cast<uint32_t>(b);
  switch (op) {
    case TOp::Eq: return a == b ? -1 : 0;
    case TOp::Ne: return a != b ? -1 : 0;
    case TOp::Gt: return a > b ? -1 : 0;
    case TOp::Lt: return a < b ? -1 : 0;
    case TOp::Ge: return a >= b ? -1 : 0;
    case TOp::Le: return a <= b ? -1 : 0;
    case TOp::And: return WrapToInt32(ux & uy);
    case TOp::Or: return WrapToInt32(ux | uy);
    case TOp::Xor: return WrapToInt32(ux ^ uy);
    case TOp::Nand: return WrapToInt32(~(ux & uy));
    case TOp::Nor: return WrapToInt32(~(ux | uy));
    case TOp::Shl: return WrapToInt32(ux << (uy & 31));
    case TOp::Shr: return WrapToInt32(ux >> (uy & 31));
    case TOp::Mul: return WrapToInt32(static_cast<int64_t>(static_cast<uint64_t>(x) * static_cast<uint64_t>(y)));
    case TOp::Div: return b == 0 ? 0 : WrapToInt32(x / y);
    case TOp::Mod: return b == 0 ? 0 : WrapToInt32(x % y);
    case TOp::Add: return WrapToInt32(x + y);
    case TOp::Sub: return WrapToInt32(x - y);
  }
  return b;
}

int32_t ApplyOperator(TCompilerContext& c, const std::string& op, int32_t left, int32_t right, uint32_t mask) {
  const TOperatorInfo* info = FindOperator(op);
  if (!info) return right;
  if (EmitsCode(mask)) {
    EmitByte(c, info->token);
    if (info->op == TOp::Ne) EmitByte(c, tok::NOT);
  }
  return Fold(info->op, left, right);
}

bool EndsExpression(char ch) { return ch == '\0' || IsLineEnd(ch) || std::strchr(":;,')]}{", ch) != nullptr; }

bool StartsOperand(char ch) { return (IsNameChar(ch) && ch != '$') || ch == '"' || ch == '^'; }

// NOT and a leading minus bind to their operand alone. A run-time NOT leaves the value
// alone: it is meaningful only in a constant expression.
void ApplyPrefixes(TCompilerContext& c, bool complement, bool negate, uint32_t mask, int32_t& value) {
  if (complement) {
    if (EmitsCode(mask)) EmitByte(c, tok::NOT);
    else value = ~value;
  }
  if (negate) {
    if (EmitsCode(mask)) EmitByte(c, tok::NEG);
    value = WrapToInt32(-static_cast<int64_t>(value));
  }
}

// A parenthesised sub-expression; its closing parenthesis may not be followed by another.
bool CompileParenthesised(TCompilerContext& c, uint32_t mask, int32_t& value) {
  value = CompileExpression(c, mask);
  if (c.errorReported || !ExpectChar(c, ')')) return false;
  SkipBlanks(c);
  if (c.Current() == '(') {
    CompileError(c, ")", msg::OperatorExpectedAfter);
    return false;
  }
  return true;
}

// Prefixes, one operand and the check that no "(" follows it. False when the expression
// ends here: after an error, or at a place where no operand stands.
bool CompilePrefixedOperand(TCompilerContext& c, uint32_t mask, int32_t& value) {
  SkipBlanks(c);
  bool negate = false, complement = false;
  bool prefixed = c.Current() == '+' || c.Current() == '-';
  if (prefixed) {
    negate = c.Current() == '-';
    ++c.position;
  }
  std::string token = ReadOperandToken(c);
  while (UpperCase(token) == "NOT") {
    complement = !complement;
    prefixed = true;
    token = ReadOperandToken(c);
  }
  const int32_t start = c.errorPosition;
  if (token == "(") {
    if (!CompileParenthesised(c, mask, value)) return false;
  } else {
    const std::string text = CompileOperand(c, token, mask);
    if (c.errorReported) return false;
    if (!ParseValueText(text, value)) {
      SkipBlanks(c);
      if (!text.empty()) ReportAt(c, start, text, msg::Unknown);
      // A sign or NOT without its operand is as incomplete as an operator without one.
      else if (prefixed || !EndsExpression(c.Current())) CompileError(c, "", msg::ExpressionExpected);
      return false;
    }
    SkipBlanks(c);
    if (c.Current() == '(') {
      CompileError(c, token, msg::OperatorExpectedAfter);
      return false;
    }
  }
  ApplyPrefixes(c, complement, negate, mask, value);
  return true;
}

bool IsTerminatorWord(std::string_view op) {
  for (std::string_view word : kTerminatorWords)
    if (word == op) return true;
  return false;
}

enum class TStep { Continue, Return, Stop };

// Reads the operator after an operand and applies the waiting operators it does not
// outrank. Return: the expression ends here (or failed); Stop: it ends before a keyword.

TStep CompileOperator(TCompilerContext& c, size_t base, uint32_t mask, int32_t& value, int32_t& opStart) {
  SkipBlanks(c);
  opStart = c.position;
  const std::string op = ReadOperator(c);
  if (c.errorReported) return TStep::Return;
  SkipBlanks(c);
  const int precedence = Precedence(op);
  if (precedence > 1 && EndsExpression(c.Current())) {
    CompileError(c, "", msg::ExpressionExpected);  // an operator without its right operand
    return TStep::Return;
  }
  if (op.empty() && StartsOperand(c.Current())) {
    CompileError(c, "", msg::OperatorExpected);  // two operands side by side
    return TStep::Return;
  }
  while (c.operatorStack.size() > base && precedence <= Precedence(c.operatorStack.back().op)) {
    const TOperatorEntry entry = c.operatorStack.back();
    c.operatorStack.pop_back();
    value = ApplyOperator(c, entry.op, entry.left, value, mask);
  }
  c.operatorStack.push_back(TOperatorEntry{value, op});
  // A word is checked before a closing bracket ends the expression, so that neither an
  // unknown word nor a keyword slips away inside brackets.
  if (IsTerminatorWord(op)) return TStep::Stop;
  if (precedence == -1) {
    ReportAt(c, opStart, "", msg::OperatorExpected);
    return TStep::Return;
  }
  if (c.Current() == ')' || c.Current() == ']') return TStep::Return;
  return TStep::Continue;
}

// The core of CompileExpression; leaves one entry above `base` on the operator stack.
int32_t ExpressionLoop(TCompilerContext& c, size_t base, uint32_t mask) {
  SkipBlanks(c);
  if (c.Current() == '\0' || IsLineEnd(c.Current()) || std::strchr(":;,']", c.Current()) != nullptr) {
    CompileError(c, "", msg::ExpressionExpected);
    return 0;
  }
  int32_t value = 0;
  int32_t opStart = c.position;
  for (;;) {
    if (c.errorReported || c.Current() == '\0' || IsLineEnd(c.Current())) break;
    if (!CompilePrefixedOperand(c, mask, value)) return value;
    const TStep step = CompileOperator(c, base, mask, value, opStart);
    if (step == TStep::Return) return value;
    if (step == TStep::Stop) break;
  }
  c.position = opStart;  // the terminating keyword belongs to the statement
  return value;
}

}  // namespace

bool ParseValueText(const std::string& text, int32_t& value) {
  if (text.empty()) return false;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > (int64_t{1} << 40)) return false;  // no value of ours is that long
  }
  value = WrapToInt32(text[0] == '-' ? -v : v);
  return true;
}

int32_t CompileExpression(TCompilerContext& c, uint32_t mask) {
  SkipBlanks(c);
  if (c.operatorStack.size() >= kMaxOperatorDepth) {
    CompileError(c, "Ausdruck", msg::Overflow);
    return 0;
  }
  // The floor of this expression: outer operators below it stay untouched.
  c.operatorStack.push_back(TOperatorEntry{0, "("});
  const size_t base = c.operatorStack.size();
  const int32_t value = ExpressionLoop(c, base, mask);
  if (c.operatorStack.size() != base + 1) CompileError(c, "", msg::ExpressionExpected);
  c.operatorStack.resize(base - 1);
  return value;
}

}  // namespace zarvek
