// TComPort's terminator, its two ways of delivering, opening, and the link above it.
#include <vector>

#include "link/com_port.h"
#include "link/link_texts.h"
#include "link_test_support.h"

namespace zarvek::link {
namespace {

TEST(TerminatorTest, ParsesAndFormatsDecimalCodes) {
  std::string t;
  EXPECT_FALSE(ParseTerminator("#13", t));
  EXPECT_EQ(t, "\r");
  EXPECT_FALSE(ParseTerminator("#13#10", t));
  EXPECT_EQ(t, "\r\n");
  EXPECT_EQ(FormatTerminator(t), "#13#10");
  EXPECT_EQ(FormatTerminator(std::string(1, '\0') + "\xFF"), "#0#255");
}

TEST(TerminatorTest, BadTextsRaiseTheirMessages) {
  std::string t;
  auto e = ParseTerminator("#", t);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->message, "Terminator string cannot be empty!");
  EXPECT_EQ(t, "");
  e = ParseTerminator("#13#1x", t);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->message, "Illegal terminator string.\rformat : #<asciicode>#<asciicode>#<...>\rexample: #13#10");
  EXPECT_EQ(t, "\r\n");
  EXPECT_TRUE(ParseTerminator("#13##10", t));  // an empty piece is no number either
  TComPort port(std::make_unique<TFakePort>());
  EXPECT_TRUE(port.SetTerminator("#A"));
  EXPECT_EQ(port.Terminator(), "#13#10");
}

class ComPortTest : public ::testing::Test {
 protected:
  ComPortTest() {
    auto p = std::make_unique<TFakePort>();
    fake = p.get();
    port = std::make_unique<TComPort>(std::move(p));
    port->ReceiveCallBack = [this](const std::string& d) { pieces.push_back(d); };
  }
  TFakePort* fake;
  std::unique_ptr<TComPort> port;
  std::vector<std::string> pieces;
};

TEST_F(ComPortTest, TerminatedModeDeliversEveryCompletePieceAndKeepsTheRest) {
  ASSERT_TRUE(port->Open());
  fake->Inject("ab");
  EXPECT_TRUE(pieces.empty());
  fake->Inject("c\r\nd");
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0], "abc\r\n");
  // Two pieces in one read arrive both at once, not one per read.
  fake->Inject("e\r\nf\r\ng");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[1], "de\r\n");
  EXPECT_EQ(pieces[2], "f\r\n");
  // A terminator split over two reads.
  fake->Inject("\r");
  fake->Inject("\n");
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(pieces[3], "g\r\n");
}

TEST_F(ComPortTest, RawModeDeliversEachReadAsItCame) {
  port->ReceiveMode = TReceiveMode::rmRAW;
  ASSERT_TRUE(port->Open());
  fake->Inject("a\r\nb");
  fake->Inject("c");
  EXPECT_EQ(pieces, (std::vector<std::string>{"a\r\nb", "c"}));
}

TEST_F(ComPortTest, OpenAppliesThePropertiesOnceAndCloseNotifies) {
  int opened = 0, closed = 0;
  port->OnPortOpen = [&] { ++opened; };
  port->OnPortClose = [&] { ++closed; };
  port->Port = "/dev/ttyUSB0";
  port->Baud = 19200;
  port->Parity = TParity::ptEVEN;
  ASSERT_TRUE(port->Open());
  EXPECT_TRUE(port->Open());  // already connected: nothing reopens
  EXPECT_EQ(fake->openCount, 1);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(fake->openedName, "/dev/ttyUSB0");
  EXPECT_EQ(fake->openedSettings.baud, 19200);
  EXPECT_EQ(fake->openedSettings.parity, TParity::ptEVEN);
  port->SendString("x");
  port->Close();
  port->Close();
  EXPECT_EQ(closed, 1);
  port->SendString("y");  // closed: nothing goes out
  EXPECT_EQ(fake->TakeWritten(), "x");
  fake->Inject("late");
  EXPECT_TRUE(pieces.empty());
}

TEST_F(ComPortTest, FailedOpenLeavesThePortClosed) {
  fake->failOpen = true;
  EXPECT_FALSE(port->Open());
  EXPECT_FALSE(port->Connected());
  EXPECT_FALSE(port->OpenError().empty());
}

class LinkTest : public TFakeLinkTest {};

TEST_F(LinkTest, OpensRawWithEightBitsNoParityAndAutoAsSpeedZero) {
  ASSERT_TRUE(link.LinkOpen("COM2", "Auto"));
  EXPECT_TRUE(link.Connected());
  EXPECT_EQ(port->openedSettings.baud, 0);
  EXPECT_EQ(port->openedSettings.dataBits, 8);
  EXPECT_EQ(port->openedSettings.parity, TParity::ptNONE);
  EXPECT_EQ(link.Port()->ReceiveMode, TReceiveMode::rmRAW);
  EXPECT_EQ(BaudFromText("57600"), 57600);
  EXPECT_EQ(BaudFromText("96x"), 0);
}

TEST_F(LinkTest, FailedOpenStaysClosedAndTheNextOpenUsesANewPort) {
  failNextOpen = true;
  EXPECT_FALSE(link.LinkOpen("COM9", "9600"));
  EXPECT_FALSE(link.Connected());
  failNextOpen = false;
  EXPECT_TRUE(link.LinkOpen("COM9", "9600"));
  EXPECT_EQ(portsMade, 2);
  EXPECT_EQ(port->openCount, 1);
}

TEST_F(LinkTest, SendRemembersTheLastSendingOnlyDuringATransfer) {
  std::vector<std::string> remembered;
  link.onTransferSend = [&](const std::string& d) { remembered.push_back(d); };
  link.LinkSend("lost");  // closed: goes nowhere
  ASSERT_TRUE(link.LinkOpen("COM1", "9600"));
  link.LinkSend("a");
  link.TransferState = 4;
  link.LinkSend("b");
  EXPECT_EQ(Sent(), "ab");
  EXPECT_EQ(remembered, std::vector<std::string>{"b"});
  link.LinkClose();
  EXPECT_FALSE(link.Connected());
}

TEST_F(LinkTest, LostPortClosesTheLinkAndSaysWhy) {
  std::string why;
  link.onLost = [&](const std::string& w) { why = w; };
  ASSERT_TRUE(link.LinkOpen("COM1", "9600"));
  port->Lose("unplugged");
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(why, "unplugged");
  link.LinkClose();  // harmless afterwards
}

}  // namespace
}  // namespace zarvek::link
