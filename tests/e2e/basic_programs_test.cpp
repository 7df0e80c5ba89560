// BASIC programs that carry their expected behaviour (program_cases.h) run on the token
// machine and do what their comments say.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"
#include "program_cases.h"

namespace zarvek::test {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class BasicProgram : public ::testing::TestWithParam<TProgramCase> {};

TEST_P(BasicProgram, RunsAsItsCommentsSay) {
  std::ifstream file(GetParam().path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  const std::string source = content.str();
  const TExpectation expected = ReadExpectation(source);

  TCompiler compiler;
  TCompileInput input;
  input.source = source;
  input.profile = expected.profile;
  TCompileResult compiled = compiler.CompileProgram(input);
  ASSERT_TRUE(compiled.success) << compiled.error->line << ":" << compiled.error->column << ": "
                                << compiled.error->message.str();
  ASSERT_TRUE(compiler.LinkAndWarn(compiled.image, {}, false).success);

  TProgramRunOptions options;
  options.machine = expected.profile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
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
