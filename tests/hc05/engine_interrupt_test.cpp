// The external interrupt with its four sense modes and its pending request, and WAIT.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zarvek::hc05 {
namespace {

constexpr uint16_t kHandler = 0x0180;

// A machine whose external interrupt is enabled in the given sense mode, running a loop
// with I = 0; the handler counts into $60.
struct TIrqMachine {
  explicit TIrqMachine(int mode) {
    SetVector(m.engine, 0x1FFA, kHandler);
    m.engine.Cpu().i = 1;  // the sense bits change only while I = 1
    m.engine.Write(0x0C, static_cast<uint8_t>(mode << 5));
    EXPECT_TRUE(m.Load({" ORG $0180", "handler INC $60", " RTI"}));
    EXPECT_TRUE(m.Load({"main CLI", "loop BRA loop"}));
    m.RunSteps(2);
  }
  // Sets the pin, then runs a few steps (long enough for the handler, once).
  int Count(bool pin) {
    m.engine.Environment().interruptPin = pin;
    m.RunSteps(4);
    return m.engine.Memory()[0x60];
  }
  TTestMachine m;
};

TEST(EngineExternalInterrupt, SenseModes) {
  TIrqMachine level(0);  // low level: again and again while the pin is low
  EXPECT_EQ(level.Count(true), 0);
  EXPECT_GE(level.Count(false), 1);
  EXPECT_GE(level.Count(false), 2);

  TIrqMachine falling(1);
  EXPECT_EQ(falling.Count(false), 1);
  EXPECT_EQ(falling.Count(false), 1);
  EXPECT_EQ(falling.Count(true), 1);
  EXPECT_EQ(falling.Count(false), 2);

  TIrqMachine rising(2);
  EXPECT_EQ(rising.Count(false), 0);
  EXPECT_EQ(rising.Count(true), 1);
  EXPECT_EQ(rising.Count(true), 1);

  TIrqMachine any(3);
  EXPECT_EQ(any.Count(false), 1);
  EXPECT_EQ(any.Count(true), 2);
  EXPECT_EQ(any.Count(true), 2);
}

TEST(EngineExternalInterrupt, ARequestWaitsWhileIIsSet) {
  TIrqMachine m(1);
  m.m.engine.Cpu().i = 1;
  m.m.engine.Environment().interruptPin = false;
  m.m.engine.ExternalInterruptService();
  m.m.engine.TimerService(0);  // the edge is over
  m.m.engine.ExternalInterruptService();
  EXPECT_EQ(m.m.engine.Memory()[0x60], 0);
  m.m.engine.Cpu().i = 0;
  m.m.engine.ExternalInterruptService();
  EXPECT_EQ(m.m.engine.Cpu().pc, kHandler);
}

TEST(EngineExternalInterrupt, DisabledAfterTheColdReset) {
  TTestMachine m;  // $0C = $81: enable bit clear
  SetVector(m.engine, 0x1FFA, kHandler);
  ASSERT_TRUE(m.Load({"main CLI", "loop BRA loop"}));
  m.engine.Environment().interruptPin = false;
  m.RunSteps(10);
  EXPECT_NE(m.engine.Cpu().pc, kHandler);
  EXPECT_EQ(m.engine.Cpu().i, 0);
}

TEST(EngineWait, StaysOnWaitUntilAnInterruptWasTaken) {
  TIrqMachine m(1);
  ASSERT_TRUE(m.m.Load({"main SEI", " WAIT", "woken NOP", "done BRA done"}));
  m.m.RunSteps(20);
  EXPECT_EQ(m.m.engine.Cpu().pc, m.m.Label("woken") - 1);
  EXPECT_EQ(m.m.engine.Cpu().i, 0);  // WAIT clears I
  m.m.engine.Environment().interruptPin = false;
  ASSERT_TRUE(m.m.RunTo("done", 20));
  EXPECT_EQ(m.m.engine.Memory()[0x60], 1);
}

}  // namespace
}  // namespace zarvek::hc05
