#include "link/console_model.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "link/link_texts.h"
#include "simulation/sim_console.h"

namespace zarvek::link {

std::vector<std::string> BaudList() { return {"Auto", "9600", "19200", "28800", "38400", "57600", "76800", "115200"}; }

std::vector<std::string> ComboAsciiList() {
  const auto& entries = AsciiEntries();
  return {entries.begin(), entries.end()};
}

uint8_t ComboAsciiCode(const std::string& entry) {
  std::string head = entry.substr(0, 3);
  const size_t first = head.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  head = head.substr(first, head.find_last_not_of(' ') - first + 1);
  int value = 0;
  for (const char c : head) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return static_cast<uint8_t>(value);
}

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

TConsoleModel::TConsoleModel(TLink& link) : m_link(link) {}

void TConsoleModel::ButtonConnectClick() {
  if (m_link.Connected()) {
    m_link.LinkClose();
    if (m_link.TransferState == 0) Refresh();
    return;
  }
  if (!m_link.LinkOpen(m_port, m_baud)) return;
  Refresh();
  AppendReceived(texts::kConnected);
}

std::string TConsoleModel::ConnectCaption() const { return m_link.Connected() ? texts::kDisconnect : texts::kConnect; }

void TConsoleModel::ComPortListChange(const std::string& port) {
  m_port = port;
  if (!m_link.Connected()) return;
  m_link.LinkClose();
  ButtonConnectClick();
}

void TConsoleModel::BaudListChange(const std::string& baud) {
  m_baud = baud;
  if (!m_link.Connected()) return;
  m_link.LinkClose();
  ButtonConnectClick();
}

void TConsoleModel::AppendReceived(const std::string& data) {
  m_pending += data;
  Refresh();
}

void TConsoleModel::Refresh() {
  if (visible) {
    if (m_link.Connected()) {
      m_panels[0] = texts::kOnline;
      m_panels[1] = " " + m_port;
      m_panels[2] = " " + m_baud;
    } else if (simulationRunning) {
      m_panels[0] = texts::kOffline;
      m_panels[1] = " Simulation";
      m_panels[2] = " " + std::to_string(std::lround(simulatedTransmitBaud)) + "/" +
                    std::to_string(std::lround(simulatedReceiveBaud));
    } else {
      m_panels[0] = texts::kOffline;
      m_panels[1].clear();
      m_panels[2].clear();
    }
    if (!m_hold) {
      const size_t formFeed = m_pending.rfind('\x0C');
      if (formFeed != std::string::npos) {
        m_output.clear();
        m_output += m_pending.substr(formFeed + 1);
      } else {
        m_output += m_pending;
      }
    }
  }
  m_received += static_cast<int32_t>(m_pending.size());
  m_pending.clear();
}

void TConsoleModel::TerminalKeyPress(char c) {
  Refresh();
  m_hold = false;
  m_cancelEnabled = true;
  ++m_sent;
  if (simulationRunning) {
    if (toSimulation) toSimulation(c);
  } else if (m_link.Connected()) {
    m_link.LinkSend(std::string(1, c));
  }
}

void TConsoleModel::ComboAsciiClick(const std::string& entry) { TerminalKeyPress(static_cast<char>(ComboAsciiCode(entry))); }

void TConsoleModel::ButtonClearClick() {
  m_output.clear();
  m_hold = false;
  m_cancelEnabled = true;
}

void TConsoleModel::ButtonCancelClick() {
  if (!simulationRunning && !m_link.Connected()) return;
  m_cancelEnabled = false;
  m_hold = true;
}

void TConsoleModel::UpdateTerminalTimerTimer() {
  const int32_t perSecond = 1000 / kRateIntervalMs;
  m_panels[3] = "gesendet: " + std::to_string(perSecond * m_sent) + " byte/s empfangen: " +
                std::to_string(perSecond * m_received) + " byte/s.";
  m_sent = 0;
  m_received = 0;
}

}  // namespace zarvek::link
