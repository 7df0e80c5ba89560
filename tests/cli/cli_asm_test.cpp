#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_test_support.h"

namespace zarvek::cli {
namespace {

class CliAsm : public TCliTest {
 protected:
  CliAsm() : TCliTest("asm") {}
};

TEST_F(CliAsm, DumpShowsStartAndCodeForEveryLineEnding) {
  const TRun r = Run({"--dump", File("a.asm", " ORG $200\r\nloop LDA #1\rSTA2 STA $80\n BRA loop\n")});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "start: 512\ncode: A6 01 B7 80 20 FA\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Run({File("b.asm", " NOP\n")}).out, "");  // without --dump nothing on stdout
}

TEST_F(CliAsm, ErrorsNameFileLineAndTheFaultyFieldsColumn) {
  const std::string path = File("e.asm", " NOP\r\n\r\n  LDA   #$100 ; too big\r\n");
  const TRun r = Run({path});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, path + ":3:9: Assembler: #$100 - Der Wert (Byte) muss im Bereich #0...#255 liegen.\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(CliAsm, DefineLooksBesideTheSource) {
  const std::string inc = File("ports.inc", "");
  const std::string name = std::filesystem::path(inc).filename().string();
  EXPECT_EQ(Run({File("d.asm", " DEFINE \"" + name + "\"\n")}).status, kExitOk);
  EXPECT_EQ(Run({File("m.asm", " DEFINE \"missing.inc\"\n")}).status, kExitDiagnosed);
}

TEST_F(CliAsm, BadUsage) {
  EXPECT_EQ(Run({}).status, kExitUsage);
  EXPECT_EQ(Run({"--list", "x.asm"}).status, kExitUsage);
  EXPECT_EQ(Run({"a.asm", "b.asm"}).status, kExitUsage);
  EXPECT_EQ(Run({"/nonexistent/zarvek.asm"}).status, kExitDiagnosed);
}

}  // namespace
}  // namespace zarvek::cli
