// Compile time of a generated 5,000-line program (declarations, constants, expressions,
// assignments): the background syntax check compiles on every pause in typing.
#include <benchmark/benchmark.h>

#include <string>

#include "compiler/compiler.h"

namespace zarvek {
namespace {

std::string GeneratedProgram(int lines) {
  std::string text;
  const int variables = 300, constants = 100;
  for (int k = 0; k < variables; ++k)
    text += "DIM v" + std::to_string(k) + (k % 3 == 0 ? " AS BYTE" : " AS INTEGER") + "\r\n";
  for (int k = 0; k < constants; ++k)
    text += "CONST c" + std::to_string(k) + " = " + std::to_string(k * 7 % 100) + " + &H10\r\n";
  for (int k = variables + constants; k < lines; ++k) {
    const int a = k % variables, b = (k * 7) % variables, d = (k * 13) % constants;
    text += "v" + std::to_string(a) + " = (v" + std::to_string(b) + " * 3 + c" + std::to_string(d) + ") / 2 - v" +
            std::to_string((a + 1) % variables) + " AND &HFF ' step " + std::to_string(k) + "\r\n";
  }
  return text;
}

void BM_Compile5000Lines(benchmark::State& state) {
  TCompileInput input;
  input.source = GeneratedProgram(5000);
  input.profile = static_cast<uint8_t>(state.range(0));
  TCompiler compiler;
  for (auto _ : state) {
    const TCompileResult result = compiler.CompileProgram(input);
    if (!result.success) {
      state.SkipWithError(("the program does not compile: " + result.error->message).c_str());
      break;
    }
    benchmark::DoNotOptimize(result.image.data());
  }
  state.counters["lines"] = 5000;
}

BENCHMARK(BM_Compile5000Lines)->Arg(profile::Pyxon32)->Arg(profile::Tessel20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvek

BENCHMARK_MAIN();
