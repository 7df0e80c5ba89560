// The compiled-project export (".DAT"): the program image and the machine code as text.
#pragma once

#include <string>
#include <string_view>

namespace zarvek {

// Five lines, each ended by CR LF: "TESEL-BASIC", the image length, the image bytes in
// decimal each followed by a blank, the machine code's length, its bytes likewise.
std::string CompiledProjectExport(std::string_view image, std::string_view machineCode);

}  // namespace zarvek
