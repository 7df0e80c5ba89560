// The console model: the control-code list, where typed keys go, form feed and hold, the
// status panels and rates, and the bounded output.
#include "simulation/console_model.h"

#include <gtest/gtest.h>

namespace zarvek::test {
namespace {

TEST(ConsoleModel, ControlCodeListHasItsThirtySevenEntriesAndTheirCodes) {
  const auto& e = ComboAsciiEntries();
  EXPECT_EQ(e[0], "  0 NUL");
  EXPECT_EQ(e[1], "  1 SOH (Start of Header)");
  EXPECT_EQ(e[kComboAsciiDefault], " 16 DLE (Data Link Escape)");
  EXPECT_EQ(e[13], " 13  CR (Carriage Return)");
  EXPECT_EQ(e[32], " 32  SP (Space)");
  EXPECT_EQ(e[33], " 33   !");
  EXPECT_EQ(e[36], " 36   $");
  for (size_t code = 0; code < e.size(); ++code) EXPECT_EQ(ComboAsciiCode(e[code]), code) << e[code];
  // An entry whose head is no decimal number sends 0.
  EXPECT_EQ(ComboAsciiCode("abc"), 0);
  EXPECT_EQ(ComboAsciiCode("   NUL"), 0);
  EXPECT_EQ(ComboAsciiCode(" 1x"), 0);
  EXPECT_EQ(ComboAsciiCode(""), 0);
}

TEST(ConsoleModel, TypedKeysReachTheSimulatedLineOrTheLinkWithoutEcho) {
  TSimulatedHardware hw;
  THardwareConsoleInput input(hw);
  TConsoleModel console;
  int linkSent = 0;
  console.SetLinkSend([&](uint8_t) { ++linkSent; });
  console.SetSimulation(1, true, {9600, 9600}, &input);
  console.TerminalKeyPress('4');
  console.ComboAsciiClick(13);
  console.ComboAsciiClick(-1);  // an empty list: nothing
  console.ComboAsciiClick(static_cast<int>(kComboAsciiEntries));
  std::string typed;
  hw.serialInput.TakeInto(typed);
  EXPECT_EQ(typed, "4\r");
  EXPECT_EQ(console.Output(), "");
  EXPECT_EQ(linkSent, 0);  // a simulation owns the keys even with the link open

  // Offline and not simulating: counted, sent nowhere; with the link open: sent.
  TConsoleModel offline;
  int sent = 0;
  offline.SetLinkSend([&](uint8_t) { ++sent; });
  offline.TerminalKeyPress('x');
  EXPECT_EQ(sent, 0);
  offline.SetLink(true, "COM3", "19200");
  offline.TerminalKeyPress('x');
  EXPECT_EQ(sent, 1);
  offline.UpdateTerminalTimerTimer();
  EXPECT_EQ(offline.Panels()[3], "gesendet: 8 byte/s empfangen: 0 byte/s.");
  EXPECT_EQ(offline.Output(), "");
}

TEST(ConsoleModel, FormFeedsClearAndHoldStillCounts) {
  TConsoleModel console;
  console.SetSimulation(1, true, {}, nullptr);
  console.Receive("alt");
  console.Refresh();
  console.Receive("x\x0C" "eins\x0C" "zwei");
  console.Refresh();
  EXPECT_EQ(console.Output(), "zwei");
  EXPECT_TRUE(console.ButtonCancelClick());
  EXPECT_FALSE(console.CancelEnabled());
  console.Receive("verloren");
  console.Refresh();
  EXPECT_EQ(console.Output(), "zwei");
  EXPECT_EQ(console.Pending(), "");
  console.UpdateTerminalTimerTimer();
  EXPECT_EQ(console.Panels()[3], "gesendet: 0 byte/s empfangen: " + std::to_string(4 * (3 + 11 + 8)) + " byte/s.");
  console.UpdateTerminalTimerTimer();
  EXPECT_EQ(console.Panels()[3], "gesendet: 0 byte/s empfangen: 0 byte/s.");
  // Typing ends a hold as Löschen does.
  console.TerminalKeyPress('a');
  EXPECT_FALSE(console.Holding());
  EXPECT_TRUE(console.ButtonCancelClick());
  console.ButtonClearClick();
  EXPECT_FALSE(console.Holding());
  EXPECT_TRUE(console.CancelEnabled());
  EXPECT_EQ(console.Output(), "");

  // Hold needs a simulation or an open link.
  TConsoleModel idle;
  EXPECT_FALSE(idle.ButtonCancelClick());
  EXPECT_FALSE(idle.Holding());
  idle.SetLink(true, "COM2", "9600");
  EXPECT_TRUE(idle.ButtonCancelClick());
}

TEST(ConsoleModel, EveryRefreshKeepsTheTextForWhenTheConsoleIsShown) {
  // Nothing here knows whether a window shows the console: what a program prints while
  // it is closed must be there when it opens.
  TConsoleModel console;
  console.SetSimulation(1, true, {}, nullptr);
  const uint64_t revision = console.Revision();
  console.Refresh();
  EXPECT_EQ(console.Revision(), revision);  // nothing new, nothing to repaint
  console.Receive("eins ");
  console.Refresh();
  console.Receive("zwei ");
  console.UpdateTerminalTimerTimer();  // a Pyxon simulation leaves the moving to its tick
  EXPECT_EQ(console.Pending(), "zwei ");
  console.Receive("drei");
  console.Refresh();
  EXPECT_EQ(console.Output(), "eins zwei drei");
  EXPECT_EQ(console.Revision(), revision + 2);
  console.UpdateTerminalTimerTimer();
  EXPECT_EQ(console.Panels()[3], "gesendet: 0 byte/s empfangen: " + std::to_string(4 * 9) + " byte/s.");
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
  console.SetLink(false);
  console.SetSimulation(0, false, {}, nullptr);
  console.Refresh();
  EXPECT_EQ(console.Panels()[0], " offline");
  EXPECT_EQ(console.Panels()[2], "");

  // The Tessel path shows pending text at the rate tick while running, not while paused.
  TConsoleModel tessel;
  tessel.SetSimulation(5, false, rates, nullptr);
  tessel.Receive("a");
  tessel.UpdateTerminalTimerTimer();
  EXPECT_EQ(tessel.Output(), "");
  tessel.SetSimulation(1, false, rates, nullptr);
  tessel.UpdateTerminalTimerTimer();
  EXPECT_EQ(tessel.Output(), "a");
  EXPECT_EQ(ConsoleText(std::string("a\x07\r\n\x1b", 5)), "a[7] \r\n[27] ");
}

TEST(ConsoleModel, EndlessOutputKeepsOnlyTheLastBytesAndCountsWhatWasCut) {
  TConsoleModel m;
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
  m.ButtonClearClick();
  EXPECT_EQ(m.Clears(), clears + 2);
}

}  // namespace
}  // namespace zarvek::test
