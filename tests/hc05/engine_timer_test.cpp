// The 16-bit timer: overflow with its interrupt, the frozen counter registers, output
// compares (also when the counter steps over the value), forced compares and the two
// input captures with their latches; interrupt requests that wait for I = 0.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zarvek::hc05 {
namespace {

constexpr uint16_t kControl = 0x12, kStatus = 0x13;

uint16_t Word(TMotorolaEngine& e, uint16_t high) { return static_cast<uint16_t>(e.Peek(high) << 8 | e.Peek(high + 1)); }

TEST(EngineTimer, OverflowSetsTheFlagAndEntersTheInterrupt) {
  TMotorolaEngine engine;  // the counter starts at $FFFC: 16 cycles to the overflow
  SetVector(engine, 0x1FF4, 0x0180);
  engine.Cpu().pc = 0x0101;
  engine.TimerService(12);
  EXPECT_EQ(engine.TimerCounter(), 0xFFFF);
  EXPECT_EQ(engine.Peek(kStatus) & 0x20, 0);
  engine.TimerService(4);
  EXPECT_EQ(engine.Peek(kStatus) & 0x20, 0x20);
  EXPECT_EQ(engine.TimerCounter(), 0);
  EXPECT_EQ(engine.Cpu().pc, 0x0101);  // not enabled

  engine.Write(kControl, 0x20);
  engine.Cpu().i = 0;
  engine.TimerService(0x40000);
  EXPECT_EQ(engine.Cpu().pc, 0x0180);
  EXPECT_EQ(engine.Cpu().i, 1);
  engine.Read(0x19);  // reading the counter's low byte clears the flag
  EXPECT_EQ(engine.Peek(kStatus) & 0x20, 0);
}

TEST(EngineTimer, ARequestWaitsForIAndIsDroppedOnceItsFlagIsCleared) {
  TMotorolaEngine engine;
  SetVector(engine, 0x1FF4, 0x0180);
  engine.Cpu().pc = 0x0101;
  engine.Write(kControl, 0x20);
  engine.TimerService(16);  // overflow while I = 1
  EXPECT_EQ(engine.Cpu().pc, 0x0101);
  engine.ExternalInterruptService();
  EXPECT_EQ(engine.Cpu().pc, 0x0101);
  engine.Cpu().i = 0;
  engine.ExternalInterruptService();
  EXPECT_EQ(engine.Cpu().pc, 0x0180);

  TMotorolaEngine cleared;
  SetVector(cleared, 0x1FF4, 0x0180);
  cleared.Cpu().pc = 0x0101;
  cleared.Write(kControl, 0x20);
  cleared.TimerService(16);
  cleared.Read(0x19);
  cleared.Cpu().i = 0;
  cleared.ExternalInterruptService();
  EXPECT_EQ(cleared.Cpu().pc, 0x0101);
}

TEST(EngineTimer, CounterRegistersHoldFromTheHighByteToTheLowByte) {
  TMotorolaEngine engine;
  engine.TimerService(16);
  engine.TimerService(4 * 0x1234);
  EXPECT_EQ(engine.Read(0x18), 0x12);
  engine.TimerService(4 * 0x101);
  EXPECT_EQ(engine.Read(0x1A), 0x13);  // the alternate pair has its own hold
  EXPECT_EQ(engine.Read(0x19), 0x34);
  EXPECT_EQ(engine.Read(0x19), 0x35);  // free again: the counter's current low byte
  engine.TimerService(4);
  EXPECT_EQ(engine.Read(0x19), 0x36);
  EXPECT_EQ(engine.Read(0x1B), 0x35);
  engine.Write(0x19, 0);  // restarts the counter
  EXPECT_EQ(engine.TimerCounter(), 0xFFFC);
  engine.Write(0x18, 0);
  EXPECT_EQ(engine.ErrorState(), kEngineRefusedWrite);
}

TEST(EngineTimer, ACompareMatchesOnceEvenWhenTheCounterStepsOverIt) {
  TMotorolaEngine engine;
  SetVector(engine, 0x1FF6, 0x0190);
  engine.Cpu().pc = 0x0101;
  engine.TimerService(16);  // counter 0
  engine.Write(kControl, 0x01 | 0x04);  // output levels 1
  engine.Write(0x16, 0x00);
  engine.Write(0x17, 0x05);
  engine.Write(0x1E, 0x00);
  engine.Write(0x1F, 0x40);
  engine.Memory()[kStatus] = 0;  // the reset compares ($0000) matched on the way to 0
  engine.TimerService(4 * 4);  // counter 4
  EXPECT_EQ(engine.Peek(kStatus) & 0x40, 0);
  engine.TimerService(11);  // counter 6: stepped over 5
  EXPECT_EQ(engine.Peek(kStatus) & 0x40, 0x40);
  EXPECT_TRUE(engine.Environment().compareOutputs[0]);
  EXPECT_FALSE(engine.Environment().compareOutputs[1]);
  engine.Read(0x17);
  engine.TimerService(4);
  EXPECT_EQ(engine.Peek(kStatus) & 0x40, 0);  // no second match
  engine.TimerService(4 * 0x3A);  // counter $40
  EXPECT_EQ(engine.Peek(kStatus) & 0x08, 0x08);
  EXPECT_TRUE(engine.Environment().compareOutputs[1]);
  engine.Read(0x1F);
  EXPECT_EQ(engine.Peek(kStatus) & 0x08, 0);

  // The high byte alone holds the compare off; the interrupt needs control bit 6.
  engine.Write(kControl, 0x40);
  engine.Cpu().i = 0;
  engine.Write(0x16, 0x01);  // $0105 once the low byte is written
  engine.TimerService(4 * 0xD0);  // counter $41 to $111
  EXPECT_EQ(engine.Peek(kStatus) & 0x40, 0);
  engine.Write(0x17, 0x05);
  engine.TimerService(0x40000);  // overflow: counter 0
  engine.TimerService(4 * 0x105);
  EXPECT_EQ(engine.Peek(kStatus) & 0x40, 0x40);
  EXPECT_EQ(engine.Cpu().pc, 0x0190);
}

TEST(EngineTimer, ForcedComparesSetTheOutputsAndClearThemselves) {
  TMotorolaEngine engine;
  engine.Write(kControl, 0x08 | 0x10 | 0x01);  // force both, level 1 high, level 2 low
  engine.TimerService(2);
  EXPECT_TRUE(engine.Environment().compareOutputs[0]);
  EXPECT_FALSE(engine.Environment().compareOutputs[1]);
  EXPECT_EQ(engine.Peek(kControl), 0x01);
}

TEST(EngineTimer, CapturesTakeTheCounterOnTheirEdges) {
  TMotorolaEngine engine;
  SetVector(engine, 0x1FF8, 0x01A0);
  engine.TimerService(16);
  engine.TimerService(4 * 0x0100);
  engine.Write(kControl, 0x02);  // capture 1 on the rising edge
  TEngineEnvironment& env = engine.Environment();
  env.capturePin = true;
  engine.TimerService(2);
  EXPECT_EQ(Word(engine, 0x14), 0x0101);
  EXPECT_EQ(engine.Peek(kStatus) & 0x90, 0x80);
  engine.TimerService(4 * 0x10);
  env.capturePin = false;  // falling: capture 2 only
  engine.TimerService(2);
  EXPECT_EQ(Word(engine, 0x14), 0x0101);
  EXPECT_EQ(Word(engine, 0x1C), 0x0112);
  EXPECT_EQ(engine.Peek(kStatus) & 0x90, 0x90);

  engine.Read(0x14);  // capture 1 holds until its low byte is read; its flag still sets
  engine.Read(0x15);
  EXPECT_EQ(engine.Peek(kStatus) & 0x80, 0);
  engine.Read(0x14);
  env.capturePin = true;
  engine.TimerService(4);
  EXPECT_EQ(Word(engine, 0x14), 0x0101);
  EXPECT_EQ(engine.Peek(kStatus) & 0x80, 0x80);
  engine.Read(0x15);
  env.capturePin = false;
  engine.TimerService(4);
  env.capturePin = true;
  engine.TimerService(4);
  EXPECT_EQ(Word(engine, 0x14), 0x0115);

  engine.Write(kControl, 0x80);  // interrupt, capture 1 on the falling edge
  engine.Cpu().i = 0;
  env.capturePin = false;
  engine.TimerService(4);
  EXPECT_EQ(engine.Cpu().pc, 0x01A0);
}

}  // namespace
}  // namespace zarvek::hc05
