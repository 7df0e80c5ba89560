#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace zarvek {
namespace {

using testing::MatchesRegex;

TEST(Cp1252, AsciiAndLatin1PartsPassAsTheirCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("x = 1 ' set\r\n"), "x = 1 ' set\r\n");
  EXPECT_EQ(Cp1252ToUtf8("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xA7\xB2\xA0\xFF"), "ÄÖÜäöüß§²\u00A0ÿ");
  EXPECT_EQ(Cp1252ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp1252, BytesBetween80And9FAreTheWindowsCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("\x80\x84\x8A\x93\x94\x96\x99\x9F"), "€„Š“”–™Ÿ");
  // The undefined bytes stay as C1 controls instead of being lost.
  EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, CharactersWithoutAByteBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("Pfeil → hier"), "Pfeil ? hier");
  EXPECT_EQ(Utf8ToCp1252("日本"), "??");
  EXPECT_EQ(Utf8ToCp1252("a\U0001F600b"), "a?b");
  // U+0080 is not the byte 80, which is the euro sign.
  EXPECT_EQ(Utf8ToCp1252("\u0080€"), "?\x80");
  EXPECT_EQ(Utf8ToCp1252("Größe"), "Gr\xF6\xDF" "e");
}

TEST(Cp1252, MalformedUtf8BecomesQuestionMarksAndKeepsItsNeighbours) {
  for (const std::string bad : {"\x80", "\xBF\xBF", "\xC3", "\xE2\x82", "\xC0\xAF", "\xE0\x80\xAF",
                                "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF"}) {
    SCOPED_TRACE(testing::PrintToString(bad));
    EXPECT_THAT(Utf8ToCp1252("a" + bad + "b"), MatchesRegex("a\\?+b"));
  }
  EXPECT_EQ(Utf8ToCp1252("\xC3" "A\xC3\xA4"), "?A\xE4");  // a broken sequence does not eat the next character
}

}  // namespace
}  // namespace zarvek
