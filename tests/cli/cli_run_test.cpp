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
