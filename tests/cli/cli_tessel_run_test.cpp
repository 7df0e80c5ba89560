// zarvek-cli run on the emulated Tessel board: profile choice, refusals and diagnostics.
#include <gtest/gtest.h>

#include "base/profile.h"
#include "cli_test_support.h"
#include "simulation/tessel_runtime.h"

namespace zarvek::cli {
namespace {

class CliTesselRun : public TCliTest {
 protected:
  CliTesselRun() : TCliTest("run") {}
};

TEST_F(CliTesselRun, Tessel20CompilesButIsNotSimulated) {
  const std::string bas = File(".bas", "PRINT \"x\"\r\n");
  const TRun r = Run({"--profile", "tessel-2.0", bas});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("Tessel 2.0 lassen sich übersetzen, aber nicht simulieren"), std::string::npos) << r.err;
  std::ostringstream out, err;
  EXPECT_EQ(Main({"compile", "--profile", "tessel-2.0", bas}, out, err), kExitOk) << err.str();
}

TEST_F(CliTesselRun, UsageAndCompileErrorsAreReportedAsForTheTokenMachine) {
  const std::string bas = File(".bas", "PRINT \"x\"\r\n");
  EXPECT_EQ(Run({"--profile", "tessel-1.1", "--bogus", bas}).status, kExitUsage);
  EXPECT_EQ(Run({"--profile", "tessel-1.1", "--timeout", "x", bas}).status, kExitUsage);
  EXPECT_EQ(Run({"--profile", "tessel-micro"}).status, kExitUsage);
  const TRun bad = Run({"--profile", "tessel-1.1", File(".bas", "PRINT \"x\"\r\nGOTO nirgends\r\n")});
  EXPECT_EQ(bad.status, kExitDiagnosed);
  EXPECT_NE(bad.err.find(":2:"), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find(": Fehler "), std::string::npos) << bad.err;
}

TEST_F(CliTesselRun, AProgramRunsOnTheEmulatedBoard) {
  const std::string bas = File(".bas", "PRINT \"hallo\"\r\n");
  const TRun r = Run({"--profile", "tessel-1.1", "--timeout", "5", bas});
  std::string why;
  if (!TesselRuntimeFor(profile::Tessel11, &why)) {
    // Without the board's operating system in the build the run says so and runs nothing.
    EXPECT_EQ(r.status, kExitDiagnosed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, bas + ": " + why + "\n");
    GTEST_SKIP() << why;
  }
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "hallo\r\n");
  EXPECT_EQ(r.err, "");
}

class CliTesselBoard : public CliTesselRun {
 protected:
  void SetUp() override {
    std::string why;
    if (!TesselRuntimeFor(profile::Tessel11, &why)) GTEST_SKIP() << why;
  }
};

TEST_F(CliTesselBoard, PreparedInputWaitsForRoomInTheBoardsReceiveBuffer) {
  // The program is busy before it reads; 20 characters are more than the board buffers.
  const std::string bas = File(".bas",
                               "DIM i, a, s AS INTEGER\r\n"
                               "FOR i = 1 TO 300\r\nNEXT i\r\n"
                               "FOR i = 1 TO 5\r\n  INPUT a\r\n  s = s + a\r\nNEXT i\r\n"
                               "PRINT s\r\n"
                               "INPUT a\r\n");
  const TRun r = Run({"--profile", "tessel-1.1", "--input", "100\\r200\\r300\\r400\\r500\\r", bas});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "1500\r\n");  // and the run ended waiting for more input
}

TEST_F(CliTesselBoard, RuntimeErrorsNameTheirStatementAndLimitsEndEndlessPrograms) {
  const TRun error = Run({"--profile", "tessel-micro", File(".bas", "DIM x AS BYTE\r\nPRINT \"a\"\r\n$ 0\r\n")});
  EXPECT_EQ(error.status, kExitDiagnosed);
  EXPECT_EQ(error.out, "a\r\n");
  EXPECT_NE(error.err.find(".bas:3:1: Laufzeitfehler: Unbehandelter, kritischer Fehler: Ungültiges Token\n"),
            std::string::npos)
      << error.err;

  const std::string dots = File(".bas", "DO\r\n  PRINT \".\";\r\n  PAUSE 10\r\nLOOP\r\n");
  const TRun byTime = Run({"--profile", "tessel-1.1", "--timeout", "1", dots});  // PAUSE 10 is 200 ms
  EXPECT_EQ(byTime.status, kExitOk);
  EXPECT_GE(byTime.out.size(), 5u);
  EXPECT_LE(byTime.out.size(), 6u);
  const TRun byTokens = Run({"--profile", "tessel-1.1", "--max-tokens", "1", dots});
  EXPECT_EQ(byTokens.status, kExitOk);
  EXPECT_EQ(byTokens.out, ".");  // the first token prints; the second is not fetched
}

TEST_F(CliTesselBoard, AProjectRunsOnTheBoardItNamesWithItsAssemblerPart) {
  const std::string project = File(
      ".xml",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project><system>tessel-micro</system><assembler><source>"
      "seven LDA #7\r\n      STA $D0\r\n      RTS\r\n</source></assembler><basic><source>"
      "DIM a AS BYTE\r\nCALL seven\r\nPRINT \"micro\"\r\n</source></basic></project>");
  const TRun r = Run({project});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "micro\r\n");
}

TEST_F(CliTesselBoard, WhatDoesNotFitTheBoardIsRefusedBeforeAnythingRuns) {
  const std::string image = File(".bin", std::string(8189, '\xFF'));
  const TRun r = Run({"--profile", "tessel-1.1", image});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, image + ": EEPROM ist zu klein (8192 Bytes).\n");

  // Machine code outside the user area would overwrite the operating system.
  const std::string bas = File(".bas", "DIM a AS BYTE\r\nCALL far\r\n");
  const TRun far = Run({"--profile", "tessel-1.1", "--asm", File(".asm", " ORG $0900\r\nfar RTS\r\n"), bas});
  EXPECT_EQ(far.status, kExitDiagnosed);
  EXPECT_EQ(far.err, bas + ": Der Maschinencode passt nicht in den Bereich $0100 bis $01FF des Controllers.\n");
  const TRun last = Run({"--profile", "tessel-1.1", "--asm", File(".asm", " ORG $01FF\r\nfar RTS\r\n"), bas});
  EXPECT_EQ(last.status, kExitOk) << last.err;
}

TEST_F(CliTesselBoard, MachineCodeOfTheAssemblerPartRunsBesideTheProgram) {
  const std::string bas = File(".bas", "DIM a AS BYTE\r\nCALL fill\r\nPRINT \"ok\"\r\n");
  const TRun ok = Run({"--profile", "tessel-1.1", "--asm", File(".asm", "fill LDA #1\r\n     STA $CB\r\n     RTS\r\n"), bas});
  EXPECT_EQ(ok.status, kExitOk) << ok.err;
  EXPECT_EQ(ok.out, "ok\r\n");

  // A write the controller refuses is reported with the statement and the register line.
  const TRun refused = Run({"--profile", "tessel-1.1", "--asm", File(".asm", "fill STA $30\r\n     RTS\r\n"), bas});
  EXPECT_EQ(refused.status, kExitDiagnosed);
  EXPECT_NE(refused.err.find(":2:1: Laufzeitfehler: Zugriffsverletzung"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("PC = 0101h"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace zarvek::cli
