// Speed of the token machine on a compute-bound program: nested loops with 16-bit
// arithmetic, memory reads and writes and GOSUB/RETURN, with a line table of realistic
// size and the breakpoint check active (run to breakpoint, one breakpoint never reached).
// And the simulator on a program that prints in a tight loop, whose output reaches the
// listener in batches.
#include <benchmark/benchmark.h>

#include "quiet_machine.h"
#include "simulation/simulator.h"
#include "token_program.h"

namespace zarvek {
namespace {

// Word variables in space 0: 0 outer, 1 inner, 2 acc, 3 mix.
test::TTokenProgram ComputeProgram(uint16_t outerCount, int fillerStatements) {
  using namespace tok;
  test::TTokenProgram p;
  uint32_t line = 1;
  auto load = [&](uint8_t var) { p.PushB(var).Op(MWORDREAD, 0); };
  auto store = [&](uint8_t var) { p.PushB(var).Op(MWORDWRITE, 0); };
  p.Statement(line++).PushB(0);
  store(0);
  p.Label("outer").Statement(line++).PushB(0);
  store(1);
  p.Label("inner").Statement(line++);
  load(0);
  load(1);
  p.Op(MUL).PushB(7).Op(ADD);
  store(2);
  p.Statement(line++).To(GOSUB, "sub");
  p.Statement(line++);
  load(1);
  p.PushB(1).Op(ADD).Op(DUP);
  store(1);
  p.PushB(100).Op(LT).To(JUMPF, "innerDone").To(GOTO, "inner");
  p.Label("innerDone").Statement(line++);
  load(0);
  p.PushB(1).Op(ADD).Op(DUP);
  store(0);
  p.PushW(outerCount).Op(LT).To(JUMPF, "done").To(GOTO, "outer");
  p.Label("done").Statement(line++).Op(END);
  p.Label("sub").Statement(line++);
  load(2);
  load(3);
  p.Op(XOR);
  store(3);
  p.Statement(line++).Op(RETURN);
  // The rest of a realistic program: statements that this run never reaches.
  for (int k = 0; k < fillerStatements; ++k) p.Statement(line++).PushB(static_cast<uint8_t>(k)).Op(DROP);
  return p;
}

void RunProgram(benchmark::State& state, TRunMode runMode) {
  const test::TTokenProgram program = ComputeProgram(100, static_cast<int>(state.range(0)));
  test::TQuietMachine machine;
  machine.LoadProgram(program.Image(), 0, 0);
  machine.SetLineTable(program.Lines());
  machine.SetBreakpoint(program.Lines().back().sourceLine);  // never reached
  machine.SetRunMode(runMode);
  uint64_t tokens = 0;
  for (auto _ : state) {
    TSliceResult r;
    do {
      r = machine.RunSlice(UINT64_MAX);
      tokens += r.tokens;
    } while (r.end != TSliceEnd::Ended);
  }
  if (machine.reports != 0) state.SkipWithError("the program reported an error");
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
  state.counters["line records"] = static_cast<double>(program.Lines().size());
}

void BM_ComputeLoop_RunToBreakpoint(benchmark::State& state) { RunProgram(state, TRunMode::ToBreakpoint); }
void BM_ComputeLoop_Run(benchmark::State& state) { RunProgram(state, TRunMode::Run); }

class TCountingListener final : public TSimulatorListener {
 public:
  void OnOutput(const std::string& text) override {
    ++calls;
    bytes += text.size();
  }
  void OnRunEvent(const TRunEvent&) override {}
  uint64_t calls = 0, bytes = 0;
};

void BM_PrintLoop_Simulator(benchmark::State& state) {
  using namespace tok;
  test::TTokenProgram p;
  p.Op(SETBAUD, 12);  // 115200 baud: a character costs no sleep
  p.Label("loop").Statement(1).PushB('z').Op(PUTCHAR).To(GOTO, "loop");
  TSimulatedHardware hw;
  TCountingListener listener;
  TMachineConfig config;
  config.ownThread = false;
  config.time = std::make_shared<TVirtualTimeSource>();
  TSimulator sim(config, hw, listener);
  sim.LoadProgram(p.Image(), 0, 0);
  sim.SetLineTable(p.Lines());
  sim.SetRunMode(TRunMode::ToBreakpoint);
  uint64_t tokens = 0;
  for (auto _ : state) tokens += sim.RunSlice(1u << 16).tokens;
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
  state.counters["bytes per call"] = listener.calls ? static_cast<double>(listener.bytes) / listener.calls : 0;
}

BENCHMARK(BM_ComputeLoop_RunToBreakpoint)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeLoop_Run)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintLoop_Simulator)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvek

BENCHMARK_MAIN();
