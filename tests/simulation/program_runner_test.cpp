#include <gtest/gtest.h>

#include "runtime/token_program.h"
#include "simulation/program_runner.h"

namespace zarvek::test {
namespace {

TProgramRunResult RunTokens(const TTokenProgram& p, TProgramRunOptions options, std::string* output = nullptr) {
  if (output) options.output = [output](const std::string& text) { *output += text; };
  return RunProgram(p.Image(), p.Lines(), 0, 0, std::move(options));
}

TEST(ProgramRunner, TellsWhyTheRunEnded) {
  TTokenProgram ends;
  ends.Statement(1).PrintStr("hi").Op(tok::END);
  std::string output;
  TProgramRunResult r = RunTokens(ends, {}, &output);
  EXPECT_EQ(r.outcome, TProgramRunEnd::Ended);
  EXPECT_EQ(output, "hi");

  TTokenProgram reads;
  reads.Statement(1).Label("next").Op(tok::GETCHAR).Op(tok::PUTCHAR).To(tok::GOTO, "next");
  TProgramRunOptions withInput;
  withInput.input = "abc";
  output.clear();
  r = RunTokens(reads, withInput, &output);
  EXPECT_EQ(r.outcome, TProgramRunEnd::InputUsedUp);
  EXPECT_EQ(output, "abc");

  TTokenProgram loops;
  loops.Statement(1).Label("self").To(tok::GOTO, "self");
  TProgramRunOptions limited;
  limited.maxTokens = 10'000;
  r = RunTokens(loops, limited);
  EXPECT_EQ(r.outcome, TProgramRunEnd::TokenLimit);
  EXPECT_EQ(r.tokens, 10'000u);
  limited.maxTokens.reset();
  limited.timeoutSeconds = 0.01;  // virtual time: 10,000 tokens of 1 µs
  EXPECT_EQ(RunTokens(loops, limited).outcome, TProgramRunEnd::TimeLimit);
}

TEST(ProgramRunner, ARuntimeErrorEndsTheRunWithItsNumberAndPlace) {
  TTokenProgram p;
  p.Statement(1).PrintStr("a");
  p.Statement(2).Op(tok::SETBAUD, 13);  // invalid baud code: a report
  p.Statement(3).PrintStr("b").Op(tok::END);
  TProgramRunOptions options;
  options.locator = [](const TLinePosition& at) -> std::optional<TStatementPlace> {
    return TStatementPlace{"x.bas", at.sourcePosition - 1000, 1};
  };
  std::string output;
  const TProgramRunResult r = RunTokens(p, options, &output);
  EXPECT_EQ(r.outcome, TProgramRunEnd::RuntimeError);
  EXPECT_EQ(output, "a");
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->number, 14);
  EXPECT_EQ(r.error->text, "Ungültige Baudrate");
  EXPECT_EQ(r.error->address, 4 + 3);
  ASSERT_TRUE(r.error->place);
  EXPECT_EQ(r.error->place->file, "x.bas");
  EXPECT_EQ(r.error->place->line, 2u);
}

}  // namespace
}  // namespace zarvek::test
