#include "simulation/sim_console.h"

#include <gtest/gtest.h>

namespace zarvek::test {
namespace {

TEST(ConsoleModel, ControlCodeListHasItsThirtySevenEntries) {
  const auto& e = AsciiEntries();
  EXPECT_EQ(e[0], "  0 NUL");
  EXPECT_EQ(e[1], "  1 SOH (Start of Header)");
  EXPECT_EQ(e[kDefaultAsciiEntry], " 16 DLE (Data Link Escape)");
  EXPECT_EQ(e[13], " 13  CR (Carriage Return)");
  EXPECT_EQ(e[32], " 32  SP (Space)");
  EXPECT_EQ(e[33], " 33   !");
  EXPECT_EQ(e[36], " 36   $");
}

TEST(ConsoleModel, TypedKeysReachTheSimulatedLineWithoutEcho) {
  TSimulatedHardware hw;
  THardwareConsoleInput input(hw);
  TConsoleModel console;
  console.SetSimulation(1, true, {9600, 9600}, &input);
  console.KeyPress('4');
  console.SendCode(13);
  std::string typed;
  hw.serialInput.TakeInto(typed);
  EXPECT_EQ(typed, "4\r");
  EXPECT_EQ(console.Output(), "");

  // Offline and not simulating: counted, sent nowhere.
  TConsoleModel offline;
  int sent = 0;
  offline.SetLinkSend([&](uint8_t) { ++sent; });
  offline.KeyPress('x');
  EXPECT_EQ(sent, 0);
  offline.SetLink(true, "COM3", "19200");
  offline.KeyPress('x');
  EXPECT_EQ(sent, 1);
  offline.RateTick();
  EXPECT_EQ(offline.Panels()[3], "gesendet: 8 byte/s empfangen: 0 byte/s.");
}

TEST(ConsoleModel, FormFeedsClearAndHoldStillCounts) {
  TConsoleModel console;
  console.SetSimulation(1, true, {}, nullptr);
  console.Receive("alt");
  console.Refresh();
  console.Receive("x\x0C" "eins\x0C" "zwei");
  console.Refresh();
  EXPECT_EQ(console.Output(), "zwei");
  EXPECT_TRUE(console.Hold());
  EXPECT_FALSE(console.CancelEnabled());
  console.Receive("verloren");
  console.Refresh();
  EXPECT_EQ(console.Output(), "zwei");
  console.RateTick();
  EXPECT_EQ(console.Panels()[3], "gesendet: 0 byte/s empfangen: " + std::to_string(4 * (3 + 11 + 8)) + " byte/s.");
  console.RateTick();
  EXPECT_EQ(console.Panels()[3], "gesendet: 0 byte/s empfangen: 0 byte/s.");
  console.ClearOutput();
  EXPECT_FALSE(console.Holding());
  EXPECT_TRUE(console.CancelEnabled());
  EXPECT_EQ(console.Output(), "");

  TConsoleModel idle;
  EXPECT_FALSE(idle.Hold());  // neither simulation nor link
}

TEST(ConsoleModel, StatusPanelsAndTesselRates) {
  TConsoleModel console;
  console.Refresh();
  EXPECT_EQ(console.Panels()[0], " offline");
  EXPECT_EQ(console.Panels()[1], "");
  // 4 MHz, prescaler 13 (bits 7-6 = 3), transmit rate bits 0, receive 1.
  const TSerialRates rates = SerialRatesFromBaudRegister(0xC1, 4000);
  EXPECT_NEAR(rates.transmit, 9615.38, 0.01);
  EXPECT_NEAR(rates.receive, 4807.69, 0.01);
  console.SetSimulation(2, false, rates, nullptr);
  console.Refresh();
  EXPECT_EQ(console.Panels()[0], " offline");
  EXPECT_EQ(console.Panels()[1], " Simulation");
  EXPECT_EQ(console.Panels()[2], " 9615/4808");
  console.SetLink(true, "COM1", "Auto");
  console.Refresh();
  EXPECT_EQ(console.Panels()[0], " online");
  EXPECT_EQ(console.Panels()[1], " COM1");
  EXPECT_EQ(console.Panels()[2], " Auto");

  // The Tessel path shows pending text at the rate tick while running, not while paused.
  TConsoleModel tessel;
  tessel.SetSimulation(5, false, rates, nullptr);
  tessel.Receive("a");
  tessel.RateTick();
  EXPECT_EQ(tessel.Output(), "");
  tessel.SetSimulation(1, false, rates, nullptr);
  tessel.RateTick();
  EXPECT_EQ(tessel.Output(), "a");
  EXPECT_EQ(ConsoleText(std::string("a\x07\r\n\x1b", 5)), "a[7] \r\n[27] ");
}

TEST(ConsoleModel, EndlessOutputKeepsOnlyTheLastBytesAndCountsWhatWasCut) {
  TConsoleModel m;
  m.SetVisible(true);
  const std::string block(100'000, 'x');
  for (int i = 0; i < 5; ++i) {
    m.Receive(block);
    m.Refresh();
  }
  m.Receive("ende");
  m.Refresh();
  EXPECT_EQ(m.Output().size(), kConsoleTextLimit);
  EXPECT_EQ(m.Output().substr(m.Output().size() - 4), "ende");
  EXPECT_EQ(m.Dropped() + m.Output().size(), 500'004u);  // nothing lost from the count
  const uint64_t clears = m.Clears();
  m.Receive("neu\x0C" "frisch");
  m.Refresh();
  EXPECT_EQ(m.Output(), "frisch");
  EXPECT_EQ(m.Dropped(), 0u);
  EXPECT_EQ(m.Clears(), clears + 1);
  m.ClearOutput();
  EXPECT_EQ(m.Clears(), clears + 2);
}

}  // namespace
}  // namespace zarvek::test
