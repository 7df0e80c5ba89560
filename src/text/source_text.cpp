#include "text/source_text.h"

#include <algorithm>
#include <cstdio>

#include "text/cp1252.h"

namespace zarvek {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string CodePointName(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

TSourceText DecodeSourceFile(std::string_view bytes) {
  TSourceText result;
  const bool marked = bytes.starts_with(kByteOrderMark);
  if ((!marked && IsAscii(bytes)) || !IsValidUtf8(bytes)) {
    result.cp1252 = std::string(bytes);
    return result;
  }
  result.fromUtf8 = true;
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  result.cp1252.reserve(bytes.size());
  int32_t line = 1, column = 1;
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t at = pos;
    const char32_t c = NextCodePoint(bytes, pos);
    const std::optional<char> byte = Cp1252ByteOf(c);
    if (!byte) {
      result.unmappable = TUnmappableCharacter{c, std::string(bytes.substr(at, pos - at)), line, column};
      result.cp1252.clear();
      return result;
    }
    result.cp1252 += *byte;
    // CR LF, LF and CR each end one line.
    if (c == '\n' || (c == '\r' && !(pos < bytes.size() && bytes[pos] == '\n'))) {
      ++line;
      column = 1;
    } else if (c != '\r') {
      ++column;
    }
  }
  return result;
}

}  // namespace zarvek
