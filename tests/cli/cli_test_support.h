// Running one zarvek-cli command in-process on files the test writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace zarvek::cli {

struct TRun {
  int status;
  std::string out, err;
};

class TCliTest : public ::testing::Test {
 protected:
  explicit TCliTest(std::string command) : m_command(std::move(command)) {}
  void TearDown() override {
    std::error_code ec;
    for (const auto& f : m_files) std::filesystem::remove_all(f, ec);
  }
  // A temporary file named after the test, removed when the test ends.
  std::string File(const std::string& suffix, const std::string& content) {
    const std::string path = Name(suffix);
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  // A name for a temporary file (or folder) the test makes, removed when the test ends.
  std::string Name(const std::string& suffix) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("zarvek_" + m_command + "_" + std::to_string(m_files.size()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix);
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    m_files.push_back(path);
    return path.string();
  }
  TRun Run(std::vector<std::string> args) const {
    std::ostringstream out;
    return RunTo(std::move(args), out);
  }
  // With stdout going to `out`; TRun::out stays empty.
  TRun RunTo(std::vector<std::string> args, std::ostream& out) const {
    std::ostringstream err;
    args.insert(args.begin(), m_command);
    const int status = Main(args, out, err);
    const auto* captured = dynamic_cast<std::ostringstream*>(&out);
    return {status, captured ? captured->str() : "", err.str()};
  }

 private:
  std::string m_command;
  std::vector<std::filesystem::path> m_files;
};

// A stdout whose every write fails, like a full disk.
class TFullStreamBuffer : public std::streambuf {
 protected:
  int overflow(int) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// A project file's text with the profile and the two sources.
inline std::string ProjectXml(const std::string& system, const std::string& basic, const std::string& assembler = "") {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project><system>" + system +
         "</system><assembler><source>" + assembler + "</source></assembler><basic><source>" + basic +
         "</source></basic></project>";
}

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace zarvek::cli
