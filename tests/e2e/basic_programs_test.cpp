// BASIC programs that carry their expected behaviour: each file in tests/programs/ is
// compiled for a Pyxon profile and run on the token machine. Directives in comments:
//   ' expect: TEXT          one line of serial output (lines end with CR LF)
//   ' input: TEXT           one line the program receives (sent with a CR)
//   ' expect error: TEXT    the runtime error that ends the run, and its line: @LINE
//   ' profile: atmega-128   the profile (atmega-32 by default; tessel-1.1 runs that
//                           profile's code on the token machine, to check sequences the
//                           compiler generates for it)
//   ' interrupt after: N    raise interrupt 0 once N tokens have run
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"

namespace zarvek::test {
namespace {

namespace fs = std::filesystem;

struct TProgramCase {
  std::string name;
  fs::path path;
};

std::vector<TProgramCase> ProgramFiles() {
  std::vector<TProgramCase> cases;
  for (const auto& entry : fs::directory_iterator(ZARVEK_SOURCE_DIR "/tests/programs"))
    if (entry.path().extension() == ".bas") cases.push_back({entry.path().stem().string(), entry.path()});
  std::sort(cases.begin(), cases.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return cases;
}

struct TExpectation {
  std::vector<std::string> output;
  std::string input;
  std::string error;
  int errorLine = 0;
  uint8_t profile = profile::Pyxon32;
  std::vector<uint64_t> interrupts;
};

TExpectation ReadExpectation(const std::string& source) {
  TExpectation e;
  std::istringstream lines(source);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto take = [&](const std::string& key, std::string& value) {
      const size_t at = line.find("' " + key + ":");
      if (at == std::string::npos) return false;
      value = line.substr(at + key.size() + 3);
      if (!value.empty() && value[0] == ' ') value.erase(0, 1);
      return true;
    };
    std::string value;
    if (take("expect", value)) e.output.push_back(value);
    else if (take("input", value)) e.input += value + "\r";
    else if (take("profile", value))
      e.profile = value == "atmega-128" ? profile::Pyxon128 : value == "tessel-1.1" ? profile::Tessel11 : profile::Pyxon32;
    else if (take("interrupt after", value)) e.interrupts.push_back(std::stoull(value));
    else if (take("expect error", value)) {
      const size_t at = value.rfind(" @");
      e.error = value.substr(0, at);
      if (at != std::string::npos) e.errorLine = std::stoi(value.substr(at + 2));
    }
  }
  return e;
}

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
                                << compiled.error->message;
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
