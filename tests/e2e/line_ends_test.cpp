// A line ends at CR, at LF or at CR LF: every example and test program compiles to the
// same image and runs with the same output whichever line ends its text uses.
#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "pipeline/build.h"
#include "pipeline/project_modules.h"
#include "project/project_file.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"
#include "program_corpus.h"

namespace zarvek::test {
namespace {

enum class TLineEnd { CrLf, Lf, Cr };

std::string WithLineEnds(const std::string& text, TLineEnd kind) {
  const std::string end = kind == TLineEnd::CrLf ? "\r\n" : kind == TLineEnd::Lf ? "\n" : "\r";
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += end;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

constexpr TLineEnd kLineEnds[] = {TLineEnd::CrLf, TLineEnd::Lf, TLineEnd::Cr};
const char* const kLineEndNames[] = {"CR LF", "LF", "CR"};

struct TOutcome {
  std::string image;
  std::string output;  // serial output, then the runtime error if one ended the run
};

TOutcome RunCompiled(const TCompiler& compiler, const TCompileResult& compiled, const TExpectation& expected) {
  TProgramRunOptions options;
  options.machine = expected.profile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
  options.input = expected.input;
  options.maxTokens = 5'000'000;
  TOutcome outcome{compiled.image, {}};
  options.output = [&](const std::string& text) { outcome.output += text; };
  size_t nextInterrupt = 0;
  options.everySlice = [&](TInterpreter& machine, uint64_t tokens) {
    if (nextInterrupt < expected.interrupts.size() && tokens >= expected.interrupts[nextInterrupt]) {
      machine.RaiseInterrupt();
      ++nextInterrupt;
    }
  };
  const TProgramRunResult run = RunProgram(compiled.image, BuildLineTable(compiler, compiled), compiled.codeLength,
                                           compiled.tableLength, options);
  if (run.error) {
    const TSourceLocation at = compiler.Locate(static_cast<int32_t>(run.error->statement.sourcePosition));
    outcome.output += "\nruntime error at line " + std::to_string(at.line) + ": " + run.error->text;
  }
  return outcome;
}

TOutcome CompileAndRun(const std::string& source, const TExpectation& expected) {
  TCompiler compiler;
  TCompileInput input;
  input.source = source;
  input.profile = expected.profile;
  const TCompileResult compiled = compiler.CompileProgram(input);
  if (!compiled.success)
    return {"", "compile error " + std::to_string(compiled.error->code) + " at " + std::to_string(compiled.error->line) +
                    ":" + std::to_string(compiled.error->column)};
  return RunCompiled(compiler, compiled, expected);
}

void ExpectSameForEveryLineEnd(const std::function<TOutcome(TLineEnd)>& build) {
  const TOutcome reference = build(TLineEnd::CrLf);
  EXPECT_FALSE(reference.image.empty()) << reference.output;
  for (size_t k = 1; k < std::size(kLineEnds); ++k) {
    const TOutcome other = build(kLineEnds[k]);
    EXPECT_EQ(other.image, reference.image) << "image with " << kLineEndNames[k] << " line ends";
    EXPECT_EQ(other.output, reference.output) << "output with " << kLineEndNames[k] << " line ends";
  }
}

class LineEndsOfProgram : public ::testing::TestWithParam<TProgramCase> {};

TEST_P(LineEndsOfProgram, CompilesAndRunsTheSame) {
  const std::string source = ReadTestFile(GetParam().path);
  const TExpectation expected = ReadExpectation(source);
  ExpectSameForEveryLineEnd([&](TLineEnd kind) { return CompileAndRun(WithLineEnds(source, kind), expected); });
}

std::vector<TProgramCase> ProgramsAndExamples() {
  std::vector<TProgramCase> cases = ProgramFiles();
  for (const char* name : {"lauflicht", "rechner", "stoppuhr", "temperatur"})
    cases.push_back({std::string("example_") + name, fs::path(ZARVEK_SOURCE_DIR "/examples") / (std::string(name) + ".bas")});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Programs, LineEndsOfProgram, ::testing::ValuesIn(ProgramsAndExamples()),
                         [](const auto& info) { return info.param.name; });

// Modules are read with the same line ends as the project that includes them.
class TLineEndLoader : public TModuleLoader {
 public:
  explicit TLineEndLoader(TLineEnd kind) : m_kind(kind) {}
  std::string Canonical(const std::string& path) const override { return m_disk.Canonical(path); }
  bool Exists(const std::string& fullName) const override { return m_disk.Exists(fullName); }
  TModuleFile Load(const std::string& fullName) const override {
    TModuleFile file = m_disk.Load(fullName);
    file.basicSource = WithLineEnds(file.basicSource, m_kind);
    return file;
  }

 private:
  TLineEnd m_kind;
  TProjectFileLoader m_disk;
};

TEST(LineEndsOfProject, ExampleProjectsBuildAndRunTheSame) {
  for (const char* name : {"ampel.xml", "ampel_phasen.xml"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string(ZARVEK_SOURCE_DIR "/examples/") + name;
    TProject project;
    ASSERT_EQ(LoadProject(path, TLoadMode::Interactive, project).result, loadresult::Loaded);
    const TExpectation expected = ReadExpectation(project.basicSource);
    ExpectSameForEveryLineEnd([&](TLineEnd kind) {
      const TLineEndLoader loader(kind);
      TBuildInput in;
      in.basicSource = WithLineEnds(project.basicSource, kind);
      in.assemblerSource = project.assemblerSource;
      in.profile = project.profile;
      in.projectFileName = path;
      in.modules = &loader;
      TBuilder builder;
      const TBuildResult built = builder.Build(in);
      if (!built.success) return TOutcome{"", "build failed"};
      return RunCompiled(builder.Compiler(), built.program, expected);
    });
  }
}

}  // namespace
}  // namespace zarvek::test
