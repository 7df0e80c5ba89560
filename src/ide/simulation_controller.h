// TSimulationController: runs the simulation behind the main window. It carries out what
// TRunControl decides, owns the machine of a run (the token machine on its own thread, or
// the emulated Tessel board driven by the timer), the object grid with its bindings, the
// variable view and the console model. Everything the machine thread reports is queued
// to the GUI thread and handled there in order; the machine thread never waits for it.
#pragma once

// Core headers before Qt's (a project field is called "slots").
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "pipeline/build.h"
#include "project/settings.h"
#include "simulation/machine_access.h"
#include "simulation/object_bindings.h"
#include "simulation/object_grid.h"
#include "simulation/run_control.h"
#include "simulation/console_model.h"
#include "simulation/simulator.h"
#include "simulation/start_plan.h"
#include "simulation/tessel_loop.h"
#include "simulation/tessel_runtime.h"
#include "simulation/variable_view.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QAction;

namespace zarvek::ui {
class TSourceEditor;
class TErrorStrip;
class TObjectGridWidget;
}  // namespace zarvek::ui

namespace zarvek::ide {

class TConsoleWindow;
class TObjectPanel;

// What the controller needs from the main window.
struct TSimulationViews {
  ui::TSourceEditor* basic = nullptr;
  ui::TSourceEditor* assembler = nullptr;
  ui::TErrorStrip* errorDisplay = nullptr;
  std::function<void(int editorPage)> showEditor;  // 0: BASIC, 1: assembler
  // The sources, profile, module loader and breakpoints of a start.
  std::function<TStartInput()> startInput;
  // A start built the project: its token view and, when it runs, its sizes and labels.
  std::function<void(const TBuildResult& build, const std::vector<hc05::TAsmSymbol>& assemblerSymbols)> startBuilt;
  // A start whose build failed: the error is shown as a compile shows it (the strip with
  // its position, the line in the editor). Without it the status text says what failed.
  std::function<void(const TBuildResult& build)> showBuildError;
  // The file the editors show (full path).
  std::function<std::string()> currentFile;
  // Whether that file may not be written: its editors stay read-only after a run.
  std::function<bool()> fileReadOnly;
  // Brings a file of the run (the started project or one of its modules) into the
  // editors; false when it could not be opened.
  std::function<bool(const std::string& file)> bringToFront;
  // Whether any file of the project has a breakpoint (the editors and the other tabs).
  std::function<bool()> anyBreakpoints;
};

class TSimulationController : public QObject, private TSimulatorListener, private TTesselListener {
  Q_OBJECT
 public:
  explicit TSimulationController(TSimulationViews views, QWidget* parentWindow);
  ~TSimulationController() override;

  // The six run actions, in the order of TRunCommand.
  void SetActions(const std::array<QAction*, kRunCommandCount>& actions);
  void SetProfile(TProfile profile);
  void ApplySettings(const TSettings& settings);
  void Command(TRunCommand command);
  // A gutter click changed the breakpoints of the file the editors show (line 1-based).
  void BreakpointToggled(int line, bool added, bool assembler = false);
  // The breakpoint lists changed without a click (a file was loaded).
  void BreakpointsChanged();
  // Selects an object's cell and shows its settings (a click on its tree node).
  void SelectObject(int x, int y);
  // The names the settings rows offer while no simulation runs: the last build's.
  void SetBuildSymbols(TProgramSymbols symbols);
  // Laufzeitfehler Suchen: selects the statement of a token address; false when the
  // address lies in no statement of the last build.
  bool FindAddress(uint32_t address);
  // Project open and new: the objects of the project (stops a run first).
  void LoadObjects(const TProject& project);
  void SaveObjects(TProject& project) const { m_grid.SaveTo(project); }
  void StopIfActive();

  const TRunControl& Control() const { return m_control; }
  TObjectGrid& Grid() { return m_grid; }
  // Objects inserted, edited or deleted since the project was loaded or saved.
  bool ObjectsModified() const { return m_grid.Modified(); }
  TConsoleModel& ConsoleModel() { return m_console; }
  TConsoleWindow* Console() const { return m_consoleWindow; }
  TObjectPanel* Objects() const { return m_panel; }
  // The variables of the current pause by call frame; nullptr while there is no pause
  // view (never paused, or stopped).
  const std::vector<TVariableNode>* Variables() const {
    return m_view && m_variablesShown ? &m_view->Branches() : nullptr;
  }
  TSimulatedHardware& Hardware() { return m_hw; }
  QTimer& RunTimer() { return m_runTime; }
  // The statement the last pause stopped at: its file (the started project or a
  // module), editor page (0 BASIC, 1 assembler) and 1-based line in that file; 0 when none.
  const std::string& PausedFile() const { return m_pausedFile; }
  int PausedPage() const { return m_pausedPage; }
  int PausedLine() const { return m_pausedLine; }
  uint64_t Ticks() const { return m_ticks; }
  // Pauses shown since construction (tests wait for the next one).
  uint64_t Pauses() const { return m_pauses; }
  // Token address of the last stop or runtime error; -1 when none.
  int32_t LastStopAddress() const { return m_lastStopAddress; }
  // Longest time one tick took, in microseconds, since the last reset.
  qint64 LongestTickMicroseconds() const { return m_longestTick; }
  void ResetTickStatistics() { m_longestTick = 0; }
  uint64_t Tokens() const;

 Q_SIGNALS:
  // The run state changed (enabling, paused, stopped): the owner refreshes its commands.
  void StateChanged();
  // The variables of a pause were rebuilt or discarded.
  void VariablesChanged();

 private:
  // TSimulatorListener (the machine's thread)
  void OnOutput(const std::string& text) override;
  void OnRunEvent(const TRunEvent& event) override;
  // TTesselListener (the GUI thread, inside a tick)
  void OnSerialOutput(const std::string& bytes, const std::string& consoleText) override;
  void OnStop(const TTesselStop& stop) override;

  struct TPosted {
    std::string text;
    std::optional<TRunEvent> event;
    std::optional<TTesselStop> stop;  // the Tessel loop's stop behind the event
  };
  void Post(TPosted item);
  void DrainPosted();

  void Execute(const TRunOutcome& outcome);
  bool Start();
  void Terminate();
  void RunTime();
  void ShowPaused();
  void SelectLine(const std::string& file, int page, int line);
  void SetPausedPlace(const TLineRecord& statement);
  void SetPausedAssemblerLine(int32_t mergedLine);
  std::string FileOfOrigin(uint32_t origin) const;
  std::optional<uint32_t> OriginOfCurrentFile() const;
  void ApplyAssemblerBreakpoints();
  void SetEditorsRunning(bool running);
  void ShowStatus(const std::string& text);
  void UpdateEnabling();
  void UpdatePanel();
  void RefreshConsoleStatus();
  TSerialRates SimulatedRates() const;
  void ObjectError(const TPassResult& result);
  void ApplyTesselRunKind();
  void CellPressed(int x, int y, bool right, int dx, int dy);
  void CellReleased(int x, int y);

  TSimulationViews m_views;
  TRunControl m_control;
  TObjectGrid m_grid;
  TSimulatedHardware m_hw;
  TConsoleModel m_console;
  THardwareConsoleInput m_consoleInput{m_hw};
  TSettings m_settings;
  std::array<QAction*, kRunCommandCount> m_actions{};

  // The run.
  std::unique_ptr<TBuilder> m_builder;
  TStartPlan m_plan;
  std::vector<TLineRecord> m_lines;  // the line table of the run, for look-ups
  std::unique_ptr<TSimulator> m_machine;
  std::unique_ptr<TMachineAccess> m_access;
  std::unique_ptr<TObjectBindings> m_bindings;
  std::unique_ptr<TVariableView> m_view;
  std::unique_ptr<TTesselLoop> m_tessel;
  std::unique_ptr<TTesselPins> m_pins;
  std::optional<TTesselRuntime> m_runtime;
  std::optional<TTesselStop> m_tesselStop;
  bool m_showOnPauseEvent = false;  // a user's pause: shown once the machine stopped

  std::mutex m_postMutex;
  std::deque<TPosted> m_posted;
  bool m_drainPending = false;

  QTimer m_runTime;
  QTimer m_rateTimer;
  uint64_t m_ticks = 0;
  uint64_t m_pauses = 0;
  int32_t m_lastStopAddress = -1;
  qint64 m_longestTick = 0;
  int m_pausedPage = 0, m_pausedLine = 0;
  std::string m_pausedFile;
  std::string m_rootFile;         // the project the run was started from
  std::set<int32_t> m_asmBreakLines;  // in the merged assembler text of the run
  bool m_variablesShown = false;
  TProgramSymbols m_buildSymbols;

  TObjectPanel* m_panel = nullptr;
  TConsoleWindow* m_consoleWindow = nullptr;
};

}  // namespace zarvek::ide
