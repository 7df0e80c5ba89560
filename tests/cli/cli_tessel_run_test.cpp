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
}

}  // namespace
}  // namespace zarvek::cli
