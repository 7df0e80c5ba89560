#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "runtime/token_program.h"
#include "simulation/simulator.h"

namespace zarvek::test {
namespace {

// Records output and events in one log, in the order they arrive.
class TLogListener final : public TSimulatorListener {
 public:
  void OnOutput(const std::string& text) override {
    std::lock_guard lock(m_mutex);
    log.push_back("out " + text);
    texts.push_back(text);
  }
  void OnRunEvent(const TRunEvent& event) override {
    std::lock_guard lock(m_mutex);
    log.push_back("event");
    events.push_back(event);
  }
  std::vector<TRunEvent> Events() {
    std::lock_guard lock(m_mutex);
    return events;
  }
  std::string AllText() {
    std::lock_guard lock(m_mutex);
    std::string all;
    for (const std::string& t : texts) all += t;
    return all;
  }

  std::vector<std::string> log, texts;
  std::vector<TRunEvent> events;

 private:
  std::mutex m_mutex;
};

TMachineConfig OwnerDriven() {
  TMachineConfig c;
  c.ownThread = false;
  c.time = std::make_shared<TVirtualTimeSource>();
  return c;
}

TSliceResult RunUntilStop(TSimulator& sim) {
  TSliceResult r;
  for (int slices = 0; slices < 1000; ++slices) {
    r = sim.RunSlice(100'000);
    if (r.end == TSliceEnd::Ended || r.end == TSliceEnd::Paused || r.end == TSliceEnd::WaitingForInput) break;
  }
  return r;
}

template <typename F>
bool Eventually(F condition) {
  for (int i = 0; i < 10'000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return condition();
}

TEST(RunEvents, StopsSayWhyAndWhereWithoutReadingTheirText) {
  TTokenProgram p;
  p.Statement(10).PrintStr("a");
  p.Statement(20).To(tok::GOSUB, "sub");
  p.Statement(30).Op(tok::RETURN);  // nothing to return to: an error
  p.Statement(40).Op(tok::END);
  p.Label("sub").Statement(100).PrintStr("s");
  p.Statement(110).Op(tok::RETURN);
  TSimulatedHardware hw;
  TLogListener listener;
  TSimulator sim(OwnerDriven(), hw, listener);
  sim.SetStatementLocator([](const TLinePosition& at) -> std::optional<TStatementPlace> {
    return TStatementPlace{"main.bas", at.sourcePosition - 1000, 7};
  });
  sim.LoadProgram(p.Image(), 0, 0);
  sim.SetLineTable(p.Lines());
  sim.SetBreakpoint(100);

  sim.SetRunMode(TRunMode::SingleStep);
  EXPECT_EQ(RunUntilStop(sim).end, TSliceEnd::Paused);
  sim.SetRunMode(TRunMode::ToBreakpoint);
  EXPECT_EQ(RunUntilStop(sim).end, TSliceEnd::Paused);
  sim.SetRunMode(TRunMode::StepOver);  // at depth 1: stops back at statement 30, whose RETURN fails
  EXPECT_EQ(RunUntilStop(sim).end, TSliceEnd::Paused);
  sim.SetRunMode(TRunMode::Run);
  EXPECT_EQ(RunUntilStop(sim).end, TSliceEnd::Ended);

  // Each stop's event comes before the output of the statement's first token.
  EXPECT_EQ(listener.log, (std::vector<std::string>{"event", "out a", "event", "out s", "event", "event"}));
  const std::vector<TRunEvent> events = listener.Events();
  ASSERT_EQ(events.size(), 4u);
  const std::pair<TPauseReason, uint32_t> pauses[] = {
      {TPauseReason::SingleStepDone, 10}, {TPauseReason::Breakpoint, 100}, {TPauseReason::StepOverDone, 30}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(events[k].kind, TRunEventKind::Paused);
    EXPECT_EQ(events[k].pauseReason, pauses[k].first);
    ASSERT_TRUE(events[k].place);
    EXPECT_EQ(events[k].place->line, pauses[k].second);
    EXPECT_EQ(events[k].errorText, "Haltepunkt");  // the stop report's own text
  }
  EXPECT_EQ(events[0].tokenAddress, 4);
  EXPECT_EQ(events[1].tokenAddress, p.Address("sub"));
  const TRunEvent& error = events[3];
  EXPECT_EQ(error.kind, TRunEventKind::RuntimeError);
  EXPECT_EQ(error.errorNumber, 2);
  EXPECT_EQ(error.errorText, "Unbehandelter, kritischer Fehler: Rücksprung nicht möglich");
  EXPECT_EQ(error.statement.sourcePosition, 1030u);
  ASSERT_TRUE(error.place);
  EXPECT_EQ(error.place->file, "main.bas");
  EXPECT_EQ(error.place->line, 30u);
  EXPECT_EQ(error.place->column, 7u);
}

TEST(RunEvents, ATightPrintLoopIsDeliveredInBatchesOfBoundedSize) {
  TTokenProgram p;
  p.Op(tok::SETBAUD, 12);  // 115200 baud: a character costs no sleep
  p.Label("loop").PushB('z').Op(tok::PUTCHAR).To(tok::GOTO, "loop");
  TSimulatedHardware hw;
  TLogListener listener;
  TSimulator sim(OwnerDriven(), hw, listener);
  sim.LoadProgram(p.Image(), 0, 0);
  sim.SetLineTable({TLineRecord{0, 1, 1, kMainSourceOrigin, 0}});

  EXPECT_EQ(sim.RunSlice(30'001).tokens, 30'001u);  // SETBAUD and 10,000 rounds
  ASSERT_EQ(listener.texts.size(), 1u);
  EXPECT_EQ(listener.texts[0], std::string(10'000, 'z'));

  // Beyond the batch size the slice ends early, right after the character that filled it.
  const TSliceResult r = sim.RunSlice(1'000'000);
  EXPECT_EQ(r.end, TSliceEnd::Budget);
  EXPECT_EQ(r.tokens, 3 * (TSimulator::kOutputBatchBytes - 1) + 2);
  ASSERT_EQ(listener.texts.size(), 2u);
  EXPECT_EQ(listener.texts[1].size(), TSimulator::kOutputBatchBytes);
}

TEST(RunEvents, TheMachineThreadTellsEachChangeOfItsActivityOnce) {
  TTokenProgram p;
  p.PrintStr("x").Op(tok::GETCHAR).Op(tok::PUTCHAR).Op(tok::END);
  TSimulatedHardware hw;
  TLogListener listener;
  TMachineConfig config;
  config.time = std::make_shared<TVirtualTimeSource>();
  TSimulator sim(config, hw, listener);
  sim.LoadProgram(p.Image(), 0, 0);
  sim.SetLineTable({TLineRecord{0, 1, 1, kMainSourceOrigin, 0}});
  auto count = [&] { return listener.Events().size(); };

  sim.SetRunMode(TRunMode::Run);
  ASSERT_TRUE(Eventually([&] { return count() == 2; }));  // started, waiting
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // re-runs of GETCHAR tell nothing new
  EXPECT_EQ(count(), 2u);
  hw.serialInput.Append("k");  // typed without notice: the waiting token asks for input itself
  ASSERT_TRUE(Eventually([&] { return count() == 3; }));  // ended (straight from waiting)
  sim.SetRunMode(TRunMode::Run);
  ASSERT_TRUE(Eventually([&] { return count() == 5; }));  // started, waiting
  sim.SetRunMode(TRunMode::Pause);
  ASSERT_TRUE(Eventually([&] { return count() == 6; }));  // paused
  sim.Shutdown();
  const std::vector<TRunEvent> events = listener.Events();
  ASSERT_EQ(events.size(), 7u);
  using K = TRunEventKind;
  const K kinds[] = {K::Started, K::WaitingForInput, K::Ended, K::Started, K::WaitingForInput, K::Paused, K::Ended};
  for (size_t k = 0; k < events.size(); ++k) EXPECT_EQ(events[k].kind, kinds[k]) << "event " << k;
  EXPECT_EQ(events[2].endReason, TEndReason::EndStatement);
  EXPECT_EQ(events[5].pauseReason, TPauseReason::UserPause);
  EXPECT_EQ(events[5].tokenAddress, 4 + 3);  // the GETCHAR it waits on
  EXPECT_EQ(events[6].endReason, TEndReason::Stopped);
  EXPECT_EQ(listener.AllText(), "xkxTerminated.");
}

}  // namespace
}  // namespace zarvek::test
