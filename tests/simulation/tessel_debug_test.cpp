// Debugging compiled BASIC on the emulated Tessel board with its own runtime: single steps,
// step over, breakpoints in BASIC and assembler, machine-code calls, the interrupt SUB, and
// the record's inputs and outputs as the program sees them.
#include <gtest/gtest.h>

#include "base/profile.h"
#include "pipeline/build.h"
#include "simulation/line_table.h"
#include "simulation/tessel_loop.h"
#include "simulation/tessel_runtime.h"

namespace zarvek {
namespace {

class TRecorder final : public TTesselListener {
 public:
  void OnSerialOutput(const std::string& bytes, const std::string&) override { raw += bytes; }
  void OnStop(const TTesselStop& stop) override { stops.push_back(stop); }
  std::string raw;
  std::vector<TTesselStop> stops;
};

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class TesselDebug : public ::testing::Test {
 protected:
  void Build(const std::string& basic, const std::string& assembler = {}, std::vector<int32_t> asmBreakpoints = {}) {
    std::string why;
    const auto runtime = TesselRuntimeFor(profile::Tessel11, &why);
    ASSERT_TRUE(runtime) << why;
    TBuildInput input;
    input.basicSource = basic;
    input.assemblerSource = assembler;
    input.assemblerBreakpointLines = std::move(asmBreakpoints);
    input.profile = profile::Tessel11;
    input.warnings = false;
    const TBuildResult built = m_builder.Build(input);
    ASSERT_TRUE(built.success) << (built.basicError ? built.basicError->message.str() : built.assemblerError->message);
    TTesselProgram program;
    program.image = built.program.image;
    program.eepromSize = built.program.eepromSize;
    program.lines = BuildLineTable(m_builder.Compiler(), built.program);
    program.machineCode = built.machineCode.code;
    program.codeStart = built.machineCode.startAddress;
    program.asmLineMap = built.machineCode.lineMap;
    program.asmBreakpoints = built.machineCode.breakpointPositions;
    std::string message;
    ASSERT_TRUE(loop.Start(runtime->image, program, &message)) << message;
    loop.SetRuntimePoints(runtime->points);
  }
  std::optional<TTesselStop> Next(uint8_t kind, int maxTicks = 300) {
    const size_t before = recorder.stops.size();
    loop.SetRunKind(kind);
    for (int i = 0; i < maxTicks && recorder.stops.size() == before; ++i) {
      if (loop.Tick().end == TTesselTickEnd::Ended) break;
    }
    if (recorder.stops.size() == before) return std::nullopt;
    return recorder.stops.back();
  }
  uint32_t NextLine(uint8_t kind) {
    const auto stop = Next(kind);
    return stop && stop->statement ? stop->statement->sourceLine : 0;
  }
  // The n-th INTEGER declared: the compiler fills Tessel 1.1's twelve words from the top.
  int16_t Var(int n) {
    const auto& m = loop.Engine().Memory();
    const int index = 11 - n;
    return static_cast<int16_t>(m[0xA1 + 2 * index] << 8 | m[0xA2 + 2 * index]);
  }

  TBuilder m_builder;
  TSimulatedHardware hw;
  TRecorder recorder;
  TTesselLoop loop{hw, recorder};
};

TEST_F(TesselDebug, SingleStepStopsAtEveryStatementOnceAndNotTwiceOnALoopToItself) {
  Build(Lines({
      "DIM a AS INTEGER",  // 1
      "a = 1",             // 2
      "a = a + 1",         // 3
      "PRINT a",           // 4
      "again:",            // 5
      "GOTO again",        // 6
  }));
  std::vector<uint32_t> lines;
  for (int i = 0; i < 4; ++i) lines.push_back(NextLine(runkind::SingleStep));
  EXPECT_EQ(lines, (std::vector<uint32_t>{2, 3, 4, 6}));
  EXPECT_EQ(recorder.raw, "2\r\n");
  EXPECT_EQ(Var(0), 2);
  const uint64_t tokens = loop.Tokens();
  EXPECT_FALSE(Next(runkind::SingleStep, 20));  // GOTO comes back to itself: no new stop
  EXPECT_GT(loop.Tokens(), tokens + 20);
}

const std::string kGosubProgram = Lines({
    "DIM a AS INTEGER",  // 1
    "a = 1",             // 2
    "GOSUB work",        // 3
    "a = a + 10",        // 4
    "END",               // 5
    "work:",             // 6
    "  a = a * 5",       // 7
    "RETURN",            // 8
});

TEST_F(TesselDebug, StepOverSkipsAGosubFromBeforeItAndFromItsOwnStatement) {
  Build(kGosubProgram);
  EXPECT_EQ(NextLine(runkind::SingleStep), 2u);
  EXPECT_EQ(NextLine(runkind::StepOver), 4u);
  EXPECT_EQ(Var(0), 5);

  Build(kGosubProgram);
  EXPECT_EQ(NextLine(runkind::SingleStep), 2u);
  EXPECT_EQ(NextLine(runkind::SingleStep), 3u);
  EXPECT_EQ(NextLine(runkind::StepOver), 4u);
  EXPECT_EQ(Var(0), 5);
  EXPECT_EQ(loop.CallDepth(), 0);

  Build(kGosubProgram);  // single steps go into the subroutine
  std::vector<uint32_t> lines;
  for (int i = 0; i < 6; ++i) lines.push_back(NextLine(runkind::SingleStep));
  EXPECT_EQ(lines, (std::vector<uint32_t>{2, 3, 7, 8, 4, 5}));
}

TEST_F(TesselDebug, BreakpointsInBasicStopBeforeTheirStatementOnEveryPass) {
  Build(Lines({
      "DIM i AS INTEGER",    // 1
      "FOR i = 1 TO 3",      // 2
      "  PRINT i;",          // 3
      "NEXT",                // 4
      "PRINT \"fertig\"",    // 5
  }));
  loop.SetBasicBreakpoint(3);
  std::string seen;
  for (int pass = 0; pass < 3; ++pass) {
    const auto stop = Next(runkind::ToBreakpoint);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->reason, TTesselStopReason::BasicBreakpoint);
    EXPECT_EQ(stop->statement->sourceLine, 3u);
    seen += recorder.raw + "|";
  }
  EXPECT_EQ(seen, "|1|12|");
  EXPECT_FALSE(Next(runkind::ToBreakpoint));
  EXPECT_EQ(recorder.raw, "123fertig\r\n");
}

TEST_F(TesselDebug, AProgramCallsMachineCodeAndStopsAtItsAssemblerBreakpoint) {
  Build(Lines({
            "DIM a AS INTEGER",  // 1
            "a = 7",             // 2
            "CALL bump",         // 3
            "PRINT \"ok\"",      // 4
        }),
        Lines({
            "bump LDA #$55",  // 0
            "     STA $CB",   // 1
            "     INC $CB",   // 2
            "     RTS",       // 3
        }),
        {2});
  auto stop = Next(runkind::ToBreakpoint);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::AssemblerBreakpoint);
  EXPECT_EQ(stop->assemblerLine, 2);
  EXPECT_EQ(stop->statement->sourceLine, 3u);
  EXPECT_EQ(loop.Engine().Memory()[0xCB], 0x55);
  stop = Next(runkind::SingleStep);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::AssemblerStep);
  EXPECT_EQ(stop->assemblerLine, 3);
  EXPECT_EQ(loop.Engine().Memory()[0xCB], 0x56);
  EXPECT_NE(stop->registerLine.find("  BASIC PC = "), std::string::npos);
  stop = Next(runkind::SingleStep);  // RTS: back in the runtime, no assembler line
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::AssemblerStep);
  EXPECT_FALSE(stop->assemblerLine);
  EXPECT_EQ(NextLine(runkind::SingleStep), 4u);
  loop.SetRunKind(runkind::Run);
  for (int i = 0; i < 50 && loop.Tick().end != TTesselTickEnd::Ended; ++i) {
  }
  EXPECT_EQ(recorder.raw, "ok\r\n");
}

TEST_F(TesselDebug, MachineCodeThatNeverReturnsIsSteppedInstructionByInstruction) {
  Build(Lines({"DIM a AS BYTE", "CALL spin"}), Lines({"spin INC $CB", "     BRA spin"}));
  EXPECT_EQ(NextLine(runkind::SingleStep), 2u);
  std::vector<int32_t> lines;
  for (int i = 0; i < 5; ++i) {
    const auto stop = Next(runkind::SingleStep);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->reason, TTesselStopReason::AssemblerStep);
    lines.push_back(stop->assemblerLine.value_or(-1));
  }
  // Every stop follows one instruction of the user's code and shows the next one.
  EXPECT_EQ(lines, (std::vector<int32_t>{1, 0, 1, 0, 1}));
  EXPECT_EQ(loop.Engine().Memory()[0xCB], 3);
}

TEST_F(TesselDebug, TheInterruptSubRunsOnTheButtonAndStopsAtItsBreakpoint) {
  Build(Lines({
      "DIM hits, spins AS INTEGER",  // 1
      "SUB INTERRUPT",               // 2
      "  hits = hits + 1",           // 3
      "END SUB",                     // 4
      "INTERRUPT ON",                // 5
      "DO",                          // 6
      "  spins = spins + 1",         // 7
      "LOOP",                        // 8
  }));
  loop.SetRunKind(runkind::Run);
  for (int i = 0; i < 5; ++i) loop.Tick();
  EXPECT_EQ(Var(0), 0);
  EXPECT_GT(Var(1), 0);
  loop.SetBasicBreakpoint(3);
  hw.interruptLine = 1;
  const auto stop = Next(runkind::ToBreakpoint, 20);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::BasicBreakpoint);
  EXPECT_EQ(stop->statement->sourceLine, 3u);
  EXPECT_EQ(Var(0), 0);
  hw.interruptLine = 0;
  loop.ClearBasicBreakpoint(3);
  loop.SetRunKind(runkind::Run);
  for (int i = 0; i < 5; ++i) loop.Tick();
  EXPECT_EQ(Var(0), 1);  // one press, one run of the handler
}

TEST_F(TesselDebug, ARuntimeErrorStopsAtItsStatement) {
  Build(Lines({
      "DIM x AS BYTE",  // 1
      "x = 5",          // 2
      "$ 0",            // 3
  }));
  const auto stop = Next(runkind::Run);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->reason, TTesselStopReason::RuntimeError);
  EXPECT_EQ(stop->message, "Unbehandelter, kritischer Fehler: Ungültiges Token");
  EXPECT_EQ(stop->statement->sourceLine, 3u);
}

TEST_F(TesselDebug, TheRecordsInputsAndOutputsReachTheProgramWithTheBoardsPortMapping) {
  Build(Lines({
      "DIM a AS BYTE AD[3]",
      "DIM p AS BYTE PORT[1]",
      "DIM o AS BYTE DA[2]",
      "DIM v AS BYTE",
      "v = a",
      "o = v / 2",
      "PRINT v; \" \"; p",
  }));
  hw.inputPorts[1] = 0x5A;  // object port 1: port B's inputs
  hw.inputPorts[3] = 0x04;  // object port 3, bit 2: a switch on the analog port
  hw.adInputs[2] = 17;      // a wheel on the same channel is outvoted by the switch
  loop.SetRunKind(runkind::Run);
  for (int i = 0; i < 50 && loop.Tick().end != TTesselTickEnd::Ended; ++i) {
  }
  EXPECT_EQ(recorder.raw, "255 90\r\n");
  EXPECT_EQ(hw.daOutputs[1].load(), 127);
  EXPECT_EQ(hw.outputPorts[1].load(), 0x5A);  // port B reads its inputs back
}

}  // namespace
}  // namespace zarvek
