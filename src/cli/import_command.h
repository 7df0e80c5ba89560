#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// zarvek-cli import OLD.cpo -o PROJECT.xml
int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
