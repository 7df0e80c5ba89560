// The project a user edits: the two source texts, the target profile, the breakpoint
// lines of both editors and the simulation objects on their 20 x 20 grid.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/profile.h"

// A record field is called "slots", which Qt defines as a macro when its headers came
// first: the macro is set aside for this header.
#pragma push_macro("slots")
#undef slots

namespace zarvek {

inline constexpr int kGridColumns = 20;
inline constexpr int kGridRows = 20;
inline constexpr size_t kObjectNameLength = 32;
inline constexpr size_t kSlotTextLength = 16;
inline constexpr size_t kObjectSlots = 18;

namespace objecttype {
inline constexpr uint16_t Empty = 0;
inline constexpr uint16_t LedRed = 1;
inline constexpr uint16_t LedYellow = 2;
inline constexpr uint16_t LedGreen = 3;
inline constexpr uint16_t Switch = 4;
inline constexpr uint16_t AnalogWheel = 5;
inline constexpr uint16_t AnalogGauge = 6;
inline constexpr uint16_t Interrupt = 7;
inline constexpr uint16_t VariableNumerical = 8;
}  // namespace objecttype

namespace slotkind {
inline constexpr uint8_t Port = 1;
inline constexpr uint8_t Bit = 2;
inline constexpr uint8_t Active = 3;
inline constexpr uint8_t Value = 4;
inline constexpr uint8_t AdChannel = 5;
inline constexpr uint8_t DaChannel = 6;
}  // namespace slotkind

struct TObjectSlot {
  std::string text;  // at most 16 characters
  uint8_t kind = 0;
  bool operator==(const TObjectSlot&) const = default;
};

// A simulation object as far as the files carry it.
struct TSimObject {
  uint16_t type = objecttype::Empty;
  uint16_t pictureIndex = 0;
  std::string name;  // at most 32 characters
  std::array<TObjectSlot, kObjectSlots> slots{};
  bool operator==(const TSimObject&) const = default;
};

// The objects node of the project tree gets one child per object read from a file.
struct TObjectNode {
  std::string name;
  int image = -1;  // -1: an object of unknown class
  int x = 0, y = 0;
  bool operator==(const TObjectNode&) const = default;
};

struct TProject {
  TProfile profile = profile::Tessel11;
  std::string basicSource;       // cp1252
  std::string assemblerSource;   // cp1252
  std::vector<int32_t> basicBreakpoints;      // editor lines, 1-based
  std::vector<int32_t> assemblerBreakpoints;  // editor lines, 1-based
  std::array<std::array<TSimObject, kGridRows>, kGridColumns> objects{};  // [x][y]

  TSimObject& At(int x, int y) { return objects[static_cast<size_t>(x)][static_cast<size_t>(y)]; }
  const TSimObject& At(int x, int y) const { return objects[static_cast<size_t>(x)][static_cast<size_t>(y)]; }
  bool operator==(const TProject&) const = default;
};

constexpr bool InGrid(int64_t x, int64_t y) { return x >= 0 && x < kGridColumns && y >= 0 && y < kGridRows; }

// The profile's value in the project file.
std::string_view ProfileFileValue(TProfile profile);
// The profile a file value names; Tessel 1.1 for "unknown" and any other text.
TProfile ProfileFromFileValue(std::string_view value);
// The profile a file value names; nothing for an unknown value.
std::optional<TProfile> FindProfileFileValue(std::string_view value);

// What a class of simulation objects is in files and in the project tree.
struct TObjectClass {
  std::string_view fileName;  // the `class` text
  uint16_t type;
  uint16_t pictureIndex;
  int treeImage;
  // The parameter elements in slot order, with the kind each slot gets.
  std::vector<std::pair<std::string_view, uint8_t>> parameters;
};

// The class of a type, or nullptr for an empty cell and unknown types.
const TObjectClass* ObjectClassOfType(uint16_t type);
const TObjectClass* ObjectClassNamed(std::string_view fileName);

// The first `length` bytes of a text.
std::string CutText(std::string_view text, size_t length);

}  // namespace zarvek

#pragma pop_macro("slots")
