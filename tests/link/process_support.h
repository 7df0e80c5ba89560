// Running zarvek-cli as a process with files for its standard streams, and waiting for
// it with a bound.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zarvek::link {

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class TProcess {
 public:
  // stdin from `input` (empty: /dev/null), stdout and stderr into files beside `base`.
  TProcess(const std::vector<std::string>& args, const std::string& base, const std::string& input = "")
      : m_out(base + ".out"), m_err(base + ".err") {
    const std::string in = base + ".in";
    std::ofstream(in, std::ios::binary) << input;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    std::vector<std::string> all{ZARVEK_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, ZARVEK_CLI_PATH, &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~TProcess() {
    if (m_pid > 0 && !m_done) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  // The exit status, or -1 when the process had to be killed after `seconds`.
  int Wait(double seconds) {
    if (m_pid <= 0) return -2;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_done = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_done = true;
    return -1;
  }
  int Stop(double seconds = 5) {
    if (m_pid > 0 && !m_done) kill(m_pid, SIGTERM);
    return Wait(seconds);
  }
  std::string Out() const { return ReadText(m_out); }
  std::string Err() const { return ReadText(m_err); }

 private:
  pid_t m_pid = -1;
  bool m_done = false;
  std::string m_out, m_err;
};

// Waits until a file exists, up to `seconds`.
inline bool WaitForFile(const std::string& path, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (std::filesystem::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// A test folder of its own, zarvek-cli processes with their files in it, and a virtual
// board linked to "tty" there.
class TBoardProcessTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string Path(const std::string& name) const { return (m_dir / name).string(); }
  std::string File(const std::string& name, const std::string& text) {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  std::unique_ptr<TProcess> Board(std::vector<std::string> extra) {
    std::filesystem::remove(Path("tty"));
    std::vector<std::string> args{"board", "--link", Path("tty")};
    args.insert(args.end(), extra.begin(), extra.end());
    auto board = std::make_unique<TProcess>(args, Path("board"));
    EXPECT_TRUE(WaitForFile(Path("tty"), 10)) << board->Err();
    return board;
  }
  TProcess Cli(std::vector<std::string> args, const std::string& name, const std::string& input = "") {
    return TProcess(args, Path(name), input);
  }

 private:
  std::filesystem::path m_dir = [] {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    auto d = std::filesystem::temp_directory_path() /
             ("zarvek_pty_" + std::to_string(getpid()) + "_" + test->test_suite_name() + "_" + test->name());
    std::filesystem::create_directories(d);
    return d;
  }();
};

}  // namespace zarvek::link
