// The runtime update against an in-memory port, and against the board side of the
// protocol wired back to back.
#include <vector>

#include "base/profile.h"
#include "link/bootloader.h"
#include "link/link_texts.h"
#include "link/pyxon_board.h"
#include "link_test_support.h"

namespace zarvek::link {
namespace {

class TRecorder final : public TBootloaderListener {
 public:
  void OnStatus(const std::string& text) override { statuses.push_back(text); }
  void OnProgress(int32_t p) override { progress = p; }
  std::vector<std::string> statuses;
  int32_t progress = -1;
};

std::string HexRecord(uint32_t address, const std::string& data) {
  static const char* digits = "0123456789ABCDEF";
  std::string bytes{static_cast<char>(data.size()), static_cast<char>(address >> 8), static_cast<char>(address), 0};
  bytes += data;
  uint8_t sum = 0;
  for (const char c : bytes) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  bytes.push_back(static_cast<char>(0x100 - sum));
  std::string line = ":";
  for (const char c : bytes) {
    line.push_back(digits[static_cast<uint8_t>(c) >> 4]);
    line.push_back(digits[static_cast<uint8_t>(c) & 15]);
  }
  return line + "\r\n";
}

const std::string kHex = HexRecord(0, std::string("\x0C\x94\x46\x00", 4)) + HexRecord(0x80, "page1") + ":00000001FF\r\n";

class BootloaderTest : public TFakeLinkTest {
 protected:
  void Start(TProfile profile = profile::Pyxon32, const std::string& hex = kHex) {
    update.Start(profile, "COM5", "9600", hex);
  }
  // Up to the first page: prompt and identification answered.
  void ToFirstPage() {
    Start();
    ASSERT_EQ(Sent(), "B");
    port->Inject("\r\nBootloader>");
    ASSERT_EQ(Sent(), "<");
    port->Inject(">>EndS2!");
  }
  std::string Page(int index) {
    const auto& page = update.Image().pages[static_cast<size_t>(index)];
    return Bytes({index >> 8, index & 0xFF}) + page.data + std::string(1, static_cast<char>(page.checksum));
  }
  TRecorder rec;
  TBootloaderMachine update{link, clock, rec};
};

TEST_F(BootloaderTest, BusyPortEndsAtOnce) {
  failNextOpen = true;
  Start();
  EXPECT_EQ(rec.statuses.front(), "Verbindungsaufbau über COM5 Port mit 9600 Baud.");
  EXPECT_EQ(rec.statuses.back(), "Fehler: Der Port COM5 ist zur Zeit belegt oder nicht vorhanden.");
  EXPECT_EQ(update.State(), update::Idle);
  EXPECT_EQ(update.Outcome(), TUpdateOutcome::Failed);
}

TEST_F(BootloaderTest, InvalidFileSendsNothingAndClosesTheLinkItOpened) {
  Start(profile::Pyxon32, "no hex\r\n");
  EXPECT_EQ(rec.statuses.back(), "Fehler: Die Datei ist ungültig.");
  EXPECT_EQ(Sent(), "");
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(update.State(), update::Idle);
}

TEST_F(BootloaderTest, PromptIdentificationAndPagesWithTheirTexts) {
  Start();
  EXPECT_EQ(update.State(), update::WaitPrompt);
  EXPECT_EQ(rec.statuses.back(), texts::kBootNotReady);
  EXPECT_EQ(Sent(), "B");
  port->Inject("running...");  // no prompt yet
  EXPECT_EQ(Sent(), "");
  port->Inject("Bootloader>");
  EXPECT_EQ(Sent(), "<");
  EXPECT_EQ(rec.statuses.back(), "Der Bootloader wird initialisiert...");
  EXPECT_EQ(update.State(), update::WaitIdent);
  port->Inject(">End");
  EXPECT_EQ(Sent(), "");
  port->Inject("S2!");
  EXPECT_EQ(update.State(), update::Pages);
  const std::string first = Sent();
  EXPECT_EQ(first, Page(0));
  EXPECT_EQ(first.substr(2, 5), std::string("\x0C\x94\x46\x00\xFF", 5));
  EXPECT_EQ(rec.statuses.back(),
            "Das Betriebssystem wird auf den Mikrocontroller übertragen...\r\n0 erfolgreich übertragene Seiten von "
            "insgesamt 256\r\nFehlgeschlagene Seiten: 0");
  port->Inject("!ok");  // several characters starting with "!" are one acceptance
  EXPECT_EQ(Sent(), Page(1));
  EXPECT_EQ(Page(1).substr(2, 6), "page1\xFF");
  for (int k = 2; k <= 128; ++k) {
    port->Inject("!");
    ASSERT_EQ(Sent(), Page(k));
  }
  EXPECT_EQ(rec.progress, 100);  // page 128 of 256
}

TEST_F(BootloaderTest, RejectedPagesAreSentAgainAndCounted) {
  ToFirstPage();
  Sent();
  port->Inject("?");  // the very first page
  EXPECT_EQ(Sent(), Page(0));
  EXPECT_EQ(update.FailedPages(), 1);
  EXPECT_NE(std::find(rec.statuses.begin(), rec.statuses.end(),
                      "Übertragungsfehler. (NAK) ?\r\nFehler bei der Übertragung von Seite 1 von insgesamt 256"),
            rec.statuses.end());
  port->Inject("!");
  EXPECT_EQ(Sent(), Page(1));
  port->Inject("E");
  EXPECT_EQ(Sent(), Page(1));
  EXPECT_EQ(update.FailedPages(), 2);
  EXPECT_EQ(rec.statuses.back().substr(rec.statuses.back().size() - 25), "Fehlgeschlagene Seiten: 2");
}

TEST_F(BootloaderTest, LastPageMustBeAcceptedBeforeTheEndPacket) {
  ToFirstPage();
  for (int k = 1; k < 256; ++k) port->Inject("!");
  EXPECT_EQ(Sent().substr(256 * 131 - 131), Page(255));
  port->Inject("?");  // the last page rejected: sent again, no end packet yet
  EXPECT_EQ(Sent(), Page(255));
  EXPECT_EQ(update.State(), update::Pages);
  port->Inject("!");
  EXPECT_EQ(Sent(), EndPacket());
  EXPECT_EQ(EndPacket().size(), 259u);
  EXPECT_EQ(rec.statuses.back(), "Update fertiggestellt.");
  EXPECT_EQ(update.State(), update::Finished);
  EXPECT_EQ(update.Outcome(), TUpdateOutcome::Finished);
  EXPECT_EQ(rec.progress, 200);
  port->Inject("?");  // replies after that are not examined
  EXPECT_EQ(Sent(), "");
  update.StopButton(nullptr);  // no question once the update is complete
  EXPECT_EQ(update.State(), update::Idle);
  EXPECT_FALSE(link.Connected());
}

TEST_F(BootloaderTest, WrongBootloaderIsWarnedAboutAndNothingWritten) {
  Start();
  port->Inject(">");
  Sent();
  port->Inject("DpcT4!");
  EXPECT_EQ(rec.statuses.back(), texts::kBootWrongBoard);
  EXPECT_EQ(update.State(), update::WaitIdent);
  port->Inject("EndS2!");
  EXPECT_EQ(Sent(), "");
}

TEST_F(BootloaderTest, IdentificationWithMoreBehindIsAccepted) {
  Start(profile::Pyxon128, kHex);
  port->Inject(">");
  Sent();
  port->Inject("DpcT4!\r\n");
  EXPECT_EQ(update.State(), update::Pages);
  EXPECT_EQ(Sent().size(), 259u);  // 256-byte pages
  EXPECT_EQ(BootloaderIdent(profile::Pyxon32), "EndS2!");
}

TEST_F(BootloaderTest, SilenceAfterThePromptEndsInControllerAntwortetNicht) {
  ToFirstPage();
  clock.Advance(TBootloaderMachine::kReplyTimeoutMs - 1);
  update.Poll();
  EXPECT_EQ(update.Outcome(), TUpdateOutcome::Running);
  clock.Advance(1);
  update.Poll();
  EXPECT_EQ(rec.statuses.back(), "Controller antwortet nicht.");
  EXPECT_EQ(update.Outcome(), TUpdateOutcome::Failed);
  Sent();
  port->Inject("!");
  EXPECT_EQ(Sent(), "");
  // Waiting for the prompt has no limit: the user may have to start the bootloader by hand.
}

TEST_F(BootloaderTest, StopBeforeWritingClosesTheLinkAfterItAsksFirst) {
  Start();
  update.StopButton(nullptr);
  EXPECT_EQ(update.State(), update::Idle);
  EXPECT_FALSE(link.Connected());

  ToFirstPage();
  std::string asked;
  update.StopButton([&](const std::string& warning) {
    asked = warning;
    return false;
  });
  EXPECT_EQ(asked, texts::kBootStopWarning);
  EXPECT_EQ(update.State(), update::Pages);
  update.StopButton([](const std::string&) { return true; });
  EXPECT_EQ(update.State(), update::Idle);
  EXPECT_TRUE(link.Connected());  // a board without runtime keeps its line
}

TEST_F(BootloaderTest, HandlerIsTakenOverAndGivenBack) {
  std::string mainWindow;
  ASSERT_TRUE(link.LinkOpen("COM5", "9600"));
  link.receiveHandler = [&](const std::string& d) { mainWindow += d; };
  Start();
  port->Inject("x");
  EXPECT_EQ(mainWindow, "");
  update.StopButton(nullptr);
  EXPECT_TRUE(link.Connected());  // it was open before
  port->Inject("y");
  EXPECT_EQ(mainWindow, "y");
}

// Host and board side by side: whatever the host sends reaches the board byte by byte.
class BackToBackTest : public BootloaderTest {
 protected:
  void Run(TPyxonBoardProtocol& board) {
    for (int guard = 0; guard < 100000; ++guard) {
      const std::string out = Sent();
      if (out.empty()) return;
      std::string reply;
      for (const char c : out)
        for (const auto& piece : board.OnByte(static_cast<uint8_t>(c), false).send) reply += piece.bytes;
      if (!reply.empty()) port->Inject(reply);
    }
  }
};

TEST_F(BackToBackTest, FlashEqualsTheFileEvenWhenTheLastPageIsRejectedOnce) {
  TBoardFaults faults;
  faults.rejectPage = 255;
  TPyxonBoardProtocol board(profile::Pyxon32, faults);
  Start();
  Run(board);
  EXPECT_EQ(update.Outcome(), TUpdateOutcome::Finished);
  EXPECT_EQ(board.PagesRejected(), 1);
  EXPECT_EQ(update.FailedPages(), 1);
  std::string expected;
  for (const auto& p : update.Image().pages) expected += p.data;
  EXPECT_EQ(board.Flash(), expected);
}

}  // namespace
}  // namespace zarvek::link
