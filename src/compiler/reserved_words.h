// The scanner's word tables: reserved words, upper-casing and the identifier rule.
// All text is cp1252 bytes.
#pragma once

#include <string>
#include <string_view>

#include "text/names.h"

namespace zarvek {

inline constexpr int kReservedWordCount = 108;

// Index of an upper-cased name in the reserved-word table, or -1.
int IsReserved(std::string_view upperName);

// The mixed-case form the editor writes for reserved word `index` ("GoSub", "iEEPROM");
// empty outside the table.
std::string_view ReservedWordSpelling(int index);


}  // namespace zarvek
