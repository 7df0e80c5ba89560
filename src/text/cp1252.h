// Conversion between Windows-1252 bytes (source texts, project files, serial data) and
// UTF-8 (user messages, the toolkit).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zarvek {

// Every byte has a character; the five bytes Windows-1252 leaves undefined (81 8D 8F 90 9D)
// become the C1 controls of the same number, so that any byte string survives a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// The Windows-1252 byte of a code point, if it has one.
std::optional<char> Cp1252ByteOf(char32_t c);

// The code point at text[pos], advancing pos past it; a malformed sequence yields U+FFFD
// and advances one byte.
char32_t NextCodePoint(std::string_view text, size_t& pos);

// Well-formed UTF-8 throughout: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Characters without a Windows-1252 byte, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace zarvek
