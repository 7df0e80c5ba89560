// Cost of the simulation objects' timer tick (input and output pass over 20 objects) and
// the token rate of a program that drives them, with a tick every 5,000 tokens.
#include <benchmark/benchmark.h>

#include "simulation/object_bindings.h"
#include "simulation/simulator.h"
#include "simulation/start_plan.h"

namespace zarvek {
namespace {

const char* kProgram =
    "DIM leds AS BYTE PORT[1]\r\n"
    "DIM taste AS BOOLEAN PORT[2, 1]\r\n"
    "DIM poti AS INTEGER AD[1]\r\n"
    "DIM aus AS BYTE DA[1]\r\n"
    "DIM zaehler AS INTEGER\r\n"
    "DO\r\n"
    "  zaehler = zaehler + 1\r\n"
    "  leds = zaehler AND 255\r\n"
    "  IF taste THEN aus = poti AND 255\r\n"
    "LOOP\r\n";

class TNoListener final : public TSimulatorListener {
 public:
  void OnOutput(const std::string&) override {}
  void OnRunEvent(const TRunEvent&) override {}
};

struct TBench {
  TBuilder builder;
  TStartPlan plan;
  TSimulatedHardware hw;
  TNoListener listener;
  std::unique_ptr<TSimulator> machine;
  std::unique_ptr<TInterpreterAccess> access;
  TObjectGrid grid;
  std::unique_ptr<TObjectBindings> bindings;

  TBench() {
    TStartInput in;
    in.basicSource = kProgram;
    in.profile = profile::Pyxon32;
    plan = PrepareStart(builder, in);
    TMachineConfig config = plan.pyxon->machine;
    config.ownThread = false;
    config.time = std::make_shared<TVirtualTimeSource>();
    machine = CreatePyxonMachine(*plan.pyxon, config, hw, listener);
    access = std::make_unique<TInterpreterAccess>(*machine, plan.pyxon->codeLength, plan.pyxon->tableLength);
    auto place = [&](int x, int y, uint16_t type, const std::string& name, std::vector<std::string> slots) {
      grid.Select(x, y);
      grid.Insert(type);
      grid.EditSetting(0, name);
      for (size_t s = 0; s < slots.size(); ++s) grid.EditSetting(static_cast<int>(s + 1), slots[s]);
    };
    for (int bit = 0; bit < 8; ++bit) place(bit, 0, objecttype::LedRed, "L", {"leds", std::to_string(bit + 1), "1"});
    for (int k = 0; k < 4; ++k) place(k, 1, objecttype::Switch, "S", {"taste", "", "1"});
    for (int k = 0; k < 4; ++k) place(k, 2, objecttype::AnalogWheel, "AD", {"poti", std::to_string(50 * k)});
    for (int k = 0; k < 2; ++k) place(k, 3, objecttype::AnalogGauge, "DA", {"aus"});
    place(0, 4, objecttype::VariableNumerical, "zaehler", {});
    place(1, 4, objecttype::Interrupt, "I", {});
    bindings = std::make_unique<TObjectBindings>(grid, plan.symbols, hw);
    machine->SetRunMode(TRunMode::Run);
  }
};

void BM_ObjectTick(benchmark::State& state) {
  TBench b;
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.bindings->InputPass(b.access.get()));
    benchmark::DoNotOptimize(b.bindings->OutputPass(b.access.get()));
  }
}
BENCHMARK(BM_ObjectTick);

void BM_ProgramWithObjectTicks(benchmark::State& state) {
  TBench b;
  uint64_t tokens = 0;
  for (auto _ : state) {
    b.bindings->InputPass(b.access.get());
    tokens += b.machine->RunSlice(5000).tokens;
    b.bindings->OutputPass(b.access.get());
  }
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProgramWithObjectTicks);

}  // namespace
}  // namespace zarvek

BENCHMARK_MAIN();
