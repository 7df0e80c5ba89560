// The scanner's word tables: reserved words, upper-casing and the identifier rule.
// All text is cp1252 bytes.
#pragma once

#include <string>
#include <string_view>

namespace zarvek {

inline constexpr int kReservedWordCount = 108;

// Index of an upper-cased name in the reserved-word table, or -1.
int IsReserved(std::string_view upperName);

// The mixed-case form the editor writes for reserved word `index` ("GoSub", "iEEPROM");
// empty outside the table.
std::string_view ReservedWordSpelling(int index);

// a-z and ä ö ü to their capitals; every other byte (ß included) stays.
std::string UpperCase(std::string_view cp1252);

// The rule for BASIC and assembler names, applied to the upper-cased name: 1 to 19
// characters, a letter or "_" first, then letters, digits, "_", at most one inner ".",
// and a ":" only as the last character.
bool IsValidIdentifier(std::string_view upperName);

}  // namespace zarvek
