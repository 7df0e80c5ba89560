// Find and replace over a plain text (cp1252 bytes), as the search panel drives it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zarvek::workspace {

struct TSearchOptions {
  bool wholeWord = false;  // CheckWord
  bool matchCase = false;  // CheckCase
};

struct TMatch {
  size_t start = 0;
  size_t length = 0;
  bool operator==(const TMatch&) const = default;
};

// The first match at or after `from`; nothing when there is none (or the pattern is empty).
std::optional<TMatch> FindText(std::string_view text, std::string_view pattern, size_t from, const TSearchOptions& options);

// What a search does to the caret: a hit selects the match (the caret at its end), a miss
// puts the caret at the start of the text, so that the next search starts from the top.
struct TSearchStep {
  bool found = false;
  size_t selectionStart = 0;
  size_t selectionEnd = 0;
};
TSearchStep SearchFrom(std::string_view text, std::string_view pattern, size_t caret, const TSearchOptions& options);

// Replace: when the selection holds a match it is replaced, then the next match is
// selected. `text` changes in place.
TSearchStep ReplaceNext(std::string& text, std::string_view pattern, std::string_view replacement, size_t selectionStart,
                        size_t selectionEnd, const TSearchOptions& options);

// Replaces every match; gives their number.
size_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement, const TSearchOptions& options);

// The find field takes the editor's selection when it is 1 to 63 characters long.
std::string FindFieldPreset(std::string_view selection, std::string_view previous);

}  // namespace zarvek::workspace
