// Several threads use a running simulator the way the IDE will: readers of memory and the
// debug state, a thread that pauses, resumes, steps and changes breakpoints, and a listener
// that reads the machine inside its calls, while the program floods its output. Each round
// ends with a shutdown from a different place. A deadlock fails the test through its
// watchdog; ThreadSanitizer (make tsan) checks the rest.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

#include "runtime/token_program.h"
#include "simulation/simulator.h"

namespace zarvek::test {
namespace {

using namespace std::chrono_literals;

enum class TShutdownFrom { Owner, InsideListener, TwoThreadsAtOnce };

constexpr size_t kFloodBytes = 200'000;

class TStressListener final : public TSimulatorListener {
 public:
  void OnOutput(const std::string& text) override {
    CheckMachine();
    const size_t total = bytes.fetch_add(text.size()) + text.size();
    {
      std::lock_guard lock(m_mutex);
      m_tail = (m_tail + text).substr(m_tail.size() + text.size() > 32 ? m_tail.size() + text.size() - 32 : 0);
    }
    if (shutdownInside && (total > kFloodBytes || shutdownNow) && !m_shutDown.exchange(true)) sim->Shutdown();
  }
  void OnRunEvent(const TRunEvent& event) override {
    CheckMachine();
    std::lock_guard lock(m_mutex);
    m_last = event;
    ++m_events;
  }
  std::optional<TRunEvent> Last() {
    std::lock_guard lock(m_mutex);
    return m_last;
  }
  std::string Tail() {
    std::lock_guard lock(m_mutex);
    return m_tail;
  }

  TSimulator* sim = nullptr;
  bool shutdownInside = false;
  // A slow machine (a sanitizer build under load) may not reach the flood in time: the
  // next call shuts down anyway.
  std::atomic<bool> shutdownNow{false};
  std::atomic<size_t> bytes{0};
  std::atomic<int> badReads{0};

 private:
  void CheckMachine() {
    if (sim->ReadMemory(0, 0, 8).size() != 8) ++badReads;
    if (sim->GetDebugState().callDepth > 16) ++badReads;
  }
  std::mutex m_mutex;
  std::optional<TRunEvent> m_last;
  std::string m_tail;
  int m_events = 0;
  std::atomic<bool> m_shutDown{false};
};

TTokenProgram FloodingProgram() {
  TTokenProgram p;
  p.Op(tok::SETBAUD, 12);  // 115200 baud: printing costs no sleep
  p.Label("loop").Statement(10).PushB(0).Op(tok::MBYTEREAD, 0).PushB(1).Op(tok::ADD).PushB(0).Op(tok::MBYTEWRITE, 0);
  p.Statement(20).PushB('.').Op(tok::PUTCHAR).PrintStr("ab");
  p.Statement(30).To(tok::GOSUB, "sub");
  p.Statement(40).To(tok::GOTO, "loop");
  p.Label("sub").Statement(100).PrintStr("s");
  p.Statement(110).Op(tok::RETURN);
  return p;
}

void StressRound(TShutdownFrom from) {
  const TTokenProgram program = FloodingProgram();
  TSimulatedHardware hw;
  TStressListener listener;
  TMachineConfig config;  // its own thread, real time
  auto sim = std::make_unique<TSimulator>(config, hw, listener);
  listener.sim = sim.get();
  listener.shutdownInside = from == TShutdownFrom::InsideListener;
  sim->LoadProgram(program.Image(), 0, 0);
  sim->SetLineTable(program.Lines());
  sim->SetRunMode(TRunMode::Run);

  std::atomic<bool> stop{false};
  std::atomic<bool> stopModes{false};
  std::atomic<int> badReads{0};
  std::vector<std::thread> threads;
  for (int k = 0; k < 2; ++k)
    threads.emplace_back([&] {
      while (!stop) {
        if (sim->ReadMemory(0, 0, 16).size() != 16 || sim->ReadFrame(0, 0, 32).size() != 32) ++badReads;
        const TDebugState state = sim->GetDebugState();
        sim->LookupLine(static_cast<uint32_t>(state.programCounter));
      }
    });
  std::thread modeChanger([&] {
    const TRunMode modes[] = {TRunMode::Pause, TRunMode::Run, TRunMode::SingleStep, TRunMode::ToBreakpoint,
                              TRunMode::StepOver, TRunMode::Run};
    for (unsigned k = 0; !stop && !stopModes; ++k) {
      sim->SetRunMode(modes[k % std::size(modes)]);
      if (k % 3 == 0) sim->SetBreakpoint(100);
      if (k % 3 == 1) sim->ClearBreakpoint(100);
      sim->RaiseInterrupt();
      std::this_thread::sleep_for(50us);
    }
  });

  // Let the output flood for a while (the listener may shut the machine down meanwhile).
  for (int ms = 0; ms < 5000 && (ms < 100 || listener.bytes < kFloodBytes) && !sim->Finished(); ++ms)
    std::this_thread::sleep_for(1ms);
  if (from == TShutdownFrom::InsideListener && !sim->Finished()) {
    stopModes = true;
    modeChanger.join();
    sim->SetRunMode(TRunMode::Run);  // output flows again, and with it the listener's call
    listener.shutdownNow = true;
  }
  std::thread second;
  if (from == TShutdownFrom::TwoThreadsAtOnce) second = std::thread([&] { sim->Shutdown(); });
  if (from != TShutdownFrom::InsideListener) sim->Shutdown();
  if (second.joinable()) second.join();
  // A shutdown inside the listener only asks the thread to end; it ends by itself.
  for (int i = 0; i < 10'000 && !sim->Finished(); ++i) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(sim->Finished());
  stop = true;
  if (modeChanger.joinable()) modeChanger.join();
  for (std::thread& t : threads) t.join();
  sim.reset();

  EXPECT_GT(listener.bytes.load(), 0u);
  EXPECT_EQ(badReads.load(), 0);
  EXPECT_EQ(listener.badReads.load(), 0);
  const std::optional<TRunEvent> last = listener.Last();
  ASSERT_TRUE(last);
  EXPECT_EQ(last->kind, TRunEventKind::Ended);
  EXPECT_EQ(last->endReason, TEndReason::Stopped);
  EXPECT_TRUE(listener.Tail().ends_with("Terminated."));
}

// Runs a round on a thread of its own so that a deadlock ends the test run with a message
// instead of hanging until the test driver's timeout.
void WithWatchdog(TShutdownFrom from) {
  auto round = std::async(std::launch::async, [from] { StressRound(from); });
  if (round.wait_for(120s) != std::future_status::ready) {
    std::fprintf(stderr, "stress round did not finish: deadlock\n");
    std::_Exit(1);
  }
  round.get();
}

TEST(SimulatorStress, ShutdownFromTheOwnerWhileOutputFloods) { WithWatchdog(TShutdownFrom::Owner); }
TEST(SimulatorStress, ShutdownFromInsideAListenerCall) { WithWatchdog(TShutdownFrom::InsideListener); }
TEST(SimulatorStress, ShutdownFromTwoThreadsAtOnce) { WithWatchdog(TShutdownFrom::TwoThreadsAtOnce); }

}  // namespace
}  // namespace zarvek::test
