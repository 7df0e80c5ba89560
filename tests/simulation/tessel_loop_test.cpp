// The Tessel simulation loop over a small runtime of our own (toy_runtime.h), for what does
// not depend on the board's operating system: step over a machine-code call, a breakpoint
// on an interrupt handler's first instruction, serial rates and output, the port mapping,
// controller errors, pause, and the runner's limits. Debugging compiled BASIC on the
// board's own runtime is tessel_debug_test.cpp.
#include <gtest/gtest.h>

#include "base/profile.h"
#include "simulation/tessel_board.h"
#include "simulation/tessel_loop.h"
#include "simulation/tessel_runner.h"
#include "toy_runtime.h"

namespace zarvek::test {
namespace {

class TRecorder final : public TTesselListener {
 public:
  void OnSerialOutput(const std::string& bytes, const std::string& consoleText) override {
    raw += bytes;
    console += consoleText;
  }
  void OnStop(const TTesselStop& stop) override { stops.push_back(stop); }
  std::string raw, console;
  std::vector<TTesselStop> stops;
};

class TesselLoop : public ::testing::Test {
 protected:
  void Start(const TTesselProgram& program, uint16_t irqHandler = 0) {
    toy = BuildToyRuntime(irqHandler);
    ASSERT_EQ(toy.error, "");
    std::string message;
    ASSERT_TRUE(loop.Start(toy.image, program, &message)) << message;
    loop.SetRuntimePoints(toy.points);
  }
  // Runs ticks in the given kind until a stop; the stop, or nothing after many ticks.
  std::optional<TTesselStop> Next(uint8_t kind, int maxTicks = 200) {
    const size_t before = recorder.stops.size();
    loop.SetRunKind(kind);
    for (int i = 0; i < maxTicks && recorder.stops.size() == before; ++i) loop.Tick();
    if (recorder.stops.size() == before) return std::nullopt;
    return recorder.stops.back();
  }
  static uint32_t LineOf(const std::optional<TTesselStop>& stop) {
    return stop && stop->statement ? stop->statement->sourceLine : 0;
  }

  TSimulatedHardware hw;
  TRecorder recorder;
  TTesselLoop loop{hw, recorder};
  TToyRuntime toy;
};

const std::vector<std::string> kMachineCode = {
    "work     LDA #$2A",  // line 0
    "         STA $70",   // line 1
    "* a comment",        // line 2
    "         INC $70",   // line 3
    "         RTS",       // line 4
};

TEST_F(TesselLoop, StepOverDoesNotStopAtAMachineCodeCall) {
  TToyProgram p;
  p.Statement(1).Byte(0x01);
  p.Statement(2).Call(0x0101);  // its token is 08
  p.Statement(3).Print("!");
  p.Statement(4).Byte(0xFF);
  TTesselProgram program = p.Program();
  ASSERT_EQ(AddMachineCode(program, kMachineCode), "");
  Start(program);
  EXPECT_EQ(LineOf(Next(runkind::SingleStep)), 1u);
  EXPECT_EQ(LineOf(Next(runkind::StepOver)), 3u);
  EXPECT_EQ(loop.Engine().Memory()[0x70], 0x2B);
}

TEST_F(TesselLoop, AnInterruptHandlerRunsWhileTheButtonIsHeldAndStopsAtItsBreakpoint) {
  const std::vector<std::string> handler = {
      "irq      INC $71",
      "         RTI",
  };
  TToyProgram p;
  p.Statement(1).Label("top").Byte(0x01);
  p.Statement(2).To(0x03, "top");
  TTesselProgram program = p.Program();
  std::map<std::string, uint16_t> labels;
  ASSERT_EQ(AddMachineCode(program, handler, {}, &labels), "");
  Start(program, labels["IRQ"]);
  loop.SetRunKind(runkind::Run);
  for (int i = 0; i < 5; ++i) loop.Tick();
  EXPECT_EQ(loop.Engine().Memory()[0x71], 0);  // the button is not pressed
  hw.interruptLine = 1;
  loop.Tick();
  hw.interruptLine = 0;
  const uint8_t count = loop.Engine().Memory()[0x71];
  EXPECT_GT(count, 0);
  for (int i = 0; i < 5; ++i) loop.Tick();
  EXPECT_EQ(loop.Engine().Memory()[0x71], count);  // released: no more

  loop.SetAssemblerBreakpoints({0});
  hw.interruptLine = 1;
  const auto stop = Next(runkind::ToBreakpoint);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::AssemblerBreakpoint);
  EXPECT_EQ(stop->assemblerLine, 0);
  EXPECT_EQ(loop.Engine().Memory()[0x71], count);
}

TEST_F(TesselLoop, SerialOutputReachesTheConsoleWithControlBytesSpelledOut) {
  TToyProgram p;
  p.Statement(1).Print(std::string("a\x07" "b\r\n\x1B", 6));
  p.Statement(2).Byte(0xFF);
  Start(p.Program());
  loop.SetRunKind(runkind::Run);
  for (int i = 0; i < 5 && loop.Tick().end != TTesselTickEnd::Ended; ++i) {
  }
  EXPECT_EQ(recorder.raw, std::string("a\x07" "b\r\n\x1B", 6));
  EXPECT_EQ(recorder.console, "a[7] b\r\n[27] ");
  EXPECT_EQ(ConsoleText(std::string("\x00\x1F\x20", 3)), "[0] [31]  ");
}

TEST(TesselBoard, SerialRatesComeFromTheBaudRegister) {
  const TSerialRates r = SerialRatesFromBaudRegister(0xC0, 4000);  // prescaler 13, both rates 0
  EXPECT_NEAR(r.transmit, 9615.38, 0.01);
  EXPECT_NEAR(r.receive, 9615.38, 0.01);
  const TSerialRates split = SerialRatesFromBaudRegister(0xC9, 4000);  // transmit rate 1, receive 1
  EXPECT_NEAR(split.transmit, 4807.69, 0.01);
  EXPECT_NEAR(split.receive, 4807.69, 0.01);
  const TSerialRates fast = SerialRatesFromBaudRegister(0x02, 4000);  // prescaler 1, receive rate 2
  EXPECT_DOUBLE_EQ(fast.transmit, 125000);
  EXPECT_DOUBLE_EQ(fast.receive, 31250);
  EXPECT_DOUBLE_EQ(SerialRatesFromBaudRegister(0x40, 8000).transmit, 83333.333333333328);
  EXPECT_EQ(SerialBytesPerTick(9615.38, 10), 10);
  EXPECT_EQ(SerialBytesPerTick(9615.38, 1), 1);
  EXPECT_EQ(SerialBytesPerTick(1200, 10), 1);
  EXPECT_EQ(SerialBytesPerTick(9600, 0), 0);
}

TEST_F(TesselLoop, TheTickShowsTheBaudRatesAndMovesInputAtTheLineRate) {
  TToyProgram p;
  p.Statement(1).Label("top").Byte(0x22);
  p.Statement(2).To(0x03, "top");
  Start(p.Program());
  loop.SetRunKind(runkind::Run);
  hw.serialInput.Append(std::string(40, 'k'));
  loop.Tick();  // the runtime sets $C0
  const size_t first = recorder.raw.size();
  loop.Tick();
  EXPECT_NEAR(hw.transmitBaud.load(), 9615.38, 0.01);
  EXPECT_NEAR(hw.receiveBaud.load(), 9615.38, 0.01);
  EXPECT_LE(recorder.raw.size() - first, 10u);  // at most 10 bytes in a 10 ms tick
  TTesselTickEnd end = TTesselTickEnd::Budget;
  for (int i = 0; i < 100 && end != TTesselTickEnd::WaitingForInput; ++i) end = loop.Tick().end;
  EXPECT_EQ(end, TTesselTickEnd::WaitingForInput);
  EXPECT_EQ(recorder.raw, std::string(40, 'k'));
}

TEST_F(TesselLoop, InputsAndOutputsFollowTheTesselPortMapping) {
  const std::vector<std::string> code = {
      "         LDA #$F0",
      "         STA $05",  // port B: upper half outputs
      "         LDA #$A0",
      "         STA $01",
      "         LDA $03",  // port D
      "         STA $72",
      "         LDA $01",
      "         STA $73",
      "         RTS",
  };
  TToyProgram p;
  p.Statement(1).Label("top").Call(0x0101);
  p.Statement(2).To(0x03, "top");
  TTesselProgram program = p.Program();
  ASSERT_EQ(AddMachineCode(program, code), "");
  Start(program);
  hw.inputPorts[1] = 0x0F;  // port B's external inputs
  hw.inputPorts[3] = 0x04;  // the analog port read digitally: switch on bit 2
  hw.adInputs[5] = 40;
  loop.SetRunKind(runkind::Run);
  loop.Tick();
  loop.Tick();
  const hc05::TMotorolaEngine& e = loop.Engine();
  EXPECT_EQ(e.Environment().analogInputs[2], 255);
  EXPECT_EQ(e.Environment().analogInputs[5], 40);
  EXPECT_EQ(e.Memory()[0x72], 0x04);  // only channel 2 is above the threshold
  EXPECT_EQ(e.Memory()[0x73], 0xAF);  // latch on the outputs, input levels on the rest
  EXPECT_EQ(hw.outputPorts[1].load(), 0xAF);
  EXPECT_EQ(hw.outputPorts[3].load(), 0x04);
  hw.inputPorts[3] = 0;
  loop.Tick();
  EXPECT_EQ(e.Environment().analogInputs[2], 0);
}

TEST_F(TesselLoop, AControllerErrorStopsWithItsMessageRegistersAndLine) {
  const std::vector<std::string> code = {
      "         LDA #1",
      "         STA $30",
      "         RTS",
  };
  TToyProgram p;
  p.Statement(7).Call(0x0101);
  TTesselProgram program = p.Program();
  ASSERT_EQ(AddMachineCode(program, code), "");
  Start(program);
  const auto stop = Next(runkind::Run);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::EngineError);
  EXPECT_EQ(stop->message, "Zugriffsverletzung: Schreibvorgang auf eine nicht beschreibare Adresse wurde abgebrochen.");
  EXPECT_EQ(stop->assemblerLine, 1);
  EXPECT_EQ(LineOf(stop), 7u);
  EXPECT_EQ(stop->registerLine.rfind("A = 01h  X = ", 0), 0u);
  EXPECT_NE(stop->registerLine.find("PC = 0103h"), std::string::npos);
  EXPECT_EQ(loop.RunKind(), runkind::Paused);
}

TEST_F(TesselLoop, PauseReportsTheRegistersWithTheBasicPc) {
  TToyProgram p;
  p.Statement(1).Label("top").Byte(0x01);
  p.Statement(2).To(0x03, "top");
  Start(p.Program());
  loop.SetRunKind(runkind::Run);
  loop.Tick();
  loop.Pause();
  ASSERT_EQ(recorder.stops.size(), 1u);
  const TTesselStop& stop = recorder.stops[0];
  EXPECT_EQ(stop.reason, TTesselStopReason::Paused);
  EXPECT_TRUE(stop.statement);
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "  BASIC PC = %04Xh", loop.Engine().Eeprom().WordAddress());
  EXPECT_TRUE(stop.registerLine.ends_with(suffix)) << stop.registerLine;
  EXPECT_EQ(loop.Tick().end, TTesselTickEnd::NotRunning);
  // Going on from the pause continues the program.
  EXPECT_EQ(LineOf(Next(runkind::SingleStep)) > 0, true);
}

TEST(TesselBoard, Tessel20IsRefusedWithAClearMessage) {
  EXPECT_FALSE(TesselSimulationRefusal(profile::Tessel11));
  EXPECT_FALSE(TesselSimulationRefusal(profile::TesselMicro));
  const auto refusal = TesselSimulationRefusal(profile::Tessel20);
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find("Tessel 2.0"), std::string::npos);
  EXPECT_NE(refusal->find("nicht simulieren"), std::string::npos);
}

TEST(TesselRunner, RunsToEndNamesRuntimeErrorsAndKeepsLimits) {
  const TToyRuntime toy = BuildToyRuntime();
  ASSERT_EQ(toy.error, "");
  TToyProgram ok;
  ok.Statement(1).Print("hallo").Statement(2).Byte(0xFF);
  std::string out;
  TTesselRunOptions options;
  options.points = toy.points;
  options.output = [&](const std::string& text) { out += text; };
  options.timeoutSeconds = 10;
  TTesselRunResult r = RunTesselProgram(toy.image, ok.Program(), options);
  EXPECT_FALSE(r.error);
  EXPECT_EQ(out, "hallo");
  EXPECT_EQ(r.tokens, 2u);
  EXPECT_LT(r.cycles, 2'000'000u);  // ended, not timed out

  TToyProgram bad;
  bad.Statement(1).Print("a").Statement(2).Byte(0x01).Byte(0x77);
  out.clear();
  r = RunTesselProgram(toy.image, bad.Program(), options);
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->text, "Unbehandelter, kritischer Fehler: Ungültiges Token");
  EXPECT_EQ(r.error->address, 8);
  EXPECT_EQ(r.error->statement.sourcePosition, 2u);
  EXPECT_FALSE(r.controllerError);

  TToyProgram endless;
  endless.Statement(1).Label("top").Print(".").Statement(2).To(0x03, "top");
  out.clear();
  options.maxTokens = 9;
  r = RunTesselProgram(toy.image, endless.Program(), options);
  EXPECT_FALSE(r.error);
  EXPECT_EQ(r.tokens, 9u);
  EXPECT_EQ(out, ".....");
  options.maxTokens.reset();
  options.timeoutSeconds = 0.05;  // of the board's time
  out.clear();
  r = RunTesselProgram(toy.image, endless.Program(), options);
  EXPECT_GE(r.cycles, 100'000u);
  EXPECT_LT(r.cycles, 120'000u);
  EXPECT_GT(out.size(), 10u);

  TToyProgram echo;
  echo.Statement(1).Label("top").Byte(0x22).Statement(2).To(0x03, "top");
  options.timeoutSeconds = 10;
  options.input = "abc\r";
  out.clear();
  r = RunTesselProgram(toy.image, echo.Program(), options);
  EXPECT_FALSE(r.error);
  EXPECT_EQ(out, "abc\r");
  EXPECT_LT(r.cycles, 2'000'000u);  // ended waiting for input, not timed out
}

}  // namespace
}  // namespace zarvek::test
