// TObjectGrid: the 20 x 20 cells of simulation objects with the selection, the editing
// commands (insert, convert, settings, copy, cut, paste, delete), the column widths and
// the pressed states the mouse gives. The widget draws it and forwards clicks; the
// project model loads and saves it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/sim_hardware.h"
#include "project/project.h"

// A record field is called "slots", which Qt defines as a macro when its headers came
// first: the macro is set aside for this header.
#pragma push_macro("slots")
#undef slots

namespace zarvek {

// Pictures of the object picture list that carry a display state.
namespace objectpicture {
inline constexpr uint16_t Released = 6;
inline constexpr uint16_t Pressed = 7;
inline constexpr uint16_t LitOffset = 3;  // a lit LED: its dark picture + 3
}  // namespace objectpicture

struct TObjectKindInfo {
  uint16_t type;
  std::string_view button;  // the insert button
  std::string_view hint;
  std::string_view defaultName;
  uint16_t picture;
  int treeImage;
};
// The eight kinds in type order (type 1 first); nullptr for other types.
const TObjectKindInfo* ObjectKind(uint16_t type);
bool IsLedOrSwitch(uint16_t type);
// The text of a settings slot (for code that also sees Qt's "slots" keyword macro).
inline const std::string& SlotText(const TSimObject& object, size_t slot) { return object.slots[slot].text; }

// One row of the settings grid of the selected object.
struct TSettingsRow {
  std::string caption;  // "Name:", "I/O Port", "Bit", "Aktion", "Analog Port", "Wert"
  uint8_t slotKind = 0; // 0: the name, or a value that is only shown
  std::string text;
};

// A mouse button on a cell; wheel clicks give the offset from the cell's centre and the
// height above its bottom edge in pixels.
enum class TMouseButton : uint8_t { Left, Right };

inline constexpr int kMinimumColumnWidth = 46;
inline constexpr int kColumnMargin = 5;

class TObjectGrid {
 public:
  using TTextWidth = std::function<int(std::string_view)>;
  // textWidth measures a caption in the grid's font (a plain estimate when empty).
  explicit TObjectGrid(TTextWidth textWidth = {});

  // --- Cells and selection ---
  const TSimObject& At(int x, int y) const { return m_cells[static_cast<size_t>(x)][static_cast<size_t>(y)]; }
  TSimObject& At(int x, int y) { return m_cells[static_cast<size_t>(x)][static_cast<size_t>(y)]; }
  int SelectedX() const { return m_x; }
  int SelectedY() const { return m_y; }
  void Select(int x, int y);
  const TSimObject& Selected() const { return At(m_x, m_y); }
  int ColumnWidth(int x) const { return m_widths[static_cast<size_t>(x)]; }

  // --- Editing (refused while a simulation runs and is not paused) ---
  void SetEditingAllowed(bool allowed) { m_editing = allowed; }
  bool EditingAllowed() const { return m_editing; }
  // Whether the insert button of a type is enabled for the selected cell.
  bool InsertEnabled(uint16_t type) const;
  // Inserts an object of the type (or converts the selected LED or switch in place); the
  // filled cell becomes the selection. False when nothing was inserted.
  bool Insert(uint16_t type);
  // shownValue: what a variable display shows in its "Wert" row.
  std::vector<TSettingsRow> SettingsRows(const std::string& shownValue = {}) const {
    return SettingsRowsOf(Selected(), shownValue);
  }
  static std::vector<TSettingsRow> SettingsRowsOf(const TSimObject& object, const std::string& shownValue = {});
  // Edits row r of the selected object; false when refused (message says why).
  bool EditSetting(int row, const std::string& text, std::string* message = nullptr);
  void Copy();
  bool Cut();
  bool Paste();
  bool Delete();
  bool ClipboardFilled() const { return m_clipboard.type != objecttype::Empty; }
  // A new project: every cell empty, widths reset, cell (0, 0) selected.
  void Clear();

  // --- Running simulation: the mouse ---
  // Returns true when the cell needs redrawing. The interrupt line of the Tessel path
  // follows the interrupt buttons.
  bool MouseDown(int x, int y, TMouseButton button, int dxFromCentre, int dyAboveBottom,
                 TSimulatedHardware* hardware = nullptr);
  bool MouseUp(int x, int y, TSimulatedHardware* hardware = nullptr);

  // --- The project ---
  void Load(const TProject& project);
  void SaveTo(TProject& project) const;
  bool Modified() const { return m_modified; }
  void ClearModified() { m_modified = false; }

  // The objects node's children: one per object, column by column.
  std::vector<TObjectNode> TreeNodes() const;

  // Where the dial pointer of a wheel or gauge ends, relative to the dial's centre (x to
  // the right, y downwards), for a value 0 to 255 (0 to 255 sweep 4.712 radians).
  static std::pair<int, int> DialPointer(int value);

  // The caption drawn under the picture: the name, for wheels and gauges with the value.
  static std::string Caption(const TSimObject& object);

 private:
  std::optional<int> CellToFill(int x, int y);
  void Fill(int x, int y, const TSimObject& record);
  void FitColumn(int x);

  TTextWidth m_textWidth;
  std::array<std::array<TSimObject, kGridRows>, kGridColumns> m_cells{};
  std::array<int, kGridColumns> m_widths{};
  TSimObject m_clipboard;
  int m_x = 0, m_y = 0;
  bool m_editing = true;
  bool m_modified = false;
};

}  // namespace zarvek

#pragma pop_macro("slots")
