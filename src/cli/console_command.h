// zarvek-cli console: the terminal to a board; stdin goes to the board, the board's
// bytes go to stdout.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

int ConsoleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
