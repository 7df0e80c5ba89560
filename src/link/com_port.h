// TComPort: one serial port as the link sees it. It opens its device with the line
// format of its properties, delivers received bytes raw or cut at a terminator, and
// sends without waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/port.h"

namespace zarvek::link {

enum class TReceiveMode : uint8_t { rmRAW, rmTERM };

// A terminator text that cannot be used, with the message to show.
struct EComError {
  std::string message;
};

// Parses "#13#10" into its bytes.
std::optional<EComError> ParseTerminator(const std::string& text, std::string& terminator);
// "#13#10" for CR LF.
std::string FormatTerminator(const std::string& terminator);

class TComPort {
 public:
  explicit TComPort(std::unique_ptr<TPort> device);
  ~TComPort();
  TComPort(const TComPort&) = delete;
  TComPort& operator=(const TComPort&) = delete;

  std::string Port = "COM1";
  int32_t Baud = 9600;
  uint8_t DataBits = 8;
  TParity Parity = TParity::ptNONE;
  TStopBit StopBits = TStopBit::sbONE;
  int32_t WinQSizeIn = 8192;
  int32_t WinQSizeOut = 8192;
  TReceiveMode ReceiveMode = TReceiveMode::rmTERM;

  std::string Terminator() const { return FormatTerminator(m_terminator); }
  // On a bad text the terminator is CR LF afterwards (or empty, for an empty result).
  std::optional<EComError> SetTerminator(const std::string& text);

  std::function<void()> OnPortOpen;
  std::function<void()> OnPortClose;
  std::function<void(const std::string&)> ReceiveCallBack;
  // The device went away while connected; the port is closed by then.
  std::function<void(const std::string&)> OnLost;

  bool Open();
  void Close();
  void SendString(const std::string& data);
  bool Connected() const { return m_connected; }
  // Why the last Open failed.
  const std::string& OpenError() const { return m_openError; }
  // Lets the device deliver what has arrived, waiting up to timeoutMs.
  void Pump(int timeoutMs);

 private:
  void Receive(const std::string& data);

  std::unique_ptr<TPort> m_device;
  bool m_connected = false;
  std::string m_terminator = "\r\n";
  std::string m_buffer;  // rmTERM: bytes of a piece whose terminator has not come yet
  std::string m_openError;
};

}  // namespace zarvek::link
