#include <gtest/gtest.h>

#include "test_machine.h"

namespace zarvek::test {
namespace {

const std::string kCritical = "Unbehandelter, kritischer Fehler: ";

TTokenProgram& StoreWord(TTokenProgram& p, uint8_t index) { return p.PushB(index).Op(tok::MWORDWRITE, 0); }
void RunAll(TTestMachine& m, const TTokenProgram& p) {
  m.Load(p);
  m.SetContinueAfterReport(true);
  EXPECT_EQ(m.RunToEnd().end, TSliceEnd::Ended);
}

TEST(Errors, ExactlyTheUnlistedBytesAreInvalidTokens) {
  auto unlisted = [](int b) {
    return b == 0x00 || b == 0x08 || b == 0x09 || b == 0x12 || b == 0x13 || (b >= 0x24 && b <= 0x27) ||
           (b >= 0x43 && b <= 0x45) || (b >= 0x4A && b <= 0x4F) || b == 0x55 || (b >= 0x61 && b <= 0x68) ||
           (b >= 0x6B && b <= 0xFE);
  };
  const TReport invalid{kCritical + "Ungültiges Token", 4};
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(testing::Message() << "byte " << b);
    EXPECT_EQ(TokenInfo(static_cast<uint8_t>(b)).name.empty(), unlisted(b));
    TTestMachine m;
    TTokenProgram p;
    m.Load(p.Byte(static_cast<uint8_t>(b)).Word(0).Word(0));
    m.Run(1);
    const std::vector<TReport> reports = m.Reports();
    EXPECT_EQ(!reports.empty() && reports[0] == invalid, unlisted(b));
  }
}

TEST(Errors, ExceptionGoesToHandlerWithAddressAndNumber) {
  for (bool handled : {true, false}) {
    SCOPED_TRACE(handled ? "handled" : "unhandled");
    TTestMachine m;
    TTokenProgram p;
    if (handled) p.Handler(254, "error");
    const uint16_t faultAt = p.PushB(42).Here();
    StoreWord(p.Op(tok::FILEOP, 4), 2).PrintStr("back").Op(tok::END);  // closes a file that is not open
    StoreWord(StoreWord(p.Label("error"), 0), 1).Op(tok::RETURN);
    RunAll(m, p);
    EXPECT_EQ(m.Output(), "back");
    if (handled) {
      EXPECT_EQ(m.ReadMemory(0, 0, 6), std::string("\0\x09", 2) + char(faultAt >> 8) + char(faultAt) + std::string("\0*", 2));
      EXPECT_TRUE(m.Reports().empty());
    } else {
      EXPECT_EQ(m.ReadMemory(0, 4, 2), std::string("\0*", 2));
      EXPECT_EQ(m.Reports(), (std::vector<TReport>{
                                 {"Unbehandelter Ausnahmefehler: Schließen einer ungeöffneten Datei", faultAt}}));
    }
  }
}

TEST(Errors, CriticalHandlerEmptiesStacksAndReturnRestarts) {
  TTestMachine m;
  TTokenProgram p;
  p.Handler(255, "crash").PushB(0).Op(tok::MBYTEREAD, 0).To(tok::JUMPF, "first");
  // Second pass: disarmed, so an empty data stack shows up as a report.
  const uint16_t dropAt = p.Byte(tok::SETHANDLER).Byte(255).Word(0).PrintStr("R").Here();
  p.Op(tok::DROP).Op(tok::END).Label("first").PushB(1).PushB(0).Op(tok::MBYTEWRITE, 0);
  p.PushB(7).PushB(8).To(tok::GOSUB, "sub").PrintStr("X").Op(tok::END);
  const uint16_t faultAt = p.Label("sub").PushB(0).Here();
  p.Op(tok::MBYTEREAD, 5).Op(tok::END);  // pushes its 0 before the handler takes over
  StoreWord(StoreWord(p.Label("crash"), 1), 2).Op(tok::RETURN);
  RunAll(m, p);
  EXPECT_EQ(m.ReadMemory(0, 2, 4), std::string("\0\5", 2) + char(faultAt >> 8) + char(faultAt));
  EXPECT_EQ(m.Output(), "R");
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kCritical + "Stack Unterlauf", dropAt}}));
  EXPECT_EQ(m.GetDebugState().callDepth, 0);
}

TEST(Errors, ReturnWithoutCallerReportsAndStays) {
  TTestMachine m;
  TTokenProgram p;
  m.Load(p.Op(tok::RETURN).Op(tok::END));
  EXPECT_EQ(m.Run().end, TSliceEnd::Paused);
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kCritical + "Rücksprung nicht möglich", 4}}));
  EXPECT_EQ(m.GetDebugState().programCounter, 5);
}

TEST(Errors, ErrorFlagStopsJumpsAndCalls) {
  TTestMachine m;
  TTokenProgram p;
  p.To(tok::JUMPF, "far").PrintStr("a");  // the empty stack's 0 must not jump
  for (int k = 0; k < 16; ++k) p.To(tok::GOSUB, "n" + std::to_string(k)).Label("n" + std::to_string(k));
  const uint16_t overflowAt = p.Here();
  p.To(tok::GOSUB, "far").PrintStr("b").Op(tok::END).Label("far").PrintStr("X").Op(tok::END);
  RunAll(m, p);
  EXPECT_EQ(m.Output(), "ab");
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kCritical + "Stack Unterlauf", 4},
                                               {kCritical + "Aufrufstack Überlauf", overflowAt}}));
  const TDebugState state = m.GetDebugState();
  EXPECT_EQ(state.callDepth, 17);
  EXPECT_EQ(state.callStack[0], overflowAt + 3u);
}

TEST(Errors, InvalidHandlerKindIsReportedPastHandlers) {
  TTestMachine m;
  TTokenProgram p;
  p.Handler(254, "h").Handler(255, "h").Handler(1, "h").Byte(tok::SETHANDLER).Byte(0).Word(0);
  std::vector<TReport> expected;
  for (uint8_t kind : {2, 100, 253}) {
    expected.push_back({"Ungültige Interruptart", p.Here()});
    p.Handler(kind, "h");
  }
  RunAll(m, p.PrintStr("ok").Op(tok::END).Label("h").PrintStr("X").Op(tok::END));
  EXPECT_EQ(m.Output(), "ok");
  EXPECT_EQ(m.Reports(), expected);
}

TEST(Errors, InterruptEntersAfterTokenAndReturnsWithReti) {
  TTestMachine m;
  TTokenProgram p;
  p.Handler(0, "isr").Label("loop").PushB(9).Op(tok::DROP).To(tok::GOTO, "loop");
  p.Label("isr").PushB(0).Op(tok::MBYTEREAD, 0).PushB(1).Op(tok::ADD).PushB(0).Op(tok::MBYTEWRITE, 0).Op(tok::RETI);
  m.Load(p);
  const int32_t loop = p.Address("loop"), isr = p.Address("isr");
  auto pcAfter = [&](uint64_t tokens) {
    m.Run(tokens);
    return m.GetDebugState().programCounter;
  };
  m.RaiseInterrupt();  // no handler yet: ignored
  EXPECT_EQ(pcAfter(2), loop + 2);
  m.RaiseInterrupt();
  EXPECT_EQ(pcAfter(1), isr);  // after the DROP
  m.RaiseInterrupt();          // in service: ignored
  EXPECT_EQ(pcAfter(7), loop + 3);
  EXPECT_EQ(pcAfter(1), loop);
  m.RaiseInterrupt();  // RETI ended the service
  EXPECT_EQ(pcAfter(1), isr);
  EXPECT_EQ(pcAfter(7), loop + 2);
  EXPECT_EQ(m.ReadMemory(0, 0, 1), "\x02");
  EXPECT_TRUE(m.Reports().empty());
}

}  // namespace
}  // namespace zarvek::test
