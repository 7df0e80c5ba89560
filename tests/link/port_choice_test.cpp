// The console's link side: the port and speed choice, connecting and disconnecting, the
// connect message, and the console's keys going over the link.
#include "link/port_choice.h"
#include "link_test_support.h"

namespace zarvek::link {
namespace {

class PortChoiceTest : public TFakeLinkTest {
 protected:
  void SetUp() override {
    // As the main window's receive handler does outside a transfer.
    link.receiveHandler = [this](const std::string& d) {
      console.Receive(d);
      console.Refresh();
    };
  }
  TConsoleModel console;
  TPortChoice ports{link, console};
};

TEST_F(PortChoiceTest, SpeedListStartsWithAuto) {
  const auto speeds = BaudList();
  ASSERT_EQ(speeds.size(), 8u);
  EXPECT_EQ(speeds.front(), "Auto");
  EXPECT_EQ(speeds[1], "9600");
  EXPECT_EQ(speeds.back(), "115200");
  EXPECT_EQ(ports.PortText(), "COM1");
  EXPECT_EQ(ports.BaudText(), "9600");
}

TEST_F(PortChoiceTest, ConnectShowsTheMessageAndLocksTheLists) {
  EXPECT_EQ(ports.ConnectCaption(), "Verbinden");
  EXPECT_TRUE(ports.ListsEnabled());
  ports.ComPortListChange("COM4");
  ports.BaudListChange("19200");
  EXPECT_EQ(portsMade, 0);  // closed: the choice waits for the next connect
  ports.ButtonConnectClick();
  ASSERT_TRUE(link.Connected());
  EXPECT_EQ(port->openedName, "COM4");
  EXPECT_EQ(port->openedSettings.baud, 19200);
  EXPECT_EQ(ports.ConnectCaption(), "Verbindung trennen");
  EXPECT_FALSE(ports.ListsEnabled());
  EXPECT_EQ(console.Output(), "> Verbindung hergestellt.\r\n");
  EXPECT_EQ(console.Panels()[0], " online");
  EXPECT_EQ(console.Panels()[1], " COM4");
  EXPECT_EQ(console.Panels()[2], " 19200");
  ports.ButtonConnectClick();
  EXPECT_FALSE(link.Connected());
  EXPECT_TRUE(ports.ListsEnabled());
  EXPECT_EQ(ports.ConnectCaption(), "Verbinden");
  EXPECT_EQ(console.Panels()[0], " offline");
  EXPECT_EQ(console.Panels()[1], "");
  EXPECT_FALSE(console.LinkOpen());
}

TEST_F(PortChoiceTest, FailedConnectStaysOffline) {
  failNextOpen = true;
  ports.ButtonConnectClick();
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(ports.ConnectCaption(), "Verbinden");
  EXPECT_EQ(console.Output(), "");
  EXPECT_EQ(console.Panels()[0], " offline");
}

TEST_F(PortChoiceTest, ChoiceChangedWhileConnectedReconnectsAtOnce) {
  ports.ButtonConnectClick();
  ports.BaudListChange("115200");
  EXPECT_EQ(portsMade, 2);
  EXPECT_TRUE(link.Connected());
  EXPECT_EQ(port->openedSettings.baud, 115200);
  ports.ComPortListChange("/dev/pts/7");
  EXPECT_EQ(portsMade, 3);
  EXPECT_EQ(port->openedName, "/dev/pts/7");
  console.Refresh();
  EXPECT_EQ(console.Panels()[1], " /dev/pts/7");
  EXPECT_EQ(console.Panels()[2], " 115200");

  // A new choice that cannot be opened leaves the link closed, and the console says so.
  failNextOpen = true;
  ports.ComPortListChange("COM9");
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(ports.ConnectCaption(), "Verbinden");
  console.Refresh();
  EXPECT_EQ(console.Panels()[0], " offline");
  EXPECT_FALSE(console.ButtonCancelClick());
}

TEST_F(PortChoiceTest, KeysAndCodesGoToTheBoardWithoutEchoAndAreCounted) {
  console.TerminalKeyPress('a');  // offline: counted, sent nowhere
  ports.ButtonConnectClick();
  EXPECT_TRUE(console.ButtonCancelClick());
  port->Inject("verloren");
  console.TerminalKeyPress('b');
  EXPECT_FALSE(console.Holding());  // typing ends the hold
  console.ComboAsciiClick(13);
  EXPECT_EQ(Sent(), "b\r");
  port->Inject("da");
  EXPECT_EQ(console.Output(), "> Verbindung hergestellt.\r\nda");
  console.UpdateTerminalTimerTimer();
  const int received = static_cast<int>(std::string("> Verbindung hergestellt.\r\n").size()) + 8 + 2;
  EXPECT_EQ(console.Panels()[3], "gesendet: 12 byte/s empfangen: " + std::to_string(4 * received) + " byte/s.");
}

TEST_F(PortChoiceTest, KeysStopReachingTheLinkWhenTheChoiceIsGone) {
  TConsoleModel own;
  {
    TPortChoice shortLived(link, own);
    shortLived.ButtonConnectClick();
    own.TerminalKeyPress('x');
    EXPECT_EQ(Sent(), "x");
  }
  own.TerminalKeyPress('y');  // must not call into the destroyed choice
  EXPECT_EQ(Sent(), "");
}

}  // namespace
}  // namespace zarvek::link
