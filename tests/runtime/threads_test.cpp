#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "test_machine.h"

namespace zarvek::test {
namespace {

TTestMachine::TOptions Threaded(bool realTime = false) {
  TTestMachine::TOptions o;
  o.ownThread = true;
  o.realTime = realTime;
  return o;
}

// Polls the condition; gives up after ten seconds so that a fault fails instead of hanging.
template <typename F>
bool Eventually(F condition) {
  for (int i = 0; i < 10'000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return condition();
}

uint8_t Byte(TTestMachine& m, uint32_t at) { return static_cast<uint8_t>(m.ReadMemory(0, at, 1).at(0)); }

// Adds one to byte `at` of the global memory.
void Increment(TTokenProgram& p, uint8_t at) {
  p.PushB(at).Op(tok::MBYTEREAD, 0).PushB(1).Op(tok::ADD).PushB(at).Op(tok::MBYTEWRITE, 0);
}

TEST(Threads, EndSuspendsAndResumingRunsAgainWithTheOldMemory) {
  TTestMachine m(Threaded());
  TTokenProgram p;
  Increment(p, 0);
  p.PushB(0).Op(tok::MBYTEREAD, 0).Op(tok::PRINTNUM).Op(tok::END);
  m.Load(p);
  for (const char* expected : {"1", "12"}) {
    m.SetRunMode(TRunMode::Run);
    m.WaitUntilIdle();
    EXPECT_TRUE(m.Suspended());
    EXPECT_EQ(m.Output(), expected);
  }
  m.Shutdown();
  EXPECT_TRUE(m.Finished());
  EXPECT_EQ(m.Output(), "12Terminated.");
}

TEST(Threads, SingleStepAndStepOverStopAtTheExpectedStatements) {
  TTestMachine m(Threaded());
  TTokenProgram p;
  p.Statement(10).PrintStr("a").PrintStr("A");
  p.Statement(20).PrintStr("b").To(tok::GOSUB, "sub");
  p.Statement(30).PrintStr("c").PrintStr("C").Op(tok::END);
  p.Label("sub").Statement(100).PrintStr("s").PrintStr("S");
  p.Statement(110).Op(tok::RETURN);
  m.Load(p);
  const std::pair<const char*, uint32_t> presses[] = {{"a", 10}, {"aAb", 20}, {"aAbs", 100}};
  for (const auto& [output, line] : presses) {
    m.SetRunMode(TRunMode::SingleStep);
    m.WaitUntilIdle();
    EXPECT_EQ(m.Output(), output);
    EXPECT_EQ(m.GetDebugState().line.sourceLine, line);
  }
  m.SetRunMode(TRunMode::StepOver);  // at depth 1: out of the subroutine
  m.WaitUntilIdle();
  EXPECT_EQ(m.Output(), "aAbsSc");
  EXPECT_EQ(m.GetDebugState().line.sourceLine, 30u);
  EXPECT_EQ(m.Reports().size(), 4u);
}

TEST(Threads, BreakpointSetWhileRunningStopsTheLoop) {
  TTestMachine m(Threaded());
  TTokenProgram p;
  p.Label("loop").Statement(10);
  Increment(p, 0);
  p.Statement(20).PushB(1).Op(tok::DROP);
  p.Statement(30).To(tok::GOTO, "loop");
  m.Load(p);
  m.SetRunMode(TRunMode::ToBreakpoint);
  ASSERT_TRUE(Eventually([&] { return Byte(m, 0) >= 3; }));
  m.SetBreakpoint(20);
  m.WaitUntilIdle();
  EXPECT_EQ(m.GetDebugState().line.sourceLine, 20u);
  m.ClearBreakpoint(20);
  m.SetBreakpoint(30);
  m.SetRunMode(TRunMode::ToBreakpoint);
  m.WaitUntilIdle();
  EXPECT_EQ(m.GetDebugState().programCounter, p.Address("loop"));  // the GOTO has run
  EXPECT_EQ(m.Reports().size(), 2u);
}

TEST(Threads, PauseSuspendsAndAnotherPauseDoesNotResume) {
  TTestMachine m(Threaded());
  TTokenProgram p;
  p.Label("loop").Statement(10);
  Increment(p, 0);
  p.Statement(20).To(tok::GOTO, "loop");
  m.Load(p);
  m.SetRunMode(TRunMode::Run);
  const uint8_t first = Byte(m, 0);
  EXPECT_TRUE(Eventually([&] { return Byte(m, 0) != first; }));  // readable while it runs

  m.SetRunMode(TRunMode::Pause);
  m.WaitUntilIdle();
  const uint8_t paused = Byte(m, 0);
  m.SetRunMode(TRunMode::Pause);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(m.Suspended());
  EXPECT_EQ(Byte(m, 0), paused);
  EXPECT_TRUE(m.Reports().empty());

  m.SetRunMode(TRunMode::Run);
  EXPECT_TRUE(Eventually([&] { return Byte(m, 0) != paused; }));
  m.Shutdown();  // stopping a running machine
  EXPECT_EQ(m.Output(), "Terminated.");
}

TEST(Threads, StopEndsALongPauseEarly) {
  TTestMachine m(Threaded(/*realTime=*/true));
  TTokenProgram p;
  Increment(p, 0);
  p.PushW(60000).Op(tok::PAUSE).PrintStr("late").Op(tok::END);  // twenty minutes
  m.Load(p);
  m.SetRunMode(TRunMode::Run);
  ASSERT_TRUE(Eventually([&] { return Byte(m, 0) == 1; }));
  m.Shutdown();
  EXPECT_TRUE(m.Finished());
  EXPECT_EQ(m.Output(), "Terminated.");  // the thread ends after the PAUSE token
}

TEST(Threads, InterruptRaisedFromOutsideRunsTheHandler) {
  TTestMachine m(Threaded());
  TTokenProgram p;
  p.Handler(0, "isr");
  Increment(p, 1);  // the handler is armed
  p.Label("loop").To(tok::GOTO, "loop");
  p.Label("isr");
  Increment(p, 0);
  p.Op(tok::RETI);
  m.Load(p);
  m.SetRunMode(TRunMode::Run);
  ASSERT_TRUE(Eventually([&] { return Byte(m, 1) == 1; }));
  m.RaiseInterrupt();
  EXPECT_TRUE(Eventually([&] { return Byte(m, 0) == 1; }));
  // Accepted again only once RETI has ended the first one's service.
  EXPECT_TRUE(Eventually([&] {
    m.RaiseInterrupt();
    return Byte(m, 0) >= 2;
  }));
}

TEST(Threads, InputThatArrivesWithoutNoticeStillReachesARunningProgram) {
  TTestMachine m(Threaded());
  TTokenProgram p;
  p.Label("poll").Op(tok::RXREADY).To(tok::JUMPF, "poll");  // polls without waiting
  p.Op(tok::GETCHAR).PushB(0).Op(tok::MBYTEWRITE, 0).Op(tok::END);
  m.Load(p);
  m.SetRunMode(TRunMode::Run);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  m.TypeWithoutNotice("Q");
  EXPECT_TRUE(Eventually([&] { return Byte(m, 0) == 'Q'; }));
}

TEST(Threads, ShutdownFromTwoThreadsAtOnceAndNothingStartsAfterIt) {
  for (int round = 0; round < 20; ++round) {
    TTestMachine m(Threaded());
    TTokenProgram p;
    p.Label("loop").To(tok::GOTO, "loop");
    m.Load(p);
    m.SetRunMode(TRunMode::Run);
    std::thread other([&] { m.Shutdown(); });
    m.Shutdown();
    other.join();
    EXPECT_TRUE(m.Finished());
    m.SetRunMode(TRunMode::Run);  // nothing starts again
    EXPECT_TRUE(m.Finished());
  }
}

}  // namespace
}  // namespace zarvek::test
