// zarvek-cli: the command-line tool over the core. Main is separate from the process
// entry so that tests can run every subcommand in-process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDiagnosed = 1;
inline constexpr int kExitUsage = 2;

// args excludes the program name.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
