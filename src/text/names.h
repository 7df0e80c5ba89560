// Names in BASIC and assembler sources (cp1252): upper-casing and the rule that
// identifiers, labels and assembler symbols share.
#pragma once

#include <string>
#include <string_view>

namespace zarvek {

// a-z and ä ö ü to their capitals; every other byte (ß included) stays.
std::string UpperCase(std::string_view cp1252);

// The name rule, applied to an upper-cased name: 1 to 19 characters, a letter or "_"
// first, then letters, digits, "_", at most one inner "." and a ":" only as the last
// character (not right after the ".").
bool IsValidIdentifier(std::string_view upperName);

}  // namespace zarvek
