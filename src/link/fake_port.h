// An in-memory port for tests: what the code under test writes is recorded, what the
// test injects arrives as if read from the device.
#pragma once

#include <string>
#include <vector>

#include "link/port.h"

namespace zarvek::link {

class TFakePort final : public TPort {
 public:
  bool Open(const std::string& name, const TLineSettings& settings, std::string& error) override;
  void Close() override { m_open = false; }
  bool IsOpen() const override { return m_open; }
  void Write(const std::string& data) override;
  void Pump(int) override {}

  // Delivers bytes as one read.
  void Inject(const std::string& data);
  void Lose(const std::string& why);
  // Everything written since the last call.
  std::string TakeWritten();

  bool failOpen = false;
  std::string openedName;
  TLineSettings openedSettings;
  int openCount = 0;
  std::vector<std::string> writes;  // each Write call
  // Also receives every write; owned by the test, so it outlives a port the link closed.
  std::string* writtenLog = nullptr;

 private:
  bool m_open = false;
  std::string m_written;
};

}  // namespace zarvek::link
