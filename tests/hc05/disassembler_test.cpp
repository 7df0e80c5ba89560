#include <gtest/gtest.h>

#include "hc05/disassembler.h"

namespace zarvek::hc05 {
namespace {

using TLines = std::vector<std::string>;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

TEST(Disassembler, UnreferencedLinesHaveNoLabel) {
  EXPECT_EQ(Disassemble(Bytes({0xA6, 0x05}), 0x0101),
            (TLines{"                ORG   0101h", "                LDA   #05h              ;A <- #const"}));
  EXPECT_EQ(Disassemble("", 0x0101), TLines{"                ORG   0101h"});
}

TEST(Disassembler, BranchToItselfIsLabelledAndFollowedByAnEmptyLine) {
  EXPECT_EQ(Disassemble(Bytes({0x20, 0xFE}), 0x0200),
            (TLines{"                ORG   0200h", "L0200:          BRA   L0200             ;branch always", ""}));
}

TEST(Disassembler, UnknownOpcodesAndCutOffInstructionsAreData) {
  EXPECT_EQ(Disassemble(Bytes({0x31, 0xCC, 0x01}), 0x0101),
            (TLines{"                ORG   0101h", "                DB    #31h              ;  ---- unknown / data",
                    "                DB    #CCh              ", "                DB    #01h              "}));
  // The byte after a cut-off opcode is data even where it would be a whole instruction.
  EXPECT_EQ(Disassemble(Bytes({0xC6, 0x9D}), 0x0101).back(), "                DB    #9Dh              ");
}

TEST(Disassembler, ExtendedOperandBelow100hKeepsFourDigits) {
  EXPECT_EQ(Disassemble(Bytes({0xC6, 0x00, 0x50}), 0x0101)[1], "                LDA   0050h             ;A <- MEM");
}

TEST(Disassembler, OperandStylesLabelsAndComments) {
  const std::string code = Bytes({0x9D,                    // NOP
                                  0xA1, 0x10,              // CMP #
                                  0xB0, 0x20,              // SUB direct
                                  0xC7, 0x12, 0x34,        // STA extended
                                  0xDE, 0x01, 0x00,        // LDX offset16,X
                                  0x6C, 0x05,              // INC offset8,X
                                  0x7D,                    // TST ,X
                                  0x48,                    // LSLA
                                  0x14, 0x80, 0x1F, 0x40,  // BSET 2, BCLR 7
                                  0x0F, 0x80, 0xF0,        // BRCLR 7 into the middle of STA
                                  0x25, 0x80,              // BLO before the block
                                  0xAD, 0xFC,              // BSR to the BLO
                                  0xCD, 0x03, 0x01,        // JSR to the CMP
                                  0x8E, 0x81,              // STOP, RTS
                                  0x20, 0xFC,              // BRA to the STOP
                                  0xC1});                  // cut off
  const TLines expected = {
      "                ORG   0300h",
      "                NOP                     ;no operation",
      "L0301:          CMP   #10h              ;A =? #const ",
      "                SUB   20h               ;A <-- A - MEM",
      "                STA   1234h             ;MEM <- A",
      "                LDX   0100h, X          ;X <- [MEM+X]",
      "                INC   05h, X            ;[MEM+X] <- [MEM+X] + 1",
      "                TST   ,X                ;CCR <- ?([X] <= 0)",
      "                LSLA                    ;A <- <A<",
      "                BSET  2, 80h            ;MEM.2 <- 1",
      "                BCLR  7, 40h            ;MEM.7 <- 0",
      "                BRCLR 7, 80h, 0306h     ;branch if MEM.7 = 0",
      "L0316:          BLO   0298h             ;branch if '<' (.C = 1)",
      "                BSR   L0316             ;branch sub",
      "                JSR   L0301             ;go sub",
      "L031D:          STOP                    ",
      "                RTS                     ;return from subroutine",
      "",
      "                BRA   L031D             ;branch always",
      "",
      "                DB    #C1h              ",
  };
  EXPECT_EQ(Disassemble(code, 0x0300), expected);
}

TEST(Disassembler, CommentPatternsPerFamily) {
  EXPECT_EQ(OpcodeComment(0x07), "branch if MEM.3 = 0");        // BRCLR 3
  EXPECT_EQ(OpcodeComment(0x0C), "branch if MEM.6 = 1");        // BRSET 6
  EXPECT_EQ(OpcodeComment(0x39), "MEM <- .C<<MEM<<.C");         // ROL direct
  EXPECT_EQ(OpcodeComment(0x42), "X:A <- X*A");                 // MUL
  EXPECT_EQ(OpcodeComment(0xA3), "X =? #const ");               // CPX #
  EXPECT_EQ(OpcodeComment(0xA5), "CCR <- A AND #const ");       // BIT #
  EXPECT_EQ(OpcodeComment(0xC0), "A <- A - MEM");               // SUB extended
  EXPECT_EQ(OpcodeComment(0xED), "go sub\r\n");                 // JSR offset8,X
  EXPECT_EQ(OpcodeComment(0xBC), "go to\r\n");                  // JMP direct
  EXPECT_EQ(OpcodeComment(0x80), "return from interrupt\r\n");  // RTI
  EXPECT_EQ(OpcodeComment(0x8F), "");                           // WAIT
}

TEST(Disassembler, JumpTargetsInsideTheBlockAreLabels) {
  // JMP direct into the block, JSR extended outside it.
  const TLines lines = Disassemble(Bytes({0x9D, 0xBC, 0x50, 0xCD, 0x12, 0x34}), 0x0050);
  EXPECT_EQ(lines[1], "L0050:          NOP                     ;no operation");
  EXPECT_EQ(lines[2], "                JMP   L0050             ;go to");
  EXPECT_EQ(lines[4], "                JSR   1234h             ;go sub");
}

TEST(Disassembler, AddressesWrapAtTheTopOfMemory) {
  const TLines lines = Disassemble(Bytes({0x20, 0x00, 0x20, 0xFC}), 0xFFFE);
  EXPECT_EQ(lines[1], "LFFFE:          BRA   L0000             ;branch always");
  EXPECT_EQ(lines[3], "L0000:          BRA   LFFFE             ;branch always");
}

TEST(Disassembler, EditorTextEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinEditorLines(Disassemble(Bytes({0x81}), 0x0101)),
            "                ORG   0101h\r\n                RTS                     ;return from subroutine\r\n\r\n");
}

}  // namespace
}  // namespace zarvek::hc05
