#include "link/link.h"

#include <charconv>

namespace zarvek::link {

int32_t BaudFromText(const std::string& text) {
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

bool TLink::LinkOpen(const std::string& portName, const std::string& baudText) {
  if (m_connected) return true;
  auto port = std::make_unique<TComPort>(m_factory());
  port->Port = portName;
  port->Baud = BaudFromText(baudText);
  port->DataBits = 8;
  port->Parity = TParity::ptNONE;
  port->ReceiveMode = TReceiveMode::rmRAW;
  m_portName = portName;
  if (!port->Open()) {
    m_openError = port->OpenError();
    return false;
  }
  m_openError.clear();
  m_port = std::move(port);
  m_connected = true;
  m_port->ReceiveCallBack = [this](const std::string& data) {
    if (receiveHandler) receiveHandler(data);
  };
  m_port->OnLost = [this](const std::string& why) {
    // The port object stays until the owner's call returns; it is dropped on the next open.
    m_connected = false;
    if (onLost) onLost(why);
  };
  return true;
}

void TLink::LinkClose() {
  if (!m_connected) return;
  m_connected = false;
  m_port->Close();
  m_port.reset();
}

void TLink::LinkSend(const std::string& data) {
  if (!m_connected) return;
  m_port->SendString(data);
  if (TransferState != 0 && onTransferSend) onTransferSend(data);
}

void TLink::Pump(int timeoutMs) {
  if (m_connected) m_port->Pump(timeoutMs);
}

}  // namespace zarvek::link
