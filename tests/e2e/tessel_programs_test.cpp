// The programs of tests/programs on the emulated Tessel boards: every program that compiles
// for Tessel 1.1, and for Tessel Micro, must print there what it prints on the token
// machine (the output its comments give, which the token machine's own run checks). None
// of them reaches a value where the board's 16-bit cells would print differently; a
// program that does belongs in the board's own tests, not here.
#include <gtest/gtest.h>

#include <fstream>

#include "pipeline/build.h"
#include "program_corpus.h"
#include "simulation/line_table.h"
#include "simulation/tessel_runner.h"
#include "simulation/tessel_runtime.h"

namespace zarvek::test {
namespace {

struct TBoardCase {
  TProgramCase program;
  TProfile profile = profile::Tessel11;
  std::string Name() const { return program.name + (profile == profile::Tessel11 ? "_tessel11" : "_micro"); }
};

void PrintTo(const TBoardCase& c, std::ostream* os) { *os << c.Name(); }

std::vector<TBoardCase> BoardCases() {
  std::vector<TBoardCase> cases;
  for (const TProgramCase& p : ProgramFiles()) {
    cases.push_back({p, profile::Tessel11});
    cases.push_back({p, profile::TesselMicro});
  }
  return cases;
}

class TesselProgram : public ::testing::TestWithParam<TBoardCase> {};

TEST_P(TesselProgram, PrintsWhatTheTokenMachinePrints) {
  const TBoardCase& c = GetParam();
  std::ifstream file(c.program.path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  const std::string source = content.str();
  const TExpectation expected = ReadExpectation(source);
  if (!IsPyxon(expected.profile) && expected.profile != c.profile) GTEST_SKIP() << "written for the other board";

  TBuilder builder;
  TBuildInput input;
  input.basicSource = source;
  input.profile = c.profile;
  input.warnings = false;
  const TBuildResult built = builder.Build(input);
  if (!built.success) {
    GTEST_SKIP() << "does not compile for this board: "
                 << (built.basicError ? built.basicError->message.str() : std::string("assembler"));
  }
  std::string why;
  const auto runtime = TesselRuntimeFor(c.profile, &why);
  if (!runtime) GTEST_SKIP() << why;

  TTesselProgram program;
  program.image = built.program.image;
  program.eepromSize = built.program.eepromSize;
  program.lines = BuildLineTable(builder.Compiler(), built.program);
  TTesselRunOptions options;
  options.points = runtime->points;
  options.input = expected.input;
  options.maxTokens = 20'000'000;
  options.timeoutSeconds = 600;  // of the board's time
  std::string output;
  options.output = [&](const std::string& text) { output += text; };
  size_t nextInterrupt = 0;
  options.everyTick = [&](TTesselLoop& loop, TSimulatedHardware& hw) {
    // The button is pressed for one tick once the token count is reached.
    hw.interruptLine = 0;
    if (nextInterrupt < expected.interrupts.size() && loop.Tokens() >= expected.interrupts[nextInterrupt]) {
      hw.interruptLine = 1;
      ++nextInterrupt;
    }
  };
  const TTesselRunResult run = RunTesselProgram(runtime->image, program, options);

  EXPECT_EQ(SplitLines(output), expected.output);
  if (expected.error.empty()) {
    EXPECT_FALSE(run.error) << run.error->text << " " << run.registerLine;
  } else {
    ASSERT_TRUE(run.error) << "the program ran without the expected error";
    EXPECT_EQ(run.error->text, expected.error);
    if (expected.errorLine > 0) {
      EXPECT_EQ(builder.Compiler().Locate(static_cast<int32_t>(run.error->statement.sourcePosition)).line,
                expected.errorLine);
    }
  }
  EXPECT_LT(run.tokens, *options.maxTokens) << "the program did not end";
}

INSTANTIATE_TEST_SUITE_P(Boards, TesselProgram, ::testing::ValuesIn(BoardCases()),
                         [](const auto& info) { return info.param.Name(); });

}  // namespace
}  // namespace zarvek::test
