// The serial console's model, one for the board and for the simulated program: the text
// received and shown, the hold flag, the byte counters and rates, the four status panels,
// typed characters and the control-code list. In simulation the typed characters go to
// the simulated program's serial line; while the link is open they go to the port. The
// port and speed choice and the connect command are the link's (link::TPortChoice); the
// window shows what this model holds.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/sim_hardware.h"
#include "simulation/tessel_board.h"

namespace zarvek {

// Where typed characters go during a simulation: the token machine's receive buffer or
// the emulated controller's SCI.
class TConsoleInput {
 public:
  virtual ~TConsoleInput() = default;
  virtual void Type(uint8_t c) = 0;
};

// The token machine takes typed characters from the hardware record's serial input.
class THardwareConsoleInput final : public TConsoleInput {
 public:
  explicit THardwareConsoleInput(TSimulatedHardware& hardware) : m_hw(hardware) {}
  void Type(uint8_t c) override { m_hw.serialInput.Append(std::string(1, static_cast<char>(c))); }

 private:
  TSimulatedHardware& m_hw;
};

inline constexpr size_t kComboAsciiEntries = 37;
inline constexpr int kComboAsciiDefault = 16;
inline constexpr int kRateIntervalMs = 250;
// The shown text keeps at most this many of the last bytes received: a program printing
// for hours must not fill the memory.
inline constexpr size_t kConsoleTextLimit = 256 * 1024;
// The entries of the control-code list, "  0 NUL" to " 36   $".
const std::array<std::string, kComboAsciiEntries>& ComboAsciiEntries();
// The code an entry sends: its first three characters, trimmed, as a decimal number; 0
// when they are none.
uint8_t ComboAsciiCode(std::string_view entry);

class TConsoleModel {
 public:
  TConsoleModel() { StatusPanels(); }

  // --- What the console is connected to ---
  // The link's state and the names the panels show for it (set by the port choice).
  void SetLink(bool open, std::string portName = {}, std::string speedName = {});
  // run kind of the simulation (0: none), whether the profile is a Pyxon, the simulated
  // line's rates and where typed characters go (may be null).
  void SetSimulation(uint8_t runKind, bool pyxon, TSerialRates rates, TConsoleInput* input);
  void SetLinkSend(std::function<void(uint8_t)> send) { m_linkSend = std::move(send); }

  // --- Text ---
  // Received text (from the link or the simulated program), moved into the output at the
  // next refresh. The output is kept whether or not a window shows it, so that nothing the
  // program printed is missing when the console is opened.
  void Receive(std::string_view text) { m_pending.append(text); }
  void Refresh();
  // A typed character; no local echo.
  void TerminalKeyPress(uint8_t c);
  // Sends the code of the control-code list's entry (also Senden).
  void ComboAsciiClick(int entry);
  // Löschen: empties the output and ends a hold.
  void ButtonClearClick();
  // A compile starts with an empty console; a hold the user chose stays.
  void ClearText();
  // Empfang Abbrechen: received text is counted but no longer shown (only during a
  // simulation or with the link open; false otherwise).
  bool ButtonCancelClick();
  // Every kRateIntervalMs.
  void UpdateTerminalTimerTimer();

  const std::string& Output() const { return m_output; }
  const std::string& Pending() const { return m_pending; }
  bool Holding() const { return m_hold; }
  bool CancelEnabled() const { return m_cancelEnabled; }
  bool LinkOpen() const { return m_linkOpen; }
  const std::array<std::string, 4>& Panels() const { return m_panels; }
  // Counts of the shown text's clearings and appends since construction: the window
  // repaints only when they moved.
  uint64_t Revision() const { return m_revision; }
  // Counts the times the shown text was emptied (form feed, Löschen): a window that
  // appends only the new text starts over when it moved.
  uint64_t Clears() const { return m_clears; }
  // Bytes cut from the front of the shown text since it was last emptied (the limit).
  uint64_t Dropped() const { return m_dropped; }

 private:
  void StatusPanels();
  void EmptyOutput();
  bool Simulating() const { return m_runKind != 0; }

  std::string m_pending, m_output;
  bool m_hold = false;
  bool m_cancelEnabled = true;
  uint64_t m_sent = 0, m_received = 0, m_revision = 0, m_clears = 0, m_dropped = 0;
  std::array<std::string, 4> m_panels;
  bool m_linkOpen = false;
  std::string m_port, m_speed;
  uint8_t m_runKind = 0;
  bool m_pyxon = false;
  TSerialRates m_rates;
  TConsoleInput* m_input = nullptr;
  std::function<void(uint8_t)> m_linkSend;
};

}  // namespace zarvek
