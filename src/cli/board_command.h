// zarvek-cli board: a virtual board on a pseudo-terminal, until interrupted.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

int BoardCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
