// A BASIC program built and run on the token machine as the IDE runs it, driven slice by
// slice on the test's thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/profile.h"
#include "simulation/machine_access.h"
#include "simulation/simulator.h"
#include "simulation/start_plan.h"

namespace zarvek::test {

class TRecordingListener final : public TSimulatorListener {
 public:
  void OnOutput(const std::string& text) override { output += text; }
  void OnRunEvent(const TRunEvent& event) override {
    if (event.kind == TRunEventKind::Paused || event.kind == TRunEventKind::RuntimeError) stops.push_back(event);
  }
  std::string output;
  std::vector<TRunEvent> stops;  // pauses and runtime errors, in order
};

struct TSimRun {
  TBuilder builder;
  TStartPlan plan;
  TSimulatedHardware hw;
  TRecordingListener listener;
  std::unique_ptr<TSimulator> sim;
  std::unique_ptr<TInterpreterAccess> access;

  // Builds and loads the program; false (with the message) when it does not build.
  bool Start(const std::string& source, std::vector<int32_t> breakpoints = {}, TProfile profile = profile::Pyxon32,
             const std::string& assembler = "") {
    TStartInput in;
    // Editor texts end their lines with CR LF.
    for (char ch : source) {
      if (ch == '\n' && (in.basicSource.empty() || in.basicSource.back() != '\r')) in.basicSource += '\r';
      in.basicSource += ch;
    }
    in.assemblerSource = assembler;
    in.profile = profile;
    in.basicBreakpoints = std::move(breakpoints);
    plan = PrepareStart(builder, in);
    EXPECT_TRUE(plan.ready) << plan.message;
    if (!plan.ready || !plan.pyxon) return false;
    TMachineConfig config = plan.pyxon->machine;
    config.ownThread = false;
    config.time = std::make_shared<TVirtualTimeSource>();
    sim = CreatePyxonMachine(*plan.pyxon, config, hw, listener);
    access = std::make_unique<TInterpreterAccess>(*sim, plan.pyxon->codeLength, plan.pyxon->tableLength);
    return true;
  }

  // Runs in the mode until END, a pause, waiting for input or the token budget.
  TSliceEnd Run(TRunMode mode, uint64_t tokens = 200'000) {
    sim->SetRunMode(mode);
    uint64_t done = 0;
    while (done < tokens) {
      const TSliceResult r = sim->RunSlice(std::min<uint64_t>(1000, tokens - done));
      done += r.tokens;
      if (r.end == TSliceEnd::Ended || r.end == TSliceEnd::Paused || r.end == TSliceEnd::WaitingForInput)
        return r.end;
    }
    return TSliceEnd::Budget;
  }
};

}  // namespace zarvek::test
