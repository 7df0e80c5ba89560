// The console's link side as a model: connecting, the port and speed lists, what was
// received (with hold and form feed), typed keys and control codes, the status panels
// and the byte rates. The window shows this model and forwards its events.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/link.h"

namespace zarvek::link {

std::vector<std::string> BaudList();
// The 37 entries for the codes 0 to 36 ("  0 NUL", " 13  CR (Carriage Return)", ...).
std::vector<std::string> ComboAsciiList();
inline constexpr int kComboAsciiStart = 16;
// The code an entry sends: its first three characters as a number, 0 when they are none.
uint8_t ComboAsciiCode(const std::string& entry);
// The serial ports the system offers; on Windows COM1 to COM12.
std::vector<std::string> SystemPortList();

class TConsoleModel {
 public:
  static constexpr int kRateIntervalMs = 250;

  explicit TConsoleModel(TLink& link);

  // Connect and disconnect; the caption follows the link.
  void ButtonConnectClick();
  std::string ConnectCaption() const;
  bool ListsEnabled() const { return !m_link.Connected(); }
  void ComPortListChange(const std::string& port);
  void BaudListChange(const std::string& baud);
  const std::string& PortText() const { return m_port; }
  const std::string& BaudText() const { return m_baud; }

  // Received while no transfer runs, and the link's connect message.
  void AppendReceived(const std::string& data);
  void Refresh();
  void TerminalKeyPress(char c);
  void ComboAsciiClick(const std::string& entry);
  void ButtonClearClick();
  void ButtonCancelClick();
  void UpdateTerminalTimerTimer();
  bool CancelEnabled() const { return m_cancelEnabled; }
  bool Holding() const { return m_hold; }

  bool visible = true;
  // During a simulation the console talks to the simulated program instead.
  bool simulationRunning = false;
  std::function<void(char)> toSimulation;
  double simulatedTransmitBaud = 0;
  double simulatedReceiveBaud = 0;

  const std::string& Output() const { return m_output; }
  const std::array<std::string, 4>& Panels() const { return m_panels; }
  int32_t SentCount() const { return m_sent; }
  int32_t ReceivedCount() const { return m_received; }

 private:
  TLink& m_link;
  std::string m_port = "COM1";
  std::string m_baud = "9600";
  std::string m_pending;
  std::string m_output;
  std::array<std::string, 4> m_panels;
  bool m_hold = false;
  bool m_cancelEnabled = true;
  int32_t m_sent = 0;
  int32_t m_received = 0;
};

}  // namespace zarvek::link
