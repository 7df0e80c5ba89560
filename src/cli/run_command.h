#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// zarvek-cli run [--profile atmega-32|atmega-128] [--input TEXT] [--max-tokens N]
//                [--timeout SECONDS] [--realtime] [--image] FILE.bas|PROJECT.xml|IMAGE.bin
// A BASIC or project file is built as compile builds it, with its modules; a file named
// .bin, or any file after --image, is a program image.
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
