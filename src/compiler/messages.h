// The compiler's numbered error messages (codes 100 to 302).
#pragma once

#include <string>
#include <string_view>

namespace zarvek {

// The UTF-8 text of message `code` around `argument` (cp1252 bytes, usually a piece of the
// BASIC source). An empty argument reads "fehlend"; an unknown code gives an empty text.
std::string ComposeMessage(int code, std::string_view argument);

}  // namespace zarvek
