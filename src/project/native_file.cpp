#include "project/native_file.h"

#if defined(_WIN32)
#include <cstdio>
#include <filesystem>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zarvek::native {

#if defined(_WIN32)

// Windows has no blocking opens of named pipes through a path the user types, so a
// check of the kind before opening is enough here.
TOpenResult TReadHandle::Open(const std::string& path) {
  Close();
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return TOpenResult::Missing;
  if (ec) return TOpenResult::Failed;
  if (status.type() != std::filesystem::file_type::regular) return TOpenResult::NotRegular;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return TOpenResult::Failed;
  m_file = f;
  m_size = std::filesystem::file_size(path, ec);
  if (ec) m_size = 0;
  return TOpenResult::Opened;
}

int64_t TReadHandle::Read(char* buffer, size_t capacity) {
  auto* f = static_cast<std::FILE*>(m_file);
  if (!f) return -1;
  const size_t n = std::fread(buffer, 1, capacity, f);
  if (n == 0 && std::ferror(f)) return -1;
  return static_cast<int64_t>(n);
}

void TReadHandle::Close() {
  if (m_file) std::fclose(static_cast<std::FILE*>(m_file));
  m_file = nullptr;
}

void IgnoreBrokenPipeSignal() {}

#else

TOpenResult TReadHandle::Open(const std::string& path) {
  Close();
  // O_NONBLOCK: opening a named pipe would otherwise wait until someone writes to it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? TOpenResult::Missing : TOpenResult::Failed;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return TOpenResult::Failed;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return TOpenResult::NotRegular;
  }
  m_fd = fd;
  m_size = static_cast<uint64_t>(info.st_size);
  return TOpenResult::Opened;
}

int64_t TReadHandle::Read(char* buffer, size_t capacity) {
  if (m_fd < 0) return -1;
  for (;;) {
    const ssize_t n = ::read(m_fd, buffer, capacity);
    if (n >= 0) return n;
    if (errno != EINTR) return -1;
  }
}

void TReadHandle::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

void IgnoreBrokenPipeSignal() { std::signal(SIGPIPE, SIG_IGN); }

#endif

TReadHandle::~TReadHandle() { Close(); }

}  // namespace zarvek::native
