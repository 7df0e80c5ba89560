// A Tessel board for tests: the emulated controller with our operating system, a token
// program in its serial EEPROM, and a run that checks every pass of the token-fetch point.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/profile.h"
#include "hc05/motorola_engine.h"
#include "pipeline/build.h"
#include "tessel/tessel_image.h"

namespace zarvek::tessel {

// Token start addresses of a program, walking its code from address 4 to the END that
// closes it (operand lengths from the token list; 08 carries an address).
std::set<uint16_t> TokenStarts(const std::string& image);

enum class TRunEnd { Idle, Error, StepLimit, EngineError };

class TRig {
 public:
  explicit TRig(TTesselVariant variant = TTesselVariant::Tessel11);

  // Loads the token image (as the compiler gives it) and resets the board cold.
  void Load(const std::string& image);
  // Compiles BASIC for the variant and loads it; false with a test failure on errors.
  bool LoadBasic(const std::string& source, const std::string& assembler = "");
  // Runs until END (the idle loop), a stopped runtime error or the step limit. Every pass
  // of $0911 is checked: the byte in A is the EEPROM byte at word address - 1, and that
  // address is a token start of the loaded program.
  TRunEnd Run(long maxSteps = 3'000'000);

  // Steps until the transmitted text holds at least count bytes, the step limit or an
  // engine error; returns the text and empties it.
  std::string TakeOutput(size_t count, long maxSteps = 2'000'000);

  uint16_t Sym(const char* name) const;
  int16_t Cell(int depth = 0) const;  // data stack cell below the top (0 = top)
  uint8_t Var(int byte) const { return engine.Memory()[0xA1 + byte]; }
  int16_t WordVar(int index) const {
    return static_cast<int16_t>(Var(2 * index) << 8 | Var(2 * index + 1));
  }
  std::string Output() const { return engine.Environment().transmitText; }

  hc05::TMotorolaEngine engine;
  TTesselVariant variant;
  std::vector<uint16_t> fetched;  // token addresses in fetch order
  std::set<uint16_t> starts;
  int badFetches = 0;
  uint16_t lowestSp = 0xFF;  // the deepest the processor stack went
  // Token counts after which the interrupt pin is pulled low for a while (a falling edge).
  std::vector<size_t> interruptAfter;
  hc05::TSerialBudget budget{1 << 30, 1 << 30};
};

}  // namespace zarvek::tessel
