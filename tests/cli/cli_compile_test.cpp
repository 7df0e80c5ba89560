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

TEST_F(CliCompile, MemoryDumpPrintsTheTokenView) {
  const std::string path = File(".bas", "DIM g AS BYTE\r\ng = 3\r\n");
  TRun r = Run({"--memory-dump", "--profile", "atmega-32", path});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out.rfind("---- globaler Variablen Speicher ---\r\n255 0 0 ", 0), 0u) << r.out.substr(0, 80);
  EXPECT_NE(r.out.find("\r\n - Extern EEPROM - \r\n"), std::string::npos);
  // The image closes it in decimal, as --dump shows it in hex.
  EXPECT_EQ(Run({"--dump", "--profile", "atmega-32", path}).out, "image: 5A 03 5A 00 5F 00 FF FF\n");
  EXPECT_TRUE(r.out.ends_with("\r\n90, 3, 90, 0, 95, 0, 255, 255\r\n")) << r.out.substr(r.out.size() - 40);

  // Too long a program: no dump, and stderr says why.
  std::string big = "$ 1";
  for (int k = 1; k < 6000; ++k) big += k % 100 ? ", 1" : "\r\n$ 1";
  r = Run({"--memory-dump", File(".bas", big + "\r\n")});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("kein Speicherabbild"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace zarvek::cli
