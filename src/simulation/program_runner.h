// Running a program image on a token machine without a window, to its end: the
// command-line tool and the end-to-end tests use it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/interpreter.h"
#include "simulation/run_events.h"

namespace zarvek {

struct TProgramRunOptions {
  TMachineConfig machine = TMachineConfig::Pyxon32();
  std::string input;                // what the program receives on its serial line
  std::optional<uint64_t> maxTokens;
  std::optional<double> timeoutSeconds;  // virtual time unless realtime
  bool realtime = false;
  std::function<void(const std::string&)> output;  // the program's serial output, in batches
  TStatementLocator locator;  // gives a runtime error the place of its statement
  // Called once the machine exists and before it runs (for example to raise interrupts
  // from a test at a given token count).
  std::function<void(TInterpreter&, uint64_t tokensSoFar)> everySlice;
};

struct TRuntimeReport {
  int number = 0;
  std::string text;
  int32_t address = 0;
  TLinePosition statement;               // the line table's answer for the address
  std::optional<TStatementPlace> place;  // when a locator was given and knew it
};

// Why a run ended.
enum class TProgramRunEnd : uint8_t {
  Ended,            // END
  RuntimeError,     // the first runtime error report (a breakpoint stop counts as none)
  InputUsedUp,      // the program waits for input after the given input is used up
  TokenLimit,       // maxTokens tokens ran
  TimeLimit,        // timeoutSeconds passed
};

struct TProgramRunResult {
  TProgramRunEnd outcome = TProgramRunEnd::Ended;
  std::optional<TRuntimeReport> error;  // set with RuntimeError
  uint64_t tokens = 0;
};

// Runs until END, a runtime error, input that is used up while the program waits for
// more, or a limit. Lengths are those the compiler reports for the image.
TProgramRunResult RunProgram(const std::string& image, const std::vector<TLineRecord>& lineTable,
                             uint32_t codeLength, uint32_t tableLength, TProgramRunOptions options);

}  // namespace zarvek
