// A serial device on a POSIX system (a serial port or a pseudo-terminal's terminal side)
// through termios, polled by its owner.
#pragma once

#include <string>

#include "link/port.h"

namespace zarvek::link {

class TPosixPort final : public TPort {
 public:
  ~TPosixPort() override;
  bool Open(const std::string& name, const TLineSettings& settings, std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return m_fd >= 0; }
  void Write(const std::string& data) override;
  void Pump(int timeoutMs) override;

 private:
  void Flush();
  void Lost(const std::string& why);

  int m_fd = -1;
  std::string m_pending;  // bytes the device had no room for yet
};

// Applies the line format to an open terminal: raw bytes, no flow control, no hang-up on
// close. Speed 0 keeps the device's speed. Parity a device refuses (pseudo-terminals may)
// is left as it is; an unknown speed is an error.
bool ApplyLineSettings(int fd, const TLineSettings& settings, std::string& error);

// The termios speed constant for bits per second; 0 when there is none.
unsigned SpeedConstant(int32_t baud);

}  // namespace zarvek::link
