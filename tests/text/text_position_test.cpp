// The position mapper: cp1252 byte positions against editor lines and columns, with
// umlauts, characters of three UTF-8 bytes and every kind of line end.
#include <gtest/gtest.h>

#include <string>

#include "text/cp1252.h"
#include "text/text_position.h"

namespace zarvek {
namespace {

TEditorPosition At(int32_t line, int32_t column, size_t utf8Offset) { return {line, column, column, utf8Offset}; }

TEST(TextPosition, EveryLineEndKindEndsOneLine) {
  for (const std::string& end : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
    const std::string text = "ab" + end + end + "c" + end;
    const TTextPositionMap map(text);
    SCOPED_TRACE(end == "\r\n" ? "CR LF" : end == "\n" ? "LF" : "CR");
    EXPECT_EQ(map.LineCount(), 4);  // the final line break opens an empty last line
    const int32_t e = static_cast<int32_t>(end.size());
    EXPECT_EQ(map.ToEditor(1), At(1, 1, 0));
    EXPECT_EQ(map.ToEditor(3), At(1, 3, 2));  // on the line end: after the last character
    EXPECT_EQ(map.ToEditor(3 + e), At(2, 1, 2 + end.size()));
    EXPECT_EQ(map.ToEditor(3 + 2 * e), At(3, 1, 2 + 2 * end.size()));
    EXPECT_EQ(map.FromEditor(3, 1), 3 + 2 * e);
    EXPECT_EQ(map.FromEditor(1, 3), 3);
    EXPECT_EQ(map.FromEditor(2, 1), 3 + e);
  }
  // LF CR is two line ends, CR LF one.
  const TTextPositionMap mixed("a\n\rb\r\nc");
  EXPECT_EQ(mixed.LineCount(), 4);
  EXPECT_EQ(mixed.ToEditor(4).line, 3);
  EXPECT_EQ(mixed.ToEditor(7), At(4, 1, 6));
}

TEST(TextPosition, UmlautsCountAsOneCharacterAndTwoUtf8Bytes) {
  const std::string text = "DIM \xE4\xF6\xFC\r\nPRINT \"Gr\xFC\xDF" "e \x80\"\r\nx = 1";  // äöü, Grüße €
  ASSERT_EQ(Cp1252ToUtf8(text), "DIM äöü\r\nPRINT \"Grüße €\"\r\nx = 1");
  const TTextPositionMap map(text);
  // "x" on line 3: byte 27 of the cp1252 text; in UTF-8 five umlauts add one byte each,
  // the euro sign two.
  EXPECT_EQ(map.ToEditor(27), At(3, 1, 26 + 5 + 2));
  // The euro sign on line 2, column 14.
  EXPECT_EQ(map.ToEditor(23), At(2, 14, 22 + 5));
  EXPECT_EQ(map.FromEditor(2, 14), 23);
  EXPECT_EQ(map.FromEditorUtf16(2, 14), 23);
  // Every byte position goes there and back, by line and column and by UTF-8 offset.
  for (int32_t p = 1; p <= static_cast<int32_t>(text.size()); ++p) {
    if (text[p - 1] == '\n') continue;  // the LF of a CR LF shares the CR's place
    const TEditorPosition e = map.ToEditor(p);
    EXPECT_EQ(map.FromEditor(e.line, e.column), p) << p;
    EXPECT_EQ(map.FromUtf8Offset(e.utf8Offset), p) << p;
  }
  // An offset inside a two-byte character is that character.
  EXPECT_EQ(map.FromUtf8Offset(5), 5);
}

TEST(TextPosition, PositionsOutsideTheTextAreClamped) {
  const TTextPositionMap map("ab\ncd");
  EXPECT_EQ(map.ToEditor(0), At(1, 1, 0));
  EXPECT_EQ(map.ToEditor(99), At(2, 3, 5));
  EXPECT_EQ(map.FromEditor(9, 1), 6);
  EXPECT_EQ(map.FromEditor(1, 99), 3);  // past the line's end: its end, not the next line
  EXPECT_EQ(map.FromEditor(0, 0), 1);
  EXPECT_EQ(map.FromUtf8Offset(99), 6);
  const TTextPositionMap empty("");
  EXPECT_EQ(empty.LineCount(), 1);
  EXPECT_EQ(empty.ToEditor(1), At(1, 1, 0));
  EXPECT_EQ(empty.FromEditor(1, 1), 1);
}

}  // namespace
}  // namespace zarvek
