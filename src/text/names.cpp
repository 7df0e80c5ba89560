#include "text/names.h"

#include <algorithm>
#include <cstdint>

namespace zarvek {

namespace {

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

char UpperByte(char c) {
  const uint8_t b = Byte(c);
  const bool small = (b >= 'a' && b <= 'z') || b == 0xE4 || b == 0xF6 || b == 0xFC;  // a-z ä ö ü
  return small ? static_cast<char>(b - 0x20) : c;
}

bool IsNameLetter(uint8_t b) {
  return (b >= 'A' && b <= 'Z') || b == 0xC4 || b == 0xD6 || b == 0xDC || b == 0xDF || b == '_';  // Ä Ö Ü ß
}

}  // namespace

std::string UpperCase(std::string_view cp1252) {
  std::string upper(cp1252);
  std::ranges::transform(upper, upper.begin(), UpperByte);
  return upper;
}

bool IsValidIdentifier(std::string_view upperName) {
  if (upperName.empty() || upperName.size() > 19 || !IsNameLetter(Byte(upperName[0]))) return false;
  bool dotSeen = false;
  for (size_t i = 1; i < upperName.size(); ++i) {
    const uint8_t c = Byte(upperName[i]);
    const bool last = i + 1 == upperName.size();
    if (IsNameLetter(c) || (c >= '0' && c <= '9')) continue;
    if (c == '.' && !last && !dotSeen) {
      dotSeen = true;
      continue;
    }
    if (c == ':' && last && upperName[i - 1] != '.') continue;
    return false;
  }
  return true;
}

}  // namespace zarvek
