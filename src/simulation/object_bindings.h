// Object bindings: how the simulation objects of the grid meet the simulated hardware at
// every timer tick. The input pass carries switches, wheels and interrupt buttons into
// the hardware record; the output pass shows the program's outputs on LEDs, gauges and
// variable displays. A binding that cannot be resolved is reported as an object error,
// which pauses the run with its message.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/sim_hardware.h"
#include "simulation/machine_access.h"
#include "simulation/object_grid.h"
#include "simulation/program_symbols.h"

namespace zarvek {

struct TObjectError {
  int x = 0, y = 0;
  int row = 0;              // the settings row that failed
  std::string objectName;   // cp1252, from the settings rows
  std::string attribute;
  std::string value;        // cp1252
};

// "Das Objekt X hat für das Attribut Y den ungültigen Wert "Z". Sie können ..." (UTF-8).
std::string ObjectErrorMessage(const TObjectError& error);

// Object port (1-based: port n is byte port n - 1 of the token machine) and bit 0 to 7.
struct TPortBinding {
  int port = 0;
  int bit = 0;
};

// Resolves the "I/O Port" and "Bit" settings of an LED or switch through the assembler's
// names first, then the BASIC port variables; on failure errorRow is 1 (port) or 2 (bit).
std::optional<TPortBinding> ResolvePort(const TSimObject& object, const TProgramSymbols& symbols, int& errorRow);

// What the editor of a settings row offers: for a port the assembler's constants (no
// immediate values, no names with a dot) and the BASIC port variables; "1" and "0" for
// the active level; the AD or DA port variables for a channel; nothing (free text) for
// the others.
std::vector<std::string> SettingChoices(uint8_t slotKind, const TProgramSymbols& symbols);

// The emulated Tessel controller's pins as the objects see them (the Tessel loop's owner
// implements it over the emulator).
class TTesselPins {
 public:
  virtual ~TTesselPins() = default;
  // Port B (1) or C (2): the output latch where the data-direction bit is set, else the
  // external input.
  virtual bool PortPin(int port, int bit) = 0;
  // The analog port read digitally.
  virtual bool AnalogPin(int bit) = 0;
  virtual uint8_t ReadByte(uint16_t address) = 0;
  virtual void SetMemoryBit(uint16_t address, int bit) = 0;
};

struct TPassResult {
  bool repaint = false;                // a picture or a shown text changed
  std::optional<TObjectError> error;   // the first binding that failed
};

class TObjectBindings {
 public:
  TObjectBindings(TObjectGrid& grid, const TProgramSymbols& symbols, TSimulatedHardware& hardware)
      : m_grid(grid), m_symbols(symbols), m_hw(hardware) {}

  // Token machine path. machine raises interrupts and reads variables (may be null).
  TPassResult InputPass(TMachineAccess* machine);
  TPassResult OutputPass(TMachineAccess* machine);
  // Tessel path; ram reads the BASIC variables of variable displays (may be null).
  TPassResult TesselInputPass(TTesselPins& pins);
  TPassResult TesselOutputPass(TTesselPins& pins, TMachineAccess* ram);

  // What a variable display shows (empty before the first output pass).
  const std::string& DisplayedValue(int x, int y) const {
    return m_shown[static_cast<size_t>(x)][static_cast<size_t>(y)];
  }

 private:
  TPassResult OutputPassWith(TMachineAccess* memory, const std::function<bool(const TPortBinding&)>& ledLevel);
  bool SwitchActive(const TSimObject& o) const;
  bool LedLit(const TSimObject& o, bool level) const;
  void Fail(TPassResult& result, int x, int y, int row) const;
  void Wheel(TPassResult& result, int x, int y);
  void Gauge(TPassResult& result, int x, int y);
  void Variable(TPassResult& result, int x, int y, TMachineAccess* machine);
  void ShowLed(TPassResult& result, TSimObject& o, bool level);

  TObjectGrid& m_grid;
  const TProgramSymbols& m_symbols;
  TSimulatedHardware& m_hw;
  std::array<std::array<std::string, kGridRows>, kGridColumns> m_shown{};
};

}  // namespace zarvek
