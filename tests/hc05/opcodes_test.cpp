#include <gtest/gtest.h>

#include "hc05/opcodes.h"

namespace zarvek::hc05 {
namespace {

TEST(Opcodes, TheMapHas210InstructionsAndTheListedGaps) {
  int defined = 0;
  for (int op = 0; op < 256; ++op) defined += Opcode(static_cast<uint8_t>(op)).Defined();
  EXPECT_EQ(defined, 210);
  for (int op : {0x31, 0x32, 0x35, 0x3B, 0x3E, 0x41, 0x45, 0x4B, 0x4E, 0x51, 0x52, 0x55, 0x5B, 0x5E, 0x61, 0x62,
                 0x65, 0x6B, 0x6E, 0x71, 0x72, 0x75, 0x7B, 0x7E, 0x82, 0x84, 0x8D, 0x90, 0x96, 0x9E, 0xA7, 0xAC, 0xAF})
    EXPECT_FALSE(Opcode(static_cast<uint8_t>(op)).Defined()) << std::hex << op;
  EXPECT_EQ(Opcode(0x42).mnemonic, "MUL");
  EXPECT_EQ(Opcode(0x9F).mnemonic, "TXA");
}

TEST(Opcodes, MnemonicsAliasesAndModes) {
  EXPECT_EQ(FindMnemonic("ASL")->OpcodeFor(TMode::Direct), 0x38);
  EXPECT_EQ(FindMnemonic("LSL")->OpcodeFor(TMode::Direct), 0x38);
  EXPECT_EQ(Opcode(0x38).mnemonic, "LSL");
  EXPECT_EQ(FindMnemonic("BCC")->OpcodeFor(TMode::Relative), 0x24);
  EXPECT_EQ(Opcode(0x24).mnemonic, "BHS");
  EXPECT_EQ(FindMnemonic("NEG")->OpcodeFor(TMode::Extended), -1);
  EXPECT_EQ(FindMnemonic("STA")->OpcodeFor(TMode::Immediate), -1);
  EXPECT_EQ(FindMnemonic("LDA")->OpcodeFor(TMode::Indexed2), 0xD6);
  EXPECT_EQ(FindMnemonic("BRCLR")->OpcodeFor(TMode::BitTestBranch), 0x01);
  EXPECT_EQ(Opcode(0x1F).mnemonic, "BCLR");
  EXPECT_EQ(Opcode(0x1F).bit, 7);
  EXPECT_EQ(FindMnemonic("lda"), nullptr);
  // Every mnemonic of the assembler, aliases included: 89 of the 97 reserved names.
  EXPECT_EQ(AllMnemonics().size(), 89u);
}

TEST(Opcodes, CyclesTheEmulatorCharges) {
  EXPECT_EQ(Opcode(0xAD).cycles, 5);   // BSR
  EXPECT_EQ(Opcode(0x64).cycles, 5);   // LSR offset,X
  EXPECT_EQ(Opcode(0x60).cycles, 6);   // NEG offset,X
  EXPECT_EQ(Opcode(0xDD).cycles, 7);   // JSR offset16,X
  EXPECT_EQ(Opcode(0x8E).cycles, 0);   // STOP
  EXPECT_EQ(Opcode(0x3D).cycles, 4);   // TST direct
  EXPECT_EQ(Opcode(0x03).length, 3);
}

}  // namespace
}  // namespace zarvek::hc05
