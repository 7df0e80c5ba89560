#include <gtest/gtest.h>

#include "test_machine.h"

namespace zarvek::test {
namespace {

// One run command: set the mode and run until the machine stops again.
TSliceResult Press(TTestMachine& m, TRunMode mode, uint64_t maxTokens = 10'000) {
  m.SetRunMode(mode);
  return m.Run(maxTokens);
}

TEST(LineTable, EmptyTableReportsNothingToRunAndStillRunsTheToken) {
  TTestMachine m;
  TTokenProgram p;
  p.PrintStr("x").To(tok::GOSUB, "sub").Op(tok::END).Label("sub").Op(tok::RETURN);
  m.LoadProgram(p.Image(), 0, 0);
  m.SetLineTable({});
  EXPECT_EQ(m.Run().tokens, 1u);
  EXPECT_EQ(m.Output(), "x");
  EXPECT_EQ(m.Reports().at(0).text, "Nichts auszuführen");

  Press(m, TRunMode::Run);  // the GOSUB runs in spite of the second report
  const TDebugState s = m.GetDebugState();
  EXPECT_EQ(s.programCounter, 4);
  EXPECT_EQ(s.instructionStart, 4);
  EXPECT_EQ(s.callDepth, 0);
  EXPECT_EQ(m.LookupLine(4).sourcePosition, 0u);
  EXPECT_EQ(m.LookupLine(4).origin, 0u);
}

TEST(LineTable, SingleStepStopsOncePerStatementAfterItsFirstToken) {
  TTestMachine m;
  TTokenProgram p;
  p.Statement(10).Op(tok::GETCHAR).Op(tok::PUTCHAR);
  p.Statement(20).PrintStr("b").PrintStr("B");
  p.Statement(30).Label("self").To(tok::GOTO, "self");
  m.Load(p);
  EXPECT_EQ(Press(m, TRunMode::SingleStep).end, TSliceEnd::Paused);
  EXPECT_EQ(Press(m, TRunMode::SingleStep).end, TSliceEnd::WaitingForInput);  // no new stop
  m.Type("Q");
  EXPECT_EQ(Press(m, TRunMode::SingleStep).end, TSliceEnd::Paused);
  EXPECT_EQ(m.Output(), "Qb");
  EXPECT_EQ(m.GetDebugState().line.sourceLine, 20u);
  EXPECT_EQ(m.Reports().at(1).text, "Haltepunkt");
  EXPECT_EQ(Press(m, TRunMode::SingleStep).tokens, 2u);  // B, then the stop at the GOTO
  EXPECT_EQ(m.Output(), "QbB");
  const TSliceResult r = Press(m, TRunMode::SingleStep, 1000);  // a GOTO onto itself
  EXPECT_EQ(r.end, TSliceEnd::Budget);
  EXPECT_EQ(m.Reports().size(), 3u);
}

TEST(LineTable, RunToBreakpointStopsOnlyAtFlaggedRecords) {
  TTestMachine m;
  TTokenProgram p;
  p.Statement(10).PrintStr("a");
  p.Statement(20).PrintStr("b");
  p.Statement(20).PrintStr("c");  // a second statement on the same line
  p.Statement(30).PrintStr("d").Op(tok::END);
  m.Load(p);
  m.SetBreakpoint(99);  // no statement on that line
  Press(m, TRunMode::ToBreakpoint);
  m.SetBreakpoint(20);  // flags the first record of line 20 only
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Paused);
  EXPECT_EQ(m.Output(), "abcdab");
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Ended);
  m.ClearBreakpoint(20);
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Ended);
  EXPECT_EQ(m.Reports().size(), 1u);

  auto lines = p.Lines();
  lines[2].breakpoint = 1;
  m.SetLineTable(lines);
  m.ClearBreakpoint(20);  // clears the first record, not the flagged second one
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Paused);
  EXPECT_EQ(m.Output(), "abcdabcdabcdabc");
}

TEST(LineTable, BreakpointsOfOneTextLeaveTheSameLineOfAnotherAlone) {
  TTestMachine m;
  TTokenProgram p;
  p.Statement(5).PrintStr("a");
  p.Statement(5).PrintStr("m").Op(tok::END);  // line 5 of a module
  auto lines = p.Lines();
  lines[1].origin = 0;
  m.LoadProgram(p.Image(), 0, 0);
  m.SetLineTable(lines);
  m.SetBreakpoint(5, 0);  // the module's line, though the main text's record comes first
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Paused);
  EXPECT_EQ(m.Output(), "am");  // stopped after the module statement's first token
  EXPECT_EQ(m.GetDebugState().line.origin, 0u);
  m.ClearBreakpoint(5, kMainSourceOrigin);  // not set there: the module's stays
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Ended);
  m.ClearBreakpoint(5, 0);
  m.SetBreakpoint(5, 7);  // a text without statements: nothing to flag
  EXPECT_EQ(Press(m, TRunMode::ToBreakpoint).end, TSliceEnd::Ended);
  EXPECT_EQ(m.Output(), "amam");
  EXPECT_EQ(m.Reports().size(), 1u);
}

TEST(LineTable, StepOverRunsSubroutinesAtTheCallersDepth) {
  TTestMachine m;
  TTokenProgram p;
  p.Statement(10).PushB(0).Op(tok::DROP).To(tok::GOSUB, "sub");
  p.Statement(20).To(tok::GOSUB, "sub");
  p.Statement(30).PrintStr("x").Op(tok::END);
  p.Label("sub").Statement(100).PrintStr("s").PrintStr("t");
  p.Statement(110).Op(tok::RETURN);
  m.Load(p);
  EXPECT_EQ(Press(m, TRunMode::StepOver).tokens, 1u);  // depth 0: the very next statement,
  Press(m, TRunMode::StepOver);                        // even inside the subroutine
  EXPECT_EQ(m.Output(), "s");
  Press(m, TRunMode::StepOver);  // depth 1: back at statement 20, whose GOSUB runs at once
  EXPECT_EQ(m.Output(), "st");
  EXPECT_EQ(m.GetDebugState().callDepth, 1);
  Press(m, TRunMode::StepOver);  // over that call to statement 30
  EXPECT_EQ(m.Output(), "ststx");
  EXPECT_EQ(m.Reports().size(), 4u);
}

TEST(LineTable, DebugStateAndLookupLineFindTheStatement) {
  TTestMachine m;
  TTokenProgram p;
  p.Statement(10).To(tok::GOSUB, "a").Label("back").Op(tok::END);
  p.Label("a").Statement(100).To(tok::GOSUB, "b").Label("backA");
  p.Statement(110).Op(tok::RETURN);
  p.Label("b").Statement(200).PrintStr("x").Op(tok::SETBAUD, 13);
  p.Statement(210).Op(tok::RETURN);
  m.Load(p);
  m.Run();  // "Ungültige Baudrate" sets the error flag
  TDebugState s = m.GetDebugState();
  EXPECT_EQ(s.line.sourceLine, 200u);  // the failing token's statement, not the pc's
  EXPECT_EQ(s.programCounter, p.Address("b") + 5);
  EXPECT_EQ(s.instructionStart, p.Address("b") + 3);
  EXPECT_EQ(s.callDepth, 2);
  EXPECT_EQ(s.callStack[0], p.Address("backA"));
  EXPECT_EQ(s.callStack[1], p.Address("back"));

  Press(m, TRunMode::SingleStep);  // the stop at 210 runs its RETURN
  s = m.GetDebugState();
  EXPECT_EQ(s.line.sourceLine, 110u);  // the pc's statement
  EXPECT_EQ(s.callDepth, 1);
  EXPECT_EQ(s.callStack[0], p.Address("back"));

  // Without an exact match the lookup answers the last record its search probed.
  EXPECT_EQ(m.LookupLine(p.Address("b")).sourcePosition, 1200u);
  EXPECT_EQ(m.LookupLine(p.Address("b") + 2).sourcePosition, 1200u);
  EXPECT_EQ(m.LookupLine(2).sourcePosition, 1010u);
  EXPECT_EQ(m.LookupLine(500).sourcePosition, 1210u);
  EXPECT_EQ(m.LookupLine(500).origin, kMainSourceOrigin);
}

}  // namespace
}  // namespace zarvek::test
