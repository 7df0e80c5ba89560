#include <gtest/gtest.h>

#include "text/shown_text.h"

namespace zarvek {
namespace {

TEST(ShownText, ControlCharactersAreNamed) {
  EXPECT_EQ(ShownText(std::string_view("a\0b\x01" "c\r\n\t\x1F\x7F", 10)), "a<NUL>b<SOH>c<CR><LF><TAB><US><DEL>");
  // The bytes Windows-1252 leaves undefined are shown by number; the others convert.
  EXPECT_EQ(ShownText("\x81x\x9D\xE4\x80"), "<81>x<9D>ä€");
  EXPECT_EQ(ShownText(""), "");
}

TEST(ShownText, LongTextsAreCutToAReadableLength) {
  const std::string sixty(60, 'x');
  EXPECT_EQ(ShownText(sixty), sixty);
  EXPECT_EQ(ShownText(sixty + "yz"), sixty + "…");
  EXPECT_EQ(ShownText(std::string(1'000'000, 'q')).size(), 60 + std::string("…").size());
  // A file name keeps its end, where its own name is.
  EXPECT_EQ(ShownText("/" + sixty + "/lib.xml", TCutAt::Start), "…" + sixty.substr(8) + "/lib.xml");
  EXPECT_EQ(ShownText("abcdef", TCutAt::End, 3), "abc…");
  // Cut first, then made visible: a cut never splits a name.
  EXPECT_EQ(ShownText(std::string_view("ab\0cd", 5), TCutAt::End, 3), "ab<NUL>…");
}

}  // namespace
}  // namespace zarvek
