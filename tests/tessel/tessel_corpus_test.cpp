// The BASIC test programs that compile for Tessel 1.1 run on the emulated board with our
// operating system: every token fetch is checked, and the serial output must match the
// program's "' expect:" lines, except where 16-bit cells differ (listed below).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "tessel_rig.h"

namespace zarvek::tessel {
namespace {

namespace fs = std::filesystem;

struct TExpected {
  std::string output;
  std::string input;
  bool error = false;
  std::vector<size_t> interrupts;
};

TExpected ReadExpected(const std::string& source) {
  TExpected e;
  std::istringstream lines(source);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto value = [&](const std::string& key) -> std::optional<std::string> {
      const size_t at = line.find("' " + key + ":");
      if (at == std::string::npos) return std::nullopt;
      std::string v = line.substr(at + key.size() + 3);
      if (!v.empty() && v[0] == ' ') v.erase(0, 1);
      return v;
    };
    if (auto v = value("expect")) e.output += *v + "\r\n";
    else if (auto in = value("input")) e.input += *in + "\r";
    else if (value("expect error")) e.error = true;
    else if (auto n = value("interrupt after")) e.interrupts.push_back(std::stoul(*n));
  }
  return e;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<fs::path> Sources() {
  std::vector<fs::path> paths;
  for (const char* folder : {"/tests/programs", "/examples"}) {
    for (const auto& entry : fs::directory_iterator(std::string(ZARVEK_SOURCE_DIR) + folder))
      if (entry.path().extension() == ".bas") paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Every token the compiler emits for Tessel 1.1 and Micro, over the test programs and the
// examples, has a handler in the system's dispatch table (a program that writes an
// invalid token on purpose is left out).
TEST(TesselCorpus, EveryEmittedTokenHasAHandler) {
  for (auto variant : {TTesselVariant::Tessel11, TTesselVariant::Micro}) {
    const auto& image = RuntimeImage(variant);
    const uint16_t bad = Symbol(variant, "TBAD").value_or(0);
    std::set<uint8_t> emitted;
    int programs = 0;
    for (const fs::path& path : Sources()) {
      TBuilder builder;
      TBuildInput input;
      input.basicSource = ReadFile(path);
      if (input.basicSource.find("Token @") != std::string::npos) continue;  // a deliberately invalid token
      input.profile = variant == TTesselVariant::Micro ? profile::TesselMicro : profile::Tessel11;
      input.warnings = false;
      const TBuildResult r = builder.Build(input);
      if (!r.success) continue;
      ++programs;
      const std::string code = r.program.image.substr(0, r.program.codeLength);
      for (uint16_t address : TokenStarts(code)) {
        if (address - 4u < code.size()) emitted.insert(static_cast<uint8_t>(code[address - 4u]));
      }
    }
    EXPECT_GE(programs, variant == TTesselVariant::Micro ? 1 : 12);  // Micro: BYTE only
    for (uint8_t token : emitted) {
      if (token == 0xFF) continue;
      ASSERT_LT(token, 0x64) << int(token);
      const uint16_t handler = static_cast<uint16_t>(static_cast<uint8_t>(image.table[2 * token]) << 8 |
                                                     static_cast<uint8_t>(image.table[2 * token + 1]));
      EXPECT_NE(handler, bad) << "token " << int(token) << " has no handler";
    }
  }
}

TEST(TesselCorpus, ProgramsRunOnTheBoard) {
  int ran = 0;
  for (const auto& entry : fs::directory_iterator(ZARVEK_SOURCE_DIR "/tests/programs")) {
    if (entry.path().extension() != ".bas") continue;
    const std::string source = ReadFile(entry.path());
    TBuilder builder;
    TBuildInput input;
    input.basicSource = source;
    input.warnings = false;
    const TBuildResult r = builder.Build(input);
    if (!r.success) continue;  // needs a Pyxon profile
    SCOPED_TRACE(entry.path().filename().string());
    const TExpected e = ReadExpected(source);
    TRig rig;
    rig.Load(r.program.image);
    rig.engine.Environment().receiveText = e.input;
    rig.interruptAfter = e.interrupts;
    const TRunEnd end = rig.Run(200'000'000);
    ++ran;
    EXPECT_EQ(rig.badFetches, 0);
    EXPECT_FALSE(rig.fetched.empty());
    EXPECT_GE(rig.lowestSp, 0xDB - 1);  // the processor stack stays above the user bytes
    std::string output = rig.Output();
    if (e.error) {
      EXPECT_EQ(end, TRunEnd::Error);
      EXPECT_EQ(output.substr(0, std::min(output.size(), e.output.size())), e.output.substr(0, output.size()));
    } else {
      EXPECT_EQ(end, TRunEnd::Idle);
      EXPECT_EQ(output, e.output);
    }
  }
  EXPECT_GE(ran, 10);
}

// Micro has BYTE variables only: the programs with INTEGER read as BYTE run on the Micro
// image. Their output differs where values leave 0-255, so only the run itself is
// checked: every token fetch, no emulator error and the processor stack's depth (a BYTE
// counter may make a loop endless, so the run may also end at the step limit).
TEST(TesselCorpus, ProgramsRunOnTheMicroWithByteVariables) {
  int ran = 0;
  for (const fs::path& path : Sources()) {
    std::string source = ReadFile(path);
    for (const std::string word : {"INTEGER", "WORD"}) {
      for (size_t at = source.find(word); at != std::string::npos; at = source.find(word, at))
        source.replace(at, word.size(), "BYTE");
    }
    TBuilder builder;
    TBuildInput input;
    input.basicSource = source;
    input.profile = profile::TesselMicro;
    input.warnings = false;
    const TBuildResult r = builder.Build(input);
    if (!r.success) continue;
    SCOPED_TRACE(path.filename().string());
    TRig rig(TTesselVariant::Micro);
    rig.Load(r.program.image);
    rig.engine.Environment().receiveText = ReadExpected(source).input;
    const TRunEnd end = rig.Run(5'000'000);
    ++ran;
    EXPECT_EQ(rig.badFetches, 0);
    EXPECT_FALSE(rig.fetched.empty());
    EXPECT_NE(end, TRunEnd::EngineError);
    EXPECT_GE(rig.lowestSp + 1, 0xEE);
  }
  EXPECT_GE(ran, 8);
}

}  // namespace
}  // namespace zarvek::tessel
