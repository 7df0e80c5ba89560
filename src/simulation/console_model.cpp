#include "simulation/console_model.h"

#include <charconv>
#include <cmath>

namespace zarvek {

namespace {

constexpr std::array<std::string_view, 33> kControlNames{
    "NUL", "SOH (Start of Header)", "STX (Start of Text)", "ETX (End of Text)", "EOT (End of Transmission)",
    "ENQ (Enquiry)", "ACK (Acknowledgement)", "BEL (Bell)", "BS (Backspace)", "HT (Horizontal Tab)",
    "LF (Line Feed)", "VT (Vertical Tab)", "FF (Form Feed)", "CR (Carriage Return)", "SO (Shift Out)",
    "SI (Shift In)", "DLE (Data Link Escape)", "DC1 (XON / Device Control 1)", "DC2 (Device Control 2)",
    "DC3 (XOFF / Device Control 3)", "DC4 (Device Control 4)", "NAK (Negative Acknowledgement)",
    "SYN (Synchronous Idle)", "ETB (End of Transmission Block)", "CAN (Cancel)", "EM (End of Medium)",
    "SUB (Substitute)", "ESC (Escape)", "FS (File Separator)", "GS (Group Separator)",
    "RS (Request to Send / Record Separator)", "US (Unit Separator)", "SP (Space)"};

constexpr const char* kOnline = " online";
constexpr const char* kOffline = " offline";
constexpr const char* kSimulation = " Simulation";

std::string RightAligned(std::string_view text, size_t width) {
  return std::string(text.size() < width ? width - text.size() : 0, ' ') + std::string(text);
}

}  // namespace

const std::array<std::string, kComboAsciiEntries>& ComboAsciiEntries() {
  static const std::array<std::string, kComboAsciiEntries> entries = [] {
    std::array<std::string, kComboAsciiEntries> e;
    for (size_t code = 0; code < kComboAsciiEntries; ++code) {
      std::string name;
      if (code < kControlNames.size()) {
        // The short name right-aligned in three characters, then its description.
        const std::string_view full = kControlNames[code];
        const size_t blank = full.find(' ');
        name = RightAligned(full.substr(0, blank), 3);
        if (blank != std::string_view::npos) name += std::string(full.substr(blank));
      } else {
        name = RightAligned(std::string(1, static_cast<char>(code)), 3);
      }
      e[code] = RightAligned(std::to_string(code), 3) + " " + name;
    }
    return e;
  }();
  return entries;
}

uint8_t ComboAsciiCode(std::string_view entry) {
  std::string_view digits = entry.substr(0, 3);
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return 0;
  return static_cast<uint8_t>(value);
}

void TConsoleModel::SetLink(bool open, std::string portName, std::string speedName) {
  m_linkOpen = open;
  m_port = std::move(portName);
  m_speed = std::move(speedName);
}

void TConsoleModel::SetSimulation(uint8_t runKind, bool pyxon, TSerialRates rates, TConsoleInput* input) {
  m_runKind = runKind;
  m_pyxon = pyxon;
  m_rates = rates;
  m_input = input;
}

void TConsoleModel::StatusPanels() {
  if (m_linkOpen) {
    m_panels[0] = kOnline;
    m_panels[1] = " " + m_port;
    m_panels[2] = " " + m_speed;
  } else if (Simulating()) {
    m_panels[0] = kOffline;
    m_panels[1] = kSimulation;
    m_panels[2] = " " + std::to_string(std::lround(m_rates.transmit)) + "/" + std::to_string(std::lround(m_rates.receive));
  } else {
    m_panels[0] = kOffline;
    m_panels[1].clear();
    m_panels[2].clear();
  }
}

void TConsoleModel::EmptyOutput() {
  m_output.clear();
  ++m_clears;
  m_dropped = 0;
}

void TConsoleModel::Refresh() {
  StatusPanels();
  if (!m_hold && !m_pending.empty()) {
    const size_t formFeed = m_pending.rfind('\x0C');
    if (formFeed != std::string::npos) {
      EmptyOutput();
      m_output.append(m_pending, formFeed + 1);
    } else {
      m_output += m_pending;
    }
    if (m_output.size() > kConsoleTextLimit) {
      const size_t cut = m_output.size() - kConsoleTextLimit;
      m_output.erase(0, cut);
      m_dropped += cut;
    }
    ++m_revision;
  }
  m_received += m_pending.size();
  m_pending.clear();
}

void TConsoleModel::TerminalKeyPress(uint8_t c) {
  Refresh();
  m_hold = false;
  m_cancelEnabled = true;
  ++m_sent;
  if (Simulating()) {
    if (m_input) m_input->Type(c);
  } else if (m_linkOpen && m_linkSend) {
    m_linkSend(c);
  }
}

void TConsoleModel::ComboAsciiClick(int entry) {
  if (entry < 0 || static_cast<size_t>(entry) >= kComboAsciiEntries) return;
  TerminalKeyPress(ComboAsciiCode(ComboAsciiEntries()[static_cast<size_t>(entry)]));
}

void TConsoleModel::ButtonClearClick() {
  EmptyOutput();
  m_hold = false;
  m_cancelEnabled = true;
  ++m_revision;
}

void TConsoleModel::ClearText() {
  EmptyOutput();
  ++m_revision;
}

bool TConsoleModel::ButtonCancelClick() {
  if (!Simulating() && !m_linkOpen) return false;
  m_cancelEnabled = false;
  m_hold = true;
  return true;
}

void TConsoleModel::UpdateTerminalTimerTimer() {
  constexpr uint64_t perSecond = 1000 / kRateIntervalMs;
  m_panels[3] = "gesendet: " + std::to_string(perSecond * m_sent) + " byte/s empfangen: " +
                std::to_string(perSecond * m_received) + " byte/s.";
  m_sent = m_received = 0;
  if (!m_pyxon && Simulating() && m_runKind != 5 && !m_pending.empty()) Refresh();
}

}  // namespace zarvek
