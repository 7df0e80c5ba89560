#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// Whether the run command's arguments choose a Tessel profile.
bool RunsOnTesselBoard(const std::vector<std::string>& args);

// zarvek-cli run --profile tessel-1.1|tessel-micro [--input TEXT] [--max-tokens N]
//                [--timeout SECONDS] [--realtime] [--asm FILE.asm] FILE.bas|PROJECT.xml|IMAGE.bin
// Runs the program on the emulated board; options, output and exit status as on the token
// machine. Tessel 2.0 is refused with the reason.
int RunTesselCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
