#include "hc05/asm_expression.h"

#include <optional>
#include <string>
#include <vector>

namespace zarvek::hc05 {

namespace {

// ----- numbers -----

std::string_view Trim(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int DigitValue(char c) {
  c = Upper(c);
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

struct TBase {
  int radix = 10;
  size_t maxDigits = 5;
  std::string_view digits;
};

TBase SplitBase(std::string_view t) {
  if (t.empty()) return {10, 5, t};
  switch (t.front()) {
    case '$': return {16, 4, t.substr(1)};
    case '%': return {2, 16, t.substr(1)};
    case '@': return {8, 7, t.substr(1)};
    default: break;
  }
  // The suffix forms may start with a letter digit ("FFh", as the disassembler writes);
  // a symbol of such a name still wins where names are substituted.
  const char last = Upper(t.back());
  if (last == 'H' && t.size() > 1) return {16, 4, t.substr(0, t.size() - 1)};
  if (last == 'B' && t.size() > 1) return {2, 16, t.substr(0, t.size() - 1)};
  return {10, 5, t};
}

// ----- expressions -----

struct TItem {
  bool number = false;
  int64_t value = 0;
  char op = 0;  // operator code or "(" / ")"
};

int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// The two-character operators, each followed by the one-character code it stands for.
constexpr std::string_view kPairs[] = {"<>N", "!=N", "<=S", "=<S", ">=G", "=>G", "===", "&&U", "||O"};
constexpr std::string_view kSingles = "!~&|^*/\\-+=<>()";
// Binary operators, one precedence level each, in the order they are applied.
constexpr std::string_view kBinaryOrder = "&|^*/\\-+=N<S>GUO";

struct TScan {
  std::vector<TItem> items;
  TEvalFailure failure = TEvalFailure::None;
};

size_t ScanNumber(std::string_view t, size_t i, TScan& s) {
  size_t j = i;
  int64_t v = 0;
  while (j < t.size() && t[j] >= '0' && t[j] <= '9') {
    if (j - i >= 11) s.failure = TEvalFailure::TooLarge;
    else v = v * 10 + (t[j] - '0');
    ++j;
  }
  s.items.push_back({true, Wrap(v), 0});
  return j;
}

TScan Scan(std::string_view t) {
  TScan s;
  bool index = false, other = false;
  size_t i = 0;
  while (i < t.size()) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      i = ScanNumber(t, i, s);
      continue;
    }
    std::optional<char> code;
    for (std::string_view p : kPairs) {
      if (i + 1 < t.size() && t[i] == p[0] && t[i + 1] == p[1]) {
        code = p[2];
        break;
      }
    }
    if (code) {
      s.items.push_back({false, 0, *code});
      i += 2;
      continue;
    }
    if (kSingles.find(c) != std::string_view::npos) s.items.push_back({false, 0, c});
    else if (c == 'X') index = true;
    else other = true;
    ++i;
  }
  if (index) s.failure = TEvalFailure::IndexRegister;
  else if (other) s.failure = TEvalFailure::Other;
  return s;
}

TEvalResult CheckBrackets(const std::vector<TItem>& items) {
  int depth = 0, deepest = 0;
  for (const TItem& it : items) {
    if (it.number) continue;
    if (it.op == '(') deepest = std::max(deepest, ++depth);
    if (it.op == ')' && --depth < 0) return {TEvalFailure::MissingBracket, 0, '('};
  }
  if (depth > 0) return {TEvalFailure::MissingBracket, 0, ')'};
  if (deepest > kMaxExpressionDepth) return {TEvalFailure::Other, 0, 0};
  return {};
}

bool IsNumber(const std::vector<TItem>& v, size_t i) { return i < v.size() && v[i].number; }

// A "-" at the start or after another operator becomes the sign of the following number.
TEvalFailure ApplySigns(std::vector<TItem>& v) {
  std::vector<TItem> out;
  for (size_t i = 0; i < v.size(); ++i) {
    const bool sign = v[i].op == '-' && !v[i].number && (out.empty() || !out.back().number);
    if (!sign) {
      out.push_back(v[i]);
      continue;
    }
    if (!IsNumber(v, i + 1)) return TEvalFailure::NoOperand;
    out.push_back({true, Wrap(-v[i + 1].value), 0});
    ++i;
  }
  v = std::move(out);
  return TEvalFailure::None;
}

// "!" and "~" take the number to their right; applied from the right so that they nest.
TEvalFailure ApplyUnary(std::vector<TItem>& v, char op) {
  for (size_t k = v.size(); k-- > 0;) {
    if (v[k].number || v[k].op != op) continue;
    if (!IsNumber(v, k + 1)) return TEvalFailure::NoOperand;
    if (k > 0 && v[k - 1].number) return TEvalFailure::Other;  // "5!3": no operator between
    const int64_t x = v[k + 1].value;
    v[k] = {true, op == '!' ? int64_t{x == 0} : Wrap(~x), 0};
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(k) + 1);
  }
  return TEvalFailure::None;
}

std::optional<int64_t> Apply(char op, int64_t a, int64_t b) {
  switch (op) {
    case '&': return a & b;
    case '|': return a | b;
    case '^': return a ^ b;
    case '*': return a * b;
    case '/': return b == 0 ? std::nullopt : std::optional<int64_t>(a / b);
    case '\\': return b == 0 ? std::nullopt : std::optional<int64_t>(a % b);
    case '-': return a - b;
    case '+': return a + b;
    case '=': return a == b;
    case 'N': return a != b;
    case '<': return a < b;
    case 'S': return a <= b;
    case '>': return a > b;
    case 'G': return a >= b;
    case 'U': return a != 0 && b != 0;
    default: return a != 0 || b != 0;  // 'O'
  }
}

TEvalFailure ApplyBinary(std::vector<TItem>& v, char op) {
  std::vector<TItem> out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i].number || v[i].op != op) {
      out.push_back(v[i]);
      continue;
    }
    if (out.empty() || !out.back().number || !IsNumber(v, i + 1)) return TEvalFailure::NoOperand;
    const auto r = Apply(op, out.back().value, v[i + 1].value);
    if (!r) return TEvalFailure::DivisionByZero;
    out.back().value = Wrap(*r);
    ++i;
  }
  v = std::move(out);
  return TEvalFailure::None;
}

TEvalResult EvaluateFlat(std::vector<TItem> v) {
  if (v.empty()) return {TEvalFailure::NoOperand, 0, 0};
  TEvalFailure f = ApplySigns(v);
  for (char op : {'!', '~'}) {
    if (f == TEvalFailure::None) f = ApplyUnary(v, op);
  }
  for (char op : kBinaryOrder) {
    if (f == TEvalFailure::None) f = ApplyBinary(v, op);
  }
  if (f != TEvalFailure::None) return {f, 0, 0};
  if (v.size() != 1 || !v[0].number) return {TEvalFailure::Other, 0, 0};
  return {TEvalFailure::None, Wrap(v[0].value), 0};
}

// Evaluates items[from, to) with every parenthesised group replaced by its value; the
// brackets are known to balance and the nesting to be bounded.
TEvalResult EvaluateRange(const std::vector<TItem>& items, size_t from, size_t to) {
  std::vector<TItem> flat;
  size_t i = from;
  while (i < to) {
    if (items[i].number || items[i].op != '(') {
      flat.push_back(items[i++]);
      continue;
    }
    size_t close = i + 1;
    for (int depth = 1; close < to; ++close) {
      if (!items[close].number && items[close].op == '(') ++depth;
      if (!items[close].number && items[close].op == ')' && --depth == 0) break;
    }
    const TEvalResult inner = EvaluateRange(items, i + 1, close);
    if (inner.failure != TEvalFailure::None) return inner;
    flat.push_back({true, inner.value, 0});
    i = close + 1;
  }
  return EvaluateFlat(std::move(flat));
}

}  // namespace

TAsmNumber ParseAsmNumber(std::string_view text) {
  TAsmNumber n;
  std::string_view t = Trim(text);
  if (t.size() >= 161) return n;
  if (!t.empty() && t.front() == '#') {
    n.immediate = true;
    t = Trim(t.substr(1));
  }
  const bool negative = !t.empty() && t.front() == '-';
  if (negative) t = Trim(t.substr(1));
  const TBase base = SplitBase(t);
  if (base.digits.empty()) return n;
  int64_t value = 0;
  size_t significant = 0;
  for (char c : base.digits) {
    const int d = DigitValue(c);
    if (d >= base.radix) return n;
    if (significant > 0 || d != 0) ++significant;
    if (significant <= base.maxDigits) value = value * base.radix + d;
  }
  n.status = significant > base.maxDigits ? TAsmNumber::TStatus::TooLarge : TAsmNumber::TStatus::Ok;
  n.value = static_cast<int32_t>(negative ? -value : value);
  return n;
}

TEvalResult EvaluateAsmExpression(std::string_view text) {
  if (text.size() > kMaxExpressionLength) return {TEvalFailure::Other, 0, 0};
  const TScan scan = Scan(text);
  if (scan.failure != TEvalFailure::None) return {scan.failure, 0, 0};
  const TEvalResult brackets = CheckBrackets(scan.items);
  if (brackets.failure != TEvalFailure::None) return brackets;
  return EvaluateRange(scan.items, 0, scan.items.size());
}

}  // namespace zarvek::hc05
