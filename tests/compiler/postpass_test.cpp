// The post-pass on hand-made compilation states: prologue, relocation, fixups, the
// unclosed-block report, the image layout.
#include <gtest/gtest.h>

#include "compile_helpers.h"
#include "compiler/compiler_context.h"
#include "compiler/diagnostics.h"
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
  EXPECT_EQ(c.error->message.str(),
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
  EXPECT_NE(c.error->message.str().find("mit 2 Parametern"), std::string::npos);

  c = TCompilerContext{};
  AddFixup(c, "nowhere");
  PostPass(c);
  EXPECT_EQ(c.error->message.str(), "nowhere() unbekannt");
}

TEST_F(PostPassTest, UnclosedBlocksAndAssemblerReferences) {
  TBlock open;
  open.start = 3;
  open.kind = TBlockKind::For;
  c.blocks.push_back(open);
  PostPass(c);
  EXPECT_EQ(c.error->code, 152);
  EXPECT_EQ(c.error->sourcePosition, 3);

  // A reference to an assembler label is patched only when linking.
  TCompiler compiler;
  TCompileResult r = compiler.CompileProgram(Input(""));
  ASSERT_TRUE(r.success);
  EXPECT_TRUE(compiler.LinkAndWarn(r.image, {}, true).success);
}

}  // namespace
}  // namespace zarvek::test

namespace zarvek::test {
namespace {

// Merged text: "a" / module A ("x" / module B ("b1" / "b2") / "y") / "z" / module C ("c").
TEST(Positions, ErrorsInModulesPointIntoTheModuleAndAtTheInclude) {
  TCompilerContext c;
  c.source = "a\r\nx\r\nb1\r\nb2\r\ny\r\nz\r\nc\r\n";
  TIncludeRecord a, b, m;
  a.fileName = "a.xml", a.start = 3, a.length = 14, a.depth = 0, a.parentIndex = -1;
  b.moduleName = "Bmod", b.fileName = "b.xml", b.start = 6, b.length = 8, b.depth = 1, b.parentIndex = 0;
  m.fileName = "c.xml", m.start = 20, m.length = 3, m.depth = 0, m.parentIndex = -1;
  c.includes = {a, b, m};

  const TSourceLocation inB = Locate(c, 11);  // "b2"
  EXPECT_EQ(inB.mapped.moduleIndex, 1);
  EXPECT_EQ(inB.mapped.modulePosition, 5);
  EXPECT_EQ(inB.mapped.position, 3);  // the outermost $INCLUDE
  EXPECT_EQ(inB.line, 2);
  EXPECT_EQ(inB.column, 1);

  const TSourceLocation inA = Locate(c, 15);  // "y", after the nested module
  EXPECT_EQ(inA.mapped.modulePosition, 4);
  EXPECT_EQ(inA.line, 2);

  const TSourceLocation main = Locate(c, 18);  // "z"
  EXPECT_EQ(main.mapped.moduleIndex, -1);
  EXPECT_EQ(main.mapped.position, 4);
  EXPECT_EQ(main.line, 2);

  // A module's length already counts its nested modules: they are not subtracted twice.
  EXPECT_EQ(Locate(c, 21).mapped.position, 6);

  c.errorPosition = 15;
  CompileError(c, "", 109);
  EXPECT_EQ(c.error->message.str(), "Modul a.xml - Ende erwartet ");
  c.errorReported = false;
  c.errorPosition = 11;
  CompileError(c, "", 109);
  EXPECT_EQ(c.error->message.str(), "Bmod - Ende erwartet ");
}

}  // namespace
}  // namespace zarvek::test

namespace zarvek::test {
namespace {

// BASIC calls an assembler label by its name and reads its address as "^name"; the linker
// writes the address once the assembler part has been assembled.
TEST(Linking, AssemblerLabelsAreCalledAndReadAfterAssembly) {
  TCompiler compiler;
  TCompileInput input = Input(Lines({"DIM a AS INTEGER", "CALL blink", "a = ^blink"}), profile::Tessel11);
  input.assemblerLabels = {{"Blink", 0}};
  TCompileResult r = compiler.CompileProgram(input);
  ASSERT_TRUE(r.success) << r.error->code << " " << r.error->message.str();
  // 08: the Tessel runtime's call of machine code; then the label's address pushed.
  EXPECT_EQ(Hex(r.image), "08 00 00 14 00 00 1A 0B FF FF");
  ASSERT_TRUE(compiler.LinkAndWarn(r.image, {{"BLINK", 0x150}}, false).success);
  EXPECT_EQ(Hex(r.image), "08 01 50 14 01 50 1A 0B FF FF");

  TCompileResult missing = compiler.CompileProgram(input);
  const TLinkResult link = compiler.LinkAndWarn(missing.image, {}, false);
  ASSERT_FALSE(link.success);
  EXPECT_EQ(link.error->code, 250);
  EXPECT_EQ(link.error->message.str(), "Assembler blink Label existiert nicht.");
  EXPECT_EQ(link.error->line, 2);

  // Without the "^" the name is no value; the address is unknown before linking.
  input.source = Lines({"DIM a AS INTEGER", "a = blink"});
  EXPECT_EQ(compiler.CompileProgram(input).error->code, 139);
  input.source = Lines({"CONST k = ^blink"});
  EXPECT_EQ(compiler.CompileProgram(input).error->code, 121);

  // The ATmega boards run no HC05 code.
  input.source = Lines({"CALL blink"});
  input.profile = profile::Pyxon32;
  EXPECT_EQ(compiler.CompileProgram(input).error->code, 141);
}

}  // namespace
}  // namespace zarvek::test
