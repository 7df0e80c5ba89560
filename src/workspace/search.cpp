#include "workspace/search.h"

#include "text/names.h"

namespace zarvek::workspace {

namespace {

bool IsWordByte(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c >= 0xC0;
}

bool MatchesAt(std::string_view text, std::string_view key, size_t at, const TSearchOptions& options) {
  if (at + key.size() > text.size()) return false;
  const std::string_view part = text.substr(at, key.size());
  if (options.matchCase ? part != key : UpperCase(part) != key) return false;
  if (!options.wholeWord) return true;
  const bool startOk = at == 0 || !IsWordByte(text[at - 1]);
  const size_t end = at + key.size();
  return startOk && (end == text.size() || !IsWordByte(text[end]));
}

}  // namespace

std::optional<TMatch> FindText(std::string_view text, std::string_view pattern, size_t from, const TSearchOptions& options) {
  if (pattern.empty()) return std::nullopt;
  const std::string key = options.matchCase ? std::string(pattern) : UpperCase(pattern);
  for (size_t at = from; at + key.size() <= text.size(); ++at)
    if (MatchesAt(text, key, at, options)) return TMatch{at, key.size()};
  return std::nullopt;
}

TSearchStep SearchFrom(std::string_view text, std::string_view pattern, size_t caret, const TSearchOptions& options) {
  if (const auto m = FindText(text, pattern, caret, options)) return {true, m->start, m->start + m->length};
  return {false, 0, 0};
}

TSearchStep ReplaceNext(std::string& text, std::string_view pattern, std::string_view replacement, size_t selectionStart,
                        size_t selectionEnd, const TSearchOptions& options) {
  size_t caret = selectionEnd;
  const auto m = FindText(text, pattern, selectionStart, options);
  if (m && m->start == selectionStart && m->start + m->length == selectionEnd) {
    text.replace(m->start, m->length, replacement);
    caret = m->start + replacement.size();
  }
  return SearchFrom(text, pattern, caret, options);
}

size_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement, const TSearchOptions& options) {
  size_t count = 0;
  size_t from = 0;
  while (const auto m = FindText(text, pattern, from, options)) {
    text.replace(m->start, m->length, replacement);
    from = m->start + replacement.size();
    ++count;
  }
  return count;
}

std::string FindFieldPreset(std::string_view selection, std::string_view previous) {
  if (!selection.empty() && selection.size() <= 63) return std::string(selection);
  return std::string(previous);
}

}  // namespace zarvek::workspace
