// zarvek-cli on project files: compile with modules, export, import.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_test_support.h"

namespace zarvek::cli {
namespace {


std::string NameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

class CliProject : public TCliTest {
 protected:
  CliProject() : TCliTest("compile") {}
};

TEST_F(CliProject, CompileTakesTheProfileFromTheFile) {
  const std::string project = File(".xml", ProjectXml("atmega-32", "DIM a[2] AS BYTE\r\na[1] = 1\r\n"));
  TRun r = Run({"--dump", project});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(r.out.starts_with("image: ")) << r.out;
  r = Run({"--profile", "tessel-1.1", project});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, project + ":1:6: Fehler 275: Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (Dim Array)\n");
  EXPECT_EQ(Run({"--asm", File(".asm", ""), project}).status, kExitUsage);
}

TEST_F(CliProject, ErrorsInsideAModuleNameTheModulesFile) {
  const std::string inner = File(".xml", ProjectXml("tessel-1.1", "MODULE leds\r\n\r\n  PRINT q\r\n"));
  const std::string outer = File(".xml", ProjectXml("tessel-1.1", "$INCLUDE \"" + NameOnly(inner) + "\"\r\n"));
  const std::string project = File(".xml", ProjectXml("tessel-1.1", "' main\r\n$INCLUDE \"" + NameOnly(outer) + "\"\r\n"));
  const TRun r = Run({project});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, std::filesystem::weakly_canonical(inner).string() + ":3:9: Fehler 101: leds - q unbekannt\n");

  // An assembler error inside a module: the module's file and its own line.
  const std::string code = File(".xml", ProjectXml("tessel-1.1", "", "start NOP\r\n      LDA #300\r\n"));
  const TRun a = Run({File(".xml", ProjectXml("tessel-1.1", "$INCLUDE \"" + NameOnly(code) + "\"\r\n", " NOP\r\n"))});
  EXPECT_EQ(a.status, kExitDiagnosed);
  EXPECT_TRUE(a.err.starts_with(std::filesystem::weakly_canonical(code).string() + ":2:")) << a.err;
}

TEST_F(CliProject, FilesThatAreNoProjects) {
  const std::string text = File(".xml", "<html></html>");
  const TRun r = Run({text});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, text + " ist keine Projektdatei.\n");
}

class CliExport : public TCliTest {
 protected:
  CliExport() : TCliTest("export") {}
};

TEST_F(CliExport, WritesTheCompiledProject) {
  const std::string project = File(".xml", ProjectXml("tessel-1.1", "$ 1, 2\r\n", " NOP\r\n"));
  const std::string out = File(".dat", "");
  const TRun r = Run({project, "-o", out});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(Slurp(out), "TESEL-BASIC\r\n4\r\n1 2 255 255 \r\n1\r\n157 \r\n");
  // A failing build writes nothing.
  const std::string bad = File(".dat", "old");
  EXPECT_EQ(Run({File(".xml", ProjectXml("tessel-1.1", "x = 1\r\n")), "-o", bad}).status, kExitDiagnosed);
  EXPECT_EQ(Slurp(bad), "old");
  EXPECT_EQ(Run({project}).status, kExitUsage);
}

class CliImport : public TCliTest {
 protected:
  CliImport() : TCliTest("import") {}
};

TEST_F(CliImport, ConvertsALegacyProject) {
  const std::string legacy = std::string("tsprojectfile10\x1B", 16) + std::string("\x00\x00\x05\x00\x00\x07\x00\x00\x00", 9) +
                             " NOP\n" + "PRINT 1" + "\x04";
  const std::string out = File(".xml", "previous");
  const TRun r = Run({File(".cpo", legacy), "-o", out});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(Slurp(out), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project><system>atmega-32</system><assembler><source> NOP\n</source><breakpoint></breakpoint>"
                            "</assembler><basic><source>PRINT 1</source><breakpoint></breakpoint></basic><simulator>"
                            "</simulator></project>");
  EXPECT_EQ(Slurp(std::filesystem::path(out).replace_extension(".BAK").string()), "previous");
  std::filesystem::remove(std::filesystem::path(out).replace_extension(".BAK"));

  const std::string foreign = File(".cpo", "nothing");
  const TRun bad = Run({foreign, "-o", out});
  EXPECT_EQ(bad.status, kExitDiagnosed);
  EXPECT_EQ(bad.err, foreign + " ist keine Projektdatei.\n");
}

}  // namespace
}  // namespace zarvek::cli
