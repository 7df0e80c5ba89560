#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// zarvek-cli asm [--dump] FILE.asm
int AsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
