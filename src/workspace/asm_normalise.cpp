#include "workspace/asm_normalise.h"

#include "hc05/asm_reserved.h"
#include "text/names.h"

namespace zarvek::workspace {

namespace {

bool EndsWord(char c) {
  switch (c) {
    case ' ': case '\t': case '\r': case '\n': case '"': case ':': case ';': case '+': case '-': case '*': case '/':
    case '(': case ')': case '.': case ',': case '\'': case '[': case ']':
      return true;
    default:
      return false;
  }
}

struct TPiece {
  std::string text;
  bool word = false;  // false: separators, strings and the comment
};

// Cuts the line into words and the text between them; strings and the comment come out
// whole as non-words.
std::vector<TPiece> Pieces(std::string_view line) {
  std::vector<TPiece> pieces;
  auto push = [&](std::string_view text, bool word) {
    if (!pieces.empty() && !pieces.back().word && !word) pieces.back().text += text;
    else pieces.push_back({std::string(text), word});
  };
  if (!line.empty() && line[0] == '*') {
    push(line, false);
    return pieces;
  }
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ';') {
      push(line.substr(i), false);
      break;
    }
    if (c == '"' || c == '\'') {
      size_t end = line.find(c, i + 1);
      end = end == std::string_view::npos ? line.size() : end + 1;
      push(line.substr(i, end - i), false);
      i = end;
      continue;
    }
    if (EndsWord(c)) {
      push(line.substr(i, 1), false);
      ++i;
      continue;
    }
    size_t end = i;
    while (end < line.size() && !EndsWord(line[end])) ++end;
    push(line.substr(i, end - i), true);
    i = end;
  }
  return pieces;
}

}  // namespace

std::string NormaliseAssemblerLine(std::string_view line, const std::vector<Tlabel>& basicNames,
                                   const std::vector<hc05::TAsmSymbol>& asmSymbols) {
  std::vector<TPiece> pieces = Pieces(line);
  bool equLine = false;
  for (const TPiece& p : pieces) equLine = equLine || (p.word && UpperCase(p.text) == "EQU");
  std::string out;
  for (TPiece& p : pieces) {
    if (p.word) {
      const std::string upper = UpperCase(p.text);
      bool done = false;
      if (hc05::FindReserved(upper)) {
        p.text = upper;
        done = true;
      }
      for (size_t i = 0; !done && i < basicNames.size(); ++i)
        if (UpperCase(basicNames[i].name) == upper) {
          p.text = basicNames[i].name;
          done = true;
        }
      for (size_t i = 0; !done && !equLine && i < asmSymbols.size(); ++i)
        if (UpperCase(asmSymbols[i].name) == upper) {
          p.text = asmSymbols[i].name;
          done = true;
        }
    }
    out += p.text;
  }
  return out;
}

}  // namespace zarvek::workspace

namespace zarvek::workspace {

bool NormaliseLeftLine(bool simulationRunning, TCaretKey key, int previousLine, int currentLine) {
  if (simulationRunning) return false;
  return key != TCaretKey::Other || previousLine != currentLine;
}

}  // namespace zarvek::workspace
