// Compile time of a generated 5,000-line program (declarations, constants, expressions,
// assignments): the background syntax check compiles on every pause in typing.
#include <benchmark/benchmark.h>

#include <string>

#include "compiler/compiler.h"

namespace zarvek {
namespace {

// Declarations, constants with expressions, and assignments of a few expression shapes;
// the image stays below the 64 KB a program may have.
std::string GeneratedProgram(int lines) {
  std::string text;
  const int variables = 500, constants = 500;
  auto v = [&](int k) { return "v" + std::to_string(k % variables); };
  auto k = [&](int n) { return "c" + std::to_string(n % constants); };
  for (int n = 0; n < variables; ++n) text += "DIM " + v(n) + (n % 3 == 0 ? " AS BYTE" : " AS INTEGER") + "\r\n";
  for (int n = 0; n < constants; ++n)
    text += "CONST " + k(n) + " = " + std::to_string(n * 7 % 100) + " * 2 + &H10 ' table step\r\n";
  for (int n = variables + constants; n < lines; ++n) {
    switch (n % 4) {
      case 0: text += v(n) + " = " + v(n * 7) + " + " + k(n) + " * 3\r\n"; break;
      case 1: text += v(n) + " = (" + v(n * 3) + " - 1) AND &HFF\r\n"; break;
      case 2: text += v(n) + " = " + v(n + 1) + " SHL 2 ' shift\r\n"; break;
      default: text += v(n) + " = " + k(n * 5) + " / 2 - 1\r\n"; break;
    }
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

BENCHMARK(BM_Compile5000Lines)->Arg(profile::Pyxon32)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvek

BENCHMARK_MAIN();
