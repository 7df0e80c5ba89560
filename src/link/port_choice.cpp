#include "link/port_choice.h"

#include <algorithm>
#include <filesystem>

#include "link/link_texts.h"

namespace zarvek::link {

std::vector<std::string> BaudList() { return {"Auto", "9600", "19200", "28800", "38400", "57600", "76800", "115200"}; }

std::vector<std::string> SystemPortList() {
  std::vector<std::string> ports;
#ifdef _WIN32
  for (int k = 1; k <= 12; ++k) ports.push_back("COM" + std::to_string(k));
#else
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0 || name.rfind("ttyS", 0) == 0)
      ports.push_back(entry.path().string());
  }
  std::sort(ports.begin(), ports.end());
#endif
  return ports;
}

TPortChoice::TPortChoice(TLink& link, TConsoleModel& console) : m_link(link), m_console(console) {
  m_console.SetLinkSend([this](uint8_t c) { m_link.LinkSend(std::string(1, static_cast<char>(c))); });
}

// The console may outlive this object; its keys must not reach a link that is gone.
TPortChoice::~TPortChoice() { m_console.SetLinkSend(nullptr); }

void TPortChoice::ButtonConnectClick() {
  if (m_link.Connected()) {
    m_link.LinkClose();
    ShowLinkState();
    if (m_link.TransferState == 0) m_console.Refresh();
    return;
  }
  // A failed open says nothing here: the caption stays and the console stays offline.
  if (!m_link.LinkOpen(m_port, m_baud)) return;
  ShowLinkState();
  m_console.Receive(texts::kConnected);
  m_console.Refresh();
}

std::string TPortChoice::ConnectCaption() const { return m_link.Connected() ? texts::kDisconnect : texts::kConnect; }

void TPortChoice::ComPortListChange(const std::string& port) {
  m_port = port;
  Reconnect();
}

void TPortChoice::BaudListChange(const std::string& baud) {
  m_baud = baud;
  Reconnect();
}

void TPortChoice::Reconnect() {
  if (!m_link.Connected()) return;
  m_link.LinkClose();
  ShowLinkState();  // stays closed when the new choice cannot be opened
  ButtonConnectClick();
}

void TPortChoice::ShowLinkState() {
  if (m_link.Connected()) m_console.SetLink(true, m_port, m_baud);
  else m_console.SetLink(false);
}

}  // namespace zarvek::link
