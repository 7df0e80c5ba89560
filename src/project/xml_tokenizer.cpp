// The tokenizer of TXML: one walk over the text, inside or outside a tag.
#include <cstdint>

#include "project/xml.h"

namespace zarvek {

namespace {

constexpr std::string_view kCdataStart = "<![CDATA[";
constexpr std::string_view kCdataEnd = "]]>";

bool IsTrimmed(char c) { return static_cast<uint8_t>(c) <= 0x20; }

bool StartsCdata(std::string_view text, size_t at) {
  if (text.size() - at < kCdataStart.size()) return false;
  for (size_t k = 0; k < kCdataStart.size(); ++k) {
    char c = text[at + k];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kCdataStart[k]) return false;
  }
  return true;
}

// Blank tokens carry nothing. The declaration is skipped by its tag; a text that happens
// to begin with "?xml" is content like any other and must survive a save and a load.
void Emit(std::vector<TXmlToken>& tokens, bool tag, std::string& buffer) {
  bool blank = true;
  for (char c : buffer) blank = blank && IsTrimmed(c);
  const bool declaration = tag && buffer.starts_with("?xml");
  if (!blank && !declaration) tokens.push_back({tag, buffer});
  buffer.clear();
}

}  // namespace

bool TokenizeXml(std::string_view text, std::vector<TXmlToken>& tokens) {
  tokens.clear();
  std::string buffer;
  bool inTag = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inTag) {
      if (c == '>') {
        Emit(tokens, true, buffer);
        inTag = false;
      } else {
        buffer += c;
      }
      continue;
    }
    if (c != '<') {
      buffer += c;
      continue;
    }
    if (StartsCdata(text, i)) {
      const size_t from = i + kCdataStart.size();
      const size_t end = text.find(kCdataEnd, from);
      if (end == std::string_view::npos) return false;  // the rest would be swallowed unseen
      buffer.append(text.substr(from, end - from));
      i = end + kCdataEnd.size() - 1;
      continue;
    }
    Emit(tokens, false, buffer);
    inTag = true;
  }
  return true;  // whatever is left in the buffer belongs to no element
}

}  // namespace zarvek
