// Our Tessel operating system on the emulated controller: a counting loop of tokens read
// from the serial EEPROM. Reports emulated instructions per token and how much faster than
// the board (2 MHz bus) the emulation runs, without the simulation loop's services.
#include <benchmark/benchmark.h>

#include <string>

#include "hc05/motorola_engine.h"
#include "tessel/tessel_image.h"

namespace {

using namespace zarvek;

// i = 0; DO: i = i + 1: LOOP WHILE i < 2000; END
const std::string kLoop = std::string(
    "\x14\x00\x00\x1A\x00"          // 4: PUSHW 0, LWORDWRITE 0
    "\x17\x00\x14\x00\x01\x33\x1A\x00"  // 9: i = i + 1
    "\x17\x00\x14\x07\xD0\x3E"      // 17: i < 2000
    "\x04\x00\x1D\x03\x00\x09\xFF",  // 23: JUMPF 29, GOTO 9, 29: END
    26);

void BM_TesselOsCountingLoop(benchmark::State& state) {
  const auto variant = tessel::TTesselVariant::Tessel11;
  const uint16_t idle = tessel::Symbol(variant, "IDLE").value_or(0);
  uint64_t tokens = 0, steps = 0, cycles = 0;
  for (auto _ : state) {
    hc05::TMotorolaEngine engine;
    engine.SetRuntimeImage(tessel::RuntimeImage(variant));
    engine.LoadEeprom(0, kLoop);
    engine.Eeprom().Bytes()[2] = engine.Eeprom().Bytes()[3] = 0;
    engine.Reset(true);
    hc05::TSerialBudget budget{0, 1000};
    while (engine.Cpu().pc != idle) {
      if (engine.Cpu().pc == tessel::kTokenFetchAddress) ++tokens;
      engine.RunStep(budget);
      ++steps;
    }
    cycles += engine.TotalCycles();
  }
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
  state.counters["instr/token"] = static_cast<double>(steps) / static_cast<double>(tokens);
  // Board seconds (2 MHz bus) per wall second: the speed relative to the real board.
  state.counters["x board"] =
      benchmark::Counter(static_cast<double>(cycles) / 2'000'000.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TesselOsCountingLoop)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
