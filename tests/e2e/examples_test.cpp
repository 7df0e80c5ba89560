// The example programs a new user tries first run as their comments promise.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "pipeline/build.h"
#include "pipeline/project_modules.h"
#include "project/project_file.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"

namespace zarvek::test {
namespace {

std::string Run(const TCompiler& compiler, const TCompileResult& compiled, const std::string& input) {
  TProgramRunOptions options;
  options.input = input;
  options.maxTokens = 5'000'000;
  std::string output;
  options.output = [&](const std::string& text) { output += text; };
  const TProgramRunResult run =
      RunProgram(compiled.image, BuildLineTable(compiler, compiled), compiled.codeLength, compiled.tableLength, options);
  return run.error ? output + "runtime error: " + run.error->text : output;
}

std::string RunExample(const std::string& name, const std::string& input = "") {
  std::ifstream file(ZARVEK_SOURCE_DIR "/examples/" + name, std::ios::binary);
  std::stringstream source;
  source << file.rdbuf();
  TCompiler compiler;
  TCompileInput in;
  in.source = source.str();
  in.profile = profile::Pyxon32;
  TCompileResult compiled = compiler.CompileProgram(in);
  if (!compiled.success) return "compile error: " + compiled.error->message.str();
  return Run(compiler, compiled, input);
}

// A project file with its modules, built as the IDE builds it.
std::string RunExampleProject(const std::string& name) {
  const std::string path = ZARVEK_SOURCE_DIR "/examples/" + name;
  TProject project;
  if (LoadProject(path, TLoadMode::Interactive, project).result != loadresult::Loaded) return "not a project";
  const TProjectFileLoader loader;
  TBuildInput in;
  in.basicSource = project.basicSource;
  in.assemblerSource = project.assemblerSource;
  in.profile = project.profile;
  in.projectFileName = path;
  in.modules = &loader;
  TBuilder builder;
  const TBuildResult built = builder.Build(in);
  if (!built.success) return "build error: " + (built.basicError ? built.basicError->message.str() : built.assemblerError->message);
  return Run(builder.Compiler(), built.program, "");
}

TEST(Examples, RunningLightWandersOverEightLedsTwice) {
  std::string expected;
  for (int step = 0; step < 16; ++step) {
    std::string leds(8, '.');
    leds[step % 8] = '*';
    expected += leds + "\r\n";
  }
  EXPECT_EQ(RunExample("lauflicht.bas"), expected);
}

TEST(Examples, CalculatorReadsNumbersUntilAskedToStop) {
  EXPECT_EQ(RunExample("rechner.bas", "20\r6\r4\r7\r0\r4\r1\r1\r9\r0\r0\r0\r"),
            "Erste Zahl: 20\r\nZweite Zahl: 6\r\nRechenart (1 +, 2 -, 3 *, 4 /, 0 Ende): 4\r\n20 / 6 = 3 Rest 2\r\n"
            "Erste Zahl: 7\r\nZweite Zahl: 0\r\nRechenart (1 +, 2 -, 3 *, 4 /, 0 Ende): 4\r\n"
            "Division durch 0 ist nicht erlaubt.\r\n"
            "Erste Zahl: 1\r\nZweite Zahl: 1\r\nRechenart (1 +, 2 -, 3 *, 4 /, 0 Ende): 9\r\nUnbekannte Rechenart 9\r\n"
            "Erste Zahl: 0\r\nZweite Zahl: 0\r\nRechenart (1 +, 2 -, 3 *, 4 /, 0 Ende): 0\r\nAuf Wiedersehen.\r\n");
}

TEST(Examples, TemperatureTableClassifiesEachRow) {
  EXPECT_EQ(RunExample("temperatur.bas"),
            "Celsius Fahrenheit Einschaetzung\r\n-20 -4 Frost\r\n-10 14 Frost\r\n0 32 kalt\r\n10 50 kalt\r\n"
            "20 68 angenehm\r\n30 86 heiss\r\n40 104 heiss\r\n");
}

TEST(Examples, StopwatchMeasuresPausesOnTheControllersClock) {
  EXPECT_EQ(RunExample("stoppuhr.bas"),
            "Datum: 1.1.2005\r\nRunde 1: 500 ms\r\nRunde 2: 1000 ms\r\nRunde 3: 1500 ms\r\nUhrzeit: 0:0:3\r\n");
}

TEST(Examples, TrafficLightProjectTakesItsPhasesFromAModule) {
  EXPECT_EQ(RunExampleProject("ampel.xml"), "rot\r\nrot-gelb\r\ngruen\r\ngelb\r\nrot\r\nrot-gelb\r\ngruen\r\ngelb\r\n");
}

}  // namespace
}  // namespace zarvek::test
