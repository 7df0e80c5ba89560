// zarvek-cli upload and console against the virtual Tessel boards (the emulated controller
// running our operating system) over real pseudo-terminals. Every wait has a bound.
#include <fcntl.h>

#include "process_support.h"

namespace zarvek::link {
namespace {

class TesselPtyTest : public TBoardProcessTest {
 protected:
  TProcess Upload(const std::string& profile, const std::string& name = "upload") {
    return Cli({"upload", "--port", Path("tty"), "--profile", profile, "--asm", Path("bump.asm"), Path("doppel.bas")},
               name);
  }
  // The console after the board has restarted into the new program (a restart that
  // clears its receive buffer follows the last echo).
  std::string Console(const std::string& input, const std::string& name = "console") {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    TProcess console = Cli({"console", "--port", Path("tty"), "--linger", "0.7"}, name, input);
    EXPECT_EQ(console.Wait(20), 0) << console.Err();
    return console.Out();
  }
  void WriteProgram() {
    // Doubles each number until 0; the machine code adds one to a byte variable.
    File("doppel.bas",
         "DIM a AS BYTE\r\nDIM b AS BYTE\r\nDO\r\n  INPUT a\r\n  b = a\r\n  CALL bump\r\n"
         "  PRINT \"Doppelt: \"; a * 2; \" \"; b\r\nLOOP UNTIL a = 0\r\nPRINT \"Ende\"\r\nEND\r\n");
    File("bump.asm", "bump     LDA b\r\n         INCA\r\n         STA b\r\n         RTS\r\n");
  }
};

TEST_F(TesselPtyTest, UploadRunsOnTheBoardKeepsItAndReadsTheMachineCodeBack) {
  WriteProgram();
  for (const std::string profile : {"tessel-1.1", "tessel-micro"}) {
    SCOPED_TRACE(profile);
    const bool micro = profile == "tessel-micro";
    auto board = Board({"--profile", profile, "--eeprom", Path("eeprom.bin")});
    TProcess upload = Upload(profile);
    ASSERT_EQ(upload.Wait(30), 0) << upload.Err();
    const std::string status = upload.Err();
    EXPECT_NE(status.find(micro ? "Tessel Micro/PCB wird gesucht..." : "Tessel 1.1 wird gesucht..."),
              std::string::npos);
    EXPECT_NE(status.find("Update (BASIC)"), std::string::npos) << status;  // the machine code went over
    EXPECT_NE(status.find("fertig!\nDas Projekt wurde übertragen."), std::string::npos) << status;
    const std::string out = Console("21\r0\r");
    EXPECT_NE(out.find("Doppelt: 42 22"), std::string::npos) << out;
    EXPECT_NE(out.find("Ende"), std::string::npos) << out;

    // The program ended; the same project again. Tessel 1.1 reads its machine code area
    // back and, as it matches, sends only the token code; Micro always rewrites it.
    TProcess again = Upload(profile, "again");
    ASSERT_EQ(again.Wait(30), 0) << again.Err();
    const std::string second = again.Err();
    if (micro) {
      EXPECT_EQ(second.find("Durchsuchen..."), std::string::npos) << second;
      EXPECT_NE(second.find("Update (BASIC)"), std::string::npos) << second;
    } else {
      EXPECT_NE(second.find("Durchsuchen...\nSenden... (BASIC)"), std::string::npos) << second;
      EXPECT_EQ(second.find("Update (BASIC)"), std::string::npos) << second;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(board->Stop(), 0) << board->Err();
    EXPECT_EQ(std::filesystem::file_size(Path("eeprom.bin")), 8192u + 255u);

    // Started again on its file, the board runs the kept program with its machine code.
    board = Board({"--profile", profile, "--eeprom", Path("eeprom.bin")});
    const std::string kept = Console("5\r", "kept");
    EXPECT_NE(kept.find("Doppelt: 10 6"), std::string::npos) << kept;

    // The program still runs; a new upload restarts the board into the upload service.
    File("doppel.bas", "DIM a AS BYTE\r\nINPUT a\r\nPRINT \"Neu \"; a\r\nEND\r\n");
    TProcess replace = Cli({"upload", "--port", Path("tty"), "--profile", profile, Path("doppel.bas")}, "replace");
    ASSERT_EQ(replace.Wait(30), 0) << replace.Err();
    const std::string replaced = Console("3\r", "new");
    EXPECT_NE(replaced.find("Neu 3"), std::string::npos) << replaced;
    EXPECT_EQ(board->Stop(), 0);
    EXPECT_NE(board->Err().find("Programm angehalten: Übertragung beginnt."), std::string::npos) << board->Err();
    std::filesystem::remove(Path("eeprom.bin"));
    WriteProgram();
  }
}

TEST_F(TesselPtyTest, LineFaultsOfTheTesselBoard) {
  WriteProgram();
  {
    SCOPED_TRACE("noise, split and extra identification, a late echo");
    auto board = Board({"--profile", "tessel-1.1", "--fault", "noise", "--fault", "split-ident", "--fault", "extra",
                        "--fault", "late-echo=5"});
    const auto start = std::chrono::steady_clock::now();
    TProcess upload = Upload("tessel-1.1");
    ASSERT_EQ(upload.Wait(30), 0) << upload.Err();
    // Byte 5 of both streams came 1.5 s late, and the host waited for it each time.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_NE(Console("4\r").find("Doppelt: 8 5"), std::string::npos);
    EXPECT_EQ(board->Stop(), 0);
  }
  {
    SCOPED_TRACE("wrong echo in the machine code");
    auto board = Board({"--profile", "tessel-micro", "--fault", "wrong-echo=2"});
    TProcess upload = Upload("tessel-micro");
    EXPECT_EQ(upload.Wait(30), 1);
    EXPECT_NE(upload.Err().find("\nAssembler Übertragungsfehler\n"), std::string::npos) << upload.Err();
    board->Stop();
  }
  {
    SCOPED_TRACE("a transfer given up halfway");
    auto board = Board({"--profile", "tessel-1.1"});
    // Machine code of 200 bytes announced, one sent: the system waits for the rest, more
    // than the next upload's probes could fill.
    TProcess halfway = Cli({"console", "--port", Path("tty"), "--linger", "0.2"}, "halfway", std::string("\x08\xC8\x01", 3));
    ASSERT_EQ(halfway.Wait(10), 0) << halfway.Err();
    EXPECT_EQ(halfway.Out(), std::string("\xC8\x01", 2)) << board->Err();  // the echoes
    // Well beyond the 1.5 s after which the board counts the stream as given up, also when
    // a loaded machine delays the echoes.
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    TProcess upload = Upload("tessel-1.1");
    ASSERT_EQ(upload.Wait(30), 0) << upload.Err() << "\nBoard:\n" << board->Err();
    EXPECT_NE(Console("4\r").find("Doppelt: 8 5"), std::string::npos);
    EXPECT_EQ(board->Stop(), 0);
    EXPECT_NE(board->Err().find("Abgebrochene Übertragung: das Board startet neu."), std::string::npos) << board->Err();
  }
  {
    SCOPED_TRACE("line vanishing");
    auto board = Board({"--profile", "tessel-1.1", "--fault", "vanish-after=10"});
    TProcess upload = Upload("tessel-1.1");
    EXPECT_EQ(upload.Wait(30), 1);
    EXPECT_NE(upload.Err().find("ist abgebrochen."), std::string::npos) << upload.Err();
    EXPECT_EQ(board->Wait(10), 0);
  }
}

TEST_F(TesselPtyTest, TheLineFollowsTheRateTheProgramSets) {
  File("schnell.bas",
       "DIM a AS BYTE\r\nSETBAUD 20833, 20833\r\nINPUT a\r\nPRINT \"Schnell \"; a * 2\r\n"
       "SETBAUD 9615, 9615\r\nPRINT \"Langsam\"\r\nEND\r\n");
  auto board = Board({"--profile", "tessel-1.1"});
  TProcess upload = Cli({"upload", "--port", Path("tty"), "--profile", "tessel-1.1", Path("schnell.bas")}, "upload");
  ASSERT_EQ(upload.Wait(30), 0) << upload.Err();
  const std::string out = Console("8\r");
  EXPECT_NE(out.find("Schnell 16\r\nLangsam"), std::string::npos) << out;
  EXPECT_EQ(board->Stop(), 0);
  EXPECT_NE(board->Err().find("mit 20833 Baud.\nDie Leitung läuft jetzt mit 9615 Baud."), std::string::npos)
      << board->Err();
}

TEST_F(TesselPtyTest, AForeignMemoryFileIsRefusedAndKept) {
  const std::string foreign = File("foreign.bin", "kein Abbild");
  TProcess board = Cli({"board", "--link", Path("tty"), "--profile", "tessel-1.1", "--eeprom", foreign}, "board");
  EXPECT_EQ(board.Wait(10), 1);
  EXPECT_NE(board.Err().find("kein Speicherabbild eines Tessel-Boards"), std::string::npos) << board.Err();
  EXPECT_EQ(ReadText(foreign), "kein Abbild");
  TProcess baud = Cli({"board", "--profile", "tessel-micro", "--baud", "19200"}, "baud");
  EXPECT_EQ(baud.Wait(10), 2);
}

}  // namespace
}  // namespace zarvek::link
