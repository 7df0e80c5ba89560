#include "simulation/object_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "project/integer_text.h"

namespace zarvek {

namespace {

const std::array<TObjectKindInfo, 8> kKinds{{
    {objecttype::LedRed, "ButtonObjectLEDred", "LED (rot) für Digital Ausgang (Port)", "LED1", 0, 32},
    {objecttype::LedYellow, "ButtonObjectLEDyellow", "LED (gelb) für Digital Ausgang (Port)", "LED3", 1, 33},
    {objecttype::LedGreen, "ButtonObjectLEDgreen", "LED (grün) für Digital Ausgang (Port)", "LED2", 2, 34},
    {objecttype::Switch, "ButtonObjectSwitch", "Schalter für Digital Eingang (Port)", "SWITCH", 6, 35},
    {objecttype::AnalogWheel, "ButtonObjectADControl", "Regler für Analog Eingang (AD)", "AD", 8, 36},
    {objecttype::AnalogGauge, "ButtonObjectDAdisplay", "Anzeige für Analog Ausgang (DA)", "DA", 10, 37},
    {objecttype::Interrupt, "ButtonObjectInterrupt", "Taster für Interrupt Request", "Interrupt", 6, 47},
    {objecttype::VariableNumerical, "ButtonObjectVariable", "Anzeige für Variablenwert", "Variable", 100, 46},
}};

constexpr int kDefaultWidth = kMinimumColumnWidth + kColumnMargin;
constexpr int kWheelDecrementFrom = -15, kWheelDecrementTo = -10;
constexpr int kWheelIncrementFrom = 10, kWheelIncrementTo = 14;
constexpr int kWheelBandFrom = 24, kWheelBandTo = 27;

}  // namespace

const TObjectKindInfo* ObjectKind(uint16_t type) {
  return type >= 1 && type <= kKinds.size() ? &kKinds[type - 1u] : nullptr;
}

bool IsLedOrSwitch(uint16_t type) { return type >= objecttype::LedRed && type <= objecttype::Switch; }

TObjectGrid::TObjectGrid(TTextWidth textWidth) : m_textWidth(std::move(textWidth)) {
  if (!m_textWidth) m_textWidth = [](std::string_view text) { return static_cast<int>(text.size()) * 6; };
  m_widths.fill(kDefaultWidth);
}

void TObjectGrid::Select(int x, int y) {
  if (!InGrid(x, y)) return;
  m_x = x;
  m_y = y;
}

bool TObjectGrid::InsertEnabled(uint16_t type) const {
  if (!m_editing || !ObjectKind(type)) return false;
  const uint16_t selected = Selected().type;
  if (selected == objecttype::Empty) return true;
  return IsLedOrSwitch(selected) && IsLedOrSwitch(type);
}

std::string TObjectGrid::Caption(const TSimObject& object) {
  if (object.type == objecttype::AnalogWheel || object.type == objecttype::AnalogGauge)
    return object.name + "(" + object.slots[1].text + ")";
  return object.name;
}

std::pair<int, int> TObjectGrid::DialPointer(int value) {
  const double a = -value * 0.0184794117647 - 0.75;
  return {static_cast<int>(std::lround(10 * std::sin(a))), static_cast<int>(std::lround(10 * std::cos(a)))};
}

void TObjectGrid::FitColumn(int x) {
  int widest = kMinimumColumnWidth;
  for (int y = 0; y < kGridRows; ++y)
    if (At(x, y).type != objecttype::Empty) widest = std::max(widest, m_textWidth(Caption(At(x, y))));
  m_widths[static_cast<size_t>(x)] = widest + kColumnMargin;
}

std::optional<int> TObjectGrid::CellToFill(int x, int y) {
  if (At(x, y).type == objecttype::Empty) return x;
  if (x < kGridColumns - 2 && At(x + 1, y).type == objecttype::Empty) return x + 1;
  if (At(kGridColumns - 1, y).type == objecttype::Empty) {
    // Make room: the row's objects from the selected column on move one column right.
    for (int c = kGridColumns - 1; c > x; --c) {
      At(c, y) = At(c - 1, y);
      m_widths[static_cast<size_t>(c)] = m_widths[static_cast<size_t>(c - 1)];
    }
    At(x, y) = TSimObject{};
    return x;
  }
  for (int c = x + 1; c < kGridColumns; ++c)
    if (At(c, y).type == objecttype::Empty) return c;
  return std::nullopt;
}

void TObjectGrid::Fill(int x, int y, const TSimObject& record) {
  At(x, y) = record;
  m_x = x;
  m_y = y;
  FitColumn(x);
  m_modified = true;
}

bool TObjectGrid::Insert(uint16_t type) {
  if (!InsertEnabled(type)) return false;
  const TObjectKindInfo& kind = *ObjectKind(type);
  TSimObject& selected = At(m_x, m_y);
  if (IsLedOrSwitch(selected.type)) {
    // Conversion keeps name, port, bit and level.
    selected.type = type;
    selected.pictureIndex = kind.picture;
    m_modified = true;
    return true;
  }
  const std::optional<int> column = CellToFill(m_x, m_y);
  if (!column) return false;
  TSimObject record;
  record.type = type;
  record.pictureIndex = kind.picture;
  record.name = std::string(kind.defaultName);
  if (const TObjectClass* c = ObjectClassOfType(type))
    for (size_t s = 0; s < c->parameters.size(); ++s) record.slots[s].kind = c->parameters[s].second;
  Fill(*column, m_y, record);
  return true;
}

std::vector<TSettingsRow> TObjectGrid::SettingsRowsOf(const TSimObject& o, const std::string& shownValue) {
  std::vector<TSettingsRow> rows;
  if (o.type == objecttype::Empty) return rows;
  rows.push_back({"Name:", 0, o.name});
  auto slot = [&](const char* caption, size_t s) { rows.push_back({caption, o.slots[s].kind, o.slots[s].text}); };
  switch (o.type) {
    case objecttype::LedRed:
    case objecttype::LedYellow:
    case objecttype::LedGreen:
    case objecttype::Switch:
      slot("I/O Port", 0);
      slot("Bit", 1);
      slot("Aktion", 2);
      break;
    case objecttype::AnalogWheel:
      slot("Analog Port", 0);
      slot("Wert", 1);
      break;
    case objecttype::AnalogGauge: slot("Analog Port", 0); break;
    case objecttype::VariableNumerical: rows.push_back({"Wert", 0, shownValue}); break;
    default: break;
  }
  return rows;
}

bool TObjectGrid::EditSetting(int row, const std::string& text, std::string* message) {
  auto refuse = [&](const char* why) {
    if (message) *message = why;
    return false;
  };
  if (!m_editing) return refuse("Die Objekte können nur bei angehaltener Simulation geändert werden.");
  TSimObject& o = At(m_x, m_y);
  const std::vector<TSettingsRow> rows = SettingsRows();
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) return refuse("Diese Zeile gibt es nicht.");
  if (row == 0) {
    o.name = CutText(text, kObjectNameLength);
    FitColumn(m_x);
    m_modified = true;
    return true;
  }
  const size_t s = static_cast<size_t>(row - 1);
  if (rows[static_cast<size_t>(row)].slotKind == 0) return refuse("Dieser Wert wird nur angezeigt.");
  std::string stored = CutText(text, kSlotTextLength);
  if (o.slots[s].kind == slotkind::Value) {
    const std::optional<int32_t> n = ParseInteger(text);
    if (!n) return refuse("Der Wert muss eine Zahl sein.");
    stored = std::to_string(std::abs(*n % 256));
  }
  o.slots[s].text = stored;
  if (o.type == objecttype::AnalogWheel || o.type == objecttype::AnalogGauge) FitColumn(m_x);
  m_modified = true;
  return true;
}

void TObjectGrid::Copy() {
  if (Selected().type != objecttype::Empty) m_clipboard = Selected();
}

bool TObjectGrid::Delete() {
  if (!m_editing || Selected().type == objecttype::Empty) return false;
  At(m_x, m_y) = TSimObject{};
  m_modified = true;
  return true;
}

bool TObjectGrid::Cut() {
  if (!m_editing || Selected().type == objecttype::Empty) return false;
  Copy();
  return Delete();
}

bool TObjectGrid::Paste() {
  if (!m_editing || !ClipboardFilled()) return false;
  const std::optional<int> column = CellToFill(m_x, m_y);
  if (!column) return false;
  Fill(*column, m_y, m_clipboard);
  return true;
}

void TObjectGrid::Clear() {
  for (auto& column : m_cells) column.fill(TSimObject{});
  m_widths.fill(kDefaultWidth);
  m_x = m_y = 0;
  m_modified = false;
}

bool TObjectGrid::MouseDown(int x, int y, TMouseButton button, int dx, int dyAboveBottom,
                            TSimulatedHardware* hardware) {
  if (!InGrid(x, y)) return false;
  if (button == TMouseButton::Right) Select(x, y);
  TSimObject& o = At(x, y);
  switch (o.type) {
    case objecttype::Switch: o.pictureIndex = objectpicture::Pressed; break;
    case objecttype::Interrupt:
      o.pictureIndex = objectpicture::Pressed;
      if (hardware) hardware->interruptLine = 1;
      break;
    case objecttype::AnalogWheel: {
      if (dyAboveBottom < kWheelBandFrom || dyAboveBottom > kWheelBandTo) break;
      const int value = std::clamp(ParseInteger(o.slots[1].text).value_or(0), 0, 255);
      int next = value;
      if (dx >= kWheelDecrementFrom && dx <= kWheelDecrementTo) next = std::max(0, value - 1);
      if (dx >= kWheelIncrementFrom && dx <= kWheelIncrementTo) next = std::min(255, value + 1);
      if (std::to_string(next) != o.slots[1].text) {
        o.slots[1].text = std::to_string(next);
        m_modified = true;
      }
      break;
    }
    default: break;
  }
  return true;
}

bool TObjectGrid::MouseUp(int x, int y, TSimulatedHardware* hardware) {
  if (!InGrid(x, y)) return false;
  TSimObject& o = At(x, y);
  if (o.type == objecttype::Switch || o.type == objecttype::Interrupt) {
    o.pictureIndex = objectpicture::Released;
    if (hardware) hardware->interruptLine = 0;
  }
  return true;
}

void TObjectGrid::Load(const TProject& project) {
  Clear();
  m_cells = project.objects;
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y) {
      const TSimObject& o = At(x, y);
      if (o.type == objecttype::Empty) continue;
      const int width = m_textWidth(o.name);
      if (width > m_widths[static_cast<size_t>(x)]) m_widths[static_cast<size_t>(x)] = width + kColumnMargin;
    }
}

std::vector<TObjectNode> TObjectGrid::TreeNodes() const {
  std::vector<TObjectNode> nodes;
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y)
      if (const TObjectKindInfo* kind = ObjectKind(At(x, y).type)) nodes.push_back({At(x, y).name, kind->treeImage, x, y});
  return nodes;
}

void TObjectGrid::SaveTo(TProject& project) const { project.objects = m_cells; }

}  // namespace zarvek
