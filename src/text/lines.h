// Splitting a text into lines the way the editors count them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarvek {

// Lines end with CR LF, CR or LF; a final line break opens no further line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace zarvek
