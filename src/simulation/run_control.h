// TRunControl: the run commands of the simulation (start, single step, step over, run to
// breakpoint, pause, stop), which of their buttons and menu items are enabled, and what
// the owner has to do after each command and each event of the running machine. It holds
// no machine and no window: the main window executes the outcomes it returns.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/profile.h"
#include "simulation/run_events.h"
#include "simulation/run_kind.h"

namespace zarvek {

enum class TRunCommand : uint8_t { Run, SingleStep, StepOver, RunToBreakpoint, Pause, Stop };
inline constexpr size_t kRunCommandCount = 6;

struct TRunCommandInfo {
  TRunCommand command;
  std::string_view button;
  std::string_view menuItem;
  std::string_view caption;
  std::string_view shortcut;  // empty: none
  std::string_view hint;
  uint8_t runKind;
  int machineRunMode;  // -1: the command sets none
};
const std::array<TRunCommandInfo, kRunCommandCount>& RunCommands();
const TRunCommandInfo& RunCommandInfo(TRunCommand command);

// What the owner does after a command or an event, in this order.
struct TRunOutcome {
  bool accepted = false;          // false: the command is not possible now (message says why)
  std::string message;            // a refusal, or the status text to show in the error display
  bool startNeeded = false;       // first run command: compile, build the machine (PrepareStart)
  bool runOneMoreTick = false;    // pause of a token machine: one more object tick first
  std::optional<TRunMode> machineRunMode;  // SetRunMode with this value
  bool startRunTimer = false;     // RunTimeEngine (and SimulatorTimer for a token machine)
  bool stopRunTimer = false;
  bool showPausedState = false;   // GetDebugState, variable view, select the statement
  bool terminateMachine = false;  // resume, request termination, drop the machine
  bool discardVariableView = false;
  bool editorsReadOnly = false;   // simulation colours
  bool editorsNormal = false;     // editable, normal colours
  bool refreshConsoleStatus = false;
  bool clearConsole = false;       // start: the console's simulation text is emptied
  bool stopHelpListTimer = false;  // start and pause
  bool closeUploadWindow = false;  // stop: hidden with progress 0, the console reconnects when online
};

// A click in the BASIC editor's gutter.
struct TBreakpointToggle {
  bool changed = false;   // the list changed: repaint the editor
  bool added = false;     // SetBreakpoint (else ClearBreakpoint) on a running token machine
};

struct TRunEnabling {
  std::array<bool, kRunCommandCount> command{};  // indexed by TRunCommand
  bool insertButtons = true;                     // the object insert buttons (editing allowed)
  bool Enabled(TRunCommand c) const { return command[static_cast<size_t>(c)]; }
};

class TRunControl {
 public:
  explicit TRunControl(TProfile profile = profile::Tessel11) : m_profile(profile) { ApplyStopped(); }

  // Profile of the project; while no simulation runs it decides what may be started.
  void SetProfile(TProfile profile);
  // Whether either breakpoint list has an entry (gutter clicks, project load).
  void SetHasBreakpoints(bool any);
  static bool Simulatable(TProfile profile);

  TRunOutcome Command(TRunCommand command);
  // Adds or removes an editor line of the BASIC breakpoint list (a line is added only
  // when it may carry a breakpoint); the other list only counts for the enabling.
  TBreakpointToggle ToggleBreakpoint(std::vector<int32_t>& basicLines, int32_t line, bool lineAllowed,
                                     bool assemblerListEmpty);
  // After a start: the build or the machine failed, nothing runs.
  void StartFailed();
  // After a start: the machine runs; "Compilieren..." is no longer the status.
  void StartSucceeded() { m_status.clear(); }
  TRunOutcome Event(const TRunEvent& event);
  // An object binding failed at a tick: pause with its message.
  TRunOutcome ObjectError(const std::string& message);

  uint8_t RunKind() const { return m_kind; }
  bool Running() const { return m_kind != runkind::None && m_kind != runkind::Paused; }
  bool Active() const { return m_kind != runkind::None; }
  // END reached: the machine waits suspended, the toolbar stays as it is.
  bool Ended() const { return m_ended; }
  const TRunEnabling& Enabling() const { return m_enabling; }
  const std::string& StatusText() const { return m_status; }
  bool TokenMachine() const;

 private:
  TRunOutcome Pause(bool byUser);
  TRunOutcome Stop();
  void ApplyStopped();
  void ApplyRunning();
  void ApplyPaused();
  void Set(TRunCommand c, bool on) { m_enabling.command[static_cast<size_t>(c)] = on; }

  TProfile m_profile;
  uint8_t m_kind = runkind::None;
  bool m_hasBreakpoints = false;
  bool m_ended = false;
  std::string m_status;
  TRunEnabling m_enabling;
};

// The refusal for a profile that cannot be simulated.
inline constexpr const char* kNotSimulatableText = "Tessel 2.0 kann nicht simuliert werden.";
inline constexpr const char* kCompilingText = "Compilieren...";
inline constexpr const char* kFindAddressCaption = "Laufzeitfehler Suchen";
inline constexpr const char* kFindAddressPrompt = "Adresse:";

// The token address typed into the find-address prompt: a decimal number of at least 0.
std::optional<uint32_t> ParseFindAddress(std::string_view text);

}  // namespace zarvek
