// The settings dialog's model: options, sizes, fonts and colours.
#include <gtest/gtest.h>

#include "workspace/setup_model.h"

namespace zarvek::workspace {
namespace {

TEST(SetupModel, OptionChecksInvertTheAutostartBit) {
  EXPECT_EQ(OptionChecks(option::All), (std::array<bool, 4>{true, true, true, false}));
  EXPECT_EQ(OptionChecks(0), (std::array<bool, 4>{false, false, false, true}));
  // The controller initialisation bit is left as it is.
  EXPECT_EQ(OptionsFromChecks({true, false, true, true}, option::McInit), option::AsmCodePropose | option::Warnings | option::McInit);
  EXPECT_EQ(OptionsFromChecks({false, true, false, false}, 0), option::SyntaxTest | option::Autostart);
  for (uint8_t o = 0; o < 32; ++o) EXPECT_EQ(OptionsFromChecks(OptionChecks(o), o), o);
  EXPECT_EQ(OptionItems()[3], "Emulation Start Impuls (500ms) anstelle Autostart");
}

TEST(SetupModel, FontSizesAndFixedPitch) {
  EXPECT_EQ(FontSizes().size(), 9u);
  EXPECT_EQ(FontSizes().front(), "7");
  EXPECT_EQ(FontSizes().back(), "15");
  EXPECT_EQ(FontSizeIndex(10), 3);
  EXPECT_EQ(FontSizeIndex(16), 0);
  EXPECT_EQ(FontSizeFromText("12"), 12);
  EXPECT_EQ(FontSizeFromText("zwölf"), 8);
  EXPECT_EQ(FontSizeFromText(""), 8);
  EXPECT_TRUE(IsFixedPitch([](std::string_view) { return 7; }));
  EXPECT_FALSE(IsFixedPitch([](std::string_view s) { return s == "W" ? 11 : 3; }));
}

TEST(SetupModel, ColourEntriesSetTheirSettings) {
  ASSERT_EQ(ColourEntries().size(), 11u);
  EXPECT_EQ(ColourEntries()[0].name, "Text");
  EXPECT_EQ(ColourEntries()[10].name, "Konsole Hintergrund");
  TSettings s;
  SetColour(s, 6, 0x123456);  // "Haltepunkt Leiste"
  EXPECT_EQ(s.gutterColor, 0x123456);
  SetColour(s, 3, 255);
  EXPECT_EQ(s.errorColor, 255);
  SetColour(s, 99, 1);  // outside the list: nothing
  TSettings unchanged;
  unchanged.gutterColor = 0x123456;
  unchanged.errorColor = 255;
  EXPECT_EQ(s, unchanged);
  // Written as "[Breakpoint Panel]", never read back.
  TSettings again;
  ReadSettings(WriteSettings(s), again);
  EXPECT_EQ(again.gutterColor, again.background);
  // "Text Hintergrund" colours the gutters too.
  SetColour(s, 1, 0xABCDEF);
  EXPECT_EQ(s.background, 0xABCDEF);
  EXPECT_EQ(s.gutterColor, 0xABCDEF);
}

}  // namespace
}  // namespace zarvek::workspace
