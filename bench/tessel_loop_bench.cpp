// Speed of the Tessel simulation loop with every per-step service on: a BASIC compute loop
// compiled for Tessel 1.1 on the board's runtime (tokens per second, emulated instructions
// per token; the real board does a few thousand tokens a second), and the loop's own cost
// over a small test runtime that only fetches tokens and jumps.
#include <benchmark/benchmark.h>

#include "base/profile.h"
#include "pipeline/build.h"
#include "simulation/line_table.h"
#include "simulation/tessel_loop.h"
#include "simulation/tessel_runtime.h"
#include "toy_runtime.h"

namespace zarvek {
namespace {

class TQuiet final : public TTesselListener {
 public:
  void OnSerialOutput(const std::string&, const std::string&) override {}
  void OnStop(const TTesselStop&) override { stopped = true; }
  bool stopped = false;
};

constexpr double kRealBoardTokensPerSecond = 3000;

void RunTicks(benchmark::State& state, const hc05::TRuntimeImage& image, const TTesselRuntimePoints& points,
              const TTesselProgram& program) {
  TSimulatedHardware hw;
  TQuiet quiet;
  TTesselLoop loop(hw, quiet);
  if (!loop.Start(image, program)) {
    state.SkipWithError("the program does not load");
    return;
  }
  loop.SetRuntimePoints(points);
  loop.SetRunKind(runkind::Run);
  uint64_t steps = 0, tokens = 0;
  for (auto _ : state) {
    const TTesselTickResult tick = loop.Tick();
    steps += tick.steps;
    tokens += tick.tokens;
    if (tick.end != TTesselTickEnd::Budget || quiet.stopped) {
      state.SkipWithError("the program stopped");
      return;
    }
  }
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
  state.counters["instructions/s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
  state.counters["instructions/token"] = tokens ? static_cast<double>(steps) / static_cast<double>(tokens) : 0;
  state.counters["x_real_board"] =
      benchmark::Counter(static_cast<double>(tokens) / kRealBoardTokensPerSecond, benchmark::Counter::kIsRate);
}

void CompiledComputeLoopOnTheBoardRuntime(benchmark::State& state) {
  std::string why;
  const auto runtime = TesselRuntimeFor(profile::Tessel11, &why);
  if (!runtime) {
    state.SkipWithError(why.c_str());
    return;
  }
  TBuilder builder;
  TBuildInput input;
  input.profile = profile::Tessel11;
  input.warnings = false;
  input.basicSource =
      "DIM a, b, i AS INTEGER\r\n"
      "DO\r\n"
      "  FOR i = 1 TO 100\r\n"
      "    a = a + i * 3\r\n"
      "    b = (b XOR a) AND 1023\r\n"
      "  NEXT\r\n"
      "LOOP\r\n";
  const TBuildResult built = builder.Build(input);
  if (!built.success) {
    state.SkipWithError("the compute loop does not compile");
    return;
  }
  TTesselProgram program;
  program.image = built.program.image;
  program.eepromSize = built.program.eepromSize;
  program.lines = BuildLineTable(builder.Compiler(), built.program);
  RunTicks(state, runtime->image, runtime->points, program);
}
BENCHMARK(CompiledComputeLoopOnTheBoardRuntime)->Unit(benchmark::kMillisecond);

void LoopOverTheTestRuntime(benchmark::State& state) {
  const test::TToyRuntime toy = test::BuildToyRuntime();
  if (!toy.error.empty()) {
    state.SkipWithError(toy.error.c_str());
    return;
  }
  test::TToyProgram p;
  p.Statement(1).Label("top").Byte(0x01).Statement(2).Byte(0x01).Statement(3).To(0x03, "top");
  RunTicks(state, toy.image, toy.points, p.Program());
}
BENCHMARK(LoopOverTheTestRuntime)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvek

BENCHMARK_MAIN();
