// Positions in a cp1252 text, both ways between the 1-based byte positions the compiler
// reports and what an editor showing the text as UTF-8 counts: line and column in
// characters, the column in UTF-16 code units (Qt), and the byte offset in the UTF-8 text.
// CR LF, LF and CR each end one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zarvek {

struct TEditorPosition {
  int32_t line = 1;         // 1-based
  int32_t column = 1;       // 1-based, in characters
  int32_t utf16Column = 1;  // 1-based, in UTF-16 code units
  size_t utf8Offset = 0;    // 0-based byte offset in the whole text as UTF-8
  bool operator==(const TEditorPosition&) const = default;
};

class TTextPositionMap {
 public:
  // Keeps a view of the text: the text must outlive the map.
  explicit TTextPositionMap(std::string_view cp1252Text);

  int32_t LineCount() const { return static_cast<int32_t>(m_lineStarts.size()); }

  // A byte position (1-based) to the editor's line and column. A position on a line end
  // is the column after the line's last character; positions beyond the text are its end.
  TEditorPosition ToEditor(int32_t bytePosition) const;

  // The editor's line and column (1-based, in characters) to a byte position. Lines and
  // columns beyond the text or the line are clamped to its end.
  int32_t FromEditor(int32_t line, int32_t column) const;
  int32_t FromEditorUtf16(int32_t line, int32_t utf16Column) const;
  // A byte offset in the UTF-8 text (0-based); an offset inside a character gives that
  // character's position.
  int32_t FromUtf8Offset(size_t utf8Offset) const;

 private:
  // The line (0-based) holding a byte offset (0-based).
  size_t LineOf(size_t offset) const;

  std::string_view m_text;
  std::vector<size_t> m_lineStarts;   // byte offsets (0-based) of the lines' first characters
  std::vector<size_t> m_utf8Starts;   // the same points as UTF-8 offsets
};

// How many UTF-8 bytes the cp1252 byte becomes.
int Utf8LengthOfCp1252(char byte);

}  // namespace zarvek
