// The board side of the upload: a scripted host talks to the emulated board over its SCI
// as the transfer command does, byte by byte with an echo per stream byte.
#include <gtest/gtest.h>

#include "tessel_rig.h"

namespace zarvek::tessel {
namespace {

// Sends the bytes one at a time and collects the echoes.
std::string SendEchoed(TRig& rig, const std::string& bytes) {
  std::string echoes;
  for (char b : bytes) {
    rig.engine.Environment().receiveText.push_back(b);
    echoes += rig.TakeOutput(1);
  }
  return echoes;
}

TEST(TesselUpload, HostIdentifiesTheBoardSendsCodeAndProgramAndTheProgramRuns) {
  TRig rig;
  rig.engine.SetUserCodeProgramming(true);
  rig.engine.Reset(true);  // an empty EEPROM: the board waits for the host

  rig.engine.Environment().receiveText = "\x01";
  EXPECT_EQ(rig.TakeOutput(26), "TESEL 1.1 (Zarvek OS 1.0)\r");

  // machine code: LDA #42, STA $A1, RTS
  const std::string code = "\xA6\x2A\xB7\xA1\x81";
  rig.engine.Environment().receiveText = "\x08";
  EXPECT_EQ(SendEchoed(rig, std::string(1, static_cast<char>(code.size())) + code),
            std::string(1, static_cast<char>(code.size())) + code);

  rig.engine.Environment().receiveText = "\x09";
  const std::string area = rig.TakeOutput(255);
  ASSERT_EQ(area.size(), 255u);
  EXPECT_EQ(area.substr(0, code.size()), code);

  // token program: call $0101, print byte variable 0, END
  const std::string image = std::string("\x08\x01\x01\x16\x00\x1E\xFF", 7);
  const std::string stream = std::string("\x00\x07", 2) + image;
  rig.engine.Environment().receiveText = "\x02";
  EXPECT_EQ(SendEchoed(rig, stream), stream);
  rig.starts = TokenStarts(image);
  EXPECT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.Output(), "42");
  EXPECT_EQ(rig.badFetches, 0);
  const auto& eeprom = rig.engine.Eeprom();
  EXPECT_EQ(eeprom.At(0), 0);
  EXPECT_EQ(eeprom.At(1), 7);
  EXPECT_EQ(eeprom.At(2), 0);  // an empty data file
  EXPECT_EQ(eeprom.At(3), 0);
  for (size_t i = 0; i < image.size(); ++i) EXPECT_EQ(eeprom.At(4 + i), static_cast<uint8_t>(image[i])) << i;
}

TEST(TesselUpload, ALongProgramIsWrittenPageByPage) {
  TRig rig;
  rig.engine.Reset(true);
  std::string image;
  for (int i = 0; i < 60; ++i) image += std::string("\x14\x00", 2) + static_cast<char>(i) + "\x1E";
  image += "\xFF";
  const std::string stream = std::string(1, static_cast<char>(image.size() >> 8)) +
                             static_cast<char>(image.size() & 0xFF) + image;
  rig.engine.Environment().receiveText = "\x02";
  EXPECT_EQ(SendEchoed(rig, stream), stream);
  rig.starts = TokenStarts(image);
  EXPECT_EQ(rig.Run(), TRunEnd::Idle);
  std::string expected;
  for (int i = 0; i < 60; ++i) expected += std::to_string(i);
  EXPECT_EQ(rig.Output(), expected);
}

TEST(TesselUpload, AProgramCutOffHalfwayIsNoProgram) {
  TRig rig;
  rig.engine.Reset(true);
  std::string image;
  for (int i = 0; i < 20; ++i) image += std::string("\x14\x00", 2) + static_cast<char>(i) + "\x1E";
  image += "\xFF";
  const std::string stream = std::string(1, static_cast<char>(image.size() >> 8)) +
                             static_cast<char>(image.size() & 0xFF) + image;
  rig.engine.Environment().receiveText = "\x02";
  SendEchoed(rig, stream.substr(0, 40));  // the line breaks off here
  EXPECT_EQ(rig.engine.Eeprom().At(0), 0);
  EXPECT_EQ(rig.engine.Eeprom().At(1), 0);

  // Power comes back: nothing half-written runs, and the board waits for the host.
  rig.engine.Reset(true);
  rig.engine.Environment().receiveText = "\x01";
  EXPECT_EQ(rig.TakeOutput(26), "TESEL 1.1 (Zarvek OS 1.0)\r");
}

TEST(TesselUpload, UserCodeStaysReadOnlyWithoutTheProgrammingSwitch) {
  TRig rig;
  rig.engine.Reset(true);
  rig.engine.Environment().receiveText = "\x08";
  rig.engine.Environment().receiveText += std::string("\x01\x9D", 2);
  rig.TakeOutput(3, 20000);  // the two echoes, then the refused write
  EXPECT_EQ(rig.engine.ErrorState(), hc05::kEngineRefusedWrite);
  EXPECT_EQ(rig.engine.Cpu().previousPc, rig.Sym("PROGBYTE") + 8);  // STA $0101,X
  EXPECT_NE(rig.engine.Memory()[0x0101], 0x9D);
}

}  // namespace
}  // namespace zarvek::tessel

namespace zarvek::tessel {
namespace {

TEST(TesselUpload, ABoardStoppedByAnErrorStillAnswers) {
  TRig rig;
  rig.Load(std::string("\x24\xFF", 2));  // an invalid token
  ASSERT_EQ(rig.Run(), TRunEnd::Error);
  rig.engine.Environment().receiveText = "\x01";
  EXPECT_EQ(rig.TakeOutput(26), "TESEL 1.1 (Zarvek OS 1.0)\r");
}

}  // namespace
}  // namespace zarvek::tessel
