// The CPU core beyond what the comparison with ucsim covers: cycles, error states, the
// stack limit, SWI, RTI, WAIT, the interrupt pin branches and the 13-bit address bus.
#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "hc05/engine_messages.h"
#include "hc05/opcodes.h"

namespace zarvek::hc05 {
namespace {

// Places bytes at $0101 and points the PC there.
void Code(TMotorolaEngine& engine, const std::string& bytes, uint16_t at = 0x0101) {
  ASSERT_TRUE(engine.LoadCode(at, bytes));
  engine.Cpu().pc = at;
}

TEST(EngineCpu, EveryOpcodeChargesTheCyclesOfTheTable) {
  for (int op = 0; op < 256; ++op) {
    TMotorolaEngine engine;
    engine.Cpu().x = 0x60;
    Code(engine, std::string{static_cast<char>(op), '\x60', '\x00'});
    EXPECT_EQ(engine.Step(), Opcode(static_cast<uint8_t>(op)).cycles) << std::hex << op;
    EXPECT_EQ(engine.ErrorState() == kEngineUndefinedOpcode, !Opcode(static_cast<uint8_t>(op)).Defined()) << op;
  }
}

TEST(EngineCpu, NopChangesNothingButThePc) {
  TMotorolaEngine engine;
  Code(engine, "\x9D");
  const TCpuRegisters before = engine.Cpu();
  EXPECT_EQ(engine.Step(), 2);
  const TCpuRegisters& after = engine.Cpu();
  EXPECT_EQ(after.pc, 0x0102);
  EXPECT_EQ(after.previousPc, 0x0101);
  EXPECT_EQ(after.Ccr(), before.Ccr());
  EXPECT_EQ(after.a, before.a);
  EXPECT_EQ(after.sp, before.sp);
}

TEST(EngineCpu, AnUndefinedOpcodeHoldsTheMachineUntilTheStateIsCleared) {
  TMotorolaEngine engine;
  Code(engine, "\x31\x9D");
  TSerialBudget budget;
  EXPECT_EQ(engine.RunStep(budget), 0);
  EXPECT_EQ(engine.ErrorState(), kEngineUndefinedOpcode);
  EXPECT_EQ(engine.Cpu().previousPc, 0x0101);  // the register line shows the faulty address
  EXPECT_EQ(engine.Cpu().pc, 0x0102);
  EXPECT_EQ(engine.RunStep(budget), 0);  // no step while the state is set
  EXPECT_EQ(engine.Cpu().pc, 0x0102);
  engine.ClearErrorState();
  EXPECT_EQ(engine.RunStep(budget), 2);
  EXPECT_EQ(engine.Cpu().pc, 0x0103);
  for (const char* op : {"\xA7", "\xAC", "\xAF"}) {
    Code(engine, op);
    engine.Step();
    EXPECT_EQ(engine.ErrorState(), kEngineUndefinedOpcode);
  }
}

TEST(EngineCpu, RefusedWritesLeaveMemoryAlone) {
  TMotorolaEngine engine;
  engine.Cpu().a = 0x5A;
  const struct {
    const char* code;
    uint16_t address;
    uint8_t error;
  } cases[] = {
      {"\xB7\x30", 0x30, kEngineRefusedWrite},      // unused
      {"\xB7\x4F", 0x4F, kEngineRefusedWrite},
      {"\xC7\x02\x00", 0x200, kEngineRefusedWrite},  // code
      {"\xC7\x1F\xFF", 0x1FFF, kEngineRefusedWrite},
      {"\xB7\x08", 0x08, kEngineRefusedWrite},      // A/D result
      {"\xB7\x13", 0x13, kEngineRefusedWrite},      // timer status
      {"\xB7\x03", 0x03, kEngineInputWrite},        // port D
      {"\xB7\x50", 0x50, kEngineOk},
      {"\xB7\xFF", 0xFF, kEngineOk},
  };
  for (const auto& c : cases) {
    const uint8_t before = engine.Memory()[c.address];
    Code(engine, c.code);
    engine.Step();
    EXPECT_EQ(engine.ErrorState(), c.error) << std::hex << c.address;
    EXPECT_EQ(engine.Memory()[c.address], c.error ? before : 0x5A) << std::hex << c.address;
  }
}

TEST(EngineCpu, PushesBelowTwelveAreAStackOverflow) {
  TMotorolaEngine engine;
  Code(engine, "\xAD\x00");  // BSR to the next instruction
  engine.Cpu().sp = 12;
  engine.Step();
  EXPECT_EQ(engine.ErrorState(), kEngineStackOverflow);  // the second byte finds SP = 11
  EXPECT_EQ(engine.Memory()[12], 0x03);
  EXPECT_EQ(engine.Cpu().sp, 11);

  Code(engine, "\xAD\x00");
  engine.Cpu().sp = 13;
  engine.Step();
  EXPECT_EQ(engine.ErrorState(), kEngineOk);
  EXPECT_EQ(engine.Cpu().sp, 11);
}

TEST(EngineCpu, SwiIsMaskedByTheIBit) {
  TMotorolaEngine engine;
  SetVector(engine, 0x1FFC, 0x0180);
  Code(engine, "\x83");
  engine.Cpu().i = 1;
  EXPECT_EQ(engine.Step(), 10);
  EXPECT_EQ(engine.Cpu().pc, 0x0102);
  EXPECT_EQ(engine.Cpu().sp, 0xFF);

  Code(engine, "\x83");
  TCpuRegisters& r = engine.Cpu();
  r.i = 0, r.h = 1, r.c = 1, r.a = 0x11, r.x = 0x22;
  EXPECT_EQ(engine.Step(), 10);
  EXPECT_EQ(r.pc, 0x0180);
  EXPECT_EQ(r.i, 1);
  EXPECT_EQ(r.sp, 0xFA);
  const auto& m = engine.Memory();
  EXPECT_EQ(m[0xFF], 0x02);  // return address low, then high
  EXPECT_EQ(m[0xFE], 0x01);
  EXPECT_EQ(m[0xFD], 0x22);
  EXPECT_EQ(m[0xFC], 0x11);
  EXPECT_EQ(m[0xFB], 0xF1);  // 111HINZC
}

TEST(EngineCpu, RtiRestoresIAndHOfTheInterruptedCode) {
  TTestMachine m;
  SetVector(m.engine, 0x1FFC, 0x0180);
  ASSERT_TRUE(m.Load({" ORG $0180", "handler LDA #$01", " ADD #$01", " CLC", " RTI"}));
  ASSERT_TRUE(m.Load({"main CLI", " SEC", " LDA #$08", " ADD #$08", " LDX #$33", " LDA #$44", " SWI", "after NOP"}));
  ASSERT_TRUE(m.RunTo("after", 50));
  const TCpuRegisters& r = m.engine.Cpu();
  EXPECT_EQ(r.i, 0);
  EXPECT_EQ(r.h, 1);  // from 8 + 8
  EXPECT_EQ(r.a, 0x44);
  EXPECT_EQ(r.x, 0x33);
  EXPECT_EQ(r.sp, 0xFF);
}

TEST(EngineCpu, BilAndBihFollowTheInterruptPin) {
  TMotorolaEngine engine;
  for (bool pin : {false, true}) {
    engine.Environment().interruptPin = pin;
    Code(engine, "\x2E\x10");  // BIL
    engine.Step();
    EXPECT_EQ(engine.Cpu().pc, pin ? 0x0103 : 0x0113);
    Code(engine, "\x2F\x10");  // BIH
    engine.Step();
    EXPECT_EQ(engine.Cpu().pc, pin ? 0x0113 : 0x0103);
  }
}

TEST(EngineCpu, AddressesWrapAtTheEndOfTheEightKilobytes) {
  TMotorolaEngine engine;
  engine.Memory()[0x60] = 0x99;
  engine.Cpu().x = 0x70;
  Code(engine, "\xD6\x1F\xF0");  // LDA $1FF0,X reads $2060, that is $0060
  engine.Step();
  EXPECT_EQ(engine.Cpu().a, 0x99);

  Code(engine, "\xCC\xFF\xFF");  // JMP $FFFF
  engine.Step();
  EXPECT_EQ(engine.Cpu().pc, 0x1FFF);
  engine.Memory()[0x1FFF] = 0xA6;  // LDA # with its operand at $0000
  engine.Memory()[0x0000] = 0x42;
  engine.Step();
  EXPECT_EQ(engine.Cpu().a, 0x42);
  EXPECT_EQ(engine.Cpu().pc, 0x0001);

  engine.Cpu().pc = 0xFFFF;  // a PC set from outside is taken modulo $2000 as well
  engine.Memory()[0x1FFF] = 0x9D;
  engine.Step();
  EXPECT_EQ(engine.Cpu().previousPc, 0x1FFF);
  EXPECT_EQ(engine.Cpu().pc, 0x0000);
}

TEST(EngineMessages, ErrorTextsAndTheRegisterLine) {
  EXPECT_EQ(EngineErrorMessage(kEngineStackOverflow),
            "Stack Überlauf. Zu viele ausgeführte Unterprogramme könnten die Ursache sein.");
  EXPECT_EQ(EngineErrorMessage(kEngineInputWrite),
            "Befehl versucht auf einen Eingang zu schreiben, der nur gelesen werden kann.");
  EXPECT_TRUE(EngineErrorMessage(kEngineOk).empty());
  EXPECT_TRUE(EngineErrorMessage(6).empty());

  TMotorolaEngine engine;
  Code(engine, "\x31");
  TCpuRegisters& r = engine.Cpu();
  r.a = 0x1F, r.x = 0xA0, r.n = 1, r.c = 1, r.h = 0, r.i = 1, r.z = 0, r.sp = 0xF3;
  engine.Step();
  EXPECT_EQ(RegisterLine(r), "A = 1Fh  X = A0h  ( N = 1 Z = 0 C = 1 H = 0 I = 1 )  SP = 00F3h  PC = 0101h");
  EXPECT_EQ(BasicPcSuffix(0x012B), "  BASIC PC = 012Bh");
}

}  // namespace
}  // namespace zarvek::hc05
