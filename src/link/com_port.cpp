#include "link/com_port.h"

#include <charconv>

#include "link/link_texts.h"

namespace zarvek::link {

std::optional<EComError> ParseTerminator(const std::string& text, std::string& terminator) {
  terminator.clear();
  std::string rest = text.empty() ? text : text.substr(1);
  while (!rest.empty()) {
    const size_t hash = rest.find('#');
    const std::string piece = rest.substr(0, hash);
    rest = hash == std::string::npos ? std::string() : rest.substr(hash + 1);
    int value = 0;
    const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (piece.empty() || ec != std::errc() || end != piece.data() + piece.size()) {
      terminator = "\r\n";
      return EComError{texts::kIllegalTerminator};
    }
    terminator.push_back(static_cast<char>(value));
  }
  if (terminator.empty()) return EComError{texts::kEmptyTerminator};
  return std::nullopt;
}

std::string FormatTerminator(const std::string& terminator) {
  std::string text;
  for (const char c : terminator) text += "#" + std::to_string(static_cast<uint8_t>(c));
  return text;
}

TComPort::TComPort(std::unique_ptr<TPort> device) : m_device(std::move(device)) {
  m_device->onData = [this](const std::string& data) { Receive(data); };
  m_device->onLost = [this](const std::string& why) {
    if (!m_connected) return;
    m_connected = false;
    m_buffer.clear();
    if (OnLost) OnLost(why);
  };
}

TComPort::~TComPort() {
  m_device->onData = nullptr;
  m_device->onLost = nullptr;
  Close();
}

std::optional<EComError> TComPort::SetTerminator(const std::string& text) { return ParseTerminator(text, m_terminator); }

bool TComPort::Open() {
  if (m_connected) return true;
  TLineSettings settings;
  settings.baud = Baud;
  settings.dataBits = DataBits;
  settings.parity = Parity;
  settings.stopBits = StopBits;
  settings.queueIn = WinQSizeIn;
  settings.queueOut = WinQSizeOut;
  m_openError.clear();
  if (!m_device->Open(Port, settings, m_openError)) return false;
  m_connected = true;
  m_buffer.clear();
  if (OnPortOpen) OnPortOpen();
  return true;
}

void TComPort::Close() {
  if (!m_connected) return;
  m_connected = false;
  m_device->Close();
  m_buffer.clear();
  if (OnPortClose) OnPortClose();
}

void TComPort::SendString(const std::string& data) {
  if (m_connected) m_device->Write(data);
}

void TComPort::Pump(int timeoutMs) {
  if (m_connected) m_device->Pump(timeoutMs);
}

void TComPort::Receive(const std::string& data) {
  if (!m_connected || !ReceiveCallBack) return;
  if (ReceiveMode == TReceiveMode::rmRAW) {
    ReceiveCallBack(data);
    return;
  }
  m_buffer += data;
  // Every complete piece goes out now; a piece left waiting for the next arrival would
  // be late, or never delivered when nothing more comes.
  for (;;) {
    const size_t at = m_terminator.empty() ? std::string::npos : m_buffer.find(m_terminator);
    if (at == std::string::npos) return;
    const std::string piece = m_buffer.substr(0, at + m_terminator.size());
    m_buffer.erase(0, piece.size());
    ReceiveCallBack(piece);
    if (!m_connected || !ReceiveCallBack) return;
  }
}

}  // namespace zarvek::link
