// zarvek-cli flash: writes a runtime image (Intel HEX) through an ATmega board's bootloader.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

int FlashCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
