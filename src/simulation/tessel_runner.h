// Running a program on the emulated Tessel board without a window, to its end: the
// command-line tool and the tests use it. Time is the board's own (its cycles) unless the
// run is paced to the real clock.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "simulation/program_runner.h"
#include "simulation/tessel_loop.h"

namespace zarvek {

struct TTesselRunOptions {
  std::string input;  // enters the serial line at its rate
  std::optional<uint64_t> maxTokens;
  std::optional<double> timeoutSeconds;
  bool realtime = false;
  TTesselRuntimePoints points;
  std::function<void(const std::string&)> output;  // the serial bytes, raw
  // Called before every tick, for example to press an interrupt button from a test.
  std::function<void(TTesselLoop&, TSimulatedHardware&)> everyTick;
};

struct TTesselRunResult {
  std::string loadError;                // the program did not fit the board; nothing ran
  std::optional<TRuntimeReport> error;  // a runtime error of the program, or the controller's
  bool controllerError = false;         // the error is the controller's error state
  std::string registerLine;             // with a controller error
  uint64_t tokens = 0;
  uint64_t cycles = 0;
};

TTesselRunResult RunTesselProgram(const hc05::TRuntimeImage& runtime, const TTesselProgram& program,
                                  TTesselRunOptions options);

}  // namespace zarvek
