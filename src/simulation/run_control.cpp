#include "simulation/run_control.h"

#include <algorithm>

#include "base/profile.h"
#include "project/integer_text.h"

namespace zarvek {

namespace {

const std::array<TRunCommandInfo, kRunCommandCount> kCommands{{
    {TRunCommand::Run, "ButtonRun", "MProjektRun", "&Starten", "F5", "Ausführen ohne Haltepunkte", runkind::Run, 0},
    {TRunCommand::SingleStep, "ButtonRunNext", "MProjektRunNext", "&Einzelschritt", "F8", "Nächsten Befehl ausführen",
     runkind::SingleStep, 1},
    {TRunCommand::StepOver, "ButtonRunNextBlock", "MProjektRunNextBlock", "Einzelschritt ohne &Subroutine", "Ctrl+F8",
     "Nächsten Befehl ausführen ohne Sprung in Unterroutine", runkind::StepOver, 3},
    {TRunCommand::RunToBreakpoint, "ButtonRunNextBreak", "MProjektBreak", "&Haltepunkt", "Ctrl+F5",
     "Auführen bis Haltepunkt", runkind::ToBreakpoint, 2},
    {TRunCommand::Pause, "ButtonPause", "MProjektPause", "&Unterbrechen", "", "Ausführen Pause", runkind::Paused, 4},
    {TRunCommand::Stop, "ButtonStop", "MProjektStop", "&Abbrechen", "", "Ausführen beenden", runkind::None, -1},
}};

}  // namespace

const std::array<TRunCommandInfo, kRunCommandCount>& RunCommands() { return kCommands; }
const TRunCommandInfo& RunCommandInfo(TRunCommand command) { return kCommands[static_cast<size_t>(command)]; }

bool TRunControl::Simulatable(TProfile profile) {
  return profile == profile::Tessel11 || profile == profile::TesselMicro || IsPyxon(profile);
}

bool TRunControl::TokenMachine() const { return IsPyxon(m_profile); }

void TRunControl::SetProfile(TProfile profile) {
  m_profile = profile;
  if (m_kind == runkind::None) ApplyStopped();
}

void TRunControl::SetHasBreakpoints(bool any) {
  m_hasBreakpoints = any;
  Set(TRunCommand::RunToBreakpoint, any && m_enabling.Enabled(TRunCommand::Run));
}

void TRunControl::ApplyStopped() {
  const bool can = Simulatable(m_profile);
  Set(TRunCommand::Run, can);
  Set(TRunCommand::SingleStep, can);
  Set(TRunCommand::StepOver, can);
  Set(TRunCommand::RunToBreakpoint, can && m_hasBreakpoints);
  Set(TRunCommand::Pause, false);
  Set(TRunCommand::Stop, false);
  m_enabling.insertButtons = true;
}

void TRunControl::ApplyRunning() {
  Set(TRunCommand::Run, false);
  Set(TRunCommand::SingleStep, false);
  Set(TRunCommand::StepOver, false);
  Set(TRunCommand::RunToBreakpoint, m_hasBreakpoints);
  Set(TRunCommand::Pause, true);
  Set(TRunCommand::Stop, true);
  m_enabling.insertButtons = false;  // objects change only while stopped or paused
}

void TRunControl::ApplyPaused() {
  Set(TRunCommand::Run, true);
  Set(TRunCommand::SingleStep, true);
  Set(TRunCommand::StepOver, true);
  Set(TRunCommand::RunToBreakpoint, m_hasBreakpoints);
  Set(TRunCommand::Pause, false);
  Set(TRunCommand::Stop, true);
  m_enabling.insertButtons = true;
}

TRunOutcome TRunControl::Command(TRunCommand command) {
  TRunOutcome out;
  if (!m_enabling.Enabled(command)) {
    if (!Simulatable(m_profile) && m_kind == runkind::None) out.message = kNotSimulatableText;
    return out;
  }
  if (command == TRunCommand::Pause) return Pause(true);
  if (command == TRunCommand::Stop) return Stop();

  out.accepted = true;
  if (m_kind == runkind::None) {
    out.startNeeded = true;
    out.editorsReadOnly = true;
    out.clearConsole = true;
    out.stopHelpListTimer = true;
    m_status = kCompilingText;
    out.message = m_status;
  } else {
    m_status.clear();
  }
  const TRunCommandInfo& info = RunCommandInfo(command);
  ApplyRunning();
  m_kind = info.runKind;
  m_ended = false;
  out.startRunTimer = true;
  if (TokenMachine()) out.machineRunMode = static_cast<TRunMode>(info.machineRunMode);
  return out;
}

void TRunControl::StartFailed() {
  m_kind = runkind::None;
  m_ended = false;
  ApplyStopped();
}

TRunOutcome TRunControl::Pause(bool byUser) {
  TRunOutcome out;
  out.accepted = true;
  m_kind = runkind::Paused;
  ApplyPaused();
  out.showPausedState = true;
  out.stopHelpListTimer = true;
  if (TokenMachine()) {
    out.runOneMoreTick = byUser;
    out.machineRunMode = TRunMode::Pause;
    out.stopRunTimer = true;
  } else {
    // The Tessel tick stops its own timer once it sees the pause; a user's pause lets it
    // run once more to show the paused state.
    out.startRunTimer = byUser;
    out.refreshConsoleStatus = true;
  }
  out.message = m_status;
  return out;
}

TRunOutcome TRunControl::Stop() {
  TRunOutcome out;
  out.accepted = true;
  m_kind = runkind::None;
  m_ended = false;
  m_status.clear();
  ApplyStopped();
  out.terminateMachine = TokenMachine();
  out.stopRunTimer = true;
  out.discardVariableView = true;
  out.editorsNormal = true;
  out.refreshConsoleStatus = true;
  out.closeUploadWindow = true;
  return out;
}

TBreakpointToggle TRunControl::ToggleBreakpoint(std::vector<int32_t>& lines, int32_t line, bool lineAllowed,
                                                bool assemblerListEmpty) {
  TBreakpointToggle t;
  const auto at = std::find(lines.begin(), lines.end(), line);
  if (at != lines.end()) {
    lines.erase(at);
    t.changed = true;
  } else if (lineAllowed) {
    lines.push_back(line);
    t.changed = t.added = true;
  }
  m_hasBreakpoints = !lines.empty() || !assemblerListEmpty;
  // As the gutter has it: only the BASIC list counts, and only while Run is possible.
  Set(TRunCommand::RunToBreakpoint, !lines.empty() && m_enabling.Enabled(TRunCommand::Run));
  return t;
}

std::optional<uint32_t> ParseFindAddress(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const std::optional<int32_t> n = ParseInteger(text);
  if (!n || *n < 0) return std::nullopt;
  return static_cast<uint32_t>(*n);
}

TRunOutcome TRunControl::Event(const TRunEvent& event) {
  TRunOutcome out;
  out.accepted = true;
  if (m_kind == runkind::None) return out;  // a late event of a machine already stopped
  switch (event.kind) {
    case TRunEventKind::Started:
    case TRunEventKind::WaitingForInput: return out;
    case TRunEventKind::Ended:
      if (event.endReason == TEndReason::Stopped) return Stop();
      // END suspends the machine; the toolbar stays until the user pauses or stops.
      m_ended = true;
      return out;
    case TRunEventKind::RuntimeError:
    case TRunEventKind::Paused: {
      const bool byUser = event.kind == TRunEventKind::Paused && event.pauseReason == TPauseReason::UserPause;
      // A stop's report is the status text, like an error's; a user's pause keeps the
      // status unless the stop has something to show.
      if (!byUser || !event.errorText.empty()) m_status = event.errorText;
      if (m_kind == runkind::Paused) {
        out.message = m_status;
        out.showPausedState = !byUser;
        return out;
      }
      return Pause(false);
    }
  }
  return out;
}

TRunOutcome TRunControl::ObjectError(const std::string& message) {
  m_status = message;
  if (m_kind == runkind::None || m_kind == runkind::Paused) {
    TRunOutcome out;
    out.accepted = true;
    out.message = message;
    return out;
  }
  return Pause(false);
}

}  // namespace zarvek
