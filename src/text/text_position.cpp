#include "text/text_position.h"

#include <algorithm>
#include <cstdint>

#include "text/cp1252.h"

namespace zarvek {

namespace {

// Every cp1252 character lies in the Basic Multilingual Plane, so a character is always one
// UTF-16 code unit; the column in code units is the column in characters.
constexpr int32_t kUtf16UnitsPerCharacter = 1;

}  // namespace

int Utf8LengthOfCp1252(char byte) {
  const auto b = static_cast<uint8_t>(byte);
  if (b < 0x80) return 1;
  if (b >= 0xA0) return 2;
  return static_cast<int>(Cp1252ToUtf8(std::string_view(&byte, 1)).size());
}

TTextPositionMap::TTextPositionMap(std::string_view cp1252Text) : m_text(cp1252Text) {
  m_lineStarts.push_back(0);
  m_utf8Starts.push_back(0);
  size_t utf8 = 0;
  for (size_t i = 0; i < m_text.size(); ++i) {
    const char c = m_text[i];
    utf8 += static_cast<size_t>(Utf8LengthOfCp1252(c));
    if (c != '\r' && c != '\n') continue;
    if (c == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n') {
      ++i;
      ++utf8;
    }
    m_lineStarts.push_back(i + 1);
    m_utf8Starts.push_back(utf8);
  }
}

size_t TTextPositionMap::LineOf(size_t offset) const {
  return static_cast<size_t>(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset) - m_lineStarts.begin()) - 1;
}

TEditorPosition TTextPositionMap::ToEditor(int32_t bytePosition) const {
  const size_t offset = std::min(static_cast<size_t>(std::max(bytePosition, int32_t{1}) - 1), m_text.size());
  const size_t line = LineOf(offset);
  size_t column = 0, utf8 = m_utf8Starts[line];
  for (size_t i = m_lineStarts[line]; i < offset; ++i) {
    const char c = m_text[i];
    if (c == '\r' || c == '\n') break;  // on the line end: the column after the last character
    ++column;
    utf8 += static_cast<size_t>(Utf8LengthOfCp1252(c));
  }
  TEditorPosition p;
  p.line = static_cast<int32_t>(line + 1);
  p.column = static_cast<int32_t>(column + 1);
  p.utf16Column = static_cast<int32_t>(column) * kUtf16UnitsPerCharacter + 1;
  p.utf8Offset = utf8;
  return p;
}

int32_t TTextPositionMap::FromEditor(int32_t line, int32_t column) const {
  if (line > LineCount()) return static_cast<int32_t>(m_text.size() + 1);
  const size_t index = static_cast<size_t>(std::clamp(line, int32_t{1}, LineCount()) - 1);
  size_t offset = m_lineStarts[index];
  for (int32_t k = 1; k < column && offset < m_text.size() && m_text[offset] != '\r' && m_text[offset] != '\n'; ++k)
    ++offset;
  return static_cast<int32_t>(offset + 1);
}

int32_t TTextPositionMap::FromEditorUtf16(int32_t line, int32_t utf16Column) const {
  return FromEditor(line, (utf16Column - 1) / kUtf16UnitsPerCharacter + 1);
}

int32_t TTextPositionMap::FromUtf8Offset(size_t utf8Offset) const {
  const size_t line =
      static_cast<size_t>(std::upper_bound(m_utf8Starts.begin(), m_utf8Starts.end(), utf8Offset) - m_utf8Starts.begin()) - 1;
  size_t offset = m_lineStarts[line], utf8 = m_utf8Starts[line];
  while (offset < m_text.size()) {
    const size_t next = utf8 + static_cast<size_t>(Utf8LengthOfCp1252(m_text[offset]));
    if (next > utf8Offset) break;
    utf8 = next;
    ++offset;
  }
  return static_cast<int32_t>(offset + 1);
}

}  // namespace zarvek
