// The board side of a Pyxon board's line, and the host's upload against it.
#include <vector>

#include "base/profile.h"
#include "link/bootloader.h"
#include "link/pyxon_board.h"
#include "link/upload.h"
#include "link_test_support.h"

namespace zarvek::link {
namespace {

std::string Out(const TBoardReaction& r) {
  std::string s;
  for (const auto& p : r.send) s += p.bytes;
  return s;
}

TBoardReaction Feed(TPyxonBoardProtocol& board, const std::string& bytes, bool running = false) {
  TBoardReaction all;
  for (const char c : bytes) {
    TBoardReaction r = board.OnByte(static_cast<uint8_t>(c), running);
    all.send.insert(all.send.end(), r.send.begin(), r.send.end());
    all.programStored |= r.programStored;
    all.stopProgram |= r.stopProgram;
    all.flashWritten |= r.flashWritten;
    all.vanish |= r.vanish;
  }
  return all;
}

TEST(PyxonBoardTest, AnswersTheProbeAndStoresAnUploadEchoingEveryStreamByte) {
  TPyxonBoardProtocol board(profile::Pyxon128, {});
  EXPECT_EQ(Out(Feed(board, "\x01")), "Zarvek Pyxon 128\r");
  EXPECT_EQ(Out(Feed(board, "I\x02")), "");
  const auto r = Feed(board, std::string("\x00\x03\x5A\x07\xFF", 5));
  EXPECT_EQ(Out(r), std::string("\x00\x03\x5A\x07\xFF", 5));
  EXPECT_TRUE(r.programStored);
  EXPECT_EQ(board.Program(), "\x5A\x07\xFF");
  EXPECT_EQ(board.MemoryByte(), 'I');
}

TEST(PyxonBoardTest, RunningProgramGetsItsBytesButTheProbeStopsIt) {
  TPyxonBoardProtocol board(profile::Pyxon32, {});
  EXPECT_FALSE(board.TakesByte('B', true));
  EXPECT_FALSE(board.TakesByte('7', true));
  EXPECT_TRUE(board.TakesByte(0x01, true));
  const auto r = Feed(board, "\x01", true);
  EXPECT_TRUE(r.stopProgram);
  EXPECT_EQ(Out(r), "Zarvek Pyxon 32\r");
}

TEST(PyxonBoardTest, BootloaderChecksPagesAndFinishesOnTheEndPacket) {
  TPyxonBoardProtocol board(profile::Pyxon32, {});
  const std::string prompt = Out(Feed(board, "B"));
  EXPECT_EQ(prompt.back(), '>');
  EXPECT_EQ(Out(Feed(board, "<")), ">EndS2!");
  std::string page(128, '\x11');
  EXPECT_EQ(Out(Feed(board, std::string("\x00\x02", 2) + page + std::string(1, static_cast<char>(128 * 0x11)))), "!");
  EXPECT_EQ(Out(Feed(board, std::string("\x00\x03", 2) + page + std::string(1, '\0'))), "?");     // wrong sum
  EXPECT_EQ(Out(Feed(board, std::string("\x01\x00", 2) + page + "\x80")), "?");     // page 256 of 0..255
  EXPECT_EQ(board.Flash().substr(256, 128), page);
  EXPECT_EQ(board.Flash().substr(384, 128), std::string(128, '\xFF'));
  const auto end = Feed(board, EndPacket());
  EXPECT_TRUE(end.flashWritten);
  EXPECT_EQ(Out(end), "");
}

TEST(PyxonBoardTest, FaultSwitches) {
  TBoardFaults f;
  f.silent = true;
  TPyxonBoardProtocol silent(profile::Pyxon32, f);
  EXPECT_EQ(Out(Feed(silent, "\x01")), "");

  f = {};
  f.splitIdent = true;
  f.noiseBeforeIdent = true;
  f.extraAfterIdent = true;
  TPyxonBoardProtocol chatty(profile::Pyxon32, f);
  const auto r = Feed(chatty, "\x01");
  ASSERT_GE(r.send.size(), 5u);
  EXPECT_NE(Out(r).find("Zarvek Pyxon 32\r"), std::string::npos);
  EXPECT_NE(Out(r).find("Zarvek Pyxon 32\r"), 0u);
  EXPECT_GT(r.send[2].pauseMs, 0);

  f = {};
  f.wrongEchoAt = 1;
  f.lateEchoAt = 2;
  TPyxonBoardProtocol echoes(profile::Pyxon32, f);
  Feed(echoes, "\x01" "E\x02");
  const auto e = Feed(echoes, std::string("\x00\x01\x77", 3));
  ASSERT_EQ(e.send.size(), 3u);
  EXPECT_EQ(e.send[1].bytes, "\xFE");
  EXPECT_EQ(e.send[2].pauseMs, f.lateEchoMs);

  f = {};
  f.vanishAfter = 1;
  TPyxonBoardProtocol vanishing(profile::Pyxon32, f);
  Feed(vanishing, "\x01" "E\x02");
  EXPECT_FALSE(Feed(vanishing, std::string(1, '\0')).vanish);
  EXPECT_TRUE(Feed(vanishing, "\x05").vanish);
}

class TQuiet final : public TUploadListener {
 public:
  void OnStatus(const std::string& text) override { last = text; }
  void OnProgress(int32_t, int32_t) override {}
  void OnAnimationStopped() override {}
  void OnTransferred() override {}
  std::string last;
};

class UploadToBoardTest : public TFakeLinkTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(link.LinkOpen("pty", "9600"));
    link.receiveHandler = [this](const std::string& d) {
      if (link.TransferState != 0) upload.ReceiveCallBack(d);
    };
  }
  // Each piece the board sends arrives as a read of its own.
  void Run(TPyxonBoardProtocol& board) {
    for (int guard = 0; guard < 100000 && upload.Outcome() == TUploadOutcome::Running; ++guard) {
      std::string out = Sent();
      if (out.empty()) {
        clock.Advance(TUploadMachine::kSettleMs);
        upload.Poll();
        out = Sent();
      }
      if (out.empty()) return;
      std::vector<std::string> pieces;
      for (const char c : out)
        for (const auto& piece : board.OnByte(static_cast<uint8_t>(c), false).send) pieces.push_back(piece.bytes);
      for (const auto& p : pieces) port->Inject(p);
    }
  }
  TQuiet listener;
  TUploadMachine upload{link, clock, listener};
};

TEST_F(UploadToBoardTest, SplitNoisyIdentificationStillTransfersTheProgramExactly) {
  TBoardFaults f;
  f.splitIdent = true;
  f.noiseBeforeIdent = true;
  TPyxonBoardProtocol board(profile::Pyxon32, f);
  std::string image;
  for (int k = 0; k < 300; ++k) image.push_back(static_cast<char>(k * 7));
  TUploadStreams s;
  ASSERT_FALSE(BuildUploadStreams(image, "", s));
  upload.Start(profile::Pyxon32, 1, s);
  Run(board);
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Transferred) << listener.last;
  EXPECT_EQ(board.Program(), image);
}

TEST_F(UploadToBoardTest, WrongEchoFromTheBoardFailsTheTransfer) {
  TBoardFaults f;
  f.wrongEchoAt = 10;
  TPyxonBoardProtocol board(profile::Pyxon32, f);
  TUploadStreams s;
  ASSERT_FALSE(BuildUploadStreams(std::string(50, 'x'), "", s));
  upload.Start(profile::Pyxon32, 1, s);
  Run(board);
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Failed);
  EXPECT_EQ(listener.last, "Übertragungsfehler");
}

}  // namespace
}  // namespace zarvek::link
