// The BASIC programs of tests/programs and the expectations their comments carry:
//   ' expect: TEXT          one line of serial output (lines end with CR LF)
//   ' input: TEXT           one line the program receives (sent with a CR)
//   ' expect error: TEXT    the runtime error that ends the run, and its line: @LINE
//   ' profile: NAME         the profile: atmega-32 (the default), atmega-128, tessel-1.1 or
//                           tessel-micro
//   ' interrupt after: N    raise interrupt 0 once N tokens have run
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/profile.h"

namespace zarvek::test {

namespace fs = std::filesystem;

struct TProgramCase {
  std::string name;
  fs::path path;
};

// Test names show the program's name, not the record's bytes.
inline void PrintTo(const TProgramCase& c, std::ostream* os) { *os << c.name; }

inline std::string ReadTestFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

inline std::vector<TProgramCase> ProgramFiles() {
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
  TProfile profile = profile::Pyxon32;
  std::vector<uint64_t> interrupts;
};

inline TExpectation ReadExpectation(const std::string& source) {
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
      e.profile = value == "atmega-128"     ? profile::Pyxon128
                  : value == "tessel-1.1"   ? profile::Tessel11
                  : value == "tessel-micro" ? profile::TesselMicro
                                            : profile::Pyxon32;
    else if (take("interrupt after", value)) e.interrupts.push_back(std::stoull(value));
    else if (take("expect error", value)) {
      const size_t at = value.rfind(" @");
      e.error = value.substr(0, at);
      if (at != std::string::npos) e.errorLine = std::stoi(value.substr(at + 2));
    }
  }
  return e;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
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

}  // namespace zarvek::test
