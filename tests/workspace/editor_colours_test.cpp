// Syntax colours on the background the user picks: always readable, unchanged where they
// already were, and still recognisably the same colour.
#include <gtest/gtest.h>

#include "workspace/editor_colours.h"

namespace zarvek::workspace {
namespace {

constexpr int32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kMidGrey = 0x808080;
constexpr int32_t kDefaultText = 0x000000, kDefaultComment = 0x808080;

int Red(int32_t c) { return c & 0xFF; }
int Green(int32_t c) { return (c >> 8) & 0xFF; }
int Blue(int32_t c) { return (c >> 16) & 0xFF; }

TEST(EditorColours, ContrastRatioFollowsTheUsualScale) {
  EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x123456, 0x123456), 1.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(kMidGrey, kWhite), 3.95, 0.01);
  // Green weighs most in lightness, blue least.
  EXPECT_GT(RelativeLuminance(0x00FF00), RelativeLuminance(0x0000FF));
  EXPECT_GT(RelativeLuminance(0x0000FF), RelativeLuminance(0xFF0000));
}

TEST(EditorColours, EveryStyleIsReadableOnDarkMidAndLightBackgrounds) {
  for (int32_t background : {kBlack, kWhite, kMidGrey, 0x202030, 0x302020, 0x404040, 0x5A5A5A, 0x800000, 0x008000,
                             0x000080, 0xC0C0C0, 0x00FFFF}) {
    SCOPED_TRACE(background);
    const TStyleColours c = StyleColours(kDefaultText, kDefaultComment, background);
    for (int32_t fixed : {c.keyword, c.string, c.number, c.directive})
      EXPECT_GE(ContrastRatio(fixed, background), kStyleContrast) << std::hex << fixed;
    EXPECT_GE(ContrastRatio(c.text, background), kUserColourContrast);
    EXPECT_GE(ContrastRatio(c.comment, background), kUserColourContrast);
  }
}

TEST(EditorColours, LightBackgroundsKeepTheOriginalColours) {
  for (int32_t background : {kWhite, 0xF0F0F0, 0xE0FFFF /* light yellow */, 0xFFF0F0 /* light blue */}) {
    SCOPED_TRACE(background);
    const TStyleColours c = StyleColours(kDefaultText, kDefaultComment, background);
    EXPECT_EQ(c.keyword, kKeywordColour);
    EXPECT_EQ(c.string, kStringColour);
    EXPECT_EQ(c.number, kNumberColour);
    EXPECT_EQ(c.directive, kDirectiveColour);
    EXPECT_EQ(c.text, kDefaultText);
    EXPECT_EQ(c.comment, kDefaultComment);
  }
  // The user's readable choices are theirs on any background.
  const TStyleColours dark = StyleColours(0xE0E0E0, 0x80C0C0, 0x302020);
  EXPECT_EQ(dark.text, 0xE0E0E0);
  EXPECT_EQ(dark.comment, 0x80C0C0);
}

TEST(EditorColours, AdjustedColoursKeepTheirHue) {
  const TStyleColours c = StyleColours(kDefaultText, kDefaultComment, kBlack);
  // Dark blue becomes a lighter blue, not grey or white: blue leads, red and green stay equal.
  EXPECT_NE(c.keyword, kKeywordColour);
  EXPECT_GT(Blue(c.keyword), Red(c.keyword));
  EXPECT_EQ(Red(c.keyword), Green(c.keyword));
  EXPECT_LT(Red(c.keyword), 255);
  // Dark red, dark green and purple likewise.
  EXPECT_GT(Red(c.string), Green(c.string));
  EXPECT_EQ(Green(c.string), Blue(c.string));
  EXPECT_GT(Green(c.number), Red(c.number));
  EXPECT_EQ(Red(c.number), Blue(c.number));
  EXPECT_EQ(Red(c.directive), Blue(c.directive));
  EXPECT_GT(Red(c.directive), Green(c.directive));
  // Black text on black turns light; grey text stays grey.
  EXPECT_GE(RelativeLuminance(c.text), 0.1);
  EXPECT_EQ(Red(c.text), Green(c.text));
  EXPECT_EQ(Green(c.text), Blue(c.text));
}

TEST(EditorColours, TheChangeIsTheLeastThatReachesTheContrast) {
  // On black, dark blue gets lighter only as far as needed: a little less light falls short.
  const int32_t lighter = ReadableColour(kKeywordColour, kBlack, kStyleContrast);
  EXPECT_GE(ContrastRatio(lighter, kBlack), kStyleContrast);
  EXPECT_LT(ContrastRatio(lighter, kBlack), kStyleContrast + 0.3);
  // On mid-grey only the dark way gets there.
  const int32_t darker = ReadableColour(kKeywordColour, kMidGrey, kStyleContrast);
  EXPECT_GE(ContrastRatio(darker, kMidGrey), kStyleContrast);
  EXPECT_LT(RelativeLuminance(darker), RelativeLuminance(kKeywordColour));
  // A colour that cannot be moved far enough either way ends as black or white, whichever reads better.
  EXPECT_EQ(ReadableColour(kMidGrey, kMidGrey, 20.0), kBlack);
  EXPECT_EQ(ReadableColour(kMidGrey, 0x202020, 20.0), kWhite);
}

}  // namespace
}  // namespace zarvek::workspace
