// BASIC programs that carry their expected behaviour: each file in tests/programs/ is
// compiled for a Pyxon profile and run on the token machine. Directives in comments:
//   ' expect: TEXT          one line of serial output (lines end with CR LF)
//   ' input: TEXT           one line the program receives (sent with a CR)
//   ' expect error: TEXT    the runtime error that ends the run, and its line: @LINE
//   ' profile: atmega-128   the profile (atmega-32 by default; tessel-1.1 runs that
//                           profile's code on the token machine, to check sequences the
//                           compiler generates for it, until the build carries the board's
//                           runtime: then the board runs it and the token machine runs it
//                           compiled for Pyxon 32; tessel-micro likewise)
//   ' interrupt after: N    raise interrupt 0 once N tokens have run
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "program_corpus.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"
#include "simulation/tessel_runtime.h"

namespace zarvek::test {
namespace {

class BasicProgram : public ::testing::TestWithParam<TProgramCase> {};

TEST_P(BasicProgram, RunsAsItsCommentsSay) {
  std::ifstream file(GetParam().path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  const std::string source = content.str();
  const TExpectation expected = ReadExpectation(source);
  // Code for a Tessel board runs on the emulated board (TesselProgram) once the build has
  // its runtime; here the same program then runs as Pyxon code, for the comparison.
  const TProfile machineProfile =
      !IsPyxon(expected.profile) && TesselRuntimeFor(expected.profile) ? profile::Pyxon32 : expected.profile;

  TCompiler compiler;
  TCompileInput input;
  input.source = source;
  input.profile = machineProfile;
  TCompileResult compiled = compiler.CompileProgram(input);
  if (!compiled.success && machineProfile != expected.profile)
    GTEST_SKIP() << "Tessel code only, run on the emulated board: " << compiled.error->message;
  ASSERT_TRUE(compiled.success) << compiled.error->line << ":" << compiled.error->column << ": "
                                << compiled.error->message.str();
  ASSERT_TRUE(compiler.LinkAndWarn(compiled.image, {}, false).success);

  TProgramRunOptions options;
  options.machine = machineProfile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
  options.input = expected.input;
  options.maxTokens = 20'000'000;
  std::string output;
  options.output = [&](const std::string& text) { output += text; };
  size_t nextInterrupt = 0;
  options.everySlice = [&](TInterpreter& machine, uint64_t tokens) {
    if (nextInterrupt < expected.interrupts.size() && tokens >= expected.interrupts[nextInterrupt]) {
      machine.RaiseInterrupt();
      ++nextInterrupt;
    }
  };
  const TProgramRunResult run = RunProgram(compiled.image, BuildLineTable(compiler, compiled), compiled.codeLength,
                                           compiled.tableLength, options);
  EXPECT_EQ(SplitLines(output), expected.output);
  if (expected.error.empty()) {
    EXPECT_FALSE(run.error) << run.error->text;
  } else {
    ASSERT_TRUE(run.error) << "the program ran without the expected error";
    EXPECT_EQ(run.error->text, expected.error);
    if (expected.errorLine > 0) {
      EXPECT_EQ(compiler.Locate(static_cast<int32_t>(run.error->statement.sourcePosition)).line, expected.errorLine);
    }
  }
  EXPECT_LT(run.tokens, *options.maxTokens) << "the program did not end";
}

INSTANTIATE_TEST_SUITE_P(Programs, BasicProgram, ::testing::ValuesIn(ProgramFiles()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zarvek::test
