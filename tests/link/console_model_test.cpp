// The console's link side: connecting, received text with hold and form feed, sending.
#include "link/console_model.h"
#include "link_test_support.h"

namespace zarvek::link {
namespace {

class ConsoleTest : public TFakeLinkTest {
 protected:
  void SetUp() override {
    link.receiveHandler = [this](const std::string& d) { console.AppendReceived(d); };
  }
  TConsoleModel console{link};
};

TEST_F(ConsoleTest, ListsOfSpeedsAndCodes) {
  EXPECT_EQ(BaudList().front(), "Auto");
  EXPECT_EQ(BaudList().size(), 8u);
  const auto codes = ComboAsciiList();
  ASSERT_EQ(codes.size(), 37u);
  EXPECT_EQ(codes[0], "  0 NUL");
  EXPECT_EQ(codes[1], "  1 SOH (Start of Header)");
  EXPECT_EQ(codes[13], " 13  CR (Carriage Return)");
  EXPECT_EQ(codes[32], " 32  SP (Space)");
  EXPECT_EQ(codes[kComboAsciiStart], " 16 DLE (Data Link Escape)");
  EXPECT_EQ(codes[36], " 36   $");
  EXPECT_EQ(ComboAsciiCode(codes[13]), 13);
  EXPECT_EQ(ComboAsciiCode("abc"), 0);
}

TEST_F(ConsoleTest, ConnectShowsTheMessageAndLocksTheLists) {
  EXPECT_EQ(console.ConnectCaption(), "Verbinden");
  console.ComPortListChange("COM4");
  console.BaudListChange("19200");
  console.ButtonConnectClick();
  ASSERT_TRUE(link.Connected());
  EXPECT_EQ(port->openedName, "COM4");
  EXPECT_EQ(port->openedSettings.baud, 19200);
  EXPECT_EQ(console.ConnectCaption(), "Verbindung trennen");
  EXPECT_FALSE(console.ListsEnabled());
  EXPECT_EQ(console.Output(), "> Verbindung hergestellt.\r\n");
  EXPECT_EQ(console.Panels()[0], " online");
  EXPECT_EQ(console.Panels()[1], " COM4");
  EXPECT_EQ(console.Panels()[2], " 19200");
  console.ButtonConnectClick();
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(console.Panels()[0], " offline");
  EXPECT_EQ(console.Panels()[1], "");
}

TEST_F(ConsoleTest, FailedConnectStaysOffline) {
  failNextOpen = true;
  console.ButtonConnectClick();
  EXPECT_EQ(console.ConnectCaption(), "Verbinden");
  EXPECT_EQ(console.Output(), "");
}

TEST_F(ConsoleTest, SpeedChangeWhileConnectedReconnectsAtOnce) {
  console.ButtonConnectClick();
  console.BaudListChange("115200");
  EXPECT_EQ(portsMade, 2);
  EXPECT_TRUE(link.Connected());
  EXPECT_EQ(port->openedSettings.baud, 115200);
}

TEST_F(ConsoleTest, FormFeedClearsAndHoldDropsTheTextButCountsIt) {
  console.ButtonConnectClick();
  port->Inject("abc");
  port->Inject("x\x0Cy\x0Cz");
  EXPECT_EQ(console.Output(), "z");
  console.ButtonCancelClick();
  EXPECT_TRUE(console.Holding());
  EXPECT_FALSE(console.CancelEnabled());
  port->Inject("12345");
  EXPECT_EQ(console.Output(), "z");
  console.UpdateTerminalTimerTimer();
  const int received = static_cast<int>(std::string("> Verbindung hergestellt.\r\n").size()) + 3 + 5 + 5;
  EXPECT_EQ(console.Panels()[3], "gesendet: 0 byte/s empfangen: " + std::to_string(4 * received) + " byte/s.");
  console.ButtonClearClick();
  EXPECT_EQ(console.Output(), "");
  EXPECT_FALSE(console.Holding());
}

TEST_F(ConsoleTest, KeysAndCodesGoToTheBoardWithoutEchoAndAreCounted) {
  console.TerminalKeyPress('a');  // offline: counted, sent nowhere
  console.ButtonConnectClick();
  console.ButtonCancelClick();
  console.TerminalKeyPress('b');
  EXPECT_FALSE(console.Holding());  // typing ends the hold
  console.ComboAsciiClick(ComboAsciiList()[13]);
  EXPECT_EQ(Sent(), "b\r");
  EXPECT_EQ(console.Output(), "> Verbindung hergestellt.\r\n");
  console.UpdateTerminalTimerTimer();
  EXPECT_EQ(console.Panels()[3].substr(0, 13), "gesendet: 12 ");
  EXPECT_EQ(console.SentCount(), 0);
}

TEST_F(ConsoleTest, DuringASimulationKeysGoToTheProgram) {
  std::string typed;
  console.simulationRunning = true;
  console.simulatedTransmitBaud = 9600.4;
  console.simulatedReceiveBaud = 4799.6;
  console.toSimulation = [&](char c) { typed.push_back(c); };
  console.TerminalKeyPress('q');
  EXPECT_EQ(typed, "q");
  EXPECT_EQ(console.Panels()[1], " Simulation");
  EXPECT_EQ(console.Panels()[2], " 9600/4800");
}

}  // namespace
}  // namespace zarvek::link
