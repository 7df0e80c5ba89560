#include <iostream>

#include "cli/cli.h"
#include "project/native_file.h"

int main(int argc, char** argv) {
  // A closed pipe must show up as a failed write that the tool reports.
  zarvek::native::IgnoreBrokenPipeSignal();
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zarvek::cli::Main(args, std::cout, std::cerr);
}
