// The upload state machine against an in-memory port and a clock moved by hand.
#include <vector>

#include "base/profile.h"
#include "link/link_texts.h"
#include "link/upload.h"
#include "link_test_support.h"

namespace zarvek::link {
namespace {

class TRecorder final : public TUploadListener {
 public:
  void OnStatus(const std::string& text) override { statuses.push_back(text); }
  void OnProgress(int32_t position, int32_t maximum) override {
    progress = position;
    progressMax = maximum;
  }
  void OnAnimationStopped() override { animationStopped = true; }
  void OnTransferred() override { transferred = true; }
  std::vector<std::string> statuses;
  int32_t progress = -1, progressMax = -1;
  bool animationStopped = false, transferred = false;
};

class UploadTest : public TFakeLinkTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(link.LinkOpen("COM3", "9600"));
    link.receiveHandler = [this](const std::string& d) {
      if (link.TransferState != 0) upload.ReceiveCallBack(d);
      else console += d;
    };
  }
  void Start(TProfile profile, const std::string& image, const std::string& code = "", uint8_t selector = 1) {
    TUploadStreams s;
    ASSERT_FALSE(BuildUploadStreams(image, code, s));
    upload.Start(profile, selector, s);
  }
  void Reply(const std::string& data) { port->Inject(data); }
  // The identification's end, and the quiet after it.
  void Identify(const std::string& text) {
    Reply(text);
    Tick(TUploadMachine::kSettleMs);
  }
  void Tick(int64_t ms = 1000) {
    clock.Advance(ms);
    upload.Poll();
  }
  // Echoes every byte the host sends until it stops sending; returns what it sent.
  std::string EchoAll() {
    std::string all;
    for (int guard = 0; guard < 100000; ++guard) {
      const std::string s = Sent();
      if (s.empty()) break;
      all += s;
      Reply(s.substr(s.size() - 1));
    }
    return all;
  }
  const std::string& LastStatus() const { return rec.statuses.back(); }

  TRecorder rec;
  TUploadMachine upload{link, clock, rec};
  std::string console;
};

const std::string kImage = "\x5A\x07\x20\xFF";

TEST_F(UploadTest, StreamsCarryTheirLengthsAndRefuseWhatTheLengthFieldsCannotHold) {
  TUploadStreams s;
  EXPECT_FALSE(BuildUploadStreams(kImage, "", s));
  EXPECT_EQ(s.machineCode, Bytes({0}));
  EXPECT_EQ(s.tokenCode, Bytes({0, 4}) + kImage);
  EXPECT_FALSE(BuildUploadStreams(std::string(300, 'x'), std::string(255, '\x9D'), s));
  EXPECT_EQ(s.machineCode.size(), 256u);
  EXPECT_EQ(s.machineCode[0], '\xFF');
  EXPECT_EQ(s.tokenCode.substr(0, 2), Bytes({1, 44}));
  EXPECT_EQ(BuildUploadStreams(kImage, std::string(256, '\x9D'), s), std::string(texts::kMachineCodeTooLong));
  EXPECT_EQ(BuildUploadStreams(std::string(65536, 'x'), "", s), std::string(texts::kProgramTooLong));
}

TEST_F(UploadTest, PyxonIdentifiesThenSendsMemoryByteCommandAndEachTokenByteAgainstItsEcho) {
  Start(profile::Pyxon32, kImage);
  EXPECT_EQ(Sent(), Bytes({1}));
  EXPECT_EQ(LastStatus(), "ATmega32 wird gesucht...");
  EXPECT_EQ(rec.progressMax, 1 + 6 + 290);
  EXPECT_EQ(link.TransferState, transfer::Identify);
  Identify("Zarvek Pyxon 32\r");
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  EXPECT_EQ(Sent(), "E" + Bytes({2, 0}));
  EXPECT_EQ(LastStatus(), "Update (BASIC)");
  EXPECT_EQ(rec.progress, 35);
  Reply(Bytes({0}));
  EXPECT_EQ(LastStatus(), "Senden... (BASIC)");
  EXPECT_EQ(Sent(), Bytes({4}));
  Reply(Bytes({4}));
  EXPECT_EQ(EchoAll(), kImage);
  EXPECT_EQ(LastStatus(), "fertig!");
  EXPECT_TRUE(rec.transferred);
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Transferred);
  EXPECT_EQ(link.TransferState, transfer::Idle);
  EXPECT_EQ(rec.progress, 35 + 6);
  // Afterwards the line belongs to the console again.
  Reply("hallo");
  EXPECT_EQ(console, "hallo");
}

TEST_F(UploadTest, MemoryByteFollowsTheProgramMemorySelector) {
  Start(profile::Pyxon128, kImage, "", 2);
  EXPECT_EQ(LastStatus(), "ATmega128 wird gesucht...");
  Sent();
  Identify("Zarvek 128\r");
  EXPECT_EQ(Sent(), "I" + Bytes({2, 0}));
  upload.Stop();
  Start(profile::Pyxon128, kImage, "", 0);
  Sent();
  Identify("Zarvek\x8A");
  EXPECT_EQ(Sent(), "E" + Bytes({2, 0}));
  upload.Stop();
  Start(profile::Pyxon128, kImage, "", 7);
  Sent();
  Identify("Zarvek\r");
  EXPECT_EQ(Sent(), Bytes({2, 0}));
}

TEST_F(UploadTest, SearchTextsByProfile) {
  EXPECT_EQ(SearchText(profile::TesselMicro), "Tessel Micro/PCB wird gesucht...");
  EXPECT_EQ(SearchText(profile::Tessel20), "Tessel 2.0 wird gesucht...");
  EXPECT_EQ(SearchText(profile::Tessel11), "Tessel 1.1 wird gesucht...");
  EXPECT_EQ(FamilyWord(profile::Tessel20), "TESEL");
}

TEST_F(UploadTest, TesselWithoutMachineCodeReadsBackTheAreaThenSendsTokenCode) {
  Start(profile::Tessel11, kImage);
  Sent();
  Identify("TESEL 1.1\r");
  EXPECT_EQ(link.TransferState, transfer::ReadBack);
  EXPECT_EQ(LastStatus(), "Durchsuchen...");
  EXPECT_EQ(Sent(), Bytes({9}));
  Reply(std::string(100, '\xFF'));
  EXPECT_EQ(rec.progress, 35 + 100);
  EXPECT_EQ(Sent(), "");
  Reply(std::string(155, '\xFF'));
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  EXPECT_EQ(Sent(), Bytes({2, 0}));  // no memory byte on a Tessel
  EXPECT_EQ(LastStatus(), "Senden... (BASIC)");
  Reply(Bytes({0}));
  EXPECT_EQ(EchoAll(), Bytes({4}) + kImage);
  EXPECT_TRUE(rec.transferred);
  EXPECT_EQ(rec.progress, 35 + 255 + 6);
}

TEST_F(UploadTest, ReadBackEqualToTheNewCodeSkipsTheMachineCode) {
  const std::string code = "\xA6\x01\x81";
  Start(profile::Tessel11, kImage, code);
  Sent();
  Identify("TESEL\r");
  Sent();
  Reply(code + std::string(252, '\x00'));
  EXPECT_EQ(rec.progress, 35 + 255 + 4);
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  EXPECT_EQ(Sent(), Bytes({2, 0}));
}

TEST_F(UploadTest, ReadBackThatDiffersRewritesTheMachineCodeByteByByte) {
  const std::string code = "\xA6\x01\x81";
  Start(profile::Tessel11, kImage, code);
  Sent();
  Identify("TESEL\r");
  Sent();
  Reply(std::string(255, '\x00'));
  EXPECT_EQ(link.TransferState, transfer::MachineCode);
  EXPECT_EQ(Sent(), Bytes({8, 3}));
  Reply(Bytes({3}));
  EXPECT_EQ(LastStatus(), "Update (BASIC)");
  EXPECT_EQ(Sent(), "\xA6");
  Reply("\xA6");
  Reply(std::string(1, Sent()[0]));
  EXPECT_EQ(Sent(), "\x81");
  Reply("\x81");
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  EXPECT_EQ(Sent(), Bytes({2, 0}));
  EXPECT_EQ(LastStatus(), "Update (BASIC)");
  EXPECT_EQ(rec.progress, 35 + 255 + 4);
}

TEST_F(UploadTest, TesselMicroWithCodeSkipsTheReadBackAndWithoutCodeReadsBack) {
  Start(profile::TesselMicro, kImage, "\x81");
  EXPECT_EQ(LastStatus(), "Tessel Micro/PCB wird gesucht...");
  Sent();
  Identify("TESEL Micro\r");
  EXPECT_EQ(link.TransferState, transfer::MachineCode);
  EXPECT_EQ(Sent(), Bytes({8, 1}));
  upload.Stop();
  Start(profile::TesselMicro, kImage);
  Sent();
  Identify("TESEL Micro\r");
  EXPECT_EQ(link.TransferState, transfer::ReadBack);
  EXPECT_EQ(Sent(), Bytes({9}));
}

TEST_F(UploadTest, WrongEchoesEndTheTransferWithTheirTexts) {
  Start(profile::TesselMicro, kImage, "\x81");
  Sent();
  Identify("TESEL\r");
  Sent();
  Reply(Bytes({1, 0x81}));  // a machine-code echo must be exactly one byte
  EXPECT_EQ(LastStatus(), "Assembler Übertragungsfehler");
  EXPECT_TRUE(rec.animationStopped);
  EXPECT_EQ(link.TransferState, transfer::Idle);
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Failed);

  Start(profile::Pyxon32, kImage);
  Sent();
  Identify("Zarvek\r");
  Sent();
  Reply(Bytes({0, 0x55}));  // token echo: the first byte counts
  EXPECT_EQ(Sent(), Bytes({4}));
  Reply(Bytes({5}));
  EXPECT_EQ(LastStatus(), "Übertragungsfehler");
  EXPECT_EQ(link.TransferState, transfer::Idle);
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Failed);
}

TEST_F(UploadTest, TooManyReadBackBytes) {
  Start(profile::Tessel11, kImage);
  Sent();
  Identify("TESEL\r");
  Reply(std::string(256, '\0'));
  EXPECT_EQ(LastStatus(), "Fehler: Zu viele Daten empfangen!");
  EXPECT_EQ(link.TransferState, transfer::Idle);
}

TEST_F(UploadTest, IdentificationInPiecesNoiseBeforeAndCharactersBehind) {
  Start(profile::Pyxon32, kImage);
  Sent();
  Reply("Za");
  Reply("rvek Py");
  EXPECT_EQ(link.TransferState, transfer::Identify);
  Identify("xon\r");
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  upload.Stop();

  // A running program's output before the identification, split anywhere.
  Start(profile::Pyxon32, kImage);
  Sent();
  Reply("Messwert: 17\r\nMesswert: 18\r\nZar");
  EXPECT_EQ(link.TransferState, transfer::Identify);
  Identify("vek\r");
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  upload.Stop();

  // More behind the end in the same read: the identification is complete all the same.
  Start(profile::Pyxon32, kImage);
  Sent();
  Reply("Zarvek 32\r\nbere");
  Tick(TUploadMachine::kSettleMs - 1);
  Reply("it> ");  // the rest of the line, in a read of its own
  Tick(TUploadMachine::kSettleMs - 1);
  EXPECT_EQ(Sent(), "");
  Tick(1);
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
  EXPECT_EQ(Sent(), "E" + Bytes({2, 0}));
  Reply(Bytes({0}));
  EXPECT_EQ(Sent(), Bytes({4}));
}

TEST_F(UploadTest, LineThatNeverGoesQuietAfterTheIdentificationIsNotWaitedForWithoutEnd) {
  Start(profile::Pyxon32, kImage);
  Sent();
  Reply("Zarvek\r");
  std::string sent;
  int chatters = 0;
  for (; chatters < 100; ++chatters) {
    Tick(TUploadMachine::kSettleMs / 2);
    if (!(sent = Sent()).empty()) break;
    Reply("chatter");
  }
  EXPECT_EQ(chatters, TUploadMachine::kSettleRestartLimit + 1);
  EXPECT_EQ(sent, "E" + Bytes({2, 0}));
  EXPECT_EQ(link.TransferState, transfer::TokenCode);
}

TEST_F(UploadTest, OutputEndingWithCrIsNoIdentification) {
  Start(profile::Pyxon32, kImage);
  Sent();
  Reply("12345\r");
  EXPECT_EQ(link.TransferState, transfer::Identify);
  Reply("Tessel\r");  // another family's word
  EXPECT_EQ(link.TransferState, transfer::Identify);
  // The discarded reply restarts the timer: the probe goes out again after a second.
  Tick(999);
  EXPECT_EQ(Sent(), "");
  Tick(1);
  EXPECT_EQ(Sent(), Bytes({1}));
}

TEST_F(UploadTest, SilentBoardGetsElevenRepeatsThenControllerAntwortetNicht) {
  Start(profile::Pyxon32, kImage);
  EXPECT_EQ(Sent(), Bytes({1}));
  for (int k = 1; k <= 11; ++k) {
    Tick();
    EXPECT_EQ(Sent(), Bytes({1})) << "repeat " << k;
    EXPECT_EQ(upload.RepeatCount(), k);
  }
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Running);
  Tick();
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(LastStatus(), "Controller antwortet nicht.");
  EXPECT_TRUE(rec.animationStopped);
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Failed);
  // The transfer is over: a board waking up now cannot carry it on.
  EXPECT_EQ(link.TransferState, transfer::Idle);
  Identify("Zarvek\r");
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(upload.MillisUntilTimer(), -1);
}

TEST_F(UploadTest, ALineThatOnlyEchoesOrChattersEndsTheSearchLikeASilentOne) {
  // A board still inside an earlier, given-up stream echoes every probe; a program's
  // output never names the family. Neither is an answer.
  for (const bool echo : {true, false}) {
    SCOPED_TRACE(echo ? "echo" : "chatter");
    Start(profile::TesselMicro, kImage);
    int probes = 0;
    for (; probes < 40 && upload.Outcome() == TUploadOutcome::Running; ++probes) {
      const std::string s = Sent();
      ASSERT_EQ(s, Bytes({1}));
      Reply(echo ? s : std::string("Messwert: 17\r\n"));
      Tick();
    }
    EXPECT_EQ(probes, 12);
    EXPECT_EQ(LastStatus(), "Controller antwortet nicht.");
    EXPECT_EQ(upload.Outcome(), TUploadOutcome::Failed);
  }
  // A beginning of the word is progress: the count starts over.
  Start(profile::TesselMicro, kImage);
  for (int k = 0; k < 8; ++k) {
    Sent();
    Reply("x");
    Tick();
  }
  EXPECT_EQ(upload.RepeatCount(), 8);
  Reply("TES");
  EXPECT_EQ(upload.RepeatCount(), 0);
  Identify("EL\r");
  EXPECT_NE(link.TransferState, transfer::Identify);
}

TEST_F(UploadTest, LateEchoIsAwaitedAndTheCodeByteNotSentTwice) {
  Start(profile::Pyxon32, kImage);
  Sent();
  Identify("Zarvek\r");
  Sent();
  Tick();
  Tick();
  EXPECT_EQ(Sent(), "");  // the board would store a second copy
  Reply(Bytes({0}));
  EXPECT_EQ(upload.RepeatCount(), 0);
  EXPECT_EQ(Sent(), Bytes({4}));
  Reply(Bytes({4}));
  EchoAll();
  EXPECT_TRUE(rec.transferred);
}

TEST_F(UploadTest, LostByteEndsInControllerAntwortetNichtInsteadOfWaitingForEver) {
  Start(profile::Pyxon32, kImage);
  Sent();
  Identify("Zarvek\r");
  Sent();
  for (int k = 0; k < 11; ++k) Tick();
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Running);
  Tick();
  EXPECT_EQ(LastStatus(), "Controller antwortet nicht.");
  EXPECT_EQ(Sent(), "");

  // A read-back that stops half way is watched as well; nothing of it is asked twice.
  Start(profile::Tessel11, kImage);
  Sent();
  Identify("TESEL\r");
  Sent();
  Reply(std::string(10, '\0'));
  for (int k = 0; k < 12; ++k) Tick();
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(LastStatus(), "Controller antwortet nicht.");
}

TEST_F(UploadTest, ReadBackRequestIsRepeatedWhileNothingOfItsAnswerCame) {
  Start(profile::Tessel11, kImage);
  Sent();
  Identify("TESEL\r");
  EXPECT_EQ(Sent(), Bytes({9}));
  Tick();
  EXPECT_EQ(Sent(), Bytes({9}));
}

TEST_F(UploadTest, StopAndLostPortEndTheTransfer) {
  Start(profile::Pyxon32, kImage);
  upload.Stop();
  EXPECT_EQ(link.TransferState, transfer::Idle);
  EXPECT_EQ(upload.RepeatCount(), 0);
  Tick();
  EXPECT_EQ(Sent(), Bytes({1}));  // only the first probe; the timer is off

  link.onLost = [this](const std::string&) { upload.PortLost(); };
  Start(profile::Pyxon32, kImage);
  port->Lose("gone");
  EXPECT_EQ(LastStatus(), "Fehler: Die Verbindung über COM3 ist abgebrochen.");
  EXPECT_EQ(upload.Outcome(), TUploadOutcome::Failed);
  EXPECT_FALSE(link.Connected());
}

}  // namespace
}  // namespace zarvek::link
