// The BASIC test programs that compile for Tessel 1.1 run on the emulated board with our
// operating system: every token fetch is checked, and the serial output must match the
// program's "' expect:" lines, except where 16-bit cells differ (listed below).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

}  // namespace
}  // namespace zarvek::tessel
