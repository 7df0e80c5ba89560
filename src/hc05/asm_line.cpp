#include "hc05/asm_line.h"

namespace zarvek::hc05 {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Characters next to which blanks in an operand are dropped.
bool IsAsmOperatorChar(char c) {
  static constexpr std::string_view kOperators = "+-/\\*()&|^!:#<>=, ";
  return kOperators.find(c) != std::string_view::npos || c == '\t';
}
bool IsQuote(char c) { return c == '"' || c == '\''; }

// Index just past the string that opens at `open`; the end of the text for a string that
// is not closed.
size_t StringEnd(std::string_view text, size_t open, bool* closed = nullptr) {
  const char quote = text[open];
  size_t i = open + 1;
  while (i < text.size()) {
    if (text[i] != quote) {
      ++i;
    } else if (i + 1 < text.size() && text[i + 1] == quote) {
      i += 2;
    } else {
      if (closed) *closed = true;
      return i + 1;
    }
  }
  if (closed) *closed = false;
  return text.size();
}

// Index of the first `wanted` outside strings, or the text's length.
size_t FindOutsideStrings(std::string_view text, char wanted, size_t from = 0) {
  size_t i = from;
  while (i < text.size()) {
    if (text[i] == wanted) return i;
    i = IsQuote(text[i]) ? StringEnd(text, i) : i + 1;
  }
  return text.size();
}

size_t SkipBlanks(std::string_view text, size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

size_t WordEnd(std::string_view text, size_t i) {
  while (i < text.size() && !IsBlank(text[i])) ++i;
  return i;
}

// Drops the blanks an operand does not need: next to operator characters, at both ends,
// and all but one of a run; strings stay as written.
std::string CompactOperand(std::string_view text) {
  std::string out;
  size_t i = SkipBlanks(text, 0);
  while (i < text.size()) {
    if (IsQuote(text[i])) {
      const size_t end = StringEnd(text, i);
      out.append(text.substr(i, end - i));
      i = end;
    } else if (IsBlank(text[i])) {
      const size_t next = SkipBlanks(text, i);
      const bool keep = next < text.size() && !out.empty() && !IsAsmOperatorChar(out.back()) &&
                        !IsAsmOperatorChar(text[next]);
      if (keep) out += ' ';
      i = next;
    } else {
      out += text[i++];
    }
  }
  return out;
}

void SplitOperands(std::string_view body, size_t from, TAsmLine& line) {
  size_t start = from;
  while (true) {
    const size_t comma = FindOutsideStrings(body, ',', start);
    const std::string_view part = body.substr(start, comma - start);
    const size_t first = SkipBlanks(part, 0);
    line.operands.push_back({CompactOperand(part), static_cast<int>(start + first) + 1});
    if (comma >= body.size()) break;
    start = comma + 1;
  }
}

}  // namespace

TAsmLine SplitAsmLine(std::string_view text) {
  TAsmLine line;
  if (text.empty()) return line;
  if (text[0] == '*') {
    line.commentLine = true;
    line.comment = std::string(text.substr(1));
    return line;
  }
  const size_t semicolon = FindOutsideStrings(text, ';');
  if (semicolon < text.size()) line.comment = std::string(text.substr(semicolon + 1));
  const std::string_view body = text.substr(0, semicolon);
  size_t i = 0;
  if (!body.empty() && !IsBlank(body[0])) {
    // The label ends at a blank or just after a ":".
    while (i < body.size() && !IsBlank(body[i]) && body[i] != ':') ++i;
    line.label = {std::string(body.substr(0, i)), 1};
    if (i < body.size() && body[i] == ':') {
      line.labelColon = true;
      ++i;
    }
  }
  i = SkipBlanks(body, i);
  if (i >= body.size()) return line;
  const size_t mnemonicEnd = WordEnd(body, i);
  line.mnemonic = {std::string(body.substr(i, mnemonicEnd - i)), static_cast<int>(i) + 1};
  i = SkipBlanks(body, mnemonicEnd);
  if (i < body.size()) SplitOperands(body, i, line);
  return line;
}

std::optional<std::string> AsmStringValue(std::string_view operand) {
  if (operand.size() < 2 || !IsQuote(operand[0])) return std::nullopt;
  bool closed = false;
  if (StringEnd(operand, 0, &closed) != operand.size() || !closed) return std::nullopt;
  std::string value;
  for (size_t i = 1; i + 1 < operand.size(); ++i) {
    value += operand[i];
    if (operand[i] == operand[0]) ++i;  // a doubled quote stands for one
  }
  return value;
}

}  // namespace zarvek::hc05

