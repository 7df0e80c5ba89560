#include "ide/simulation_controller.h"

#include <algorithm>

#include <QAction>

#include "base/profile.h"
#include "ide/console_window.h"
#include "ide/object_panel.h"
#include "simulation/tessel_board.h"
#include "ui/error_strip.h"
#include "ui/object_grid_widget.h"
#include "ui/qt_text.h"
#include "ui/source_editor.h"
#include "ui/source_lexers.h"
#include "workspace/paths.h"

namespace zarvek::ide {

namespace {

// The token machine's object tick; the Tessel loop uses its own interval.
constexpr int kPyxonTickMs = 20;

// The emulated controller's pins and RAM as the objects see them.
class TEnginePins final : public TTesselPins {
 public:
  explicit TEnginePins(hc05::TMotorolaEngine& engine) : m_engine(engine) {}
  bool PortPin(int port, int bit) override { return (m_engine.Peek(static_cast<uint16_t>(port)) >> bit & 1) != 0; }
  bool AnalogPin(int bit) override {
    return m_engine.Environment().analogInputs[static_cast<size_t>(bit & 7)] >= 128;
  }
  uint8_t ReadByte(uint16_t address) override { return m_engine.Peek(address); }
  void SetMemoryBit(uint16_t address, int bit) override {
    m_engine.Memory()[address] = static_cast<uint8_t>(m_engine.Memory()[address] | 1 << bit);
  }

 private:
  hc05::TMotorolaEngine& m_engine;
};

// The file a statement of the run stands in: a module's or the started project's.
std::string FileOf(const std::vector<TIncludeRecord>& includes, const std::string& root, uint32_t origin) {
  return origin < includes.size() ? includes[origin].fileName : root;
}

TRunEvent EventOf(const TTesselStop& stop) {
  TRunEvent e;
  e.tokenAddress = stop.tokenAddress;
  // Every stop of the controller shows its registers; an error's message comes first.
  if (stop.reason == TTesselStopReason::EngineError || stop.reason == TTesselStopReason::RuntimeError) {
    e.kind = TRunEventKind::RuntimeError;
    e.errorText = stop.registerLine.empty() ? stop.message : stop.message + "\r\n" + stop.registerLine;
    return e;
  }
  e.kind = TRunEventKind::Paused;
  e.errorText = stop.registerLine;
  switch (stop.reason) {
    case TTesselStopReason::BasicBreakpoint:
    case TTesselStopReason::AssemblerBreakpoint: e.pauseReason = TPauseReason::Breakpoint; break;
    case TTesselStopReason::Paused: e.pauseReason = TPauseReason::UserPause; break;
    default: e.pauseReason = TPauseReason::SingleStepDone; break;
  }
  return e;
}

}  // namespace

TSimulationController::TSimulationController(TSimulationViews views, QWidget* parentWindow)
    : QObject(parentWindow), m_views(std::move(views)) {
  m_grid = TObjectGrid([](std::string_view text) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    return QFontMetrics(f).horizontalAdvance(ui::FromCp1252(text));
  });
  m_panel = new TObjectPanel(m_grid);
  m_panel->shownValue = [this](int x, int y) { return m_bindings ? m_bindings->DisplayedValue(x, y) : std::string(); };
  m_panel->SetSymbols(&m_buildSymbols);
  m_panel->GridWidget()->displayedValue = m_panel->shownValue;
  connect(m_panel->GridWidget(), &ui::TObjectGridWidget::CellPressed, this,
          [this](int x, int y, bool right, int dx, int dy) { CellPressed(x, y, right, dx, dy); });
  connect(m_panel->GridWidget(), &ui::TObjectGridWidget::CellReleased, this,
          [this](int x, int y) { CellReleased(x, y); });
  m_consoleWindow = new TConsoleWindow(m_console, parentWindow);
  connect(m_panel, &TObjectPanel::Changed, this, [this] { UpdatePanel(); });
  connect(m_panel, &TObjectPanel::Refused, this, [this](const std::string& why) { ShowStatus(why); });

  m_runTime.setInterval(kPyxonTickMs);
  connect(&m_runTime, &QTimer::timeout, this, [this] { RunTime(); });
  m_rateTimer.setInterval(kRateIntervalMs);
  connect(&m_rateTimer, &QTimer::timeout, this, [this] {
    m_console.UpdateTerminalTimerTimer();
    m_consoleWindow->Refresh();
  });
  m_rateTimer.start();
}

TSimulationController::~TSimulationController() {
  // The machine's thread reports to this object: it ends first.
  m_machine.reset();
}

void TSimulationController::SetActions(const std::array<QAction*, kRunCommandCount>& actions) {
  m_actions = actions;
  UpdateEnabling();
}

void TSimulationController::SetProfile(TProfile profile) {
  // The owner reads the enabling afterwards; no StateChanged from here.
  if (!m_control.Active()) m_control.SetProfile(profile);
}

void TSimulationController::ApplySettings(const TSettings& settings) {
  m_settings = settings;
  m_consoleWindow->ApplySettings(settings);
  if (m_control.Active()) SetEditorsRunning(true);
}

uint64_t TSimulationController::Tokens() const {
  if (m_tessel) return m_tessel->Tokens();
  return m_machine ? m_machine->TokensRun() : 0;
}

// --- What the machine reports ---

void TSimulationController::OnOutput(const std::string& text) { Post(TPosted{text, std::nullopt, std::nullopt}); }
void TSimulationController::OnRunEvent(const TRunEvent& event) { Post(TPosted{{}, event, std::nullopt}); }
void TSimulationController::OnSerialOutput(const std::string&, const std::string& consoleText) {
  Post(TPosted{consoleText, std::nullopt, std::nullopt});
}
void TSimulationController::OnStop(const TTesselStop& stop) { Post(TPosted{{}, EventOf(stop), stop}); }

void TSimulationController::Post(TPosted item) {
  bool post = false;
  {
    std::lock_guard lock(m_postMutex);
    // Output following output joins it: a tight print loop costs one item per batch.
    if (!item.event && !m_posted.empty() && !m_posted.back().event) m_posted.back().text += item.text;
    else m_posted.push_back(std::move(item));
    post = !m_drainPending;
    m_drainPending = true;
  }
  if (post) QMetaObject::invokeMethod(this, [this] { DrainPosted(); }, Qt::QueuedConnection);
}

void TSimulationController::DrainPosted() {
  std::deque<TPosted> items;
  {
    std::lock_guard lock(m_postMutex);
    items.swap(m_posted);
    m_drainPending = false;
  }
  for (TPosted& item : items) {
    if (!item.event) {
      m_console.Receive(item.text);
      continue;
    }
    if (!m_control.Active()) continue;  // a late report of a run already stopped
    m_tesselStop = std::move(item.stop);
    const TRunEvent& e = *item.event;
    const bool stop = e.kind == TRunEventKind::Paused || e.kind == TRunEventKind::RuntimeError;
    if (stop) {
      m_lastStopAddress = e.tokenAddress;
      m_pausedPage = 0;
      m_pausedLine = 0;
      m_pausedFile.clear();
      if (m_tesselStop && m_tesselStop->assemblerLine) {
        SetPausedAssemblerLine(*m_tesselStop->assemblerLine);
      } else if (m_tesselStop && m_tesselStop->statement) {
        SetPausedPlace(*m_tesselStop->statement);
      } else if (e.place) {
        m_pausedLine = static_cast<int>(e.place->line);
        m_pausedFile = e.place->file;
      }
    }
    const bool deferred = m_showOnPauseEvent;
    Execute(m_control.Event(e));
    if (stop && deferred && m_control.RunKind() == runkind::Paused) {
      m_showOnPauseEvent = false;
      ShowPaused();
    }
  }
}

// --- Commands ---

void TSimulationController::Command(TRunCommand command) {
  const TRunOutcome outcome = m_control.Command(command);
  Execute(outcome);
  if (m_tessel && outcome.accepted) {
    if (command == TRunCommand::Pause) m_tessel->Pause();
    else if (m_control.Running()) m_tessel->SetRunKind(m_control.RunKind());
  }
}

void TSimulationController::Execute(const TRunOutcome& outcome) {
  if (!outcome.accepted) {
    if (!outcome.message.empty()) ShowStatus(outcome.message);
    UpdateEnabling();
    return;
  }
  if (outcome.clearConsole) {
    m_console.ButtonClearClick();
    m_consoleWindow->Refresh();
  }
  if (outcome.editorsReadOnly) SetEditorsRunning(true);
  if (!outcome.message.empty() || outcome.showPausedState || outcome.editorsNormal) ShowStatus(outcome.message);
  if (outcome.startNeeded) {
    if (!Start()) {
      m_control.StartFailed();
      SetEditorsRunning(false);
      UpdateEnabling();
      // Editable again first: the error's line is selected in the editor.
      if ((m_plan.build.basicError || m_plan.build.assemblerError) && m_views.showBuildError)
        m_views.showBuildError(m_plan.build);
      return;
    }
    m_control.StartSucceeded();
    ShowStatus({});
  }
  if (outcome.runOneMoreTick) RunTime();
  if (outcome.machineRunMode && m_machine) m_machine->SetRunMode(*outcome.machineRunMode);
  if (outcome.startRunTimer) {
    m_runTime.setInterval(m_tessel ? TTesselLoop::kDefaultIntervalMs : kPyxonTickMs);
    m_runTime.start();
  }
  if (outcome.stopRunTimer) m_runTime.stop();
  if (outcome.showPausedState) {
    if (outcome.runOneMoreTick) {
      // The machine stops after its current token: the paused state is read once it
      // reports the stop, or shortly after when it was already waiting.
      m_showOnPauseEvent = true;
      QTimer::singleShot(200, this, [this] {
        if (m_showOnPauseEvent && m_control.RunKind() == runkind::Paused) {
          m_showOnPauseEvent = false;
          ShowPaused();
        }
      });
    } else {
      ShowPaused();
    }
  }
  if (outcome.terminateMachine || outcome.editorsNormal) Terminate();
  if (outcome.discardVariableView) {
    if (m_view) m_view->Discard();
    if (m_variablesShown) {
      m_variablesShown = false;
      Q_EMIT VariablesChanged();
    }
  }
  if (outcome.editorsNormal) SetEditorsRunning(false);
  if (outcome.refreshConsoleStatus || outcome.startNeeded) RefreshConsoleStatus();
  UpdateEnabling();
}

bool TSimulationController::Start() {
  TStartInput input = m_views.startInput();
  m_builder = std::make_unique<TBuilder>();
  m_plan = PrepareStart(*m_builder, input);
  if (m_views.startBuilt) m_views.startBuilt(m_plan.build, m_builder->Assembler().Symbols());
  if (!m_plan.ready) {
    ShowStatus(m_plan.message);
    return false;
  }
  for (auto& port : m_hw.inputPorts) port = 0;
  for (auto& port : m_hw.outputPorts) port = 0;
  for (auto& ad : m_hw.adInputs) ad = 0;
  for (auto& da : m_hw.daOutputs) da = 0;
  m_hw.interruptLine = 0;
  m_hw.serialInput.Clear();
  m_hw.serialOutput.Clear();
  m_showOnPauseEvent = false;
  m_pausedLine = 0;
  m_pausedFile.clear();
  m_rootFile = input.projectFileName;
  // Breakpoints set while it runs change this set.
  m_asmBreakLines = m_plan.tessel ? m_plan.tessel->assemblerBreakpointLines : std::set<int32_t>{};
  if (m_plan.pyxon) {
    m_lines = m_plan.pyxon->lineTable;
    TMachineConfig config = m_plan.pyxon->machine;
    config.ownThread = true;
    m_machine = CreatePyxonMachine(*m_plan.pyxon, config, m_hw, static_cast<TSimulatorListener&>(*this));
    // The locator runs on the machine's thread: it reads its own copies of the table and
    // of the module records.
    m_machine->SetStatementLocator([lines = m_lines, includes = m_plan.build.program.includes, root = m_rootFile](
                                       const TLinePosition& at) -> std::optional<TStatementPlace> {
      for (const TLineRecord& r : lines)
        if (r.sourcePosition == at.sourcePosition && r.origin == at.origin)
          return TStatementPlace{FileOf(includes, root, r.origin), r.sourceLine, 1};
      return std::nullopt;
    });
    m_access = std::make_unique<TInterpreterAccess>(*m_machine, m_plan.pyxon->codeLength, m_plan.pyxon->tableLength);
  } else {
    std::string why;
    m_runtime = TesselRuntimeFor(input.profile, &why);
    if (!m_runtime) {
      ShowStatus(why);
      return false;
    }
    const TTesselStart& t = *m_plan.tessel;
    m_lines = t.lineTable;
    TTesselProgram program;
    program.image = t.eepromImage;
    program.eepromSize = m_plan.build.program.eepromSize;
    program.lines = t.lineTable;
    program.machineCode = t.machineCode;
    program.codeStart = t.machineCodeStart;
    program.asmLineMap = t.assemblerLineMap;
    program.asmBreakpoints = t.assemblerBreakpoints;
    m_tessel = std::make_unique<TTesselLoop>(m_hw, static_cast<TTesselListener&>(*this));
    std::string message;
    if (!m_tessel->Start(m_runtime->image, program, &message)) {
      m_tessel.reset();
      ShowStatus(message);
      return false;
    }
    m_tessel->SetRuntimePoints(m_runtime->points);
    // The flags of the line table carry the breakpoints of every file of the run.
    for (const TLineRecord& r : m_lines)
      if (r.breakpoint) m_tessel->SetBasicBreakpoint(r.sourceLine, r.origin);
    m_pins = std::make_unique<TEnginePins>(m_tessel->Engine());
    m_access = std::make_unique<TTesselRamAccess>([this](uint16_t a) { return m_tessel->Engine().Peek(a); });
  }
  m_bindings = std::make_unique<TObjectBindings>(m_grid, m_plan.symbols, m_hw);
  m_view = std::make_unique<TVariableView>(m_plan.symbols);
  m_panel->SetSymbols(&m_plan.symbols);
  return true;
}

void TSimulationController::Terminate() {
  m_runTime.stop();
  m_machine.reset();  // asks the thread to end and waits for it
  m_tessel.reset();
  m_pins.reset();
  m_access.reset();
  m_bindings.reset();
  m_tesselStop.reset();
  m_showOnPauseEvent = false;
  m_pausedLine = 0;
  m_pausedFile.clear();
  m_panel->SetSymbols(&m_buildSymbols);
  // The dropped machine's last reports (its thread's end among them) must not reach the
  // run control, which may already be starting the next run: its output stays.
  std::lock_guard lock(m_postMutex);
  std::erase_if(m_posted, [](const TPosted& item) { return item.event.has_value(); });
}

void TSimulationController::StopIfActive() {
  if (m_control.Active()) Command(TRunCommand::Stop);
}

void TSimulationController::LoadObjects(const TProject& project) {
  StopIfActive();
  m_grid.Load(project);
  UpdatePanel();
}

void TSimulationController::UpdatePanel() { m_panel->Refresh(); }

// --- The timer tick ---

void TSimulationController::RunTime() {
  QElapsedTimer clock;
  clock.start();
  ++m_ticks;
  if (!m_bindings) return;
  TPassResult in, out;
  if (m_tessel) {
    in = m_bindings->TesselInputPass(*m_pins);
    if (!in.error && m_control.Running()) {
      const TTesselTickResult r = m_tessel->Tick(TTesselLoop::kDefaultIntervalMs);
      if (r.end == TTesselTickEnd::Ended && !m_control.Ended()) {
        TRunEvent ended;
        ended.kind = TRunEventKind::Ended;
        Post(TPosted{{}, ended, std::nullopt});
      }
    } else if (!m_control.Running()) {
      m_runTime.stop();  // the tick after a pause shows the paused state and rests
    }
    if (!in.error) out = m_bindings->TesselOutputPass(*m_pins, m_access.get());
  } else {
    in = m_bindings->InputPass(m_access.get());
    if (!in.error) out = m_bindings->OutputPass(m_access.get());
  }
  if (in.repaint || out.repaint) {
    m_panel->GridWidget()->update();
    // A selected variable display shows the value in its settings too.
    if (m_grid.Selected().type == objecttype::VariableNumerical) m_panel->Refresh();
  }
  // The program may change its line's rates at any time.
  m_console.SetSimulation(m_control.RunKind(), m_machine != nullptr, SimulatedRates(), &m_consoleInput);
  m_console.Refresh();
  m_consoleWindow->Refresh();
  if (in.error || out.error) ObjectError(in.error ? in : out);
  m_longestTick = std::max(m_longestTick, clock.nsecsElapsed() / 1000);
}

void TSimulationController::ObjectError(const TPassResult& result) {
  m_grid.Select(result.error->x, result.error->y);
  m_panel->Refresh();
  std::string message = ObjectErrorMessage(*result.error);
  // On the Tessel boards an object error is one of the controller's error states.
  if (m_tessel) message += "\r\n" + m_tessel->RegisterLine(false);
  const TRunOutcome outcome = m_control.ObjectError(message);
  if (m_tessel && m_control.RunKind() == runkind::Paused) m_tessel->SetRunKind(runkind::Paused);
  Execute(outcome);
}

// --- Paused ---

void TSimulationController::ShowPaused() {
  ++m_pauses;
  m_console.Refresh();
  m_consoleWindow->Refresh();
  if (m_machine) {
    const TDebugState state = m_machine->GetDebugState();
    if (m_pausedLine == 0) {
      const TLineRecord* found = nullptr;
      for (const TLineRecord& r : m_lines)
        if (r.tokenOffset == state.line.tokenOffset && r.sourcePosition == state.line.sourcePosition) {
          found = &r;
          break;
        }
      SetPausedPlace(found ? *found : state.line);
    }
    if (m_view && m_access) m_view->Rebuild(state, *m_access, &m_hw);
  } else if (m_tessel && m_view && m_access) {
    if (m_pausedLine == 0 && !m_tesselStop) {
      if (const auto s = m_tessel->StatementOf(m_tessel->LastTokenAddress())) SetPausedPlace(*s);
    }
    // The Tessel boards keep no local variables: the globals, read from the emulated RAM.
    m_view->RebuildGlobals(*m_access, &m_hw);
  }
  m_variablesShown = m_view != nullptr;
  Q_EMIT VariablesChanged();
  if (m_pausedLine > 0) SelectLine(m_pausedFile, m_pausedPage, m_pausedLine);
  m_panel->Refresh();
}

void TSimulationController::SetPausedPlace(const TLineRecord& statement) {
  m_pausedPage = 0;
  m_pausedLine = static_cast<int>(statement.sourceLine);
  m_pausedFile = FileOfOrigin(statement.origin);
}

void TSimulationController::SetPausedAssemblerLine(int32_t mergedLine) {
  const TAsmLineOrigin origin = LocateAssemblerLine(m_plan.build.program.includes, mergedLine);
  m_pausedPage = 1;
  m_pausedLine = origin.line + 1;
  m_pausedFile = FileOfOrigin(origin.moduleIndex < 0 ? kMainSourceOrigin : static_cast<uint32_t>(origin.moduleIndex));
}

std::string TSimulationController::FileOfOrigin(uint32_t origin) const {
  return FileOf(m_plan.build.program.includes, m_rootFile, origin);
}

std::optional<uint32_t> TSimulationController::OriginOfCurrentFile() const {
  const std::string file = m_views.currentFile ? m_views.currentFile() : m_rootFile;
  const std::vector<TIncludeRecord>& includes = m_plan.build.program.includes;
  for (size_t k = 0; k < includes.size(); ++k)
    if (workspace::SamePath(includes[k].fileName, file)) return static_cast<uint32_t>(k);
  // An untitled project has no file name to compare: the editors show it.
  if (m_rootFile.empty() || workspace::SamePath(m_rootFile, file)) return kMainSourceOrigin;
  return std::nullopt;
}

void TSimulationController::SelectLine(const std::string& file, int page, int line) {
  ui::TSourceEditor* e = page == 1 ? m_views.assembler : m_views.basic;
  // A statement of another file of the run: that file's tab first. A file that cannot
  // be shown leaves the editors as they are rather than marking a wrong line.
  if (!file.empty() && m_views.bringToFront && !m_views.bringToFront(file)) return;
  if (m_views.showEditor) m_views.showEditor(page);
  const int index = line - 1;
  if (index < 0 || index >= e->lines()) return;
  e->setSelection(index, 0, index, e->text(index).length() - (e->text(index).endsWith(QLatin1Char('\n')) ? 1 : 0));
  e->ensureLineVisible(index);
  e->setFocus();  // the stop hands the keyboard back to the editor
}

bool TSimulationController::FindAddress(uint32_t address) {
  if (m_tessel) {
    const auto statement = m_tessel->StatementOf(static_cast<uint16_t>(std::min<uint32_t>(address, 0xFFFF)));
    if (!statement) return false;
    SelectLine(FileOfOrigin(statement->origin), 0, static_cast<int>(statement->sourceLine));
    return true;
  }
  // Token addresses count from the program memory's start, four bytes before the image's
  // first token; the statement holding the address is the last one starting at or before it.
  const TLineRecord* found = nullptr;
  for (const TLineRecord& r : m_lines)
    if (uint64_t{r.tokenOffset} + 4 <= address && (!found || r.tokenOffset > found->tokenOffset)) found = &r;
  if (!found) return false;
  SelectLine(FileOfOrigin(found->origin), 0, static_cast<int>(found->sourceLine));
  return true;
}

// --- Breakpoints, the mouse ---

void TSimulationController::BreakpointsChanged() {
  m_control.SetHasBreakpoints(m_views.anyBreakpoints ? m_views.anyBreakpoints()
                                                     : !m_views.basic->Breakpoints().empty() ||
                                                           !m_views.assembler->Breakpoints().empty());
  UpdateEnabling();
}

void TSimulationController::BreakpointToggled(int line, bool added, bool assembler) {
  // The editors may show a file this run does not contain: its lines mean nothing here.
  const std::optional<uint32_t> origin = m_machine || m_tessel ? OriginOfCurrentFile() : std::nullopt;
  const uint32_t at = static_cast<uint32_t>(line);
  if (origin && assembler && m_tessel) {
    const int32_t module = *origin == kMainSourceOrigin ? -1 : static_cast<int32_t>(*origin);
    if (const auto merged = AssembledLine(m_plan.build.program.includes, {module, line - 1})) {
      if (added) m_asmBreakLines.insert(*merged);
      else m_asmBreakLines.erase(*merged);
      ApplyAssemblerBreakpoints();
    }
  } else if (origin && !assembler) {
    if (m_machine) {
      if (added) m_machine->SetBreakpoint(at, *origin);
      else m_machine->ClearBreakpoint(at, *origin);
    }
    if (m_tessel) {
      if (added) m_tessel->SetBasicBreakpoint(at, *origin);
      else m_tessel->ClearBasicBreakpoint(at, *origin);
    }
  }
  BreakpointsChanged();
}

void TSimulationController::ApplyAssemblerBreakpoints() {
  if (m_tessel && m_plan.tessel)
    m_tessel->SetAssemblerBreakpoints(AssemblerBreakpointPositions(m_plan.tessel->assemblerLineMap, m_asmBreakLines));
}

void TSimulationController::SelectObject(int x, int y) {
  if (x < 0 || y < 0 || x >= kGridColumns || y >= kGridRows) return;
  m_grid.Select(x, y);
  m_panel->show();
  m_panel->Refresh();
}

void TSimulationController::SetBuildSymbols(TProgramSymbols symbols) {
  m_buildSymbols = std::move(symbols);
  if (!m_control.Active()) {
    m_panel->SetSymbols(&m_buildSymbols);
    m_panel->Refresh();
  }
}

void TSimulationController::CellPressed(int x, int y, bool right, int dx, int dy) {
  if (right || !m_control.Active()) m_grid.Select(x, y);
  // Switches and buttons press and wheels turn also outside a run; only a run's hardware
  // sees the interrupt line.
  TSimulatedHardware* hw = m_control.Active() ? &m_hw : nullptr;
  m_grid.MouseDown(x, y, right ? TMouseButton::Right : TMouseButton::Left, dx, dy, hw);
  m_panel->Refresh();
}

void TSimulationController::CellReleased(int x, int y) {
  m_grid.MouseUp(x, y, m_control.Active() ? &m_hw : nullptr);
  m_panel->GridWidget()->update();
}

// --- Views ---

void TSimulationController::SetEditorsRunning(bool running) {
  const bool fileReadOnly = m_views.fileReadOnly && m_views.fileReadOnly();
  for (ui::TSourceEditor* e : {m_views.basic, m_views.assembler}) {
    e->setReadOnly(running || fileReadOnly);
    if (running) {
      e->Lexer()->setPaper(ui::ColourFromSettings(m_settings.runBackground), -1);
      e->Lexer()->setColor(ui::ColourFromSettings(m_settings.runColor), -1);
    } else {
      e->ApplySettings(m_settings);
      e->setSelection(-1, -1, -1, -1);
    }
  }
}

void TSimulationController::ShowStatus(const std::string& text) {
  if (!m_views.errorDisplay) return;
  m_views.errorDisplay->Display().Set(workspace::TSlot::Status, text);
  m_views.errorDisplay->Refresh();
}

// The simulated serial line's rates: the emulated SCI's baud register, or the rate the
// token machine's program set.
TSerialRates TSimulationController::SimulatedRates() const {
  if (m_tessel) return SerialRatesFromBaudRegister(m_tessel->Engine().Peek(0x0D), kTesselDefaultClockKHz);
  return {m_hw.transmitBaud.load(), m_hw.receiveBaud.load()};
}

void TSimulationController::RefreshConsoleStatus() {
  m_console.SetSimulation(m_control.RunKind(), m_machine != nullptr, SimulatedRates(),
                          m_control.Active() ? &m_consoleInput : nullptr);
  m_consoleWindow->Refresh();
}

void TSimulationController::UpdateEnabling() {
  const TRunEnabling& en = m_control.Enabling();
  for (size_t i = 0; i < kRunCommandCount; ++i)
    if (m_actions[i]) m_actions[i]->setEnabled(en.command[i]);
  m_grid.SetEditingAllowed(en.insertButtons);
  UpdatePanel();
  Q_EMIT StateChanged();
}

}  // namespace zarvek::ide
