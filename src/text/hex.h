// Bytes as two-digit upper-case hex numbers separated by single blanks ("14 00 FF"), the
// form dumps and tests show images in.
#pragma once

#include <string>
#include <string_view>

namespace zarvek {

std::string HexBytes(std::string_view bytes);

}  // namespace zarvek
