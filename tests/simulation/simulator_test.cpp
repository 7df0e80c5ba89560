#include <gtest/gtest.h>

#include "simulation/simulator.h"
#include "runtime/token_program.h"

namespace zarvek::test {
namespace {

class TListener final : public TSimulatorListener {
 public:
  void OnOutput(const std::string& text) override { texts.push_back(text); }
  void OnRunEvent(const TRunEvent& event) override {
    events.push_back(event);
    if (event.kind == TRunEventKind::RuntimeError) reports.push_back({event.errorText, event.tokenAddress});
  }
  std::string AllText() const {
    std::string all;
    for (const std::string& t : texts) all += t;
    return all;
  }

  std::vector<std::string> texts;
  std::vector<TRunEvent> events;
  std::vector<std::pair<std::string, int32_t>> reports;
};

struct SimulatorTest : ::testing::Test {
  TMachineConfig Config() {
    TMachineConfig c;
    c.ownThread = false;
    c.time = std::make_shared<TVirtualTimeSource>();
    return c;
  }
  void Load(const TTokenProgram& p) {
    sim.LoadProgram(p.Image(), 0, 0);
    sim.SetLineTable({TLineRecord{0, 1, 1, kMainSourceOrigin, 0}});
  }
  // Runs until END, a pause or waiting for input, over any other slice end on the way.
  TSliceResult Run() {
    TSliceResult r;
    for (int slices = 0; slices < 1000; ++slices) {
      r = sim.RunSlice(100'000);
      if (r.end == TSliceEnd::Ended || r.end == TSliceEnd::Paused || r.end == TSliceEnd::WaitingForInput)
        break;
    }
    return r;
  }

  TSimulatedHardware hw;
  TListener listener;
  TSimulator sim{Config(), hw, listener};
};

TEST_F(SimulatorTest, HooksWriteAndReadTheHardwareRecord) {
  hw.outputPorts[1] = 0xF0;  // cleared by the reset before the program runs
  const uint8_t inputs[] = {0x08, 0x5A, 0xBE, 0xEF};
  for (int port = 0; port < 4; ++port) hw.inputPorts[port] = inputs[port];
  hw.adInputs[2] = 200;
  TTokenProgram p;
  p.PushB(0xA5).Op(tok::PORTWRITE, 0);
  p.PushB(1).Op(tok::PINWRITE, 9);
  p.PushW(0x1234).Op(tok::WPORTWRITE, 1);
  p.PushW(0x01FF).Op(tok::DAWRITE, 1);
  p.Op(tok::PINREAD, 3).PushB(0).Op(tok::MBYTEWRITE, 0);
  p.Op(tok::PINREAD, 2).PushB(1).Op(tok::MBYTEWRITE, 0);
  p.Op(tok::PORTREAD, 1).PushB(2).Op(tok::MBYTEWRITE, 0).Op(tok::WPORTREAD, 1).PushB(2).Op(tok::MWORDWRITE, 0);
  p.Op(tok::ADREAD, 2).PushB(6).Op(tok::MBYTEWRITE, 0).PushB(7).Op(tok::MBYTEWRITE, 0);  // 8 and 10 bits
  p.Op(tok::SETBAUD, 5).Op(tok::END);
  Load(p);
  EXPECT_EQ(Run().end, TSliceEnd::Ended);
  EXPECT_EQ(hw.outputPorts[0].load(), 0xA5);
  EXPECT_EQ(hw.outputPorts[1].load(), 0x02);
  EXPECT_EQ(hw.outputPorts[2].load(), 0x12);
  EXPECT_EQ(hw.outputPorts[3].load(), 0x34);
  EXPECT_EQ(hw.daOutputs[1].load(), 0xFF);
  EXPECT_EQ(sim.ReadMemory(0, 0, 8), std::string("\xFF\x00\x5A\x00\xBE\xEF\x32\xC8", 8));
  EXPECT_EQ(hw.transmitBaud.load(), 9600);
  EXPECT_EQ(hw.receiveBaud.load(), 9600);
  EXPECT_TRUE(listener.reports.empty());
}

TEST_F(SimulatorTest, TypedInputReachesGetcharAndTextsArriveInOrder) {
  TTokenProgram p;
  p.PrintStr("one ").Op(tok::GETCHAR).Op(tok::PUTCHAR).PrintStr(" two").Op(tok::END);
  Load(p);
  EXPECT_EQ(Run().end, TSliceEnd::WaitingForInput);
  hw.serialInput.Append("x");
  EXPECT_EQ(Run().end, TSliceEnd::Ended);
  EXPECT_EQ(listener.AllText(), "one x two");
  EXPECT_TRUE(hw.serialInput.Empty());
}

TEST_F(SimulatorTest, RuntimeErrorReachesTheListenerAndPauses) {
  TTokenProgram p;
  p.PrintStr("a").Op(tok::RETURN).PrintStr("b").Op(tok::END);
  Load(p);
  const TSliceResult r = Run();
  EXPECT_EQ(r.end, TSliceEnd::Paused);
  EXPECT_EQ(r.tokens, 2u);
  EXPECT_EQ(sim.RunMode(), TRunMode::Pause);
  ASSERT_EQ(listener.reports.size(), 1u);
  EXPECT_EQ(listener.reports[0].first, "Unbehandelter, kritischer Fehler: Rücksprung nicht möglich");
  EXPECT_EQ(listener.reports[0].second, 7);  // the RETURN's address
  sim.SetRunMode(TRunMode::Run);
  EXPECT_EQ(Run().end, TSliceEnd::Ended);
  EXPECT_EQ(listener.AllText(), "ab");
}

TEST_F(SimulatorTest, QueuedInputWaitsForRoomInTheReceiveBuffer) {
  const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";  // 40 characters
  TTokenProgram p;
  p.PushB(40).PushB(0).Op(tok::MBYTEWRITE, 0);
  p.Label("next").Op(tok::GETCHAR).Op(tok::PUTCHAR);
  p.PushB(0).Op(tok::MBYTEREAD, 0).PushB(1).Op(tok::SUB).Op(tok::DUP).PushB(0).Op(tok::MBYTEWRITE, 0);
  p.To(tok::JUMPF, "done").To(tok::GOTO, "next");
  p.Label("done").Op(tok::END);
  Load(p);
  sim.QueueInput(text);
  EXPECT_EQ(Run().end, TSliceEnd::Ended);
  EXPECT_EQ(listener.AllText(), text);
  EXPECT_TRUE(sim.QueuedInputEmpty());
}

}  // namespace
}  // namespace zarvek::test
