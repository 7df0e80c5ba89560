#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// zarvek-cli export [--profile NAME] PROJECT.xml|FILE.bas -o OUT.dat
int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
