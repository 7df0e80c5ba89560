// The post-pass on hand-made compilation states: prologue, relocation, fixups, the
// unclosed-block report, the image layout.
#include <gtest/gtest.h>

#include "compile_helpers.h"
#include "compiler/compiler_context.h"
#include "compiler/driver.h"
#include "compiler/emit.h"
#include "compiler/symbol_table.h"

namespace zarvek::test {
namespace {

struct PostPassTest : ::testing::Test {
  TCompilerContext c;
  PostPassTest() { c.profile = profile::Pyxon32; }
  int Symbol(const std::string& name, uint32_t kinds, int64_t address, const std::string& value = "") {
    Tlabel s;
    s.name = name;
    s.kind = kinds;
    s.address = address;
    s.value = value;
    return AddSymbol(c, s);
  }
  std::string Run() { return Hex(PostPass(c)); }
};

TEST_F(PostPassTest, HandlerVectorsComeFirstAndCodeAddressesMove) {
  Symbol("ERROR", KindBit(kind::Sub), 10, "2");
  Symbol("Crash", KindBit(kind::Sub), 20, "2");
  Symbol("here", KindBit(kind::Label), 4);
  Symbol("n", KindBit(kind::Constant), 77);
  AddFixup(c, "here");
  AddFixup(c, "n");
  EXPECT_EQ(Run(), "49 FF 00 1C 49 FE 00 12 00 0C 00 4D FF FF");
  EXPECT_EQ(c.symbols[2].address, 12);  // labels, SUBs and FUNCTIONs move by the prologue
  EXPECT_EQ(c.symbols[3].address, 77);  // constants do not
}

TEST_F(PostPassTest, TableAndProgramLengthFixups) {
  c.tableArea = std::string(6, '\0');
  AddFixup(c, "<4");              // the table entry at offset 2
  AddFixup(c, "*PROGLEN*BYTE");   // first byte after the table area
  AddFixup(c, "*PROGLEN*WORD");
  AddFixup(c, "*PROGLEN*BIT");
  // Code: 8 bytes of holes + END = 9; table 6 + 1 filler (4 + 9 + 6 is odd): the first
  // byte after the table has token address 4 + 9 + 7 = 20.
  EXPECT_EQ(Run(), "00 0F 00 14 00 0A 00 A0 FF 00 00 00 00 00 00 FF");
}

TEST_F(PostPassTest, GotoTargetsMustBeLabelsOfTheSameProcedure) {
  Symbol("inMain", KindBit(kind::Label), 4, "");
  Symbol("var", KindBit(kind::Byte), 0);
  AddFixup(c, "inMain|");
  PostPass(c);
  EXPECT_FALSE(c.errorReported);

  TCompilerContext other;
  other.profile = profile::Pyxon32;
  c = std::move(other);
  Symbol("inMain", KindBit(kind::Label), 4, "");
  AddFixup(c, "inMain|mysub");
  PostPass(c);
  ASSERT_TRUE(c.error);
  EXPECT_EQ(c.error->code, 196);
  EXPECT_EQ(c.error->message,
            "Mit GOTO können Sie nur innerhalb einer FUNCTION, SUB oder innerhalb des Hauptprogramms springen. (inMain)");

  c = TCompilerContext{};
  Symbol("var", KindBit(kind::Byte), 0);
  AddFixup(c, "var|");
  PostPass(c);
  EXPECT_EQ(c.error->code, 100);
}

TEST_F(PostPassTest, CallsCheckTheDeclaredParameterCount) {
  Symbol("work", KindBit(kind::Sub), 30, "2");
  AddFixup(c, "work", 1);
  PostPass(c);
  ASSERT_TRUE(c.error);
  EXPECT_EQ(c.error->code, 230);
  EXPECT_NE(c.error->message.find("mit 2 Parametern"), std::string::npos);

  c = TCompilerContext{};
  AddFixup(c, "nowhere");
  PostPass(c);
  EXPECT_EQ(c.error->message, "nowhere() unbekannt");
}

TEST_F(PostPassTest, UnclosedBlocksAndAssemblerReferences) {
  TBlock open;
  open.start = 3;
  open.kind = block::For;
  c.blocks.push_back(open);
  PostPass(c);
  EXPECT_EQ(c.error->code, 152);
  EXPECT_EQ(c.error->sourcePosition, 3);

  // A reference to an assembler label is patched only when linking.
  TCompiler compiler;
  TCompileInput input;
  input.profile = profile::Pyxon32;
  TCompileResult r = compiler.CompileProgram(input);
  ASSERT_TRUE(r.success);
  EXPECT_TRUE(compiler.LinkAndWarn(r.image, {}, true).success);
}

}  // namespace
}  // namespace zarvek::test
