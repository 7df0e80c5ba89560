// The file-system calls that differ between systems, kept in one place: opening a file
// for reading without ever blocking on a pipe or a device, and the broken-pipe signal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zarvek::native {

enum class TOpenResult { Opened, Missing, Failed, NotRegular };

// A file opened for reading. Only regular files are opened: a folder, a device such as
// /dev/zero or a named pipe is refused before a single byte is read, and opening a pipe
// does not wait for a writer.
class TReadHandle {
 public:
  TReadHandle() = default;
  TReadHandle(const TReadHandle&) = delete;
  TReadHandle& operator=(const TReadHandle&) = delete;
  ~TReadHandle();

  TOpenResult Open(const std::string& path);
  // The size the file system gave when the file was opened (the file may still grow).
  uint64_t Size() const { return m_size; }
  // Up to `capacity` bytes; 0 at the end of the file, -1 on a read error.
  int64_t Read(char* buffer, size_t capacity);

 private:
  void Close();
#if defined(_WIN32)
  void* m_file = nullptr;
#else
  int m_fd = -1;
#endif
  uint64_t m_size = 0;
};

// A write to a closed pipe fails with an error the writer can report, instead of ending
// the process silently.
void IgnoreBrokenPipeSignal();

}  // namespace zarvek::native
