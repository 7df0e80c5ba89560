#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_test_support.h"
#include "token_program.h"

namespace zarvek::cli {
namespace {

using test::TTokenProgram;
class CliRun : public TCliTest {
 protected:
  CliRun() : TCliTest("run") {}
};

TEST_F(CliRun, RuntimeErrorGoesToStderrAfterTheOutputSoFar) {
  TTokenProgram p;
  p.PrintStr("vorher").Byte(0x00);  // 0x00 is no token
  const TRun r = Run({File(".bin", p.Image())});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.out, "vorher");
  EXPECT_EQ(r.err, "Laufzeitfehler bei Adresse 12: Unbehandelter, kritischer Fehler: Ungültiges Token\n");
}

TEST_F(CliRun, InputFeedsTheProgramAndTheRunEndsWhenItIsUsedUp) {
  // Reads numbers and prints their running sum until the input is used up.
  TTokenProgram p;
  p.PushB(0).Label("loop").Op(tok::INPUTNUM).Op(tok::ADD).Op(tok::DUP).Op(tok::PRINTNUM).PrintStr(";").To(tok::GOTO, "loop");
  const TRun r = Run({"--input", "12\\r30\\r\\x2D2\\r", File(".bin", p.Image())});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "12;42;40;");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliRun, LongInputIsNotLostInTheReceiveBuffer) {
  // Echoes every character; 100 characters are far more than the 32-byte buffer holds.
  TTokenProgram p;
  p.Label("loop").Op(tok::GETCHAR).Op(tok::PUTCHAR).To(tok::GOTO, "loop");
  const std::string text(100, 'x');
  const TRun r = Run({"--input", text + "!", File(".bin", p.Image())});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, text + "!");
}

TEST_F(CliRun, EndlessProgramsStopAtTheTokenOrTimeLimit) {
  TTokenProgram counter;  // prints a dot every 200 ms of simulated time
  counter.Label("loop").PrintStr(".").PushB(10).Op(tok::PAUSE).To(tok::GOTO, "loop");
  const std::string counterImage = File(".bin", counter.Image());

  const TRun byTokens = Run({"--max-tokens", "9", counterImage});
  EXPECT_EQ(byTokens.status, kExitOk);
  EXPECT_EQ(byTokens.out, "...");

  // Virtual time: a full second of PAUSEs costs no wall time.
  const TRun byTime = Run({"--timeout", "1", counterImage});
  EXPECT_EQ(byTime.status, kExitOk);
  EXPECT_GE(byTime.out.size(), 4u);
  EXPECT_LE(byTime.out.size(), 6u);

  TTokenProgram spin;  // no output, no sleep: only the token cost moves the clock
  spin.Label("loop").To(tok::GOTO, "loop");
  EXPECT_EQ(Run({"--timeout", "0.5", File(".bin", spin.Image())}).status, kExitOk);
}

TEST_F(CliRun, BasicFilesAreCompiledAndErrorsNameTheirLine) {
  const std::string basic = File(".bas", "DIM x AS BYTE\r\nx = 5\r\n$ 0\r\n");
  const TRun failing = Run({basic});
  EXPECT_EQ(failing.status, kExitDiagnosed);
  EXPECT_EQ(failing.err, basic + ":3:1: Laufzeitfehler: Unbehandelter, kritischer Fehler: Ungültiges Token\n");

  const std::string broken = File(".BAS", "$CLOCK 1\r\n");
  const TRun notCompiled = Run({broken});
  EXPECT_EQ(notCompiled.status, kExitDiagnosed);
  EXPECT_EQ(notCompiled.err, broken + ":1:8: Fehler 216: Die Taktrate (1) muss zwischen 4000 und 16000 kHz liegen.\n");
}

TEST_F(CliRun, BasicAndProjectFilesAreBuiltAsCompileBuildsThemWithModules) {
  const std::string module = File(".xml", ProjectXml("tessel-1.1", "CONST gruss = 42\r\nPRINT \"hallo\"\r\n"));
  const std::string include = "$INCLUDE \"" + std::filesystem::path(module).filename().string() + "\"\r\n";
  const TRun basic = Run({File(".bas", include + "PRINT gruss\r\n")});
  EXPECT_EQ(basic.status, kExitOk) << basic.err;
  EXPECT_EQ(basic.out, "hallo\r\n42\r\n");
  // A project file with its profile; the module's runtime error names the module's file.
  const TRun project = Run({File(".xml", ProjectXml("atmega-128", include + "PRINT gruss + 1\r\n"))});
  EXPECT_EQ(project.status, kExitOk) << project.err;
  EXPECT_EQ(project.out, "hallo\r\n43\r\n");
  const std::string failing = File(".xml", ProjectXml("tessel-1.1", "PRINT 1\r\n$ 0\r\n"));
  const std::string outer = File(".XML", ProjectXml("atmega-32", "$INCLUDE \"" + std::filesystem::path(failing).filename().string() + "\"\r\n"));
  const TRun error = Run({outer});
  EXPECT_EQ(error.status, kExitDiagnosed);
  EXPECT_EQ(error.out, "1\r\n");
  EXPECT_EQ(error.err, std::filesystem::weakly_canonical(failing).string() +
                           ":2:1: Laufzeitfehler: Unbehandelter, kritischer Fehler: Ungültiges Token\n");
}

TEST_F(CliRun, OnlyFilesNamedBinOrGivenWithImageAreProgramImages) {
  TTokenProgram p;
  p.PrintStr("roh").Op(tok::END);
  // Any other name would run a text's bytes as tokens.
  const std::string other = File(".txt", p.Image());
  const TRun refused = Run({other});
  EXPECT_EQ(refused.status, kExitUsage);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("unbekannte Dateiart: " + other), std::string::npos) << refused.err;
  EXPECT_EQ(Run({"--image", other}).out, "roh");
  EXPECT_EQ(Run({File(".BIN", p.Image())}).out, "roh");
  // A project is never taken as an image, even one that is no project.
  const std::string fake = File(".xml", p.Image());
  const TRun notProject = Run({fake});
  EXPECT_EQ(notProject.status, kExitDiagnosed);
  EXPECT_EQ(notProject.err, fake + " ist keine Projektdatei.\n");
}

TEST_F(CliRun, AProjectRunsOnTheBoardItNamesUnlessTheProfileIsGiven) {
  const std::string project = File(".xml", ProjectXml("tessel-1.1", "PRINT 7\r\n"));
  const TRun onBoard = Run({project});
  EXPECT_EQ(onBoard.status, kExitOk) << onBoard.err;
  EXPECT_EQ(onBoard.out, "7\r\n");
  const TRun tessel20 = Run({File(".xml", ProjectXml("tessel-2.0", "PRINT 7\r\n"))});
  EXPECT_EQ(tessel20.status, kExitUsage);
  EXPECT_NE(tessel20.err.find("Tessel 2.0"), std::string::npos) << tessel20.err;
  const TRun overridden = Run({"--profile", "atmega-32", project});
  EXPECT_EQ(overridden.status, kExitOk) << overridden.err;
  EXPECT_EQ(overridden.out, "7\r\n");
}

TEST_F(CliRun, TheMachinesClosingTextIsNotProgramOutput) {
  TTokenProgram p;
  p.PrintStr("ok").Op(tok::END);
  EXPECT_EQ(Run({"--profile", "atmega-128", File(".bin", p.Image())}).out, "ok");
}

TEST_F(CliRun, BadUsageAndBadFilesAreDiagnosed) {
  const std::string image = File(".bin", std::string(1, static_cast<char>(tok::END)));
  EXPECT_EQ(Run({}).status, kExitUsage);
  EXPECT_EQ(Run({"--frobnicate", image}).status, kExitUsage);
  EXPECT_EQ(Run({"--max-tokens", "viele", image}).status, kExitUsage);
  EXPECT_EQ(Run({"--input", "\\q", image}).status, kExitUsage);
  EXPECT_EQ(Run({"--input"}).status, kExitUsage);
  const TRun tessel = Run({"--profile", "tessel-2.0", image});
  EXPECT_EQ(tessel.status, kExitUsage);
  EXPECT_NE(tessel.err.find("Tessel 2.0"), std::string::npos);

  const TRun missing = Run({"/nonexistent/zarvek.bin"});
  EXPECT_EQ(missing.status, kExitDiagnosed);
  EXPECT_NE(missing.err.find("/nonexistent/zarvek.bin"), std::string::npos);

  const TRun tooLarge = Run({File(".bin", std::string(32742, '\x57'))});
  EXPECT_EQ(tooLarge.status, kExitDiagnosed);
  EXPECT_NE(tooLarge.err.find("zu groß"), std::string::npos);
}

TEST(CliMain, UnknownCommandIsBadUsageAndHelpIsNot) {
  std::ostringstream out, err;
  EXPECT_EQ(Main({"frobnicate"}, out, err), kExitUsage);
  EXPECT_EQ(Main({"--help"}, out, err), kExitOk);
  EXPECT_NE(out.str().find("run"), std::string::npos);
}

}  // namespace
}  // namespace zarvek::cli
