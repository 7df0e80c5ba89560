// Speed of the emulated Tessel controller on a long-running loop: indexed loads and stores,
// arithmetic, bit branches and a subroutine call, stepped through every per-step service
// (external interrupt, timer with captures and compares, SCI with both directions enabled,
// EEPROM bus lines), as the simulation loop runs it. The same loop served for the
// comparison with ucsim (shc08), which runs it with no peripherals at all.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "hc05/assembler.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {
namespace {

const std::vector<std::string> kLoop = {
    " ORG $0100",
    "main LDX #$80",
    "loop LDA ,X",
    " ADD #3",
    " STA ,X",
    " INCX",
    " CPX #$C0",
    " BNE loop",
    " LDA $60",
    " ROLA",
    " STA $60",
    " BRSET 0,$61,skip",
    " BSET 0,$61",
    "skip JSR mix",
    " BRA main",
    "mix LDA $62",
    " EOR #$55",
    " STA $62",
    " RTS",
};

TMotorolaEngine LoadedEngine() {
  TAssembler assembler;
  assembler.PreRegisterLabels(kLoop);
  const TAssembly code = assembler.Assemble(kLoop, {});
  if (!code.success) std::fprintf(stderr, "bench: %s\n", code.error->message.c_str());
  TMotorolaEngine engine;
  engine.LoadCode(code.startAddress, code.code);
  engine.Cpu().pc = static_cast<uint16_t>(code.startAddress);
  return engine;
}

void EngineWithServices(benchmark::State& state) {
  TMotorolaEngine engine = LoadedEngine();
  engine.Memory()[0x0F] = 0x0C;  // SCI receiver and transmitter on
  engine.Memory()[0x12] = 0x02;  // timer: capture 1 on rising edges
  engine.Memory()[0x0C] = 0x10;  // external interrupt enabled
  TSerialBudget budget{1 << 30, 1 << 30};
  int64_t steps = 0;
  for (auto _ : state) {
    for (int i = 0; i < 100000; ++i) engine.RunStep(budget);
    steps += 100000;
  }
  if (engine.ErrorState() != 0) state.SkipWithError("error state");
  state.SetItemsProcessed(steps);
}
BENCHMARK(EngineWithServices)->Unit(benchmark::kMillisecond);

void EngineStepOnly(benchmark::State& state) {
  TMotorolaEngine engine = LoadedEngine();
  int64_t steps = 0;
  for (auto _ : state) {
    for (int i = 0; i < 100000; ++i) engine.Step();
    steps += 100000;
  }
  state.SetItemsProcessed(steps);
}
BENCHMARK(EngineStepOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvek::hc05

BENCHMARK_MAIN();
