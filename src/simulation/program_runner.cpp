#include "simulation/program_runner.h"

#include <algorithm>

#include "simulation/simulator.h"

namespace zarvek {

namespace {

// In virtual time every token takes this long, so that a program that waits on the
// clock, and a time limit, behave as on a running board.
constexpr int64_t kVirtualMicrosPerToken = 1;
constexpr uint64_t kSliceTokens = 4096;

class TRunListener final : public TSimulatorListener {
 public:
  explicit TRunListener(std::function<void(const std::string&)> output) : m_output(std::move(output)) {}
  void OnOutput(const std::string& text) override {
    if (m_output) m_output(text);
  }
  void OnRunEvent(const TRunEvent& event) override {
    if (event.kind != TRunEventKind::RuntimeError || error) return;
    error = TRuntimeReport{event.errorNumber, event.errorText, event.tokenAddress, event.statement, event.place};
  }
  std::optional<TRuntimeReport> error;

 private:
  std::function<void(const std::string&)> m_output;
};

}  // namespace

TProgramRunResult RunProgram(const std::string& image, const std::vector<TLineRecord>& lineTable,
                             uint32_t codeLength, uint32_t tableLength, TProgramRunOptions options) {
  std::shared_ptr<TVirtualTimeSource> virtualTime;
  if (options.realtime) {
    options.machine.time = std::make_shared<TRealTimeSource>();
  } else {
    virtualTime = std::make_shared<TVirtualTimeSource>();
    options.machine.time = virtualTime;
  }
  TTimeSource& time = *options.machine.time;
  options.machine.ownThread = false;

  TSimulatedHardware hardware;
  TRunListener listener(options.output);
  TSimulator machine(options.machine, hardware, listener);
  machine.SetStatementLocator(options.locator);
  machine.SetLineTable(lineTable);
  machine.LoadProgram(image, codeLength, tableLength);
  machine.QueueInput(options.input);

  TProgramRunResult result;
  const int64_t start = time.NowMicros();
  // Anything beyond a few thousand years is as good as no limit.
  const int64_t timeoutMicros =
      options.timeoutSeconds ? static_cast<int64_t>(std::min(*options.timeoutSeconds, 1e11) * 1e6) : 0;
  for (;;) {
    if (options.everySlice) options.everySlice(machine, result.tokens);
    uint64_t budget = kSliceTokens;
    if (options.maxTokens) budget = std::min(budget, *options.maxTokens - result.tokens);
    if (budget == 0) {
      result.outcome = TProgramRunEnd::TokenLimit;
      break;
    }
    const TSliceResult slice = machine.RunSlice(budget);
    result.tokens += slice.tokens;
    if (virtualTime) virtualTime->Advance(static_cast<int64_t>(slice.tokens) * kVirtualMicrosPerToken);
    if (listener.error) {
      result.outcome = TProgramRunEnd::RuntimeError;
      result.error = listener.error;
      break;
    }
    if (slice.end == TSliceEnd::Ended || slice.end == TSliceEnd::Terminated) {
      result.outcome = TProgramRunEnd::Ended;
      break;
    }
    if (slice.end == TSliceEnd::WaitingForInput && machine.QueuedInputEmpty()) {
      result.outcome = TProgramRunEnd::InputUsedUp;
      break;
    }
    if (options.timeoutSeconds && time.NowMicros() - start >= timeoutMicros) {
      result.outcome = TProgramRunEnd::TimeLimit;
      break;
    }
  }
  return result;
}

}  // namespace zarvek
