// The error strip under the editors: three message slots (the compile message, the
// assembler error, the general status text), each with a picture and a source position,
// laid out one below the other with the texts wrapped to the strip's width. The window
// paints the layout and hands clicks back for the slot under the mouse.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zarvek::workspace {

enum class TSlot { Compile = 0, Assembler = 1, Status = 2 };

// Pictures of the main image list.
inline constexpr int kPictureError = 28;
inline constexpr int kPictureInfo = 29;
inline constexpr int kPictureSuccess = 30;

inline constexpr int kPictureX = 5;
inline constexpr int kTextX = 25;
inline constexpr int kWrapMargin = 40;  // the text wraps at the strip's width less this
inline constexpr int kMaxStripLines = 5;
inline constexpr uint32_t kFrameColor = 0x808080;

struct TSlotContent {
  std::string text;  // UTF-8; CR LF breaks a line
  int32_t position = -1;  // in the source; -1: none
};

class TErrorDisplay {
 public:
  void Set(TSlot slot, std::string text, int32_t position = -1);
  void Clear(TSlot slot) { Set(slot, {}, -1); }
  void ClearAll();
  // After a successful compile the compile slot shows the success picture.
  void SetCompiled(bool compiled) { m_compiled = compiled; }
  const TSlotContent& Slot(TSlot slot) const { return m_slots[static_cast<size_t>(slot)]; }
  bool Empty() const;
  int Picture(TSlot slot) const;

 private:
  std::array<TSlotContent, 3> m_slots;
  bool m_compiled = false;
};

// Text width in pixels, given by the window's font metrics.
using TMeasure = std::function<int(const std::string& utf8)>;

struct TSlotLayout {
  TSlot slot;
  int picture;
  int firstLine;  // index of the slot's first text line in the strip
  std::vector<std::string> lines;
};

struct TStripLayout {
  std::vector<TSlotLayout> slotLayouts;  // the non-empty slots, in order
  int lineCount = 0;               // text lines needed (all slots)
  int visibleLines = 0;            // at most kMaxStripLines
};

// Breaks at CR LF (and lone CR or LF), then wraps at blanks so that every line fits
// `width` pixels; a word wider than the line is broken between characters.
std::vector<std::string> WrapText(const std::string& text, int width, const TMeasure& measure);

TStripLayout LayoutStrip(const TErrorDisplay& display, int stripWidth, const TMeasure& measure);

// The strip grows one line per step towards what it needs (at most kMaxStripLines) and
// shrinks at once.
int NextStripLines(int currentLines, const TStripLayout& layout);

// The slot whose lines cover text line `line` (y / line height) of the strip.
std::optional<TSlot> SlotAtLine(const TStripLayout& layout, int line);

// What the status slot shows after a successful build: the compiler's notice (the EEPROM
// size) and, when warnings are switched on, the warnings text.
std::string BuildNoticeText(const std::string& compilerNotice, const std::string& warningsText, bool warningsEnabled);

}  // namespace zarvek::workspace
