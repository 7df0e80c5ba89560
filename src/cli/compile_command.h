#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/build_report.h"

namespace zarvek::cli {

// zarvek-cli compile [--profile NAME] [--asm FILE.asm] [--dump] FILE.bas|PROJECT.xml
int CompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
