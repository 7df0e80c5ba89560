// Find and replace over a text.
#include <gtest/gtest.h>

#include "workspace/search.h"

namespace zarvek::workspace {
namespace {

TEST(Search, CaseAndWholeWord) {
  const std::string text = "Zahl = zahl + ZAHLEN\r\nzahl2 = 1";
  EXPECT_EQ(FindText(text, "zahl", 0, {}), (TMatch{0, 4}));
  EXPECT_EQ(FindText(text, "zahl", 1, {}), (TMatch{7, 4}));
  EXPECT_EQ(FindText(text, "zahl", 0, {.matchCase = true}), (TMatch{7, 4}));
  EXPECT_EQ(FindText(text, "zahl", 12, {.wholeWord = true}), std::nullopt);  // ZAHLEN, zahl2 are longer words
  EXPECT_EQ(FindText(text, "zahl", 12, {}), (TMatch{14, 4}));
  EXPECT_EQ(FindText("Z\xe4hler z\xe4hler", "Z\xc4HLER", 1, {}), (TMatch{7, 6}));  // cp1252 umlauts fold too
  EXPECT_EQ(FindText(text, "", 0, {}), std::nullopt);
  EXPECT_EQ(FindText(text, "x", 999, {}), std::nullopt);
}

TEST(Search, AMissPutsTheCaretAtTheStart) {
  const std::string text = "a b a";
  TSearchStep s = SearchFrom(text, "a", 0, {});
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.selectionEnd, 1u);
  s = SearchFrom(text, "a", s.selectionEnd, {});
  EXPECT_EQ(s.selectionStart, 4u);
  s = SearchFrom(text, "a", s.selectionEnd, {});
  EXPECT_FALSE(s.found);
  EXPECT_EQ(s.selectionStart, 0u);
  EXPECT_EQ(s.selectionEnd, 0u);
  EXPECT_TRUE(SearchFrom(text, "a", s.selectionEnd, {}).found);  // starts again from the top
}

TEST(Search, ReplaceNextAndAll) {
  std::string text = "x = x + xx";
  // The selection holds a match: it is replaced and the next one selected.
  TSearchStep s = ReplaceNext(text, "x", "yy", 0, 1, {.wholeWord = true});
  EXPECT_EQ(text, "yy = x + xx");
  EXPECT_EQ(s.selectionStart, 5u);
  // The selection does not hold a match: nothing replaced, the next match selected.
  s = ReplaceNext(text, "x", "yy", 0, 0, {.wholeWord = true});
  EXPECT_EQ(text, "yy = x + xx");
  EXPECT_EQ(s.selectionStart, 5u);

  std::string all = "Led led LED ledx";
  EXPECT_EQ(ReplaceAll(all, "led", "Lampe", {.wholeWord = true}), 3u);
  EXPECT_EQ(all, "Lampe Lampe Lampe ledx");
  // A replacement that contains the pattern does not loop.
  std::string grow = "a a";
  EXPECT_EQ(ReplaceAll(grow, "a", "aa", {}), 2u);
  EXPECT_EQ(grow, "aa aa");
}

TEST(Search, FindFieldTakesShortSelections) {
  EXPECT_EQ(FindFieldPreset("zahl", "alt"), "zahl");
  EXPECT_EQ(FindFieldPreset("", "alt"), "alt");
  EXPECT_EQ(FindFieldPreset(std::string(63, 'a'), "alt"), std::string(63, 'a'));
  EXPECT_EQ(FindFieldPreset(std::string(64, 'a'), "alt"), "alt");
}

}  // namespace
}  // namespace zarvek::workspace
