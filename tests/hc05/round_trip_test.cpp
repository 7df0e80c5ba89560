// Disassembling machine code and assembling the text again gives the same bytes: random
// instruction streams, unknown opcodes among them.
#include <gtest/gtest.h>

#include <random>

#include "hc05/assembler.h"
#include "hc05/disassembler.h"
#include "hc05/opcodes.h"
#include "text/hex.h"
#include "text/lines.h"

namespace zarvek::hc05 {
namespace {

// One random instruction (or an unknown opcode) whose branch lands inside the block. An
// extended operand below $100 is avoided: it reassembles into the shorter direct form.
std::string RandomInstruction(std::mt19937& random) {
  std::string bytes(1, static_cast<char>(random() & 0xFF));
  const TOpcode& op = Opcode(static_cast<uint8_t>(bytes[0]));
  if (!op.Defined()) return bytes;
  for (int k = 1; k < op.length; ++k) bytes.push_back(static_cast<char>(random() & 0xFF));
  if (op.mode == TMode::Extended || op.mode == TMode::Indexed2) bytes[1] = static_cast<char>(1 + random() % 0xFF);
  // Branches jump nearby, so that most targets lie inside the block and get labels.
  if (op.mode == TMode::Relative || op.mode == TMode::BitTestBranch)
    bytes.back() = static_cast<char>(static_cast<int>(random() % 16) - 8);
  return bytes;
}

TEST(RoundTrip, DisassembledCodeAssemblesToTheSameBytes) {
  std::mt19937 random(2026);
  for (int block = 0; block < 50; ++block) {
    std::string code;
    while (code.size() < 300) code += RandomInstruction(random);
    const uint16_t start = static_cast<uint16_t>(0x0200 + block * 0x100);
    const std::vector<std::string> text = Disassemble(code, start);
    TAssembler assembler;
    const TAssembly again = assembler.Assemble(SplitLines(JoinEditorLines(text)), {});
    ASSERT_TRUE(again.success) << again.error->message << " in line " << again.error->line + 1 << ": "
                               << text[static_cast<size_t>(again.error->line)];
    EXPECT_EQ(again.startAddress, start);
    ASSERT_EQ(HexBytes(again.code), HexBytes(code)) << "block " << block;
  }
}

TEST(RoundTrip, ExtendedAddressesBelow256BecomeDirect) {
  TAssembler assembler;
  const TAssembly again = assembler.Assemble(SplitLines(JoinEditorLines(Disassemble(std::string("\xC6\x00\x50", 3), 0x0101))), {});
  ASSERT_TRUE(again.success);
  EXPECT_EQ(HexBytes(again.code), "B6 50");
}

}  // namespace
}  // namespace zarvek::hc05

namespace zarvek::hc05 {
namespace {

TEST(RoundTrip, ASymbolNamedLikeAHexNumberStaysASymbol) {
  TAssembler assembler;
  const TAssembly a = assembler.Assemble({"FACH EQU #5", " LDA FACH", " LDA #ACh"}, {});
  ASSERT_TRUE(a.success) << a.error->message;
  EXPECT_EQ(HexBytes(a.code), "A6 05 A6 AC");  // the constant; without a symbol, the number $AC
}

}  // namespace
}  // namespace zarvek::hc05
