#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "compile_helpers.h"

namespace zarvek::test {
namespace {

TEST(Driver, EmptySourceIsEndAndFiller) {
  const TCompileResult r = Compile("");
  EXPECT_TRUE(r.success);
  EXPECT_EQ(Hex(r.image), "FF FF");
  EXPECT_EQ(r.eepromSize, 65535);
  EXPECT_EQ(Compile("", profile::Tessel11).eepromSize, 8192);
}

TEST(Driver, InlineBytesAndDirectives) {
  EXPECT_EQ(ImageHex("$ 1, 2, 300\r\n"), "01 02 2C FF");
  const TCompileResult r = Compile(Lines({"$CLOCK 16000", "$EEPROM 100"}));
  EXPECT_TRUE(r.success);
  EXPECT_EQ(r.clockKHz, 16000u);
  EXPECT_EQ(r.eepromSize, 100);
  const TCompileResult bad = Compile(Lines({"$CLOCK 3999"}));
  ASSERT_FALSE(bad.success);
  EXPECT_EQ(bad.error->code, 216);
  EXPECT_EQ(bad.error->message.str(), "Die Taktrate (3999) muss zwischen 4000 und 16000 kHz liegen.");
  EXPECT_EQ(bad.error->line, 1);
  EXPECT_EQ(bad.error->column, 8);
}

TEST(Driver, ContinuationAndStatementMap) {
  // "_" joins lines; anything but a comment after it is an error at that character.
  const TCompileResult bad = Compile("$ 1, _ 2\r\n");
  ASSERT_FALSE(bad.success);
  EXPECT_EQ(bad.error->code, 109);
  EXPECT_EQ(bad.error->column, 8);
  EXPECT_EQ(ImageHex("$ 1, _ ' more\r\n 2\r\n"), "01 02 FF FF");
  EXPECT_EQ(ImageHex("$ 1, _\n 2\n"), "01 02 FF FF");  // LF line ends too
  // Statements without code share a record; the later position wins.
  const TCompileResult r = Compile("$ 1\r\n:\r\n::\r\n$ 2\r\n");
  ASSERT_TRUE(r.success);
  ASSERT_EQ(r.statementMap.size(), 3u);
  EXPECT_EQ(r.statementMap[1].codeOffset, 1u);
  EXPECT_EQ(r.statementMap[2].codeOffset, 2u);
}

TEST(Driver, LabelsAndTheirChecks) {
  const TCompileResult r = Compile(Lines({"$ 7", "start:", "$ 8"}));
  ASSERT_TRUE(r.success);
  ASSERT_EQ(r.symbols.size(), 1u);
  EXPECT_EQ(r.symbols[0].address, 5);  // after one byte of code
  EXPECT_EQ(Hex(Compile(Lines({"Print:"})).image), "1F 0D 0A 00 FF FF");  // keywords are statements first
  EXPECT_EQ(Compile(Lines({"goto:"})).error->code, 193);
  EXPECT_EQ(Compile(Lines({"abcdefghijklmnopq:"})).error->code, 228);
  EXPECT_EQ(Compile(Lines({"Until:"})).error->code, 124);
  EXPECT_EQ(Compile(Lines({"a:", "a:"})).error->code, 115);
  EXPECT_EQ(Compile(Lines({"#1"})).error->code, 251);
}

// A statement word alone on its line, or right before a comment, ends its statement with
// any of the three line ends.
TEST(Driver, StatementWordEndsAtEveryLineEnd) {
  const std::vector<std::string> programs = {
      "DIM x|PRINT|x = 5|PRINT x|",
      "DIM i|FOR i = 1 TO 2|NEXT|i = 7|",
      "DO|EXIT DO|LOOP|PRINT 1|",
      "DIM a|IF a THEN|ELSE|a = 2|END IF|",
      "GOSUB s|END|s:|RETURN|PRINT 2|",
      "PRINT'comment|PRINT 3|",
  };
  for (const std::string& program : programs) {
    SCOPED_TRACE(program);
    std::string crlf, lf, cr;
    for (char ch : program) {
      crlf += ch == '|' ? std::string("\r\n") : std::string(1, ch);
      lf += ch == '|' ? '\n' : ch;
      cr += ch == '|' ? '\r' : ch;
    }
    const std::string expected = ImageHex(crlf);
    EXPECT_EQ(expected.find("error"), std::string::npos) << expected;
    EXPECT_EQ(ImageHex(lf), expected);
    EXPECT_EQ(ImageHex(cr), expected);
  }
  // PRINT alone prints a line end; it does not take the next line as its operand.
  EXPECT_EQ(CodeHex("PRINT\nPRINT 1\n"), CodeHex("PRINT\r\nPRINT 1\r\n"));
  EXPECT_EQ(CodeHex("PRINT\n").substr(0, 2), "1F");
  // Errors keep their line and column.
  EXPECT_EQ(Error("DIM x\rNEXT\r"), Error("DIM x\r\nNEXT\r\n"));
  EXPECT_EQ(Error("DIM x\nEND x\n"), "109 2:5 Ende erwartet ");
}

TEST(Driver, MemoryDirectiveAfterADeclarationIsReportedAtTheDirective) {
  for (const char* end : {"\r\n", "\n", "\r"}) {
    for (const char* directive : {"$IEEPROM", "  $XEEPROM ' comment", "$IEEPROM   "}) {
      const std::string source = std::string("DIM a AS BYTE") + end + directive + end + "PRINT 1" + end;
      SCOPED_TRACE(source);
      const TCompileResult r = Compile(source);
      ASSERT_FALSE(r.success);
      EXPECT_EQ(r.error->code, 282);
      EXPECT_EQ(r.error->line, 2);
      EXPECT_EQ(r.error->column, directive[0] == ' ' ? 3 : 1);
    }
  }
}

// Messages show what the source holds readably: control bytes by name, long words cut.
TEST(Driver, MessagesShowArgumentsReadably) {
  EXPECT_EQ(Error("x\x01 = 1\r\n"), "104 1:2 unerwartetes Zeichen '<SOH>'");
  EXPECT_EQ(Error(std::string("$INCLUDE \"a\0b.xml\"\r\n", 18)), "257 1:10 Datei a<NUL>b.xml nicht gefunden.");
  const TCompileResult longWord = Compile(std::string(1'000'000, 'w') + "\r\n");
  ASSERT_FALSE(longWord.success);
  EXPECT_EQ(longWord.error->message.str(), std::string(60, 'w') + "… keine Anweisung");
}

// The background check gives up when the text changes: a cancelled compilation is
// neither a success nor an error.
class TCancellingLoader : public TModuleLoader {
 public:
  explicit TCancellingLoader(std::atomic<bool>& flag) : m_flag(flag) {}
  bool Exists(const std::string&) const override { return true; }
  TModuleFile Load(const std::string&) const override {
    m_flag = true;  // the text changed while the module was read
    return {0, "$ 2\r\n", ""};
  }

 private:
  std::atomic<bool>& m_flag;
};

TEST(Driver, ACancelledCompilationStopsWithoutAnError) {
  std::atomic<bool> cancel{false};
  TCompiler compiler;
  TCompileInput input = Input(Lines({"$ 1", "IF 1 THEN"}));  // an error (no END IF) if compiled to the end
  input.cancel = &cancel;
  const TCompileResult whole = compiler.CompileProgram(input);
  EXPECT_FALSE(whole.cancelled);
  ASSERT_TRUE(whole.error);
  EXPECT_EQ(whole.error->code, 155);

  cancel = true;
  const TCompileResult before = compiler.CompileProgram(input);
  EXPECT_TRUE(before.cancelled);
  EXPECT_FALSE(before.success);
  EXPECT_FALSE(before.error);

  // Set while the statements are being compiled: the next statement is not compiled.
  cancel = false;
  const TCancellingLoader loader(cancel);
  input.modules = &loader;
  input.projectFileName = "/p/main.xml";
  input.source = Lines({"$ 1", "$INCLUDE \"m.xml\"", "x = ", "IF 1 THEN"});
  const TCompileResult during = compiler.CompileProgram(input);
  EXPECT_TRUE(during.cancelled);
  EXPECT_FALSE(during.success);
  EXPECT_FALSE(during.error);

  // The next compilation starts afresh.
  cancel = false;
  input.source = Lines({"$ 1"});
  EXPECT_TRUE(compiler.CompileProgram(input).success);
}

}  // namespace
}  // namespace zarvek::test
