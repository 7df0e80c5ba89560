// A folder of its own for each test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zarvek::test {

class TTempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = std::filesystem::temp_directory_path() /
               ("zarvek_" + std::string(info->test_suite_name()) + "_" + info->name());
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_folder, ec);
  }
  std::string Path(const std::string& name) const { return (m_folder / name).string(); }
  std::string Write(const std::string& name, const std::string& content) const {
    const std::filesystem::path p = m_folder / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(m_folder / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(m_folder / name); }
  const std::filesystem::path& Folder() const { return m_folder; }

 private:
  std::filesystem::path m_folder;
};

}  // namespace zarvek::test
