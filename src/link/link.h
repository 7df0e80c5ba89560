// The link: the one shared port, whether it is open, and which protocol owns the data
// that arrives (TransferState 0: the console).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/com_port.h"

namespace zarvek::link {

// The speed a baud list text asks for: its number, or 0 for "Auto" and other text.
int32_t BaudFromText(const std::string& text);

class TLink {
 public:
  explicit TLink(TPortFactory factory) : m_factory(std::move(factory)) {}

  // Opens the shared port raw, 8 data bits, no parity; false when it cannot be opened.
  bool LinkOpen(const std::string& portName, const std::string& baudText);
  void LinkClose();
  // Sends; during a transfer also tells the transfer what went out last.
  void LinkSend(const std::string& data);
  void Pump(int timeoutMs);

  bool Connected() const { return m_connected; }
  int32_t TransferState = 0;
  const std::string& PortName() const { return m_portName; }
  const std::string& OpenError() const { return m_openError; }
  TComPort* Port() { return m_port.get(); }

  // Where received data goes (the main window's receive handler, or the update window's
  // while it runs).
  std::function<void(const std::string&)> receiveHandler;
  std::function<void(const std::string&)> onTransferSend;
  // The port went away; the link is closed by then.
  std::function<void(const std::string& why)> onLost;

 private:
  TPortFactory m_factory;
  std::unique_ptr<TComPort> m_port;
  bool m_connected = false;
  std::string m_portName;
  std::string m_openError;
};

}  // namespace zarvek::link
