// Reset (cold and warm) with the runtime image, and loading code and the token program.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zarvek::hc05 {
namespace {

TEST(EngineReset, ColdAndWarmResetSetTheRegistersAndLoadTheImage) {
  TMotorolaEngine engine;
  TRuntimeImage image;
  image.system = std::string(6000, '\x9D');  // longer than its place: cut at $1D76
  image.identification = "Tessel";
  image.vectors = std::string(12, '\0') + std::string("\x08\x00", 2);
  engine.SetRuntimeImage(image);
  auto& m = engine.Memory();
  m[0x1D76 + 10] = 0x55;
  engine.Write(0x05, 0xFF);
  engine.Write(0x0A, 0x40);
  engine.Memory()[0x10] = 0x01;
  engine.Write(0x12, 0xFF);
  engine.Environment().transmitText = "old";
  engine.Cpu().sp = 0x80;
  engine.Cpu().a = 0x12;

  engine.Reset(true);
  EXPECT_EQ(engine.Cpu().pc, 0x0800);
  EXPECT_EQ(engine.Cpu().sp, 0xFF);
  EXPECT_EQ(engine.Cpu().i, 1);
  EXPECT_EQ(engine.Cpu().a, 0x12);  // A and X keep their values
  EXPECT_EQ(m[0x0800], 0x9D);
  EXPECT_EQ(m[0x1D75], 0x9D);
  EXPECT_EQ(m[0x1D76], 'T');
  EXPECT_EQ(m[0x1D76 + 10], 0x55);  // a short block leaves the rest of its place
  EXPECT_EQ(m[0x05], 0);
  EXPECT_EQ(engine.Environment().plmOutputs[0], 0);
  EXPECT_EQ(m[0x0C], 0x81);
  EXPECT_EQ(m[0x10], 0xC1);
  EXPECT_EQ(m[0x12], 0x02);
  EXPECT_EQ(engine.TimerCounter(), 0xFFFC);
  EXPECT_EQ(engine.Environment().transmitText, "");
  EXPECT_EQ(engine.Read(0x00) & 3, 3);  // both bus lines high

  m[0x0C] = 0x20;
  engine.Reset(false);
  EXPECT_EQ(m[0x0C], 0x30);
}

TEST(EngineLoad, TheTokenProgramGoesBehindItsLength) {
  TMotorolaEngine engine;
  std::string message;
  ASSERT_TRUE(engine.LoadEeprom(0, "\x01\x02\x03", &message));
  const auto& e = engine.Eeprom().Bytes();
  EXPECT_EQ(e[0], 0);
  EXPECT_EQ(e[1], 3);
  EXPECT_EQ(e[4], 1);
  EXPECT_EQ(e[6], 3);
  EXPECT_EQ(e[7], 0xFF);  // erased

  EXPECT_TRUE(engine.LoadEeprom(0, std::string(8188, 'x')));
  EXPECT_FALSE(engine.LoadEeprom(0, std::string(8189, 'y'), &message));
  EXPECT_EQ(message, "EEPROM ist zu klein (8192 Bytes).");
  EXPECT_EQ(e[4], 'x');  // nothing stored

  engine.Eeprom().SetSize(65535);
  ASSERT_TRUE(engine.LoadEeprom(0, std::string(9000, 'z')));
  EXPECT_EQ(e[0] << 8 | e[1], 9000);
  EXPECT_FALSE(engine.LoadEeprom(0, std::string(65532, 'z'), &message));
  EXPECT_EQ(message, "EEPROM ist zu klein (65535 Bytes).");
}

TEST(EngineLoad, MachineCodeMayReachTheLastByte) {
  TMotorolaEngine engine;
  EXPECT_TRUE(engine.LoadCode(0x1FF0, std::string(16, '\x42')));
  EXPECT_EQ(engine.Memory()[0x1FFF], 0x42);
  EXPECT_FALSE(engine.LoadCode(0x1FF0, std::string(17, '\x43')));
  EXPECT_EQ(engine.Memory()[0x1FF0], 0x42);
  EXPECT_FALSE(engine.LoadCode(0xFFFFFFFF, "\x01"));
}

}  // namespace
}  // namespace zarvek::hc05
