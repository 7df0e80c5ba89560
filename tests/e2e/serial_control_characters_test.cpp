// Serial text with control characters, which the BASIC test programs cannot carry in
// their comments: a zero character inside a string, and lines that end with CR LF.
#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"

namespace zarvek::test {
namespace {

// The serial output of a program run on the Pyxon 32 with the given input.
std::string RunSource(const std::string& source, const std::string& input = "") {
  TCompiler compiler;
  TCompileInput in;
  in.source = source;
  in.profile = profile::Pyxon32;
  const TCompileResult compiled = compiler.CompileProgram(in);
  if (!compiled.success) return "error " + compiled.error->message.str();
  TProgramRunOptions options;
  options.input = input;
  options.maxTokens = 1'000'000;
  std::string output;
  options.output = [&](const std::string& text) { output += text; };
  const TProgramRunResult run =
      RunProgram(compiled.image, BuildLineTable(compiler, compiled), compiled.codeLength, compiled.tableLength, options);
  if (run.error) output += "[" + run.error->text + "]";
  return output;
}

TEST(SerialText, ZeroCharacterOfAStringConstantIsPrinted) {
  const std::string source =
      "CONST z$ = \"A\" + CHR$(0) + \"B\"\r\n"
      "DIM s$ AS STRING\r\n"
      "PRINT z$; \"|\";\r\n"
      "s$ = z$\r\n"
      "PRINT s$; LEN(s$)\r\n";
  EXPECT_EQ(RunSource(source), std::string("A\0B|A\0B3\r\n", 10));
}

TEST(SerialText, LineFeedsAreLeftOutOfInputLines) {
  const std::string source =
      "DIM a$, b$, c$\r\n"
      "DIM f$ AS STRING * 3\r\n"
      "INPUT a$, b$, c$, f$\r\n"
      "PRINT a$; \"|\"; b$; \"|\"; LEN(c$); \"|\"; f$\r\n";
  EXPECT_EQ(RunSource(source, "ab\r\ncd\r\n\r\nx\ny\r\n"), "ab|cd|0|xy\r\n");
}

}  // namespace
}  // namespace zarvek::test
