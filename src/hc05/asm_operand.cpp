// Operands: strings, the index register, and values, with the names of the assembler
// text and of the BASIC program replaced by what they stand for, and bit selection.
#include <algorithm>

#include "hc05/asm_context.h"
#include "hc05/asm_expression.h"

namespace zarvek::hc05 {

namespace {

// Where an operand is cut into pieces for name substitution.
bool IsCut(char c) {
  static constexpr std::string_view kCut = "+-/\\*()&|^!:#<>=~";
  return kCut.find(c) != std::string_view::npos;
}

// Byte number n of the BASIC variables lies at 161 + n in the controller's memory.
constexpr int64_t kBasicMemory = 161;

std::optional<std::string> BasicValueText(const Tlabel& s) {
  const int64_t n = s.address;
  if (s.kind == KindBit(kind::Byte)) return std::to_string(n + kBasicMemory);
  if (s.kind == KindBit(kind::Word)) return std::to_string(2 * n + kBasicMemory);
  if (s.kind == KindBit(kind::Bit)) return std::to_string(n / 8 + kBasicMemory) + "." + std::to_string(n % 8);
  if (s.kind == KindBit(kind::Constant)) return "#" + std::to_string(n);
  return std::nullopt;
}

struct TSubstitution {
  std::string text;
  std::optional<TAsmMessage> failure;
};

// A name that stands for nothing (yet) becomes "?", which no evaluation accepts.
void ReplacePiece(const TAsmContext& c, std::string_view piece, TSubstitution& s, bool splitBit) {
  // A name that also reads as a number with an h or b suffix ("FACH") stays a name when
  // such a symbol exists.
  const bool nameLike = !piece.empty() && piece.front() >= 'A' && piece.front() <= 'Z';
  const TAsmNumber n = nameLike && (c.symbols.Lookup(piece) || c.basic.Find(piece)) ? TAsmNumber{} : ParseAsmNumber(piece);
  if (n.status == TAsmNumber::TStatus::Ok) {
    s.text += std::to_string(n.value);
  } else if (n.status == TAsmNumber::TStatus::TooLarge) {
    s.failure = TAsmMessage::ValueTooLarge;
  } else if (piece == "X") {
    s.text += piece;
  } else if (const TAsmSymbol* sym = c.symbols.Lookup(piece)) {
    const bool known = sym->kind != asmsymbol::PreRegistered && !sym->value.empty();
    s.text += known ? sym->value : "?";
  } else if (const Tlabel* basic = c.basic.Find(piece)) {
    const auto value = BasicValueText(*basic);
    if (value) s.text += *value;
    else s.failure = TAsmMessage::OnlyVariables;
  } else if (const size_t dot = piece.find('.'); splitBit && dot != std::string_view::npos) {
    ReplacePiece(c, piece.substr(0, dot), s, false);
    s.text += '.';
    if (!s.failure) ReplacePiece(c, piece.substr(dot + 1), s, false);
  } else {
    s.text += '?';
  }
}

TSubstitution Substitute(const TAsmContext& c, std::string_view upper) {
  TSubstitution s;
  size_t i = 0;
  while (i < upper.size() && !s.failure) {
    if (IsCut(upper[i])) {
      s.text += upper[i++];
      continue;
    }
    size_t j = i;
    while (j < upper.size() && !IsCut(upper[j])) ++j;
    ReplacePiece(c, upper.substr(i, j - i), s, true);
    i = j;
  }
  return s;
}

// Drops every "#" that begins a term; any such "#" makes the value an immediate, so that a
// constant defined as "#5" is an immediate wherever it is used.
bool TakeImmediate(std::string& text) {
  std::string out;
  bool immediate = false;
  for (char ch : text) {
    if (ch == '#' && (out.empty() || IsCut(out.back()) || out.back() == '.')) {
      immediate = true;
      continue;
    }
    out += ch;
  }
  text = std::move(out);
  return immediate;
}

TAsmMessage Classify(TEvalFailure f) {
  switch (f) {
    case TEvalFailure::MissingBracket: return TAsmMessage::BracketExpected;
    case TEvalFailure::NoOperand: return TAsmMessage::OperatorWithoutOperand;
    case TEvalFailure::IndexRegister: return TAsmMessage::IndexNotHere;
    case TEvalFailure::DivisionByZero: return TAsmMessage::DivisionByZero;
    case TEvalFailure::TooLarge: return TAsmMessage::ValueTooLarge;
    default: return TAsmMessage::ConstantUndefined;
  }
}

void SetFailure(TOperand& op, TAsmMessage m, std::string offending) {
  op.kind = TOperandKind::Failed;
  op.failure = Fail(m, std::move(offending), op.field);
}

// "address.bit": the address 0...255, the bit 0...7.
void EvaluateBitSelection(TOperand& op, std::string_view left, std::string_view right) {
  const TEvalResult a = EvaluateAsmExpression(left);
  const TEvalResult b = EvaluateAsmExpression(right);
  if (a.failure != TEvalFailure::None || b.failure != TEvalFailure::None) {
    return SetFailure(op, TAsmMessage::BitSelectionNotHere, op.text);
  }
  if (a.value < 0 || a.value > 255) {
    return SetFailure(op, TAsmMessage::Address8, std::to_string(a.value) + "." + std::to_string(b.value));
  }
  if (b.value < 0 || b.value > 7) return SetFailure(op, TAsmMessage::BitRange, op.text);
  op.kind = TOperandKind::Value;
  op.value = a.value;
  op.hasBit = true;
  op.bit = b.value;
}

void EvaluateValue(const TAsmContext& c, TOperand& op) {
  TSubstitution s = Substitute(c, UpperCase(op.text));
  if (s.failure) return SetFailure(op, *s.failure, op.text);
  op.immediate = TakeImmediate(s.text);
  const size_t dot = s.text.find('.');
  if (dot == std::string::npos) {
    const TEvalResult r = EvaluateAsmExpression(s.text);
    if (r.failure != TEvalFailure::None) return SetFailure(op, Classify(r.failure), op.text);
    op.kind = TOperandKind::Value;
    op.value = r.value;
    return;
  }
  if (s.text.find('.', dot + 1) != std::string::npos) return SetFailure(op, TAsmMessage::BitSelectionNotHere, op.text);
  const std::string_view t = s.text;
  EvaluateBitSelection(op, t.substr(0, dot), t.substr(dot + 1));
}

}  // namespace

TBasicNames::TBasicNames(const std::vector<Tlabel>* symbols) {
  if (!symbols) return;
  for (const Tlabel& s : *symbols) m_sorted.emplace_back(UpperCase(s.name), &s);
  // Equal names keep their order, globals first.
  std::stable_sort(m_sorted.begin(), m_sorted.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return a.second->scope == -1 && b.second->scope != -1;
  });
}

const Tlabel* TBasicNames::Find(std::string_view upperName) const {
  const auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), upperName,
                                   [](const auto& e, std::string_view n) { return e.first < n; });
  return it != m_sorted.end() && it->first == upperName ? it->second : nullptr;
}

TOperand AnalyzeOperand(const TAsmContext& c, const TAsmField& field, int fieldNumber) {
  TOperand op;
  op.text = field.text;
  op.field = fieldNumber;
  if (op.text.empty()) return op;
  if (op.text == "X" || op.text == "x") {
    op.kind = TOperandKind::Index;
  } else if (op.text[0] == '"' || op.text[0] == '\'') {
    const auto bytes = AsmStringValue(op.text);
    op.kind = bytes ? TOperandKind::String : TOperandKind::BadString;
    if (bytes) op.bytes = *bytes;
  } else {
    EvaluateValue(c, op);
  }
  return op;
}

std::string OperandValueText(const TOperand& op) {
  std::string text = op.immediate ? "#" : "";
  text += std::to_string(op.value);
  if (op.hasBit) text += "." + std::to_string(op.bit);
  return text;
}

bool OperandMentions(std::string_view operand, std::string_view upperName) {
  const std::string upper = UpperCase(operand);
  size_t i = 0;
  while (i < upper.size()) {
    size_t j = i;
    while (j < upper.size() && !IsCut(upper[j])) ++j;
    const std::string_view piece = std::string_view(upper).substr(i, j - i);
    if (piece == upperName || piece.substr(0, piece.find('.')) == upperName) return true;
    i = j + 1;
  }
  return false;
}

}  // namespace zarvek::hc05
