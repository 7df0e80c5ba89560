// The BASIC editor writes a reserved word in its own spelling ("gosub" becomes "GoSub")
// once the word has been typed, that is when a character that cannot belong to a name
// follows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarvek::workspace {

struct TTextReplacement {
  size_t start = 0;   // byte offset in the line
  size_t length = 0;
  std::string text;
  bool operator==(const TTextReplacement&) const = default;
};

// Name characters of BASIC (cp1252): letters, digits, "_", "$", "&", Ä Ö Ü ß ä ö ü.
bool IsNameChar(char c);

// `line` is the caret's line (cp1252), `caret` the byte offset just behind the word
// typed, before the character that ended it. Nothing when that word is no reserved word,
// is spelt right already, or lies in a string or a comment.
std::optional<TTextReplacement> CorrectReservedWord(std::string_view line, size_t caret);

}  // namespace zarvek::workspace

namespace zarvek::workspace {

// The BASIC editor's keyword help: the reserved words (in their own spelling) that begin
// with the name before the caret, in any case; empty for no name.
std::vector<std::string> BasicKeywordHelp(std::string_view line, size_t caret);

}  // namespace zarvek::workspace
