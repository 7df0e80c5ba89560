#include "simulation/object_grid.h"

#include <gtest/gtest.h>

namespace zarvek::test {
namespace {

std::string Row(const TObjectGrid& grid, int y, int columns = 6) {
  std::string row;
  for (int x = 0; x < columns; ++x) row += grid.At(x, y).type == objecttype::Empty ? "." : grid.At(x, y).name.substr(0, 1);
  return row;
}

TEST(ObjectGrid, InsertedObjectsTakeTheDefaultsOfTheirKind) {
  TObjectGrid grid;
  struct Expect {
    uint16_t type;
    const char* name;
    uint16_t picture;
    std::vector<std::string> rows;
    std::vector<uint8_t> kinds;
  };
  const std::vector<Expect> kinds{
      {objecttype::LedRed, "LED1", 0, {"Name:", "I/O Port", "Bit", "Aktion"}, {0, 1, 2, 3}},
      {objecttype::LedYellow, "LED3", 1, {"Name:", "I/O Port", "Bit", "Aktion"}, {0, 1, 2, 3}},
      {objecttype::LedGreen, "LED2", 2, {"Name:", "I/O Port", "Bit", "Aktion"}, {0, 1, 2, 3}},
      {objecttype::Switch, "SWITCH", 6, {"Name:", "I/O Port", "Bit", "Aktion"}, {0, 1, 2, 3}},
      {objecttype::AnalogWheel, "AD", 8, {"Name:", "Analog Port", "Wert"}, {0, 5, 4}},
      {objecttype::AnalogGauge, "DA", 10, {"Name:", "Analog Port"}, {0, 6}},
      {objecttype::Interrupt, "Interrupt", 6, {"Name:"}, {0}},
      {objecttype::VariableNumerical, "Variable", 100, {"Name:", "Wert"}, {0, 0}},
  };
  for (size_t k = 0; k < kinds.size(); ++k) {
    grid.Select(0, static_cast<int>(k));
    for (uint16_t t = 1; t <= 8; ++t) EXPECT_TRUE(grid.InsertEnabled(t));  // an empty cell
    ASSERT_TRUE(grid.Insert(kinds[k].type));
    const TSimObject& o = grid.At(0, static_cast<int>(k));
    EXPECT_EQ(o.name, kinds[k].name);
    EXPECT_EQ(o.pictureIndex, kinds[k].picture);
    std::vector<std::string> captions;
    std::vector<uint8_t> slotKinds;
    for (const TSettingsRow& r : grid.SettingsRows()) {
      captions.push_back(r.caption);
      slotKinds.push_back(r.slotKind);
      if (r.caption != "Name:") {
        EXPECT_EQ(r.text, "");
      }
    }
    EXPECT_EQ(captions, kinds[k].rows) << kinds[k].name;
    EXPECT_EQ(slotKinds, kinds[k].kinds) << kinds[k].name;
    // Only LEDs and switches can be converted, into each other only.
    for (uint16_t t = 1; t <= 8; ++t) EXPECT_EQ(grid.InsertEnabled(t), IsLedOrSwitch(o.type) && IsLedOrSwitch(t));
  }
  EXPECT_TRUE(grid.Modified());
}

TEST(ObjectGrid, ConversionKeepsNameAndSettings) {
  TObjectGrid grid;
  ASSERT_TRUE(grid.Insert(objecttype::LedRed));
  ASSERT_TRUE(grid.EditSetting(0, "Lampe"));
  ASSERT_TRUE(grid.EditSetting(1, "PORTB"));
  ASSERT_TRUE(grid.EditSetting(2, "3"));
  ASSERT_TRUE(grid.EditSetting(3, "0"));
  ASSERT_TRUE(grid.Insert(objecttype::Switch));
  const TSimObject& o = grid.At(0, 0);
  EXPECT_EQ(o.type, objecttype::Switch);
  EXPECT_EQ(o.pictureIndex, 6);
  EXPECT_EQ(o.name, "Lampe");
  EXPECT_EQ(o.slots[0].text, "PORTB");
  EXPECT_EQ(o.slots[1].text, "3");
  EXPECT_EQ(o.slots[2].text, "0");
  EXPECT_EQ(grid.At(1, 0).type, objecttype::Empty);  // in place, nothing new
  EXPECT_FALSE(grid.Insert(objecttype::AnalogWheel));
}

TEST(ObjectGrid, PasteIntoAnOccupiedCellTakesAFreshCellShiftingTheRow) {
  TObjectGrid grid;
  grid.Insert(objecttype::AnalogWheel);  // A at 0
  grid.EditSetting(0, "A");
  grid.Copy();
  grid.Select(0, 0);
  ASSERT_TRUE(grid.Paste());  // the right neighbour is free
  EXPECT_EQ(Row(grid, 0), "AA....");
  EXPECT_EQ(grid.SelectedX(), 1);
  grid.EditSetting(0, "B");
  grid.Select(0, 0);
  ASSERT_TRUE(grid.Paste());  // neighbour taken, the row's last cell free: shift right
  EXPECT_EQ(Row(grid, 0), "AAB...");
  EXPECT_EQ(grid.SelectedX(), 0);

  // A full row to its end: the first free cell to the right, none beyond.
  TObjectGrid full;
  full.Select(0, 1);
  full.Insert(objecttype::Interrupt);
  full.Copy();
  for (int x = 0; x < kGridColumns - 1; ++x) {
    full.Select(x, 1);
    ASSERT_TRUE(full.Paste());
  }
  for (int x = 0; x < kGridColumns; ++x) ASSERT_EQ(full.At(x, 1).type, objecttype::Interrupt) << x;
  full.Select(19, 1);
  EXPECT_FALSE(full.Paste());
  full.Select(5, 1);
  ASSERT_TRUE(full.Delete());
  full.Select(2, 1);
  ASSERT_TRUE(full.Paste());
  EXPECT_EQ(full.At(5, 1).type, objecttype::Interrupt);
  EXPECT_FALSE(full.Paste());
}

TEST(ObjectGrid, SettingsAreCutAndValuesReducedToAByte) {
  TObjectGrid grid;
  grid.Insert(objecttype::AnalogWheel);
  std::string message;
  ASSERT_TRUE(grid.EditSetting(2, "300"));
  EXPECT_EQ(grid.At(0, 0).slots[1].text, "44");
  ASSERT_TRUE(grid.EditSetting(2, "-300"));
  EXPECT_EQ(grid.At(0, 0).slots[1].text, "44");
  EXPECT_FALSE(grid.EditSetting(2, "viel", &message));
  EXPECT_EQ(grid.At(0, 0).slots[1].text, "44");
  EXPECT_FALSE(message.empty());
  ASSERT_TRUE(grid.EditSetting(1, "ein_sehr_langer_portname"));
  EXPECT_EQ(grid.At(0, 0).slots[0].text, "ein_sehr_langer_");
  ASSERT_TRUE(grid.EditSetting(0, std::string(40, 'n')));
  EXPECT_EQ(grid.At(0, 0).name.size(), kObjectNameLength);
  // The column fits the widest caption, value included.
  EXPECT_EQ(grid.ColumnWidth(0), 6 * static_cast<int>(kObjectNameLength + 4) + kColumnMargin);
  EXPECT_FALSE(grid.EditSetting(3, "x"));
}

TEST(ObjectGrid, EditingOnlyWhileStoppedOrPausedButTheMouseWorksWhileRunning) {
  TObjectGrid grid;
  grid.Insert(objecttype::AnalogWheel);
  grid.EditSetting(2, "254");
  grid.Select(1, 0);
  grid.Insert(objecttype::Switch);
  grid.Copy();
  grid.SetEditingAllowed(false);
  for (uint16_t t = 1; t <= 8; ++t) EXPECT_FALSE(grid.InsertEnabled(t));
  EXPECT_FALSE(grid.Insert(objecttype::LedRed));
  EXPECT_FALSE(grid.EditSetting(0, "neu"));
  EXPECT_FALSE(grid.Delete());
  EXPECT_FALSE(grid.Cut());
  EXPECT_FALSE(grid.Paste());

  grid.MouseDown(0, 0, TMouseButton::Left, 12, 25);  // right arrow
  EXPECT_EQ(grid.At(0, 0).slots[1].text, "255");
  grid.MouseDown(0, 0, TMouseButton::Left, 12, 25);
  EXPECT_EQ(grid.At(0, 0).slots[1].text, "255");  // not beyond 255
  grid.MouseDown(0, 0, TMouseButton::Left, 12, 30);  // outside the band
  grid.MouseDown(0, 0, TMouseButton::Left, -12, 24);
  EXPECT_EQ(grid.At(0, 0).slots[1].text, "254");
  grid.MouseDown(1, 0, TMouseButton::Left, 0, 0);
  EXPECT_EQ(grid.At(1, 0).pictureIndex, objectpicture::Pressed);
  EXPECT_EQ(grid.SelectedX(), 1);
  grid.MouseUp(1, 0);
  EXPECT_EQ(grid.At(1, 0).pictureIndex, objectpicture::Released);
  grid.MouseDown(0, 0, TMouseButton::Right, 0, 0);
  EXPECT_EQ(grid.SelectedX(), 0);  // the right button selects

  grid.SetEditingAllowed(true);
  ASSERT_TRUE(grid.Cut());
  EXPECT_EQ(grid.At(0, 0).type, objecttype::Empty);
  grid.Select(3, 3);
  ASSERT_TRUE(grid.Paste());
  EXPECT_EQ(grid.At(3, 3).type, objecttype::AnalogWheel);
  EXPECT_EQ(grid.At(3, 3).slots[1].text, "254");
}

TEST(ObjectGrid, DialPointersSweepFromLowerLeftOverTheTopToLowerRight) {
  EXPECT_EQ(TObjectGrid::DialPointer(0), std::make_pair(-7, 7));     // lower left
  EXPECT_EQ(TObjectGrid::DialPointer(128), std::make_pair(0, -10));  // straight up (y downwards)
  EXPECT_EQ(TObjectGrid::DialPointer(255), std::make_pair(7, 7));    // lower right
}

TEST(ObjectGrid, LoadsAndSavesThroughTheProject) {
  TProject project;
  project.At(2, 3).type = objecttype::LedGreen;
  project.At(2, 3).pictureIndex = 2;
  project.At(2, 3).name = std::string(20, 'x');
  project.At(2, 3).slots[0] = {"PA", slotkind::Port};
  TObjectGrid grid;
  grid.Select(5, 5);
  grid.Load(project);
  EXPECT_EQ(grid.At(2, 3).name, project.At(2, 3).name);
  EXPECT_EQ(grid.ColumnWidth(2), 6 * 20 + kColumnMargin);
  EXPECT_EQ(grid.ColumnWidth(1), kMinimumColumnWidth + kColumnMargin);
  EXPECT_EQ(grid.SelectedX(), 0);
  EXPECT_FALSE(grid.Modified());
  grid.Select(0, 0);
  grid.Insert(objecttype::Interrupt);
  const std::vector<TObjectNode> nodes = grid.TreeNodes();
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0], (TObjectNode{"Interrupt", 47, 0, 0}));
  EXPECT_EQ(nodes[1], (TObjectNode{std::string(20, 'x'), 34, 2, 3}));
  TProject saved;
  grid.SaveTo(saved);
  EXPECT_EQ(saved.At(2, 3), project.At(2, 3));
  EXPECT_EQ(saved.At(0, 0).type, objecttype::Interrupt);
  grid.Clear();
  EXPECT_EQ(grid.At(2, 3).type, objecttype::Empty);
  EXPECT_EQ(grid.ColumnWidth(2), kMinimumColumnWidth + kColumnMargin);
}

}  // namespace
}  // namespace zarvek::test
