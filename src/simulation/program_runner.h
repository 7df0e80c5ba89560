// Running a program image on a token machine without a window, to its end: the
// command-line tool and the end-to-end tests use it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/interpreter.h"

namespace zarvek {

struct TProgramRunOptions {
  TMachineConfig machine = TMachineConfig::Pyxon32();
  std::string input;                // what the program receives on its serial line
  std::optional<uint64_t> maxTokens;
  std::optional<double> timeoutSeconds;  // virtual time unless realtime
  bool realtime = false;
  std::function<void(const std::string&)> output;  // the program's serial output
  // Called once the machine exists and before it runs (for example to raise interrupts
  // from a test at a given token count).
  std::function<void(TInterpreter&, uint64_t tokensSoFar)> everySlice;
};

struct TRuntimeReport {
  std::string text;
  int32_t address = 0;
  TLinePosition statement;  // the line table's answer for the address
};

struct TProgramRunResult {
  std::optional<TRuntimeReport> error;  // the first runtime error report, which ends the run
  uint64_t tokens = 0;
};

// Runs until END, a runtime error, input that is used up while the program waits for
// more, or a limit. Lengths are those the compiler reports for the image.
TProgramRunResult RunProgram(const std::string& image, const std::vector<TLineRecord>& lineTable,
                             uint32_t codeLength, uint32_t tableLength, TProgramRunOptions options);

}  // namespace zarvek
