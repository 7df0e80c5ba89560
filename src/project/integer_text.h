// Integers as project and settings files write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zarvek {

// Leading blanks, an optional sign, then decimal digits or "$" and hexadecimal digits
// (up to 8, taken as 32 bits); nothing for any other text or a value beyond 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);

}  // namespace zarvek
