#include "simulation/run_control.h"

#include "sim_fixture.h"

namespace zarvek::test {
namespace {

TRunEvent Happened(TRunEventKind kind) {
  TRunEvent e;
  e.kind = kind;
  return e;
}

TRunEvent PausedFor(TPauseReason reason) {
  TRunEvent e = Happened(TRunEventKind::Paused);
  e.pauseReason = reason;
  return e;
}

TRunEvent EndedBy(TEndReason reason) {
  TRunEvent e = Happened(TRunEventKind::Ended);
  e.endReason = reason;
  return e;
}


// Run, step, step over, to breakpoint, pause, stop; then the insert buttons.
std::string Enabled(const TRunControl& c) {
  std::string s;
  for (size_t k = 0; k < kRunCommandCount; ++k) s += c.Enabling().command[k] ? '1' : '0';
  return s + (c.Enabling().insertButtons ? " i" : " -");
}

TEST(RunControl, CommandsCarryTheirCaptionsShortcutsAndModes) {
  const auto& table = RunCommands();
  EXPECT_EQ(table[0].caption, "&Starten");
  EXPECT_EQ(table[0].shortcut, "F5");
  EXPECT_EQ(table[1].shortcut, "F8");
  EXPECT_EQ(table[2].shortcut, "Ctrl+F8");
  EXPECT_EQ(table[2].hint, "Nächsten Befehl ausführen ohne Sprung in Unterroutine");
  EXPECT_EQ(table[3].shortcut, "Ctrl+F5");
  EXPECT_EQ(table[3].hint, "Auführen bis Haltepunkt");
  EXPECT_EQ(table[4].menuItem, "MProjektPause");
  EXPECT_EQ(table[5].caption, "&Abbrechen");
  const int modes[] = {0, 1, 3, 2, 4, -1};
  const uint8_t kinds[] = {1, 2, 3, 4, 5, 0};
  for (size_t k = 0; k < kRunCommandCount; ++k) {
    EXPECT_EQ(table[k].machineRunMode, modes[k]);
    EXPECT_EQ(table[k].runKind, kinds[k]);
  }
}

TEST(RunControl, EnablingFollowsEveryCommand) {
  TRunControl c(profile::Pyxon32);
  EXPECT_EQ(Enabled(c), "111000 i");
  EXPECT_FALSE(c.Command(TRunCommand::RunToBreakpoint).accepted);  // no breakpoint anywhere
  c.SetHasBreakpoints(true);
  EXPECT_EQ(Enabled(c), "111100 i");

  TRunOutcome o = c.Command(TRunCommand::SingleStep);
  EXPECT_TRUE(o.accepted);
  EXPECT_TRUE(o.startNeeded);
  EXPECT_TRUE(o.editorsReadOnly);
  EXPECT_EQ(o.message, "Compilieren...");
  EXPECT_EQ(o.machineRunMode, std::optional<TRunMode>(TRunMode::SingleStep));
  EXPECT_TRUE(o.startRunTimer);
  EXPECT_EQ(c.RunKind(), runkind::SingleStep);
  EXPECT_EQ(Enabled(c), "000111 -");
  EXPECT_FALSE(c.Command(TRunCommand::Run).accepted);

  o = c.Command(TRunCommand::Pause);
  EXPECT_TRUE(o.runOneMoreTick);
  EXPECT_EQ(o.machineRunMode, std::optional<TRunMode>(TRunMode::Pause));
  EXPECT_TRUE(o.stopRunTimer);
  EXPECT_TRUE(o.showPausedState);
  EXPECT_TRUE(o.stopHelpListTimer);
  EXPECT_EQ(c.RunKind(), runkind::Paused);
  EXPECT_EQ(Enabled(c), "111101 i");

  o = c.Command(TRunCommand::StepOver);
  EXPECT_FALSE(o.startNeeded);  // the machine exists
  EXPECT_EQ(o.machineRunMode, std::optional<TRunMode>(TRunMode::StepOver));
  EXPECT_EQ(c.RunKind(), runkind::StepOver);
  c.SetHasBreakpoints(false);  // the gutter: only with ButtonRun enabled
  EXPECT_EQ(Enabled(c), "000011 -");

  o = c.Command(TRunCommand::Stop);
  EXPECT_TRUE(o.terminateMachine);
  EXPECT_TRUE(o.discardVariableView);
  EXPECT_TRUE(o.editorsNormal);
  EXPECT_TRUE(o.stopRunTimer);
  EXPECT_TRUE(o.closeUploadWindow);
  EXPECT_EQ(c.RunKind(), runkind::None);
  EXPECT_EQ(Enabled(c), "111000 i");
  EXPECT_FALSE(c.Command(TRunCommand::Stop).accepted);
  EXPECT_FALSE(c.Command(TRunCommand::Pause).accepted);
}

TEST(RunControl, EnablingFollowsEveryEvent) {
  TRunControl c(profile::Pyxon128);
  c.SetHasBreakpoints(true);
  c.Command(TRunCommand::Run);
  for (TRunEventKind quiet : {TRunEventKind::Started, TRunEventKind::WaitingForInput}) {
    const TRunOutcome o = c.Event(Happened(quiet));
    EXPECT_FALSE(o.machineRunMode);
    EXPECT_EQ(Enabled(c), "000111 -");
  }
  // END leaves the toolbar running until the user pauses or stops.
  c.Event(EndedBy(TEndReason::EndStatement));
  EXPECT_TRUE(c.Ended());
  EXPECT_EQ(c.RunKind(), runkind::Run);
  EXPECT_EQ(Enabled(c), "000111 -");
  c.Command(TRunCommand::Pause);
  c.Command(TRunCommand::Run);
  EXPECT_FALSE(c.Ended());

  for (TPauseReason stop : {TPauseReason::Breakpoint, TPauseReason::SingleStepDone, TPauseReason::StepOverDone,
                            TPauseReason::UserPause}) {
    c.Command(TRunCommand::Run);
    const TRunOutcome o = c.Event(PausedFor(stop));
    EXPECT_EQ(c.RunKind(), runkind::Paused);
    EXPECT_FALSE(o.runOneMoreTick);  // the machine paused itself
    EXPECT_TRUE(o.showPausedState);
    EXPECT_EQ(Enabled(c), "111101 i");
  }
  // A stop report is shown like an error; a user's pause keeps what is shown.
  c.Command(TRunCommand::SingleStep);
  TRunEvent step = PausedFor(TPauseReason::SingleStepDone);
  step.errorText = "Haltepunkt";
  TRunOutcome shown = c.Event(step);
  EXPECT_EQ(shown.message, "Haltepunkt");
  EXPECT_EQ(c.StatusText(), "Haltepunkt");
  shown = c.Event(PausedFor(TPauseReason::UserPause));
  EXPECT_EQ(c.StatusText(), "Haltepunkt");
  c.Command(TRunCommand::Run);
  EXPECT_EQ(c.StatusText(), "");
  // The Tessel boards' stops show the controller's registers, also a user's pause.
  TRunControl tessel(profile::Tessel11);
  tessel.Command(TRunCommand::Run);
  tessel.StartSucceeded();
  tessel.Command(TRunCommand::Pause);
  TRunEvent registers = PausedFor(TPauseReason::UserPause);
  registers.errorText = "A = 00h";
  EXPECT_EQ(tessel.Event(registers).message, "A = 00h");

  c.Command(TRunCommand::Run);
  TRunEvent error = Happened(TRunEventKind::RuntimeError);
  error.errorNumber = 9;
  error.errorText = "Division durch 0";
  error.tokenAddress = 120;
  TRunOutcome o = c.Event(error);
  EXPECT_EQ(o.message, "Division durch 0");
  EXPECT_EQ(c.StatusText(), "Division durch 0");
  EXPECT_EQ(Enabled(c), "111101 i");
  o = c.Command(TRunCommand::Run);  // continuing clears the message
  EXPECT_EQ(c.StatusText(), "");

  o = c.Event(EndedBy(TEndReason::Stopped));
  EXPECT_EQ(c.RunKind(), runkind::None);
  EXPECT_TRUE(o.editorsNormal);
  EXPECT_EQ(Enabled(c), "111100 i");
  // A late event of the stopped machine changes nothing.
  c.Event(PausedFor(TPauseReason::Breakpoint));
  EXPECT_EQ(c.RunKind(), runkind::None);
  EXPECT_EQ(Enabled(c), "111100 i");
}

TEST(RunControl, GutterClicksToggleBreakpointsAndTheRunToBreakpointCommand) {
  TRunControl c(profile::Pyxon32);
  std::vector<int32_t> lines;
  TBreakpointToggle t = c.ToggleBreakpoint(lines, 4, false, true);  // a line that may not carry one
  EXPECT_FALSE(t.changed);
  EXPECT_EQ(Enabled(c), "111000 i");
  t = c.ToggleBreakpoint(lines, 4, true, true);
  EXPECT_TRUE(t.added);
  EXPECT_EQ(lines, std::vector<int32_t>{4});
  EXPECT_EQ(Enabled(c), "111100 i");
  c.Command(TRunCommand::Run);
  EXPECT_EQ(Enabled(c), "000111 -");
  t = c.ToggleBreakpoint(lines, 7, true, true);  // while running: into the machine at once
  EXPECT_TRUE(t.added);
  EXPECT_EQ(Enabled(c), "000011 -");             // Run is disabled, so is the command
  t = c.ToggleBreakpoint(lines, 4, true, true);
  EXPECT_TRUE(t.changed);
  EXPECT_FALSE(t.added);
  EXPECT_EQ(lines, std::vector<int32_t>{7});
  c.Command(TRunCommand::Pause);
  EXPECT_EQ(Enabled(c), "111101 i");
  c.ToggleBreakpoint(lines, 7, true, true);
  EXPECT_EQ(Enabled(c), "111001 i");

  EXPECT_EQ(ParseFindAddress(" 120 "), std::optional<uint32_t>(120));
  EXPECT_EQ(ParseFindAddress("0"), std::optional<uint32_t>(0));
  EXPECT_FALSE(ParseFindAddress("-4"));
  EXPECT_FALSE(ParseFindAddress("$10"));
  EXPECT_FALSE(ParseFindAddress(""));
}

TEST(RunControl, TesselPausesThroughItsTickAndTessel20IsRefused) {
  TRunControl c(profile::Tessel11);
  TRunOutcome o = c.Command(TRunCommand::Run);
  EXPECT_TRUE(o.startNeeded);
  EXPECT_FALSE(o.machineRunMode);  // no token machine on this path
  o = c.Command(TRunCommand::Pause);
  EXPECT_TRUE(o.startRunTimer);  // one more tick shows the paused state
  EXPECT_FALSE(o.machineRunMode);
  EXPECT_TRUE(o.refreshConsoleStatus);
  c.Command(TRunCommand::SingleStep);
  o = c.Event(PausedFor(TPauseReason::SingleStepDone));
  EXPECT_FALSE(o.startRunTimer);
  o = c.Command(TRunCommand::Stop);
  EXPECT_FALSE(o.terminateMachine);

  c.SetProfile(profile::Tessel20);
  EXPECT_EQ(Enabled(c), "000000 i");
  o = c.Command(TRunCommand::Run);
  EXPECT_FALSE(o.accepted);
  EXPECT_EQ(o.message, "Tessel 2.0 kann nicht simuliert werden.");
  c.SetProfile(profile::TesselMicro);
  EXPECT_EQ(Enabled(c), "111000 i");
}

TEST(RunControl, StartPlansBuildThePyxonMachineAndTheTesselController) {
  TBuilder builder;
  TStartInput in;
  in.basicSource = "DIM a AS BYTE\r\na = 1\r\na = 2\r\nEND\r\n";
  in.profile = profile::Pyxon128;
  in.basicBreakpoints = {3};
  TStartPlan plan = PrepareStart(builder, in);
  ASSERT_TRUE(plan.ready) << plan.message;
  ASSERT_TRUE(plan.pyxon);
  EXPECT_EQ(plan.pyxon->machine.space1Size, 2048u);
  EXPECT_EQ(plan.pyxon->machine.programMemorySize, 65535u);
  EXPECT_EQ(PyxonMachine(profile::Pyxon32).programMemorySize, 32745u);
  int flagged = 0;
  for (const TLineRecord& r : plan.pyxon->lineTable) {
    if (!r.breakpoint) continue;
    ++flagged;
    EXPECT_EQ(r.sourceLine, 3u);
  }
  EXPECT_EQ(flagged, 1);
  EXPECT_GE(plan.symbols.FindBasic("A"), 0);

  in.profile = profile::Tessel11;
  in.assemblerSource = "START LDA #1\r\n RTS\r\n";
  in.assemblerBreakpoints = {2};
  plan = PrepareStart(builder, in);
  ASSERT_TRUE(plan.ready) << plan.message;
  ASSERT_TRUE(plan.tessel);
  EXPECT_FALSE(plan.pyxon);
  EXPECT_EQ(plan.tessel->machineCodeStart, 257u);
  EXPECT_EQ(plan.tessel->machineCode, std::string("\xA6\x01\x81", 3));
  EXPECT_EQ(plan.tessel->assemblerBreakpoints.size(), 1u);
  EXPECT_FALSE(plan.tessel->eepromImage.empty());
  EXPECT_TRUE(plan.tessel->reset);
  ASSERT_EQ(plan.tessel->lineTable.size(), plan.tessel->statementMap.size());
  flagged = 0;
  for (const TLineRecord& r : plan.tessel->lineTable) flagged += r.breakpoint;
  EXPECT_EQ(flagged, 1);
  EXPECT_TRUE(plan.symbols.Tessel());
  EXPECT_EQ(plan.symbols.AssemblerValue("start"), std::optional<int32_t>(257));

  in.basicSource = "a = \r\n";
  plan = PrepareStart(builder, in);
  EXPECT_FALSE(plan.ready);
  EXPECT_FALSE(plan.message.empty());

  in.profile = profile::Tessel20;
  plan = PrepareStart(builder, in);
  EXPECT_FALSE(plan.ready);
  EXPECT_EQ(plan.message, kNotSimulatableText);
}

}  // namespace
}  // namespace zarvek::test

namespace zarvek::test {
namespace {

// The owner's part: execute an outcome on the machine and report what the machine did.
struct TOwner {
  TRunControl control{profile::Pyxon32};
  TSimRun run;

  TRunOutcome Do(TRunCommand command) {
    TRunOutcome o = control.Command(command);
    if (o.startNeeded && !run.sim) {
      EXPECT_TRUE(run.Start(source));
    }
    if (o.machineRunMode && *o.machineRunMode != TRunMode::Pause) {
      const size_t stops = run.listener.stops.size();
      const TSliceEnd end = run.Run(*o.machineRunMode);
      if (end == TSliceEnd::Ended) control.Event(EndedBy(TEndReason::EndStatement));
      // The machine's own event tells why it stopped.
      if (end == TSliceEnd::Paused && run.listener.stops.size() > stops) control.Event(run.listener.stops.back());
    }
    return o;
  }
  uint32_t Line() { return run.sim->GetDebugState().line.sourceLine; }

  std::string source =
      "DIM a AS BYTE\n"
      "a = 1\n"
      "CALL setze(5)\n"
      "a = a + 2\n"
      "PRINT a\n"
      "END\n"
      "SUB setze(v AS BYTE)\n"
      "  a = v\n"  // 8
      "  a = a + 1\n"
      "END SUB\n";
};

TEST(RunControl, SingleStepsAndStepOverPauseOncePerStatement) {
  TOwner owner;
  for (uint32_t line : {2u, 3u, 8u}) {  // into the SUB
    owner.Do(TRunCommand::SingleStep);
    EXPECT_EQ(owner.control.RunKind(), runkind::Paused);
    EXPECT_EQ(owner.Line(), line);
  }
  owner.Do(TRunCommand::StepOver);  // over the SUB's remaining statements, back in the caller
  EXPECT_EQ(owner.control.RunKind(), runkind::Paused);
  EXPECT_EQ(owner.Line(), 4u);
  owner.Do(TRunCommand::Run);
  EXPECT_TRUE(owner.control.Ended());
  EXPECT_EQ(owner.control.RunKind(), runkind::Run);  // END leaves the toolbar running
  EXPECT_EQ(owner.run.listener.output, "8\r\n");
  const TRunOutcome o = owner.Do(TRunCommand::Stop);
  EXPECT_TRUE(o.terminateMachine);
  EXPECT_TRUE(o.editorsNormal);
  EXPECT_EQ(owner.control.RunKind(), runkind::None);
}

}  // namespace
}  // namespace zarvek::test

namespace zarvek {
namespace {
TEST(RunControl, TheCompilingStatusEndsWithASuccessfulStart) {
  TRunControl c(profile::Pyxon32);
  EXPECT_EQ(c.Command(TRunCommand::Run).message, kCompilingText);
  c.StartSucceeded();
  EXPECT_EQ(c.StatusText(), "");
  EXPECT_EQ(c.Command(TRunCommand::Pause).message, "");  // a pause does not say "Compilieren..." again
}
}  // namespace
}  // namespace zarvek
