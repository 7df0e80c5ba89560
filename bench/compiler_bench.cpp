// Compile time and memory of generated programs of 5,000 and 50,000 lines, with and
// without the unused-symbol warnings: the background syntax check compiles on every pause
// in typing, so the time per 1,000 lines must stay flat as programs grow.
//
// Counters: "per 1000 lines" (CPU time of compile, link and warnings per 1,000 source lines),
// "peak MiB" (the most heap one compilation holds at once, counted by the allocator
// below), "warnings" (how many the run lists).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "compiler/compiler.h"

// --- A counting allocator: current and peak heap bytes of this process ---
namespace {
std::atomic<size_t> g_heapNow{0};
std::atomic<size_t> g_heapPeak{0};

void* Counted(void* p) {
  if (p == nullptr) throw std::bad_alloc();
  const size_t now = g_heapNow.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
  size_t peak = g_heapPeak.load(std::memory_order_relaxed);
  while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return p;
}

// Kept out of line: inlined into a delete expression it would look like free() of new'd memory.
[[gnu::noinline]] void Uncounted(void* p) noexcept {
  if (p == nullptr) return;
  g_heapNow.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
  std::free(p);
}
}  // namespace

void* operator new(size_t size) { return Counted(std::malloc(std::max<size_t>(size, 1))); }
void* operator new[](size_t size) { return Counted(std::malloc(std::max<size_t>(size, 1))); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, size_t) noexcept { Uncounted(p); }

namespace zarvek {
namespace {

// A program as a user writes it, growing: variables and constants (a part of them never
// used, so there are warnings to list), comments, assignments with expressions, IF blocks,
// loops and SUBs with locals. The image stays below the 64 KB a program may have.
std::string GeneratedProgram(int lines) {
  std::string text;
  int written = 0;
  const auto line = [&](const std::string& s) {
    text += s + "\r\n";
    ++written;
  };
  constexpr int kVariables = 300;
  for (int n = 0; n < kVariables; ++n) line("DIM v" + std::to_string(n) + (n % 3 == 0 ? " AS BYTE" : " AS INTEGER"));
  const auto v = [](int k) { return "v" + std::to_string(k % kVariables); };
  for (int n = 0; written < lines; ++n) {
    const std::string id = std::to_string(n);
    // Code in every fourth round only, so that 50,000 lines fit the image.
    const bool code = (n / 16) % 4 == 0;
    if (!code && (n % 16 == 0 || n % 16 == 4 || n % 16 == 9)) {
      line("CONST other" + id + " = " + id + " / 2");
      continue;
    }
    switch (n % 16) {
      case 0: line(v(n) + " = " + v(n * 7) + (n > 0 ? " + k" + std::to_string(n - 63) : std::string()) + " * 3"); break;
      case 1: line("CONST k" + id + " = " + std::to_string(n % 100) + " * 2 + &H10 ' step"); break;
      case 2: line("' a comment line, as programs have them"); break;
      case 3: line("CONST limit" + id + " = " + std::to_string(n % 50) + " + 1"); break;
      case 4:
        line("IF " + v(n) + " > 10 THEN");
        line("  " + v(n + 1) + " = (" + v(n * 3) + " - 1) AND &HFF");
        line("END IF");
        break;
      case 5: line(""); break;
      case 6: line("DIM b" + id + " AS BOOLEAN"); break;
      case 7: line("' " + std::string(40, '-')); break;
      case 8: line("CONST name" + id + "$ = \"text " + id + "\""); break;
      case 9:
        line("SUB p" + id + "(a AS BYTE)");
        line("  DIM local AS INTEGER");
        line("  local = a * 2");
        line("END SUB");
        break;
      case 10: line("CONST unused" + id + " = " + id); break;
      case 11: line(""); break;
      default: line("' notes for line " + id); break;
    }
  }
  return text;
}

void BM_Compile(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const bool warnings = state.range(1) != 0;
  TCompileInput input;
  input.source = GeneratedProgram(lines);
  input.profile = profile::Pyxon32;
  size_t peak = 0, warningCount = 0;
  for (auto _ : state) {
    const size_t before = g_heapNow.load();
    g_heapPeak.store(before);
    {
      TCompiler compiler;
      TCompileResult result = compiler.CompileProgram(input);
      if (!result.success) {
        state.SkipWithError(("the program does not compile: " + result.error->message.str()).c_str());
        break;
      }
      const TLinkResult link = compiler.LinkAndWarn(result.image, {}, warnings);
      warningCount = link.warnings.size();
      benchmark::DoNotOptimize(result.image.data());
    }
    peak = std::max(peak, g_heapPeak.load() - before);
  }
  state.counters["per 1000 lines"] =
      benchmark::Counter(lines / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["peak MiB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
  state.counters["warnings"] = static_cast<double>(warningCount);
}

BENCHMARK(BM_Compile)
    ->ArgNames({"lines", "warnings"})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Args({50000, 0})
    ->Args({50000, 1})
    ->Unit(benchmark::kMillisecond);

// The line of every statement, as the run control's line table asks for them.
void BM_LocateEveryStatement(benchmark::State& state) {
  TCompileInput input;
  input.source = GeneratedProgram(static_cast<int>(state.range(0)));
  input.profile = profile::Pyxon32;
  TCompiler compiler;
  const TCompileResult result = compiler.CompileProgram(input);
  for (auto _ : state) {
    int64_t sum = 0;
    for (const TStatementMapRecord& s : result.statementMap)
      sum += compiler.Locate(static_cast<int32_t>(s.sourcePosition)).line;
    benchmark::DoNotOptimize(sum);
  }
  state.counters["statements"] = static_cast<double>(result.statementMap.size());
}

BENCHMARK(BM_LocateEveryStatement)->Arg(50000)->Unit(benchmark::kMillisecond);

// Blocks nested deeply: each DO opens at the same code address as the one around it.
void BM_NestedDo(benchmark::State& state) {
  const int depth = static_cast<int>(state.range(0));
  TCompileInput input;
  for (int k = 0; k < depth; ++k) input.source += "DO\r\n";
  for (int k = 0; k < depth; ++k) input.source += "LOOP\r\n";
  input.profile = profile::Pyxon32;
  TCompiler compiler;
  for (auto _ : state) {
    const TCompileResult result = compiler.CompileProgram(input);
    if (!result.success) {
      state.SkipWithError("the nested blocks do not compile");
      break;
    }
    benchmark::DoNotOptimize(result.image.data());
  }
}

BENCHMARK(BM_NestedDo)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvek

BENCHMARK_MAIN();
