#include "simulation/object_bindings.h"

#include <functional>

#include <algorithm>

#include "project/integer_text.h"
#include "simulation/variable_values.h"
#include "text/cp1252.h"

namespace zarvek {

namespace {

// A setting that is a number; whole text only.
std::optional<int32_t> Number(const std::string& text) { return ParseInteger(text); }

// The level a switch or LED is active at: "Aktion" as a number, 1 when it is none.
int32_t ActiveLevel(const TSimObject& o) { return Number(o.slots[2].text).value_or(1); }

bool Pressed(const TSimObject& o) { return o.pictureIndex == objectpicture::Pressed; }

}  // namespace

std::string ObjectErrorMessage(const TObjectError& e) {
  return "Das Objekt " + Cp1252ToUtf8(e.objectName) + " hat für das Attribut " + e.attribute +
         " den ungültigen Wert \"" + Cp1252ToUtf8(e.value) +
         "\". Sie können das Objekt jetzt neu konfigurieren und die Simulation fortsetzen.";
}

std::optional<TPortBinding> ResolvePort(const TSimObject& o, const TProgramSymbols& symbols, int& errorRow) {
  const std::string& portText = o.slots[0].text;
  const std::string& bitText = o.slots[1].text;
  std::optional<TPortBinding> binding;
  errorRow = 2;
  if (const std::optional<int32_t> port = symbols.AssemblerValue(portText)) {
    std::optional<int32_t> bit = symbols.AssemblerValue(bitText);
    if (!bit && !symbols.IsAssemblerName(bitText))
      if (const std::optional<int32_t> n = Number(bitText)) bit = *n - 1;
    if (bit) binding = TPortBinding{*port, *bit};
  } else {
    const int index = symbols.FindBasic(portText, KindBit(kind::Port));
    if (index < 0) {
      errorRow = 1;
      return std::nullopt;
    }
    const Tlabel& s = symbols.Basic()[static_cast<size_t>(index)];
    const int32_t a = static_cast<int32_t>(s.address);
    const std::optional<int32_t> bitNumber = Number(bitText);
    if (HasKind(s.kind, kind::Bit)) {
      binding = TPortBinding{a / 8 + 1, a % 8};
    } else if (HasKind(s.kind, kind::Word)) {
      if (bitNumber && *bitNumber >= 1 && *bitNumber <= 16) {
        const int32_t b = *bitNumber - 1;
        binding = TPortBinding{2 * a + 1 + b / 8, b % 8};
      }
    } else if (bitNumber) {
      binding = TPortBinding{a + 1, *bitNumber - 1};
    }
  }
  if (!binding) return std::nullopt;
  if (binding->bit < 0 || binding->bit > 7) return std::nullopt;
  if (binding->port < 1 || (!symbols.Tessel() && binding->port > 4)) {
    errorRow = 1;
    return std::nullopt;
  }
  return binding;
}

std::vector<std::string> SettingChoices(uint8_t slotKind, const TProgramSymbols& symbols) {
  std::vector<std::string> choices;
  auto variables = [&](int kindBit) {
    for (const Tlabel& s : symbols.Basic())
      if (HasKind(s.kind, kindBit) && s.scope == -1) choices.push_back(s.name);
  };
  switch (slotKind) {
    case slotkind::Port:
      for (const hc05::TAsmSymbol& a : symbols.Assembler())
        if (a.kind == hc05::asmsymbol::Constant && !a.name.starts_with('#') &&
            a.name.find('.') == std::string::npos && !a.value.starts_with('#') && hc05::AsmSymbolNumber(a))
          choices.push_back(a.name);
      variables(kind::Port);
      break;
    case slotkind::Active: choices = {"1", "0"}; break;
    case slotkind::AdChannel: variables(kind::AdInput); break;
    case slotkind::DaChannel: variables(kind::DaOutput); break;
    default: break;
  }
  return choices;
}

void TObjectBindings::Fail(TPassResult& result, int x, int y, int row) const {
  if (result.error) return;
  // Name, attribute and value as the settings grid shows them.
  const std::vector<TSettingsRow> rows = TObjectGrid::SettingsRowsOf(m_grid.At(x, y));
  TObjectError e;
  e.x = x;
  e.y = y;
  e.row = row;
  e.objectName = rows.empty() ? std::string() : rows[0].text;
  if (static_cast<size_t>(row) < rows.size()) {
    e.attribute = rows[static_cast<size_t>(row)].caption;
    e.value = rows[static_cast<size_t>(row)].text;
  }
  result.error = std::move(e);
}

bool TObjectBindings::SwitchActive(const TSimObject& o) const {
  // Level 1: a pressed switch reads 1; level 0: a released one does.
  return (ActiveLevel(o) == 0) == !Pressed(o);
}

void TObjectBindings::Wheel(TPassResult& result, int x, int y) {
  const TSimObject& o = m_grid.At(x, y);
  const int index = m_symbols.FindBasic(o.slots[0].text, KindBit(kind::AdInput));
  const int64_t channel = index < 0 ? -1 : m_symbols.Basic()[static_cast<size_t>(index)].address;
  if (channel < 0 || channel > 7) return Fail(result, x, y, 1);
  const std::optional<int32_t> value = Number(o.slots[1].text);
  // A bad value is named as such, not as a bad channel.
  if (!value || *value < 0 || *value > 255) return Fail(result, x, y, 2);
  std::atomic<uint8_t>& input = m_hw.adInputs[static_cast<size_t>(channel)];
  input = std::max<uint8_t>(input.load(), static_cast<uint8_t>(*value));
}

TPassResult TObjectBindings::InputPass(TMachineAccess* machine) {
  TPassResult result;
  m_hw.inputPorts[1] = 0;
  m_hw.inputPorts[2] = 0;
  for (auto& ad : m_hw.adInputs) ad = 0;
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y) {
      const TSimObject& o = m_grid.At(x, y);
      if (o.type == objecttype::Switch) {
        int row = 0;
        const std::optional<TPortBinding> b = ResolvePort(o, m_symbols, row);
        if (!b) {
          Fail(result, x, y, row);
          continue;
        }
        std::atomic<uint8_t>& port = m_hw.inputPorts[static_cast<size_t>(b->port - 1)];
        const uint8_t mask = static_cast<uint8_t>(1u << b->bit);
        port = SwitchActive(o) ? static_cast<uint8_t>(port.load() | mask) : static_cast<uint8_t>(port.load() & ~mask);
      } else if (o.type == objecttype::AnalogWheel) {
        Wheel(result, x, y);
      } else if (o.type == objecttype::Interrupt && Pressed(o) && machine) {
        machine->RaiseInterrupt();
      }
    }
  return result;
}

TPassResult TObjectBindings::TesselInputPass(TTesselPins& pins) {
  TPassResult result;
  m_hw.inputPorts[1] = 0;
  m_hw.inputPorts[2] = 0;
  for (auto& ad : m_hw.adInputs) ad = 0;
  bool interrupt = false;
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y) {
      const TSimObject& o = m_grid.At(x, y);
      if (o.type == objecttype::Switch) {
        int row = 0;
        const std::optional<TPortBinding> b = ResolvePort(o, m_symbols, row);
        if (!b) {
          Fail(result, x, y, row);
          continue;
        }
        if (!SwitchActive(o)) continue;  // inputs are only ever set here
        if (b->port == 1 || b->port == 2) {
          std::atomic<uint8_t>& port = m_hw.inputPorts[static_cast<size_t>(b->port)];
          port = static_cast<uint8_t>(port.load() | (1u << b->bit));
        } else if (b->port == 3) {
          m_hw.adInputs[static_cast<size_t>(b->bit)] = 255;
        } else {
          pins.SetMemoryBit(static_cast<uint16_t>(b->port), b->bit);
        }
      } else if (o.type == objecttype::AnalogWheel) {
        Wheel(result, x, y);
      } else if (o.type == objecttype::Interrupt && Pressed(o)) {
        interrupt = true;
      }
    }
  m_hw.interruptLine = interrupt ? 1 : 0;
  return result;
}

bool TObjectBindings::LedLit(const TSimObject& o, bool level) const { return (ActiveLevel(o) == 0) != level; }

void TObjectBindings::ShowLed(TPassResult& result, TSimObject& o, bool level) {
  const uint16_t dark = ObjectKind(o.type)->picture;
  const uint16_t picture = LedLit(o, level) ? static_cast<uint16_t>(dark + objectpicture::LitOffset) : dark;
  if (picture != o.pictureIndex) {
    o.pictureIndex = picture;
    result.repaint = true;
  }
}

void TObjectBindings::Gauge(TPassResult& result, int x, int y) {
  TSimObject& o = m_grid.At(x, y);
  const int index = m_symbols.FindBasic(o.slots[0].text, KindBit(kind::DaOutput));
  const int64_t channel = index < 0 ? -1 : m_symbols.Basic()[static_cast<size_t>(index)].address;
  if (channel < 0 || channel > 1) return Fail(result, x, y, 1);
  o.slots[1].text = std::to_string(m_hw.daOutputs[static_cast<size_t>(channel)].load());
  // Slot 2 remembers the value last drawn.
  if (o.slots[1].text != o.slots[2].text) {
    o.slots[2].text = o.slots[1].text;
    result.repaint = true;
  }
}

void TObjectBindings::Variable(TPassResult& result, int x, int y, TMachineAccess* machine) {
  const TSimObject& o = m_grid.At(x, y);
  std::string text;
  if (machine) {
    TVariableReader reader(*machine, &m_hw);
    if (!DisplayText(m_symbols, reader, o.name, text)) return Fail(result, x, y, 0);
  }
  std::string& shown = m_shown[static_cast<size_t>(x)][static_cast<size_t>(y)];
  if (text != shown) {
    shown = text;
    result.repaint = true;
  }
}

TPassResult TObjectBindings::OutputPass(TMachineAccess* machine) {
  return OutputPassWith(machine, [this](const TPortBinding& b) {
    const size_t p = static_cast<size_t>(b.port - 1);
    const uint8_t levels = static_cast<uint8_t>(m_hw.outputPorts[p].load() | m_hw.inputPorts[p].load());
    return ((levels >> b.bit) & 1) != 0;
  });
}

TPassResult TObjectBindings::TesselOutputPass(TTesselPins& pins, TMachineAccess* ram) {
  return OutputPassWith(ram, [&pins](const TPortBinding& b) -> bool {
    if (b.port == 1 || b.port == 2) return pins.PortPin(b.port, b.bit);
    if (b.port == 3) return pins.AnalogPin(b.bit);
    return (pins.ReadByte(static_cast<uint16_t>(b.port)) >> b.bit) & 1;
  });
}

// One walk over the grid for both families; only how an LED's pin reads differs.
TPassResult TObjectBindings::OutputPassWith(TMachineAccess* memory,
                                            const std::function<bool(const TPortBinding&)>& ledLevel) {
  TPassResult result;
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y) {
      TSimObject& o = m_grid.At(x, y);
      if (IsLedOrSwitch(o.type)) {
        int row = 0;
        const std::optional<TPortBinding> b = ResolvePort(o, m_symbols, row);
        if (!b) {
          Fail(result, x, y, row);
          continue;
        }
        if (o.type != objecttype::Switch) ShowLed(result, o, ledLevel(*b));
      } else if (o.type == objecttype::AnalogGauge) {
        Gauge(result, x, y);
      } else if (o.type == objecttype::VariableNumerical) {
        Variable(result, x, y, memory);
      }
    }
  return result;
}

}  // namespace zarvek
