#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"

namespace zarvek::cli {
namespace {

namespace fs = std::filesystem;

struct TRun {
  int status;
  std::string out, err;
};

class CliCompile : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove(m_path); }
  std::string Source(const std::string& text) {
    m_path = fs::temp_directory_path() /
             (std::string("zarvek_compile_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bas");
    std::ofstream(m_path, std::ios::binary) << text;
    return m_path.string();
  }
  static TRun Run(std::vector<std::string> args) {
    std::ostringstream out, err;
    args.insert(args.begin(), "compile");
    const int status = Main(args, out, err);
    return {status, out.str(), err.str()};
  }

 private:
  fs::path m_path;
};

TEST_F(CliCompile, DumpPrintsTheImage) {
  const TRun r = Run({"--dump", Source("$ 1, &H2A\r\n")});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "image: 01 2A FF FF\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Run({Source("")}).out, "");  // without --dump nothing on stdout
}

TEST_F(CliCompile, ErrorsNameFileLineAndColumn) {
  const std::string path = Source("$ 1\r\n$CLOCK 3999\r\n");
  const TRun r = Run({"--profile", "atmega-128", path});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, path + ":2:8: Fehler 216: Die Taktrate (3999) muss zwischen 4000 und 16000 kHz liegen.\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(CliCompile, UnusedSymbolsAreWarningsNotErrors) {
  const std::string path = Source("DIM zahl AS BYTE\r\nCONST k = 3\r\n  DIM x AS BYTE = 5\r\nx = x + 1\r\n");
  const TRun r = Run({"--profile", "atmega-32", path});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.err, path + ":1:5: Warnung: zahl Variable wird nicht verwendet.\n" + path +
                       ":2:7: Warnung: k Konstante wird nicht verwendet.\n");
}

TEST_F(CliCompile, WithAnAssemblerPartTheDumpShowsItsCode) {
  const std::string basic = Source("CALL show\r\n");
  const std::string assembler = basic.substr(0, basic.size() - 4) + ".asm";
  std::ofstream(assembler, std::ios::binary) << " ORG $200\r\nshow NOP\r\n RTS\r\n";
  TRun r = Run({"--asm", assembler, "--dump", basic});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "image: 08 02 00 FF\nstart: 512\ncode: 9D 81\n");

  std::ofstream(assembler, std::ios::binary) << "show NOP\r\n LDA #300\r\n";
  r = Run({"--asm", assembler, basic});
  std::filesystem::remove(assembler);
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err.rfind(assembler + ":2:6: Assembler: ", 0), 0u) << r.err;
}

TEST_F(CliCompile, BadUsage) {
  EXPECT_EQ(Run({}).status, kExitUsage);
  EXPECT_EQ(Run({"--profile", "pyxon", Source("")}).status, kExitUsage);
  EXPECT_EQ(Run({"/nonexistent/x.bas"}).status, kExitDiagnosed);
}

}  // namespace
}  // namespace zarvek::cli
