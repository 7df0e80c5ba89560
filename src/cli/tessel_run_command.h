// The run command's Tessel side: a built program or a program image runs on the emulated
// board, with the token machine's options, output and exit status.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "base/profile.h"
#include "simulation/program_runner.h"

namespace zarvek::cli {

class TSourceBuild;

struct TTesselRunSource {
  TProfile board = profile::Tessel11;   // Tessel 1.1 or Tessel Micro
  const std::string& image;             // the program image
  const TSourceBuild* build = nullptr;  // none for a program image
  const std::string& path;              // the file named on the command line
};

// Refusals (Tessel 2.0) are the caller's; a board this build carries no runtime for, a
// program that does not fit and runtime errors are reported here.
int RunOnTesselBoard(const TTesselRunSource& source, const TProgramRunOptions& options, std::ostream& out,
                     std::ostream& err);

}  // namespace zarvek::cli
