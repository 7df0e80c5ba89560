// The error strip: slots, pictures, wrapping and hit-testing.
#include <gtest/gtest.h>

#include "workspace/error_display.h"

namespace zarvek::workspace {
namespace {

// Every character is 10 pixels wide.
int Measure(const std::string& s) { return static_cast<int>(s.size()) * 10; }

TEST(ErrorDisplay, PicturesByKind) {
  TErrorDisplay d;
  d.Set(TSlot::Compile, "Compilieren...");
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureInfo);
  d.SetCompiled(true);
  d.Set(TSlot::Compile, "Compiliert für Tessel 1.1.");
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureSuccess);
  d.Set(TSlot::Assembler, "Assembler: x - unbekannter Befehl ", 40);
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureError);  // an assembler error marks the compile slot too
  EXPECT_EQ(d.Picture(TSlot::Assembler), kPictureError);
  EXPECT_EQ(d.Picture(TSlot::Status), kPictureInfo);
  d.ClearAll();
  d.Set(TSlot::Compile, "x unbekannt", 12);
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureError);
}

TEST(ErrorDisplay, EmptySlotLosesItsPosition) {
  TErrorDisplay d;
  EXPECT_TRUE(d.Empty());
  d.Set(TSlot::Status, "", 17);
  EXPECT_EQ(d.Slot(TSlot::Status).position, -1);
  EXPECT_TRUE(d.Empty());
  d.Set(TSlot::Status, "gespeichert.", 17);
  EXPECT_FALSE(d.Empty());
  d.Clear(TSlot::Status);
  EXPECT_EQ(d.Slot(TSlot::Status).position, -1);
}

TEST(ErrorDisplay, WrapsAtBlanksAndLineBreaks) {
  EXPECT_EQ(WrapText("aaa bbb ccc", 70, Measure), (std::vector<std::string>{"aaa bbb", "ccc"}));
  EXPECT_EQ(WrapText("aaa\r\nbbb ccc", 200, Measure), (std::vector<std::string>{"aaa", "bbb ccc"}));
  // A word wider than the line is broken between characters, never beyond the width.
  EXPECT_EQ(WrapText("abcdefghij", 40, Measure), (std::vector<std::string>{"abcd", "efgh", "ij"}));
  EXPECT_EQ(WrapText("", 40, Measure), (std::vector<std::string>{""}));
  // A multi-byte character is never split.
  const auto lines = WrapText("ääää", 40, Measure);  // 2 bytes each: two characters per line
  EXPECT_EQ(lines, (std::vector<std::string>{"ää", "ää"}));
}

TEST(ErrorDisplay, LayoutStacksTheSlotsAndGrowsToFiveLines) {
  TErrorDisplay d;
  d.Set(TSlot::Compile, "eins zwei drei", 5);
  d.Set(TSlot::Status, "vier");
  // Strip 110 wide: text width 70 ("eins" + " zwei" = 90 > 70).
  TStripLayout layout = LayoutStrip(d, 110, Measure);
  ASSERT_EQ(layout.slotLayouts.size(), 2u);
  EXPECT_EQ(layout.slotLayouts[0].lines, (std::vector<std::string>{"eins", "zwei", "drei"}));
  EXPECT_EQ(layout.slotLayouts[1].slot, TSlot::Status);
  EXPECT_EQ(layout.slotLayouts[1].firstLine, 3);
  EXPECT_EQ(layout.lineCount, 4);
  EXPECT_EQ(layout.visibleLines, 4);
  EXPECT_EQ(SlotAtLine(layout, 2), TSlot::Compile);
  EXPECT_EQ(SlotAtLine(layout, 3), TSlot::Status);
  EXPECT_EQ(SlotAtLine(layout, 4), std::nullopt);

  d.Set(TSlot::Assembler, "a b c", 1);
  layout = LayoutStrip(d, 80, Measure);  // text width 40
  EXPECT_EQ(layout.slotLayouts[1].lines, (std::vector<std::string>{"a b", "c"}));
  EXPECT_EQ(layout.lineCount, 6);
  EXPECT_EQ(layout.visibleLines, kMaxStripLines);
  int lines = 0;
  std::vector<int> steps;
  for (int i = 0; i < 10; ++i) {
    const int next = NextStripLines(lines, layout);
    if (next == lines) break;
    steps.push_back(lines = next);
  }
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5}));
  d.ClearAll();
  EXPECT_EQ(NextStripLines(5, LayoutStrip(d, 50, Measure)), 0);
}

TEST(ErrorDisplay, BuildNotice) {
  EXPECT_EQ(BuildNoticeText("", " a Variable wird nicht verwendet. \r\n", true), " a Variable wird nicht verwendet. ");
  EXPECT_EQ(BuildNoticeText("", " a Variable wird nicht verwendet. \r\n", false), "");
  EXPECT_EQ(BuildNoticeText("Für dieses Programm benötigen Sie ein größeres EEPROM.", " b x\r\n", true),
            "Für dieses Programm benötigen Sie ein größeres EEPROM.\r\n b x");
}

}  // namespace
}  // namespace zarvek::workspace
