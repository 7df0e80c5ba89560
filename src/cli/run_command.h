#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// zarvek-cli run [--profile atmega-32|atmega-128] [--input TEXT] [--max-tokens N]
//                [--timeout SECONDS] [--realtime] FILE.bas|IMAGE.bin
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
