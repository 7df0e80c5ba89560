// Running one zarvek-cli command in-process on files the test writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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
    for (const auto& f : m_files) std::filesystem::remove(f);
  }
  // A temporary file named after the test, removed when the test ends.
  std::string File(const std::string& suffix, const std::string& content) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("zarvek_" + m_command + "_" + std::to_string(m_files.size()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix);
    std::ofstream(path, std::ios::binary) << content;
    m_files.push_back(path);
    return path.string();
  }
  TRun Run(std::vector<std::string> args) const {
    std::ostringstream out, err;
    args.insert(args.begin(), m_command);
    const int status = Main(args, out, err);
    return {status, out.str(), err.str()};
  }

 private:
  std::string m_command;
  std::vector<std::filesystem::path> m_files;
};

}  // namespace zarvek::cli
