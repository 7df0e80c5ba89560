#include "workspace/case_correction.h"

#include "compiler/reserved_words.h"
#include "text/names.h"

namespace zarvek::workspace {

bool IsNameChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '_': case '$': case '&': case 196: case 214: case 220: case 223: case 228: case 246: case 252: return true;
    default: return false;
  }
}

namespace {
// Whether `offset` lies in a string or a comment of the line.
bool InStringOrComment(std::string_view line, size_t offset) {
  bool inString = false;
  for (size_t i = 0; i < offset && i < line.size(); ++i) {
    if (line[i] == '"') inString = !inString;
    else if (line[i] == '\'' && !inString) return true;
  }
  return inString;
}
}  // namespace

std::optional<TTextReplacement> CorrectReservedWord(std::string_view line, size_t caret) {
  if (caret > line.size()) return std::nullopt;
  size_t start = caret;
  while (start > 0 && IsNameChar(line[start - 1])) --start;
  if (start == caret || InStringOrComment(line, start)) return std::nullopt;
  // An element of a data structure ("rec.Type") is a name of the program, not a word.
  if (start > 0 && line[start - 1] == '.') return std::nullopt;
  const std::string_view word = line.substr(start, caret - start);
  const int index = IsReserved(UpperCase(word));
  if (index < 0) return std::nullopt;
  const std::string_view spelling = ReservedWordSpelling(index);
  if (spelling == word) return std::nullopt;
  return TTextReplacement{start, word.size(), std::string(spelling)};
}

}  // namespace zarvek::workspace

namespace zarvek::workspace {

std::vector<std::string> BasicKeywordHelp(std::string_view line, size_t caret) {
  std::vector<std::string> list;
  if (caret > line.size()) return list;
  size_t start = caret;
  while (start > 0 && IsNameChar(line[start - 1])) --start;
  if (start == caret || InStringOrComment(line, start)) return list;
  const std::string prefix = UpperCase(line.substr(start, caret - start));
  for (int i = 0; i < kReservedWordCount; ++i) {
    const std::string_view spelling = ReservedWordSpelling(i);
    if (UpperCase(spelling).starts_with(prefix)) list.emplace_back(spelling);
  }
  return list;
}

}  // namespace zarvek::workspace
