#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_test_support.h"

namespace zarvek::cli {
namespace {

class CliCompile : public TCliTest {
 protected:
  CliCompile() : TCliTest("compile") {}
};

TEST_F(CliCompile, DumpPrintsTheImage) {
  const TRun r = Run({"--dump", File(".bas", "$ 1, &H2A\r\n")});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "image: 01 2A FF FF\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Run({File(".bas", "")}).out, "");  // without --dump nothing on stdout
}

TEST_F(CliCompile, ErrorsNameFileLineAndColumn) {
  const std::string path = File(".bas", "$ 1\r\n$CLOCK 3999\r\n");
  const TRun r = Run({"--profile", "atmega-128", path});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, path + ":2:8: Fehler 216: Die Taktrate (3999) muss zwischen 4000 und 16000 kHz liegen.\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(CliCompile, UnusedSymbolsAreWarningsNotErrors) {
  const std::string path = File(".bas", "DIM zahl AS BYTE\r\nCONST k = 3\r\n  DIM x AS BYTE = 5\r\nx = x + 1\r\n");
  const TRun r = Run({"--profile", "atmega-32", path});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.err, path + ":1:5: Warnung: zahl Variable wird nicht verwendet.\n" + path +
                       ":2:7: Warnung: k Konstante wird nicht verwendet.\n");
}

TEST_F(CliCompile, WithAnAssemblerPartTheDumpShowsItsCode) {
  const std::string basic = File(".bas", "CALL show\r\n");
  TRun r = Run({"--asm", File(".asm", " ORG $200\r\nshow NOP\r\n RTS\r\n"), "--dump", basic});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "image: 08 02 00 FF\nstart: 512\ncode: 9D 81\n");

  const std::string broken = File(".asm", "show NOP\r\n LDA #300\r\n");
  r = Run({"--asm", broken, basic});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err.rfind(broken + ":2:6: Assembler: ", 0), 0u) << r.err;
}

TEST_F(CliCompile, BadUsage) {
  EXPECT_EQ(Run({}).status, kExitUsage);
  EXPECT_EQ(Run({"--profile", "pyxon", File(".bas", "")}).status, kExitUsage);
  EXPECT_EQ(Run({"/nonexistent/x.bas"}).status, kExitDiagnosed);
}

}  // namespace
}  // namespace zarvek::cli
