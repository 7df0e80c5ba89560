// zarvek-cli upload, flash and console against zarvek-cli board over real
// pseudo-terminals. Every wait has a bound.
#include <fcntl.h>

#include "process_support.h"

namespace zarvek::link {
namespace {

class PtyTest : public TBoardProcessTest {
 protected:
  // Answers each number with its double until 0, then says goodbye.
  const std::string kDoubler =
      "DIM a AS INTEGER\r\nDO\r\n  INPUT a\r\n  PRINT \"Doppelt: \"; a * 2\r\nLOOP UNTIL a = 0\r\nPRINT \"Ende\"\r\nEND\r\n";
};

TEST_F(PtyTest, UploadToEachPyxonBoardThenTheProgramAnswersOnTheConsole) {
  for (const std::string profile : {"atmega-32", "atmega-128"}) {
    SCOPED_TRACE(profile);
    const std::string source = File("doppel.bas", kDoubler);
    auto board = Board({"--profile", profile, "--eeprom", Path("eeprom.bin")});
    TProcess upload = Cli({"upload", "--port", Path("tty"), "--profile", profile, source}, "upload");
    ASSERT_EQ(upload.Wait(30), 0) << upload.Err();
    const std::string status = upload.Err();
    EXPECT_NE(status.find(profile == "atmega-32" ? "ATmega32 wird gesucht..." : "ATmega128 wird gesucht..."),
              std::string::npos);
    EXPECT_NE(status.find("fertig!\nDas Projekt wurde übertragen."), std::string::npos) << status;
    TProcess console = Cli({"console", "--port", Path("tty"), "--linger", "1.5"}, "console", "21\r0\r");
    ASSERT_EQ(console.Wait(20), 0) << console.Err();
    EXPECT_NE(console.Out().find("Doppelt: 42"), std::string::npos) << console.Out();
    EXPECT_NE(console.Out().find("Ende"), std::string::npos) << console.Out();
    EXPECT_EQ(board->Stop(), 0);

    // The program was kept: a board started again on the same EEPROM file runs it.
    board = Board({"--profile", profile, "--eeprom", Path("eeprom.bin")});
    TProcess again = Cli({"console", "--port", Path("tty"), "--linger", "1.5"}, "again", "5\r");
    ASSERT_EQ(again.Wait(20), 0) << again.Err();
    EXPECT_NE(again.Out().find("Doppelt: 10"), std::string::npos) << again.Out();
    EXPECT_EQ(board->Stop(), 0);
    std::filesystem::remove(Path("eeprom.bin"));
  }
}

TEST_F(PtyTest, FaultyButRecoverableBoardsStillGetTheProgram) {
  const std::string source = File("doppel.bas", kDoubler);
  for (const std::vector<std::string>& faults :
       {std::vector<std::string>{"--fault", "noise", "--fault", "split-ident", "--fault", "extra"},
        std::vector<std::string>{"--fault", "late-echo=5"}}) {
    SCOPED_TRACE(faults.back());
    std::vector<std::string> args{"--profile", "atmega-32"};
    args.insert(args.end(), faults.begin(), faults.end());
    auto board = Board(args);
    TProcess upload = Cli({"upload", "--port", Path("tty"), "--profile", "atmega-32", source}, "upload");
    ASSERT_EQ(upload.Wait(30), 0) << upload.Err();
    TProcess console = Cli({"console", "--port", Path("tty"), "--linger", "1.5"}, "console", "4\r");
    ASSERT_EQ(console.Wait(20), 0);
    EXPECT_NE(console.Out().find("Doppelt: 8"), std::string::npos) << console.Out();
    EXPECT_EQ(board->Stop(), 0);
  }
}

TEST_F(PtyTest, WrongEchoFailsWithItsText) {
  const std::string source = File("doppel.bas", kDoubler);
  auto board = Board({"--profile", "atmega-32", "--fault", "wrong-echo=3"});
  TProcess upload = Cli({"upload", "--port", Path("tty"), "--profile", "atmega-32", source}, "upload");
  EXPECT_EQ(upload.Wait(30), 1);
  EXPECT_NE(upload.Err().find("\nÜbertragungsfehler\n"), std::string::npos) << upload.Err();
  board->Stop();
}

TEST_F(PtyTest, SilentBoardIsAskedAgainThenControllerAntwortetNicht) {
  const std::string source = File("doppel.bas", kDoubler);
  auto board = Board({"--profile", "atmega-32", "--fault", "silent"});
  const auto start = std::chrono::steady_clock::now();
  TProcess upload = Cli({"upload", "--port", Path("tty"), "--profile", "atmega-32", source}, "upload");
  EXPECT_EQ(upload.Wait(40), 1);
  EXPECT_EQ(upload.Err(), "ATmega32 wird gesucht...\nController antwortet nicht.\n");
  // Eleven repeats a second apart come before the message (a lower bound, not a speed goal).
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(11));
  board->Stop();
}

TEST_F(PtyTest, PortVanishingMidTransferGivesAClearMessage) {
  const std::string source = File("doppel.bas", kDoubler);
  auto board = Board({"--profile", "atmega-32", "--fault", "vanish-after=10"});
  TProcess upload = Cli({"upload", "--port", Path("tty"), "--profile", "atmega-32", source}, "upload");
  EXPECT_EQ(upload.Wait(30), 1);
  EXPECT_NE(upload.Err().find("Fehler: Die Verbindung über " + Path("tty") + " ist abgebrochen."), std::string::npos)
      << upload.Err();
  EXPECT_EQ(board->Wait(10), 0);  // the board ends with its line
}

TEST_F(PtyTest, MissingPortAndBoardsThatDoNotExistYet) {
  const std::string source = File("doppel.bas", kDoubler);
  TProcess upload = Cli({"upload", "--port", Path("nothing"), "--profile", "atmega-32", source}, "upload");
  EXPECT_EQ(upload.Wait(10), 1);
  EXPECT_NE(upload.Err().find("Fehler: Der Port " + Path("nothing") + " ist zur Zeit belegt oder nicht vorhanden."),
            std::string::npos);
  TProcess notATerminal = Cli({"console", "--port", source}, "console");
  EXPECT_EQ(notATerminal.Wait(10), 1);
  TProcess tessel = Cli({"board", "--profile", "tessel-2.0"}, "tessel");
  EXPECT_EQ(tessel.Wait(10), 2);
  EXPECT_NE(tessel.Err().find("Tessel 2.0"), std::string::npos) << tessel.Err();
}

#ifdef ZARVEK_AVR_IMAGES
// The board's flash, page by page, against avr-objcopy's binary of the same image.
void ExpectFlashEquals(const std::string& flash, const std::string& bin, size_t pageSize, size_t pages) {
  ASSERT_EQ(flash.size(), pageSize * pages);
  std::string expected = bin;
  expected.resize(flash.size(), '\xFF');
  for (size_t p = 0; p < pages; ++p)
    ASSERT_EQ(flash.substr(p * pageSize, pageSize), expected.substr(p * pageSize, pageSize)) << "page " << p;
}

TEST_F(PtyTest, FlashWritesTheObjcopyImagePageByPageDespiteRejectedPages) {
  const std::string images = ZARVEK_AVR_IMAGES;
  struct TCase {
    std::string profile, mcu, baud;
    size_t pageSize, pages;
  };
  for (const TCase& c : {TCase{"atmega-32", "atmega32", "115200", 128, 256},
                         TCase{"atmega-128", "atmega128", "230400", 256, 512}}) {
    SCOPED_TRACE(c.profile);
    auto board = Board({"--profile", c.profile, "--baud", c.baud, "--flash", Path("flash.bin"), "--fault",
                        "reject-page=" + std::to_string(c.pages - 1)});
    TProcess flash = Cli({"flash", "--port", Path("tty"), "--baud", c.baud, "--profile", c.profile,
                          images + "/rt_" + c.mcu + ".hex"},
                         "flash");
    ASSERT_EQ(flash.Wait(60), 0) << flash.Err();
    EXPECT_NE(flash.Err().find("Fehlgeschlagene Seiten: 1"), std::string::npos);
    EXPECT_NE(flash.Err().find("Update fertiggestellt."), std::string::npos);
    ASSERT_TRUE(WaitForFile(Path("flash.bin"), 10));
    board->Stop();
    ExpectFlashEquals(ReadText(Path("flash.bin")), ReadText(images + "/rt_" + c.mcu + ".bin"), c.pageSize, c.pages);
    EXPECT_NE(board->Err().find("1 abgewiesen"), std::string::npos) << board->Err();
    std::filesystem::remove(Path("flash.bin"));
  }
}
#endif

}  // namespace
}  // namespace zarvek::link
