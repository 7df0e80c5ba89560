// The register page: ports with their directions, port D, the A/D converter with its
// internal channels and the read at $0A92, the PLM outputs, the miscellaneous register,
// the SCI with its "seen" status bits and byte budgets, and side-effect-free views.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zarvek::hc05 {
namespace {

TEST(EngineIo, PortsMixLatchAndInputByDirection) {
  TMotorolaEngine engine;
  engine.Write(0x05, 0x0F);  // port B: low nibble outputs
  engine.Write(0x01, 0xAA);
  engine.Environment().portInputs[1] = 0x55;
  EXPECT_EQ(engine.Read(0x01), 0x5A);
  EXPECT_EQ(engine.Memory()[0x01], 0xAA);  // the latch keeps all bits

  engine.Environment().analogInputs = {52, 51, 0, 255, 0, 0, 0, 200};
  EXPECT_EQ(engine.Read(0x03), 0x89);  // port D: above 51
}

TEST(EngineIo, AdConverterReadsTheSelectedChannel) {
  TMotorolaEngine engine;
  engine.Environment().analogInputs[3] = 0x77;
  engine.Write(0x09, 0xFF);
  EXPECT_EQ(engine.Peek(0x09), 0x6F);  // bits 7 and 4 are not stored
  engine.Write(0x09, 0x03);
  EXPECT_EQ(engine.Read(0x08), 0x77);
  for (int i = 0; i < 50; ++i) {
    engine.Write(0x09, 0x08);
    const uint8_t reference = engine.Read(0x08);
    EXPECT_TRUE(reference == 254 || reference == 255);
    engine.Write(0x09, 0x09);
    const uint8_t half = engine.Read(0x08);
    EXPECT_TRUE(half >= 126 && half <= 128);
    engine.Write(0x09, static_cast<uint8_t>(10 + i % 6));
    EXPECT_LE(engine.Read(0x08), 1);
  }
}

TEST(EngineIo, AdStatusReadClearsBitSevenAndReadsMaskedAt0A92) {
  TTestMachine m;
  ASSERT_TRUE(m.Load({" ORG $0A90", "there LDA $09", "after NOP"}));
  m.engine.Memory()[0x09] = 0xE5;
  m.engine.Step();
  EXPECT_EQ(m.engine.Cpu().a, 0x60);
  EXPECT_EQ(m.engine.Memory()[0x09], 0x65);

  ASSERT_TRUE(m.Load({" ORG $0A91", "there LDA $09"}));
  m.engine.Memory()[0x09] = 0xE5;
  m.engine.Step();
  EXPECT_EQ(m.engine.Cpu().a, 0xE5);
}

TEST(EngineIo, PlmWritesDriveTheOutputsAndLeaveTheRegister) {
  TMotorolaEngine engine;
  engine.Write(0x0A, 0x80);
  engine.Write(0x0B, 0x11);
  EXPECT_EQ(engine.Environment().plmOutputs[0], 0x80);
  EXPECT_EQ(engine.Environment().plmOutputs[1], 0x11);
  EXPECT_EQ(engine.Read(0x0A), 0);
  EXPECT_EQ(engine.ErrorState(), kEngineOk);
}

TEST(EngineIo, MiscellaneousRegisterWriteRules) {
  TMotorolaEngine engine;  // cold reset: $81
  engine.Cpu().i = 1;
  engine.Write(0x0C, 0x62);
  EXPECT_EQ(engine.Peek(0x0C), 0x72);  // enable bit forced, power-on flag cleared
  engine.Write(0x0C, 0x80);
  EXPECT_EQ(engine.Peek(0x0C), 0x10);  // the power-on flag cannot be set again
  engine.Write(0x0C, 0x42);
  engine.Cpu().i = 0;
  engine.Write(0x0C, 0x00);
  EXPECT_EQ(engine.Peek(0x0C), 0x5F);  // sense bits kept, low bits set
}

TEST(EngineSci, StatusFlagsClearOnlyAfterAStatusReadSawThem) {
  TMotorolaEngine engine;  // status $C0 after reset
  TSerialBudget budget{10, 10};
  engine.Write(0x0F, 0x08);  // transmitter on
  engine.Write(0x11, 'x');   // no status read yet: the flags stay, nothing goes out
  engine.SerialTransmitService(budget.transmit);
  EXPECT_EQ(engine.Environment().transmitText, "");
  EXPECT_EQ(engine.Read(0x10) & 0xC0, 0xC0);
  engine.Write(0x11, 'A');
  EXPECT_EQ(engine.Peek(0x10) & 0xC0, 0);
  engine.SerialTransmitService(budget.transmit);
  EXPECT_EQ(engine.Environment().transmitText, "A");
  EXPECT_EQ(engine.Peek(0x10) & 0xC0, 0xC0);
  EXPECT_EQ(budget.transmit, 9);

  engine.Read(0x10);
  engine.Write(0x11, 'B');
  int none = 0;
  engine.SerialTransmitService(none);  // no budget left in this tick
  EXPECT_EQ(engine.Environment().transmitText, "A");
}

TEST(EngineSci, ReceivedBytesWaitUntilTheProgramTookThePreviousOne) {
  TMotorolaEngine engine;
  int budget = 10;
  engine.Write(0x0F, 0x04);  // receiver on
  engine.Environment().receiveText = "AB";
  engine.SerialReceiveService(budget);
  engine.SerialReceiveService(budget);
  EXPECT_EQ(engine.Peek(0x11), 'A');  // not overwritten by B
  EXPECT_EQ(budget, 9);
  EXPECT_EQ(engine.Read(0x11), 'A');  // without a status read the flag stays
  EXPECT_EQ(engine.Peek(0x10) & 0x30, 0x20);
  engine.SerialReceiveService(budget);
  EXPECT_EQ(engine.Peek(0x11), 'A');

  EXPECT_EQ(engine.Read(0x10) & 0x20, 0x20);
  engine.Read(0x11);
  EXPECT_EQ(engine.Peek(0x10) & 0x20, 0);
  engine.SerialReceiveService(budget);
  EXPECT_EQ(engine.Peek(0x11), 'B');
  EXPECT_EQ(engine.Peek(0x10) & 0x30, 0x30);  // the text ran empty: idle
  EXPECT_EQ(engine.Environment().receiveText, "");
}

TEST(EngineSci, ReceiveInterruptEntersWithIClear) {
  TMotorolaEngine engine;
  SetVector(engine, 0x1FF2, 0x01C0);
  engine.Cpu().pc = 0x0101;
  engine.Cpu().i = 0;
  engine.Write(0x0F, 0x24);
  engine.Environment().receiveText = "Z";
  int budget = 1;
  engine.SerialReceiveService(budget);
  EXPECT_EQ(engine.Cpu().pc, 0x01C0);
  EXPECT_EQ(engine.Memory()[0xFF], 0x01);  // PC low pushed first
}

TEST(EngineIo, PeekHasNoSideEffects) {
  TMotorolaEngine engine;
  engine.Memory()[0x09] = 0x85;
  engine.Memory()[0x13] = 0x20;
  EXPECT_EQ(engine.Peek(0x09), 0x85);
  EXPECT_EQ(engine.Peek(0x09), 0x85);
  EXPECT_EQ(engine.Peek(0x19), 0xFC);
  EXPECT_EQ(engine.Peek(0x13), 0x20);  // reading $19 would clear the overflow flag
  engine.Peek(0x10);
  engine.Write(0x11, 1);  // no status read has seen the transmit flags
  EXPECT_EQ(engine.Peek(0x10) & 0xC0, 0xC0);
  EXPECT_EQ(engine.Peek(0x2123), engine.Peek(0x0123));
}


TEST(EngineIo, UserCodeProgrammingRegister) {
  TMotorolaEngine engine;
  engine.Write(0x0150, 0x11);  // switch off: refused as before
  EXPECT_EQ(engine.ErrorState(), kEngineRefusedWrite);
  engine.ClearErrorState();

  engine.SetUserCodeProgramming(true);
  engine.Write(0x0150, 0x22);  // latch bit clear: still refused
  EXPECT_EQ(engine.ErrorState(), kEngineRefusedWrite);
  engine.ClearErrorState();
  engine.Write(0x07, 0x02);
  engine.Write(0x0150, 0x33);  // latched, not yet stored
  EXPECT_EQ(engine.ErrorState(), kEngineOk);
  EXPECT_NE(engine.Memory()[0x0150], 0x33);
  engine.Write(0x07, 0x03);
  EXPECT_EQ(engine.Memory()[0x0150], 0x33);
  engine.Write(0x07, 0x03);  // nothing latched any more
  engine.Write(0x07, 0x00);
  engine.Write(0x0800, 0x44);  // the system stays read-only
  EXPECT_EQ(engine.ErrorState(), kEngineRefusedWrite);
  engine.ClearErrorState();
  engine.Write(0x07, 0x02);
  engine.Write(0x0100, 0x55);  // $0100 is not part of the user area
  EXPECT_EQ(engine.ErrorState(), kEngineRefusedWrite);
}

}  // namespace
}  // namespace zarvek::hc05
