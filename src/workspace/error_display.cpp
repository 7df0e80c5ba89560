#include "workspace/error_display.h"

#include <algorithm>

namespace zarvek::workspace {

void TErrorDisplay::Set(TSlot slot, std::string text, int32_t position) {
  TSlotContent& s = m_slots[static_cast<size_t>(slot)];
  s.position = text.empty() ? -1 : position;
  s.text = std::move(text);
}

void TErrorDisplay::ClearAll() {
  for (TSlotContent& s : m_slots) s = {};
  m_compiled = false;
}

bool TErrorDisplay::Empty() const {
  return std::all_of(m_slots.begin(), m_slots.end(), [](const TSlotContent& s) { return s.text.empty(); });
}

int TErrorDisplay::Picture(TSlot slot) const {
  switch (slot) {
    case TSlot::Compile:
      if (Slot(TSlot::Compile).position >= 0 || Slot(TSlot::Assembler).position >= 0) return kPictureError;
      return m_compiled ? kPictureSuccess : kPictureInfo;
    case TSlot::Assembler: return kPictureError;
    case TSlot::Status: return kPictureInfo;
  }
  return kPictureInfo;
}

namespace {

std::vector<std::string> SplitAtLineBreaks(const std::string& text) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// A word wider than the line goes out in pieces that fit (at least one character each).
void BreakLongWord(const std::string& word, int width, const TMeasure& measure, std::vector<std::string>& lines,
                   std::string& current) {
  size_t i = 0;
  while (i < word.size()) {
    const size_t n = std::min(Utf8Length(static_cast<unsigned char>(word[i])), word.size() - i);
    const std::string piece = word.substr(i, n);
    if (!current.empty() && measure(current + piece) > width) {
      lines.push_back(current);
      current.clear();
    }
    current += piece;
    i += n;
  }
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int width, const TMeasure& measure) {
  std::vector<std::string> lines;
  for (const std::string& paragraph : SplitAtLineBreaks(text)) {
    std::string current;
    size_t i = 0;
    while (i <= paragraph.size()) {
      size_t end = paragraph.find(' ', i);
      if (end == std::string::npos) end = paragraph.size();
      const std::string word = paragraph.substr(i, end - i);
      const std::string joined = current.empty() ? word : current + " " + word;
      if (measure(joined) <= width || (current.empty() && word.empty())) {
        current = joined;
      } else {
        if (!current.empty()) lines.push_back(current);
        current.clear();
        if (measure(word) <= width) current = word;
        else BreakLongWord(word, width, measure, lines, current);
      }
      i = end + 1;
    }
    lines.push_back(current);
  }
  return lines;
}

TStripLayout LayoutStrip(const TErrorDisplay& display, int stripWidth, const TMeasure& measure) {
  TStripLayout layout;
  const int width = std::max(1, stripWidth - kWrapMargin);
  for (TSlot slot : {TSlot::Compile, TSlot::Assembler, TSlot::Status}) {
    const TSlotContent& content = display.Slot(slot);
    if (content.text.empty()) continue;
    TSlotLayout s{slot, display.Picture(slot), layout.lineCount, WrapText(content.text, width, measure)};
    layout.lineCount += static_cast<int>(s.lines.size());
    layout.slotLayouts.push_back(std::move(s));
  }
  layout.visibleLines = std::min(layout.lineCount, kMaxStripLines);
  return layout;
}

int NextStripLines(int currentLines, const TStripLayout& layout) {
  if (currentLines >= layout.visibleLines) return layout.visibleLines;
  return currentLines + 1;
}

std::optional<TSlot> SlotAtLine(const TStripLayout& layout, int line) {
  for (const TSlotLayout& s : layout.slotLayouts)
    if (line >= s.firstLine && line < s.firstLine + static_cast<int>(s.lines.size())) return s.slot;
  return std::nullopt;
}

std::string BuildNoticeText(const std::string& compilerNotice, const std::string& warningsText, bool warningsEnabled) {
  std::string text = compilerNotice;
  if (warningsEnabled && !warningsText.empty()) {
    if (!text.empty()) text += "\r\n";
    text += warningsText;
  }
  while (text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

}  // namespace zarvek::workspace
