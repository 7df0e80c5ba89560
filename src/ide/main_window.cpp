#include "ide/main_window.h"

#include "ide/link_controller.h"
#include "ide/console_window.h"
#include "ide/object_panel.h"
#include "ide/setup_dialog.h"
#include "ide/splash.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QCloseEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenuBar>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QShortcut>
#include <QStandardPaths>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QHeaderView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <filesystem>

#include "project/file_io.h"
#include "project/legacy_import.h"
#include "project/open_file.h"
#include "project/project_export.h"
#include "project/project_file.h"
#include "link/port_choice.h"
#include "text/lines.h"
#include "ui/error_strip.h"
#include "ui/help_list.h"
#include "ui/qt_serial_port.h"
#include "ui/qt_text.h"
#include "ui/search_panel.h"
#include "ui/source_editor.h"
#include "ui/source_printer.h"
#include "ui/tree_icons.h"
#include "workspace/asm_normalise.h"
#include "workspace/build_report.h"
#include "workspace/case_correction.h"
#include "workspace/editing_aids.h"
#include "workspace/import_text.h"
#include "workspace/paths.h"
#include "workspace/save_flow.h"
#include "workspace/startup.h"

namespace zarvek::ide {

using workspace::TAnswer;
using workspace::TCommandId;
using workspace::TMessage;
using workspace::TMessageId;

namespace {
// A tree item keeps its node's path for the folding the user chose.
constexpr int kFoldingPathRole = Qt::UserRole + 1;
// The commands this window carries out; the others stay disabled until their windows exist.
bool Wired(TCommandId id) {
  switch (id) {
    case TCommandId::New: case TCommandId::Open: case TCommandId::Save: case TCommandId::SaveAs:
    case TCommandId::Recent1: case TCommandId::Recent2: case TCommandId::Recent3: case TCommandId::Recent4:
    case TCommandId::Exit: case TCommandId::Undo: case TCommandId::Redo: case TCommandId::Cut: case TCommandId::Copy:
    case TCommandId::Paste: case TCommandId::Delete: case TCommandId::SelectAll: case TCommandId::Compile:
    case TCommandId::ModuleAdd: case TCommandId::ModuleNew: case TCommandId::ModuleHome: case TCommandId::ModuleBack:
    case TCommandId::ModuleLink: case TCommandId::ProfileMicro: case TCommandId::ProfileTessel11:
    case TCommandId::ProfilePyxon32: case TCommandId::ProfilePyxon128: case TCommandId::HelpContents:
    case TCommandId::Find: case TCommandId::FindNext: case TCommandId::Replace:
    case TCommandId::Import: case TCommandId::Export: case TCommandId::ProgHelp: case TCommandId::Settings:
    case TCommandId::Comment: case TCommandId::Uncomment: case TCommandId::AlignLines: case TCommandId::IndentLeft:
    case TCommandId::IndentRight: case TCommandId::HelpTerms: case TCommandId::HelpInfo: case TCommandId::Print:
    case TCommandId::Transfer: case TCommandId::Bootloader:
    case TCommandId::FindAddress: case TCommandId::Console:
      return true;
    default:
      return false;
  }
}
// The run control's command behind a run item of the menu and toolbar.
std::optional<TRunCommand> RunCommandOf(TCommandId id) {
  switch (id) {
    case TCommandId::Run: return TRunCommand::Run;
    case TCommandId::RunNext: return TRunCommand::SingleStep;
    case TCommandId::RunNextBlock: return TRunCommand::StepOver;
    case TCommandId::RunNextBreak: return TRunCommand::RunToBreakpoint;
    case TCommandId::Pause: return TRunCommand::Pause;
    case TCommandId::Stop: return TRunCommand::Stop;
    default: return std::nullopt;
  }
}
}  // namespace

TForm1::TForm1(std::string settingsPath, QWidget* parent) : QMainWindow(parent), m_settingsPath(std::move(settingsPath)) {
  setWindowTitle(QStringLiteral("Zarvek"));
  m_basic = new ui::TSourceEditor(ui::TSourceLexer::Kind::Basic);
  m_assembler = new ui::TSourceEditor(ui::TSourceLexer::Kind::Assembler);
  m_editorControl = new QTabWidget;
  m_editorControl->addTab(m_basic, QStringLiteral("BASIC"));
  m_editorControl->addTab(m_assembler, QStringLiteral("Assembler"));
  m_tabFiles = new QTabBar;
  m_tabFiles->setObjectName(QStringLiteral("TabFiles"));
  m_errorDisplay = new ui::TErrorStrip;
  m_searchPanel = new ui::TSearchPanel;
  m_helpList = new ui::THelpList(m_basic);
  connect(m_helpList, &ui::THelpList::Chosen, this, [this](const workspace::THelpEntry& e) { HelpEntryChosen(e); });
  m_tree = new QTreeWidget;
  m_tree->setHeaderHidden(true);
  // Captions carry sizes and variable values: a narrow panel scrolls instead of cutting
  // them to "...".
  m_tree->setTextElideMode(Qt::ElideNone);
  m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_tree->header()->setStretchLastSection(false);

  auto* right = new QWidget;
  auto* layout = new QVBoxLayout(right);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_tabFiles);
  layout->addWidget(m_editorControl, 1);
  layout->addWidget(m_searchPanel);
  layout->addWidget(m_errorDisplay);
  TSimulationViews views;
  views.basic = m_basic;
  views.assembler = m_assembler;
  views.errorDisplay = m_errorDisplay;
  views.showEditor = [this](int page) { m_editorControl->setCurrentIndex(page); };
  views.startInput = [this] {
    TStartInput in;
    in.basicSource = m_basic->Cp1252Text();
    in.assemblerSource = m_assembler->Cp1252Text();
    in.profile = m_project.profile;
    in.projectFileName = m_untitled ? std::string() : m_currentFile;
    in.modules = &m_loader;
    in.warnings = (m_settings.options & option::Warnings) != 0;
    in.memoryDump = !m_memo->isHidden();
    in.basicBreakpoints.assign(m_basic->Breakpoints().begin(), m_basic->Breakpoints().end());
    in.assemblerBreakpoints.assign(m_assembler->Breakpoints().begin(), m_assembler->Breakpoints().end());
    in.moduleBasicBreakpoints = [this](const std::string& file) { return TabBreakpoints(file, false); };
    in.moduleAssemblerBreakpoints = [this](const std::string& file) { return TabBreakpoints(file, true); };
    return in;
  };
  views.startBuilt = [this](const TBuildResult& build, const std::vector<hc05::TAsmSymbol>& assemblerSymbols) {
    if (!build.memoryDump.empty()) ShowMemoryDump(build.memoryDump);
    // The tree shows the sizes and labels of what runs; a failed start keeps the last ones.
    if (!build.success) return;
    workspace::TakeBuildIntoTree(build, assemblerSymbols, m_treeContent);
    RefreshTree();
  };
  views.showBuildError = [this](const TBuildResult& build) {
    m_lastBuild = build;  // a click on the strip jumps to this error
    workspace::ShowBuildResult(m_lastBuild, m_project.profile, m_settings.options, workspace::TBuildSender::Command,
                               m_errorDisplay->Display());
    m_errorDisplay->Refresh();
    ShowBuildError();
  };
  views.currentFile = [this] { return m_currentFile; };
  views.fileReadOnly = [this] { return m_fileReadOnly; };
  views.bringToFront = [this](const std::string& file) {
    if (workspace::SamePath(file, m_currentFile)) return true;
    // An untitled project cannot be left for a module without a save dialog in mid-run.
    if (m_untitled) return false;
    const bool shown = m_navigator.Jump(file);
    RebuildTabBar();
    return shown;
  };
  views.anyBreakpoints = [this] {
    return !m_basic->Breakpoints().empty() || !m_assembler->Breakpoints().empty() ||
           m_tabBreakpoints.AnyBesides(m_currentFile);
  };
  m_simulation = new TSimulationController(std::move(views), this);
  connect(m_simulation, &TSimulationController::StateChanged, this, [this] { UpdateCommandStates(); });
  connect(m_simulation, &TSimulationController::VariablesChanged, this, [this] {
    const std::vector<TVariableNode>* variables = m_simulation->Variables();
    m_treeContent.variables = variables ? std::optional<std::vector<TVariableNode>>(*variables) : std::nullopt;
    RefreshTree();
    // The variables of a pause come into view, below the objects.
    const QList<QTreeWidgetItem*> found =
        m_tree->findItems(QString::fromUtf8(workspace::kVariablesNode), Qt::MatchExactly | Qt::MatchRecursive);
    if (!found.isEmpty()) m_tree->scrollToItem(found.front(), QAbstractItemView::PositionAtTop);
  });
  for (ui::TSourceEditor* e : {m_basic, m_assembler})
    connect(e, &ui::TSourceEditor::BreakpointToggled, this, [this, e](int line, bool added) {
      m_simulation->BreakpointToggled(line, added, e == m_assembler);
    });
  // The bottom panel holds the simulation objects and, with "-DEBUG", the token view.
  m_memo = new QPlainTextEdit;
  m_memo->setObjectName(QStringLiteral("Memo1"));
  m_memo->setReadOnly(true);
  m_memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  m_memo->hide();
  auto* bottom = new QSplitter(Qt::Horizontal);
  bottom->addWidget(m_simulation->Objects());
  bottom->addWidget(m_memo);
  bottom->setStretchFactor(0, 1);
  bottom->setStretchFactor(1, 1);
  m_bottomPanel = bottom;
  m_bottomPanel->setObjectName(QStringLiteral("BottomPanel"));
  m_editorSplitter = new QSplitter(Qt::Vertical);
  m_editorSplitter->addWidget(right);
  m_editorSplitter->addWidget(m_bottomPanel);
  // Growing the window grows the editors; the panels keep the sizes the user gave them.
  m_editorSplitter->setStretchFactor(0, 1);
  m_editorSplitter->setStretchFactor(1, 0);
  m_editorSplitter->setCollapsible(0, false);
  m_splitter = new QSplitter;
  m_splitter->addWidget(m_tree);
  m_splitter->addWidget(m_editorSplitter);
  m_splitter->setStretchFactor(0, 0);
  m_splitter->setStretchFactor(1, 1);
  m_splitter->setCollapsible(1, false);
  setCentralWidget(m_splitter);
  m_splash = new TSplash(this);
  statusBar();
  m_linkControl = std::make_unique<TLinkController>(this, ui::QtPortFactory(), m_clock, m_simulation->ConsoleModel());
  m_linkControl->inform = [this](const TMessage& m) { Inform(m); };
  m_linkControl->ask = [this](const TMessage& m) { return askHook ? std::optional<TAnswer>(askHook(m)) : std::nullopt; };
  m_linkControl->profile = [this] { return m_project.profile; };
  // An empty text: a transfer starts, with the status texts and the error display cleared.
  m_linkControl->setStatusLine = [this](const std::string& text) {
    if (text.empty()) m_errorDisplay->Display().ClearAll();
    else m_errorDisplay->Display().Set(workspace::TSlot::Status, text);
    m_errorDisplay->Refresh();
  };
  m_linkControl->commandStatesChanged = [this] { UpdateCommandStates(); };
  m_linkControl->AttachConsole(*m_simulation->Console());

  BuildMenus();
  std::array<QAction*, kRunCommandCount> runActions{};
  for (auto& [id, action] : m_actions)
    if (const auto command = RunCommandOf(id)) runActions[static_cast<size_t>(*command)] = action;
  m_simulation->SetActions(runActions);
  addToolBarBreak();
  QToolBar* objects = addToolBar(QStringLiteral("Objekte"));
  for (uint16_t type = 1; type <= 8; ++type) objects->addAction(m_simulation->Objects()->InsertButton(type));
  connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) { TreeClick(item); });
  // What the user folds stays folded when the tree is built anew.
  for (const bool folded : {true, false})
    connect(m_tree, folded ? &QTreeWidget::itemCollapsed : &QTreeWidget::itemExpanded, this,
            [this, folded](QTreeWidgetItem* item) {
              if (!m_rebuildingTree)
                m_treeFolding.SetFolded(item->data(0, kFoldingPathRole).toByteArray().toStdString(), folded);
            });
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { TreePopup(at); });
  // The objects' nodes follow the grid's edits.
  connect(m_simulation->Objects(), &TObjectPanel::Changed, this, [this] { RefreshTree(); });
  connect(m_errorDisplay, &ui::TErrorStrip::SlotClicked, this,
          [this](workspace::TSlot slot) { ErrorSlotClicked(static_cast<int>(slot)); });
  connect(m_tabFiles, &QTabBar::currentChanged, this, [this](int index) {
    if (m_switchingTabs || index == m_navigator.ActiveTab()) return;
    if (!m_navigator.SelectTab(index)) {
      m_switchingTabs = true;
      m_tabFiles->setCurrentIndex(m_navigator.ActiveTab());
      m_switchingTabs = false;
    }
    RebuildTabBar();
    UpdateCommandStates();
  });
  connect(m_basic, &QsciScintilla::SCN_CHARADDED, this, [this](int c) { BasicCharAdded(c); });
  for (ui::TSourceEditor* e : {m_basic, m_assembler})
    connect(e, &ui::TSourceEditor::FilesDropped, this, [this](const QStringList& files) {
      if (!QuerySaveChanges()) OpenFile(ui::ToUtf8(files.front()));
    });
  connect(m_assembler, &QsciScintilla::SCN_CHARADDED, this, [this](int) {
    if (m_settings.options & option::AsmCodePropose) MProgHelpClick(true);
  });
  for (ui::TSourceEditor* e : {m_basic, m_assembler}) {
    connect(e, &QsciScintilla::modificationChanged, this, [this](bool) { UpdateCommandStates(); });
    connect(e, &QsciScintilla::textChanged, this, [this] { TextChanged(); });
  }
  connect(m_assembler, &QsciScintilla::cursorPositionChanged, this, [this](int line, int) { AssemblerCaretMoved(line); });
  m_syntaxTimer.setSingleShot(true);
  m_syntaxTimer.setInterval(700);
  connect(&m_syntaxTimer, &QTimer::timeout, this, [this] { StartSyntaxCheck(); });
  m_syntaxPool.setMaxThreadCount(1);

  m_helpSearch.programFolder = ui::ToUtf8(QCoreApplication::applicationDirPath());
  for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    m_helpSearch.dataFolders.push_back(ui::ToUtf8(folder));
  m_helpSearch.fileExists = [](const std::string& f) { return zarvek::FileExists(f); };
  m_helpSearch.findProgram = [](const std::string& program) {
    return ui::ToUtf8(QStandardPaths::findExecutable(ui::FromUtf8(program)));
  };
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { ContextHelp(); });
  m_setup = new TSetup(m_settings, [this] { ApplySettings(); }, this);
  ApplySettings();
  ApplyPanelSizes();
  MneuClick();
}

void TForm1::ApplySettings() {
  m_basic->ApplySettings(m_settings);
  m_assembler->ApplySettings(m_settings);
  m_errorDisplay->SetFill(ui::ColourFromSettings(m_settings.gutterColor));
  // The link opens on the chosen port, else on the first the system offers.
  if (!m_linkControl->Link().Connected()) {
    std::string port = m_settings.com;
    if (port.empty()) {
      const std::vector<std::string> ports = link::SystemPortList();
      if (!ports.empty()) port = ports.front();
    }
    m_linkControl->ChoosePort(port, m_settings.baud.empty() ? "9600" : m_settings.baud);
  }
  if (m_simulation) m_simulation->ApplySettings(m_settings);
}

TForm1::~TForm1() {
  m_linkControl.reset();
  // A check still running posts its result to this window; it must end first.
  ++m_syntaxGeneration;
  m_syntaxPool.waitForDone();
}

QAction* TForm1::Action(TCommandId id) const {
  const auto it = m_actions.find(id);
  return it == m_actions.end() ? nullptr : it->second;
}

void TForm1::BuildMenus() {
  std::map<workspace::TMenu, QMenu*> menus;
  for (const workspace::TMenuInfo& m : workspace::Menus()) {
    if (m.menu == workspace::TMenu::Profile) continue;
    menus[m.menu] = menuBar()->addMenu(ui::FromUtf8(m.text));
  }
  for (const workspace::TMenuInfo& m : workspace::Menus())
    if (m.menu == workspace::TMenu::Profile) menus[m.menu] = menus[workspace::TMenu::Project]->addMenu(ui::FromUtf8(m.text));
  QToolBar* files = addToolBar(QStringLiteral("Datei"));
  QToolBar* modules = addToolBar(QStringLiteral("Module"));
  for (const workspace::TCommand& c : workspace::Commands()) {
    auto* action = new QAction(ui::FromUtf8(c.text.empty() ? c.hint : c.text), this);
    action->setObjectName(ui::FromUtf8(c.name));
    QList<QKeySequence> keys;
    if (!c.shortcut.empty()) keys << QKeySequence(ui::FromUtf8(c.shortcut));
    if (!c.alternateShortcut.empty()) keys << QKeySequence(ui::FromUtf8(c.alternateShortcut));
    action->setShortcuts(keys);
    action->setCheckable(c.checkable);
    if (!c.hint.empty()) action->setToolTip(ui::FromUtf8(c.hint));
    const TCommandId id = c.id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    m_actions[id] = action;
    if (!c.text.empty()) {
      QMenu* menu = menus[c.menu];
      if (c.separatorBefore) menu->addSeparator();
      menu->addAction(action);
    }
    if (!c.hint.empty()) {
      const bool moduleButton = id == TCommandId::ModuleHome || id == TCommandId::ModuleBack ||
                                id == TCommandId::ModuleAdd || id == TCommandId::ModuleNew || id == TCommandId::ModuleLink;
      (moduleButton ? modules : files)->addAction(action);
    }
  }
  connect(menus[workspace::TMenu::File], &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
}

void TForm1::UpdateCommandStates() {
  workspace::TCommandState state;
  state.historyEmpty = !m_navigator.BackEnabled();
  ui::TSourceEditor* editor = m_editorControl->currentIndex() == 1 ? m_assembler : m_basic;
  state.editorReadOnly = editor->isReadOnly();
  state.hasSelection = editor->hasSelectedText();
  state.canUndo = editor->isUndoAvailable();
  state.canRedo = editor->isRedoAvailable();
  for (size_t i = 0; i < workspace::kRecentFileCount; ++i) state.recentEntry[i] = !m_recent.Entries()[i].empty();
  const TCommandId recent[] = {TCommandId::Recent1, TCommandId::Recent2, TCommandId::Recent3, TCommandId::Recent4};
  for (size_t i = 0; i < 4; ++i) m_actions[recent[i]]->setText(ui::FromUtf8(m_recent.Caption(i)));
  const bool transferring = m_linkControl->TransferRunning();
  state.fileToolbarEnabled = !m_simulation->Control().Active() && !transferring;
  m_simulation->SetProfile(m_project.profile);
  const TRunEnabling& running = m_simulation->Control().Enabling();
  for (auto& [id, action] : m_actions) {
    if (const auto command = RunCommandOf(id)) {
      // A transfer leaves only its stop command.
      action->setEnabled(!transferring && running.Enabled(*command));
      continue;
    }
    action->setEnabled(Wired(id) && workspace::CommandEnabled(id, state));
    action->setVisible(workspace::CommandVisible(id, state));
    const std::optional<TProfile> profile = workspace::ProfileOfCommand(id);
    if (profile) action->setChecked(*profile == m_project.profile);
    if (id == TCommandId::Console) action->setChecked(m_simulation->Console()->isVisible());
  }
  // The link decides about its own commands: one transfer or update at a time.
  m_actions[TCommandId::Transfer]->setEnabled(state.fileToolbarEnabled && m_linkControl->TransferEnabled());
  m_actions[TCommandId::Bootloader]->setEnabled(state.fileToolbarEnabled && m_linkControl->BootloaderEnabled());
  if (m_linkControl->StopEnabled()) m_actions[TCommandId::Stop]->setEnabled(true);
  const bool connected = m_linkControl->Link().Connected();
  QAction* console = m_actions[TCommandId::Console];
  if (console->property("connected").toInt() != (connected ? 2 : 1)) {
    console->setIcon(TLinkController::ConsoleButtonPicture(connected));
    console->setProperty("connected", connected ? 2 : 1);
  }
}

void TForm1::Run(TCommandId id) {
  ui::TSourceEditor* editor = m_editorControl->currentIndex() == 1 ? m_assembler : m_basic;
  if (id == TCommandId::Stop && m_linkControl->TransferRunning()) {
    m_linkControl->ButtonStopClick();
    UpdateCommandStates();
    return;
  }
  switch (id) {
    case TCommandId::New: MneuClick(); break;
    case TCommandId::Open: MOpenClick(); break;
    case TCommandId::Save: MSpeichernClick(false); break;
    case TCommandId::SaveAs: MSpeichernClick(true); break;
    case TCommandId::Recent1: case TCommandId::Recent2: case TCommandId::Recent3: case TCommandId::Recent4: {
      const size_t index = static_cast<size_t>(id) - static_cast<size_t>(TCommandId::Recent1);
      const std::string file = m_recent.Entries()[index];
      if (!file.empty() && !QuerySaveChanges()) OpenFile(file);
      break;
    }
    case TCommandId::Exit: close(); break;
    case TCommandId::Undo: editor->undo(); break;
    case TCommandId::Redo: editor->redo(); break;
    case TCommandId::Cut: editor->cut(); break;
    case TCommandId::Copy: editor->copy(); break;
    case TCommandId::Paste: editor->paste(); break;
    case TCommandId::Delete: editor->removeSelectedText(); break;
    case TCommandId::SelectAll: editor->selectAll(); break;
    case TCommandId::Compile: ButtonTestClick(false); break;
    case TCommandId::Import: MImportClick(); break;
    case TCommandId::Export: MExportClick(); break;
    case TCommandId::ProgHelp: MProgHelpClick(false); break;
    case TCommandId::Comment:
      EditLines([](auto& lines, bool a) { workspace::CommentLines(lines, a ? workspace::kAssemblerComment : workspace::kBasicComment); });
      break;
    case TCommandId::Uncomment:
      EditLines([](auto& lines, bool a) { workspace::UncommentLines(lines, a ? workspace::kAssemblerComment : workspace::kBasicComment); });
      break;
    case TCommandId::IndentLeft: EditLines([](auto& lines, bool) { workspace::IndentLeft(lines); }); break;
    case TCommandId::IndentRight: EditLines([](auto& lines, bool) { workspace::IndentRight(lines); }); break;
    case TCommandId::AlignLines: EditLines([](auto& lines, bool) { workspace::AlignLines(lines); }); break;
    case TCommandId::Settings:
      m_setup->FormShow();
      m_setup->exec();
      break;
    case TCommandId::Find: m_searchPanel->Open(editor, false); break;
    case TCommandId::Replace: m_searchPanel->Open(editor, true); break;
    case TCommandId::FindNext:
      if (m_searchPanel->isHidden()) m_searchPanel->Open(editor, false);
      else m_searchPanel->FindNext();
      break;
    case TCommandId::ModuleAdd:
      if (const auto file = Dialog(TFileDialog::AddModule, "", "")) m_navigator.AddModule(*file);
      break;
    case TCommandId::ModuleNew: m_navigator.NewModule(); break;
    case TCommandId::ModuleHome: m_navigator.Home(); break;
    case TCommandId::ModuleBack: m_navigator.Back(); break;
    case TCommandId::ModuleLink: m_navigator.ModuleLink(); break;
    case TCommandId::HelpContents: OpenHelp(""); break;
    case TCommandId::HelpTerms: OpenHelp("7"); break;
    case TCommandId::HelpInfo: m_splash->ShowFor(); break;
    case TCommandId::Print: Drucken1Click(); break;
    case TCommandId::Transfer: ButtonRecordClick(); break;
    case TCommandId::Bootloader: m_linkControl->ButtonBootloaderClick(); break;
    case TCommandId::FindAddress: FindAddressClick(); break;
    case TCommandId::Console: {
      ide::TConsoleWindow* console = m_simulation->Console();
      console->setVisible(console->isHidden());
      console->Refresh();
      break;
    }
    default:
      if (const auto command = RunCommandOf(id)) {
        m_simulation->Command(*command);
        break;
      }
      if (const std::optional<TProfile> profile = workspace::ProfileOfCommand(id))
        PopUpProfileClick(*profile, false);
      break;
  }
  RebuildTabBar();
  UpdateCommandStates();
}

bool TForm1::Modified() const {
  return m_basic->isModified() || m_assembler->isModified() ||
         (m_simulation->ObjectsModified() && ObjectsBelongToCurrentFile());
}

bool TForm1::ObjectsBelongToCurrentFile() const {
  return m_objectsFile.empty() || workspace::SamePath(m_objectsFile, m_currentFile);
}

// Objects edited while a run showed a module belong to the started project, which the
// editors no longer show: they go into its file before the grid takes other objects.
void TForm1::SaveObjectsToTheirFile() {
  if (ObjectsBelongToCurrentFile() || !m_simulation->ObjectsModified()) return;
  TProject owner;
  if (zarvek::OpenFile(m_objectsFile, owner).result != loadresult::Loaded) return;
  m_simulation->SaveObjects(owner);
  const TSaveOutcome outcome = SaveProject(m_objectsFile, owner, [this](const std::string& text, const std::string& caption) {
    return Ask({text, caption, workspace::TButtons::OkCancel}) == TAnswer::Ok;
  });
  if (outcome.saved) m_simulation->Grid().ClearModified();
  else if (!outcome.message.empty()) Inform({outcome.message, outcome.caption, workspace::TButtons::Ok});
}

void TForm1::StashBreakpoints() { m_tabBreakpoints.Keep(m_currentFile, m_basic->Breakpoints(), m_assembler->Breakpoints()); }

void TForm1::RestoreBreakpoints(const std::string& file) {
  for (int line : m_tabBreakpoints.Lines(file, false)) m_basic->ToggleBreakpoint(line - 1);
  for (int line : m_tabBreakpoints.Lines(file, true)) m_assembler->ToggleBreakpoint(line - 1);
}

std::vector<int32_t> TForm1::TabBreakpoints(const std::string& file, bool assembler) const {
  if (!workspace::SamePath(file, m_currentFile)) return m_tabBreakpoints.Lines(file, assembler);
  const std::set<int>& shown = (assembler ? m_assembler : m_basic)->Breakpoints();
  return {shown.begin(), shown.end()};
}

bool TForm1::QuerySaveChanges() {
  // The project is about to be left: its run ends and the console goes with it.
  m_simulation->StopIfActive();
  m_simulation->Console()->hide();
  const bool abandoned = workspace::QuerySaveChanges(
      Modified(), m_currentFile, [this](const TMessage& m) { return Ask(m); },
      [this] { MSpeichernClick(false); }, [this] { return Modified(); });
  // Staying with the project: back to typing.
  if (abandoned) ActiveEditor()->setFocus();
  return abandoned;
}

void TForm1::SetFileReadOnly(bool readOnly, bool running) {
  m_fileReadOnly = readOnly;
  for (ui::TSourceEditor* e : {m_basic, m_assembler}) e->setReadOnly(readOnly || running);
}

ui::TSourceEditor* TForm1::ActiveEditor() const { return m_editorControl->currentIndex() == 1 ? m_assembler : m_basic; }

void TForm1::SetCaption() { setWindowTitle(ui::FromUtf8(workspace::WindowCaption(m_untitled ? "" : m_currentFile))); }

// An empty project of the current profile in both editors, named `path`.
void TForm1::ClearProject(const std::string& path, bool untitled) {
  const TProfile profile = m_project.profile;
  m_project = TProject{};
  m_project.profile = profile;
  SaveObjectsToTheirFile();
  m_simulation->LoadObjects(m_project);
  m_loading = true;
  m_basic->SetCp1252Text("");
  m_assembler->SetCp1252Text("");
  m_loading = false;
  m_basic->ClearBreakpoints();
  m_assembler->ClearBreakpoints();
  m_simulation->BreakpointsChanged();
  m_objectsFile = path;
  m_currentFile = path;
  m_untitled = untitled;
  SetFileReadOnly(false);
  m_treeContent = {};
}

void TForm1::MneuClick() {
  if (QuerySaveChanges()) return;
  NewProject();
}

void TForm1::NewProject() {
  m_tabBreakpoints.Clear();
  ClearProject(std::string(workspace::kUntitledProject), true);
  m_basic->setModified(false);
  m_assembler->setModified(false);
  m_basic->MarkErrorLine(-1);
  m_assembler->MarkErrorLine(-1);
  m_navigator.Reset(m_currentFile);
  m_errorDisplay->Display().ClearAll();
  m_errorDisplay->Refresh();
  SetCaption();
  RebuildTabBar();
  RefreshTree();
  UpdateCommandStates();
}

std::optional<std::string> TForm1::Dialog(TFileDialog kind, const std::string& title, const std::string& preset) {
  std::optional<std::string> chosenName = fileDialogHook ? fileDialogHook(kind, title, preset) : AskFileName(kind, title, preset);
  // A project name typed without extension becomes a project file.
  if (chosenName && !chosenName->empty() && (kind == TFileDialog::Save || kind == TFileDialog::NewModule) &&
      UpperExtension(*chosenName).empty())
    *chosenName += ".xml";
  return chosenName;
}

std::optional<std::string> TForm1::AskFileName(TFileDialog kind, const std::string& title, const std::string& preset) {
  QString chosen;
  const auto filters = kind == TFileDialog::Open     ? workspace::OpenFilters()
                       : kind == TFileDialog::Import ? workspace::ImportFilters()
                       : kind == TFileDialog::Export ? workspace::ExportFilters()
                                                     : workspace::SaveFilters();
  QStringList list;
  for (std::string_view f : filters) list << ui::FromUtf8(f);
  const QString filter = list.join(QStringLiteral(";;"));
  if (kind == TFileDialog::Save || kind == TFileDialog::NewModule || kind == TFileDialog::Export)
    chosen = QFileDialog::getSaveFileName(this, ui::FromUtf8(title), ui::FromUtf8(preset), filter, nullptr,
                                          QFileDialog::DontConfirmOverwrite);
  else
    chosen = QFileDialog::getOpenFileName(this, ui::FromUtf8(title), ui::FromUtf8(preset), filter);
  if (chosen.isEmpty()) return std::nullopt;
  return ui::ToUtf8(chosen);
}

void TForm1::MOpenClick() {
  if (QuerySaveChanges()) return;
  if (const auto file = Dialog(TFileDialog::Open, "", "")) OpenFile(*file);
}

bool TForm1::OpenFile(const std::string& path) { return LoadFile(path, false); }

void TForm1::OpenModuleFile(const std::string& path) { LoadFile(path, true); }

bool TForm1::LoadFile(const std::string& path, bool moduleJump) {
  if (!zarvek::FileExists(path)) return false;
  // Before the file is read: it may be the one the grid's objects go into.
  if (!(moduleJump && m_simulation->Control().Active())) SaveObjectsToTheirFile();
  TProject project = m_project;
  const TLoadOutcome outcome = zarvek::OpenFile(path, project);
  if (!outcome.message.empty()) Inform({outcome.message, outcome.caption, workspace::TButtons::Ok});
  if (outcome.result != loadresult::Loaded) return false;
  if (!moduleJump) m_recent.Add(path);
  // A jump while a simulation runs (a pause inside a module) shows the file's texts and
  // leaves the run, its objects and the error display as they are.
  const bool running = moduleJump && m_simulation->Control().Active();
  if (moduleJump) StashBreakpoints();
  else m_tabBreakpoints.Clear();
  m_project = project;
  if (!running) {
    m_simulation->LoadObjects(m_project);
    m_objectsFile = path;
  }
  m_currentFile = path;
  m_untitled = false;
  SetFileReadOnly(outcome.readOnly, running);
  m_loading = true;
  m_basic->SetCp1252Text(m_project.basicSource);
  m_assembler->SetCp1252Text(m_project.assemblerSource);
  m_loading = false;
  for (ui::TSourceEditor* e : {m_basic, m_assembler}) {
    e->ClearBreakpoints();  // breakpoints are saved, never read back
    e->MarkErrorLine(-1);
    e->setModified(false);
  }
  // Within one project the tabs keep their breakpoints.
  if (moduleJump) RestoreBreakpoints(path);
  m_simulation->BreakpointsChanged();
  if (running) {
    m_editorControl->setCurrentIndex(0);
    SetCaption();
    RebuildTabBar();
    UpdateCommandStates();
    return true;
  }
  m_treeContent = {};
  m_treeContent.objects = outcome.objectNodes;
  m_errorDisplay->Display().ClearAll();
  if (!outcome.statusText.empty()) m_errorDisplay->Display().Set(workspace::TSlot::Status, outcome.statusText);
  // Typing into an editor that takes nothing would puzzle: the user is told once.
  if (outcome.readOnly && !moduleJump) Inform(workspace::MessageText(TMessageId::ReadOnly, workspace::BaseName(path)));
  ButtonTestClick(true);
  if (!moduleJump) m_navigator.RebuildTabs(path, m_lastBuild.program.includes);
  SetCaption();
  m_editorControl->setCurrentIndex(m_project.basicSource.empty() && !m_project.assemblerSource.empty() ? 1 : 0);
  RebuildTabBar();
  UpdateCommandStates();
  return true;
}

bool TForm1::MSpeichernClick(bool saveAs) {
  m_helpList->hide();
  workspace::TSaveNameHost host;
  host.dialog = [this](const std::string& preset) {
    m_simulation->StopIfActive();
    m_simulation->Console()->hide();
    return Dialog(TFileDialog::Save, "", preset);
  };
  host.exists = [](const std::string& f) { return zarvek::FileExists(f); };
  host.ask = [this](const TMessage& m) { return Ask(m); };
  const workspace::TSaveNameChoice choice = workspace::ChooseSaveName(saveAs, m_untitled, m_currentFile, host);
  if (choice.forgetCurrentName && !choice.name) {
    m_currentFile.clear();
    return false;
  }
  if (!choice.name) return false;
  m_project.basicSource = m_basic->Cp1252Text();
  m_project.assemblerSource = m_assembler->Cp1252Text();
  m_project.basicBreakpoints.assign(m_basic->Breakpoints().begin(), m_basic->Breakpoints().end());
  m_project.assemblerBreakpoints.assign(m_assembler->Breakpoints().begin(), m_assembler->Breakpoints().end());
  // While a run shows a module, the grid holds the started project's objects: the module
  // keeps its own.
  const bool ownObjects = ObjectsBelongToCurrentFile();
  if (ownObjects) m_simulation->SaveObjects(m_project);
  const TSaveOutcome outcome = SaveProject(*choice.name, m_project, [this](const std::string& text, const std::string& caption) {
    return Ask({text, caption, workspace::TButtons::OkCancel}) == TAnswer::Ok;
  });
  if (!outcome.saved) {
    if (!outcome.message.empty()) Inform({outcome.message, outcome.caption, workspace::TButtons::Ok});
    return false;
  }
  m_currentFile = *choice.name;
  m_untitled = false;
  if (ownObjects) m_objectsFile = m_currentFile;
  m_navigator.FileSaved(m_currentFile);
  m_errorDisplay->Display().Set(workspace::TSlot::Status, outcome.statusText);
  m_errorDisplay->Refresh();
  m_basic->setModified(false);
  m_assembler->setModified(false);
  if (ownObjects) m_simulation->Grid().ClearModified();
  SetCaption();
  RebuildTabBar();
  RefreshTree();
  ActiveEditor()->setFocus();
  return true;
}

void TForm1::ButtonTestClick(bool fromOpen, bool clearConsole) {
  // A transfer's console shows the board's answers: they stay.
  if (clearConsole && !m_linkControl->TransferRunning() && !m_simulation->Control().Active()) {
    m_simulation->ConsoleModel().ClearText();
    m_simulation->Console()->Refresh();
  }
  // A compile supersedes a pending background check.
  m_syntaxTimer.stop();
  ++m_syntaxGeneration;
  m_syntaxMarked = false;
  m_searchPanel->hide();
  m_helpList->hide();
  const workspace::TBuildSender sender = fromOpen ? workspace::TBuildSender::Open : workspace::TBuildSender::Command;
  if (!fromOpen) workspace::ShowCompiling(m_errorDisplay->Display());
  TBuildInput input;
  input.basicSource = m_basic->Cp1252Text();
  input.assemblerSource = m_assembler->Cp1252Text();
  input.profile = m_project.profile;
  input.projectFileName = m_untitled ? std::string() : m_currentFile;
  input.modules = &m_loader;
  input.warnings = (m_settings.options & option::Warnings) != 0;
  input.fileExists = [](const std::string& f) { return zarvek::FileExists(f); };
  input.memoryDump = !m_memo->isHidden();
  m_lastBuild = m_builder.Build(input);
  if (!m_lastBuild.memoryDump.empty()) ShowMemoryDump(m_lastBuild.memoryDump);
  const std::string status = m_errorDisplay->Display().Slot(workspace::TSlot::Status).text;
  workspace::ShowBuildResult(m_lastBuild, m_project.profile, m_settings.options, sender, m_errorDisplay->Display());
  if (fromOpen && !status.empty() && m_errorDisplay->Display().Slot(workspace::TSlot::Status).text.empty())
    m_errorDisplay->Display().Set(workspace::TSlot::Status, status);
  m_errorDisplay->Refresh();
  workspace::TakeBuildIntoTree(m_lastBuild, m_builder.Assembler().Symbols(), m_treeContent);
  if (m_lastBuild.success)
    m_simulation->SetBuildSymbols(TProgramSymbols(m_lastBuild.program.symbols, m_builder.Assembler().Symbols(), !IsPyxon(m_project.profile)));
  RefreshTree();
  m_basic->MarkErrorLine(-1);
  m_assembler->MarkErrorLine(-1);
  if (workspace::JumpsToError(m_lastBuild, sender)) ShowBuildError();
}

void TForm1::ShowBuildError() {
  if (m_lastBuild.basicError) ShowCompileError();
  else ShowAssemblerError();
}

void TForm1::ShowMemoryDump(const std::string& dump) {
  m_memo->setPlainText(ui::FromCp1252(dump).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TForm1::ButtonRecordClick() {
  if (m_linkControl->TransferRunning() || m_linkControl->UpdateRunning()) return;
  ButtonTestClick(false, false);
  if (!m_lastBuild.success) return;
  m_linkControl->StartTransfer(m_lastBuild, m_project.profile);
}

void TForm1::MImportClick() {
  if (QuerySaveChanges()) return;
  const auto file = Dialog(TFileDialog::Import, "", "");
  if (!file) return;
  const workspace::TImportKind kind = workspace::ImportKindOf(*file);
  if (kind == workspace::TImportKind::LegacyProject) {
    NewProject();  // the question above was the only one
    TProject project = m_project;
    const TLoadOutcome outcome = ImportLegacyProject(*file, project);
    if (!outcome.message.empty()) Inform({outcome.message, outcome.caption, workspace::TButtons::Ok});
    if (outcome.result != loadresult::Loaded) return;
    m_project = project;
    m_simulation->LoadObjects(m_project);
    m_basic->SetCp1252Text(m_project.basicSource);
    m_assembler->SetCp1252Text(m_project.assemblerSource);
    // The legacy file keeps its breakpoints; line 0 marks an unused entry.
    for (const auto& [editor, lines] : {std::pair{m_basic, &m_project.basicBreakpoints},
                                         std::pair{m_assembler, &m_project.assemblerBreakpoints}})
      for (int line : std::set<int>(lines->begin(), lines->end()))
        if (line >= 1 && line <= editor->lines()) editor->ToggleBreakpoint(line - 1);
    m_simulation->BreakpointsChanged();
    // The imported texts exist nowhere else yet: closing asks to save them.
    m_basic->setModified(true);
    // A write-protected project stays protected in the editors, as when it is opened.
    SetFileReadOnly(outcome.readOnly);
    if (outcome.readOnly) {
      m_errorDisplay->Display().Set(workspace::TSlot::Status, outcome.statusText);
      m_errorDisplay->Refresh();
      Inform(workspace::MessageText(TMessageId::ReadOnly, workspace::BaseName(*file)));
    }
    m_treeContent.objects = outcome.objectNodes;
    RefreshTree();
    return;
  }
  const uint64_t limit = kind == workspace::TImportKind::SRecords ? filelimit::kSRecordFile : filelimit::kMachineCode;
  const TFileContent content = ReadFileBytes(*file, limit);
  if (content.status == TReadStatus::NotAFile || content.status == TReadStatus::TooLarge) {
    workspace::TMessage message = workspace::MessageText(TMessageId::CannotOpen);
    message.text = *file + ": " + ReadFailureText(content.status, limit);
    Inform(message);
    return;
  }
  if (content.status != TReadStatus::Ok) {
    Inform(workspace::MessageText(TMessageId::CannotOpen));
    return;
  }
  m_assembler->SetCp1252Text(workspace::AppendText(m_assembler->Cp1252Text(), workspace::DisassemblyText(kind, content.bytes)));
  m_assembler->setModified(true);
  m_editorControl->setCurrentIndex(1);
}

bool TForm1::MExportClick() {
  ButtonTestClick(false, false);
  if (!m_lastBuild.success) return false;
  auto file = Dialog(TFileDialog::Export, "", "");
  if (!file) return false;
  if (UpperExtension(*file).empty()) *file += ".dat";
  if (!WriteFileReplacing(*file, CompiledProjectExport(m_lastBuild.program.image, m_lastBuild.machineCode.code))) {
    Inform(workspace::MessageText(TMessageId::CannotSave));
    return false;
  }
  return true;
}

void TForm1::ShowCompileError() {
  if (!m_lastBuild.basicError) return;
  const TCompileError error = *m_lastBuild.basicError;
  if (error.mapped.moduleIndex >= 0) {
    if (!m_navigator.Jump(error.mapped.fileName)) return;
    RebuildTabBar();
  }
  m_editorControl->setCurrentIndex(0);
  SelectTreeNode(workspace::TTreeActionKind::ShowBasicPage);
  const int line = std::max(0, error.line - 1);
  const int start = m_basic->OffsetOfLine(line);
  const int end = line + 1 < m_basic->lines() ? m_basic->OffsetOfLine(line + 1) : static_cast<int>(m_basic->Cp1252Text().size());
  m_basic->SelectOffsets(start, end);
  m_basic->MarkErrorLine(line);
  if (error.mapped.moduleIndex >= 0) {
    // The module's own compile replaced the strip: the error stays in view.
    m_errorDisplay->Display().Set(workspace::TSlot::Compile, error.message.str(), m_basic->OffsetOfLine(line) + 1);
    m_errorDisplay->Refresh();
  }
  m_basic->setFocus();
}

void TForm1::ShowAssemblerError() {
  if (!m_lastBuild.assemblerError) return;
  const hc05::TAsmError error = *m_lastBuild.assemblerError;
  const TAsmLineOrigin origin = LocateAssemblerLine(m_lastBuild.program.includes, error.line);
  if (origin.moduleIndex >= 0) {
    if (!m_navigator.Jump(m_lastBuild.program.includes[static_cast<size_t>(origin.moduleIndex)].fileName)) return;
    RebuildTabBar();
  }
  m_editorControl->setCurrentIndex(1);
  SelectTreeNode(workspace::TTreeActionKind::ShowAssemblerPage);
  const int start = m_assembler->OffsetOfLine(origin.line);
  m_assembler->SelectOffsets(start + error.column - 1, start + error.column - 1);
  m_assembler->MarkErrorLine(origin.line);
  m_assembler->setFocus();
}

void TForm1::PopUpProfileClick(TProfile profile, bool fromOpen) {
  if (profile != m_project.profile) m_basic->setModified(true);
  m_project.profile = profile;
  // The running program was built for the board left.
  m_simulation->StopIfActive();
  if (!fromOpen) ButtonTestClick(false);
  UpdateCommandStates();
}

void TForm1::ErrorSlotClicked(int slot) {
  switch (static_cast<workspace::TSlot>(slot)) {
    case workspace::TSlot::Compile: ShowCompileError(); break;
    case workspace::TSlot::Assembler: ShowAssemblerError(); break;
    case workspace::TSlot::Status: {
      const int32_t position = m_errorDisplay->Display().Slot(workspace::TSlot::Status).position;
      ShowBasicAt(position > 0 ? position - 1 : 0);
      break;
    }
  }
}

void TForm1::RebuildTabBar() {
  m_switchingTabs = true;
  while (m_tabFiles->count() > 0) m_tabFiles->removeTab(0);
  for (const workspace::TModuleRecord& r : m_navigator.Records())
    m_tabFiles->addTab(ui::FromUtf8(m_untitled && &r == &m_navigator.Records().front() ? std::string(workspace::kUntitledTab)
                                                                                         : r.displayName));
  m_tabFiles->setCurrentIndex(m_navigator.ActiveTab());
  m_tabFiles->updateGeometry();
  m_switchingTabs = false;
}

namespace {
void AddTreeItems(QTreeWidgetItem* parent, const std::string& path, const workspace::TTreeNode& node,
                  std::vector<workspace::TTreeAction>& actions) {
  const std::vector<std::string> paths = workspace::TTreeFolding::ChildPaths(path, node);
  for (size_t k = 0; k < node.children.size(); ++k) {
    const workspace::TTreeNode& child = node.children[k];
    auto* item = new QTreeWidgetItem(parent, QStringList(ui::FromUtf8(child.caption)));
    item->setIcon(0, ui::TreeIcon(child, false, *parent->treeWidget()->style()));
    item->setData(0, Qt::UserRole, static_cast<int>(actions.size()));
    item->setData(0, kFoldingPathRole, QByteArray::fromStdString(paths[k]));
    if (child.changed) {
      QFont font = item->font(0);
      font.setBold(true);
      item->setFont(0, font);
      item->setForeground(0, QColor(200, 0, 0));
    }
    actions.push_back(child.click);
    AddTreeItems(item, paths[k], child, actions);
  }
}

void UnfoldTreeItems(QTreeWidgetItem* item, const workspace::TTreeFolding& folding) {
  item->setExpanded(!folding.Folded(item->data(0, kFoldingPathRole).toByteArray().toStdString()));
  for (int k = 0; k < item->childCount(); ++k) UnfoldTreeItems(item->child(k), folding);
}
}  // namespace

void TForm1::RefreshTree() {
  // The object nodes come from the grid, whoever changed it.
  if (ObjectsBelongToCurrentFile()) m_treeContent.objects = m_simulation->Grid().TreeNodes();
  m_treeContent.untitled = m_untitled;
  m_treeContent.fileName = workspace::BaseName(m_currentFile);
  const workspace::TTreeNode root = workspace::BuildProjectTree(m_treeContent);
  m_rebuildingTree = true;
  m_tree->clear();
  std::vector<workspace::TTreeAction> actions;
  auto* rootItem = new QTreeWidgetItem(m_tree, QStringList(ui::FromUtf8(root.caption)));
  rootItem->setData(0, Qt::UserRole, -1);
  rootItem->setIcon(0, ui::TreeIcon(root, true, *m_tree->style()));
  rootItem->setData(0, kFoldingPathRole, QByteArray());
  AddTreeItems(rootItem, std::string(), root, actions);
  m_treeActions = std::move(actions);
  UnfoldTreeItems(rootItem, m_treeFolding);
  m_rebuildingTree = false;
}

const workspace::TTreeAction* TForm1::TreeActionOf(const QTreeWidgetItem* item) const {
  const int index = item ? item->data(0, Qt::UserRole).toInt() : -1;
  return index >= 0 && index < static_cast<int>(m_treeActions.size()) ? &m_treeActions[static_cast<size_t>(index)] : nullptr;
}

void TForm1::SelectTreeNode(workspace::TTreeActionKind kind) {
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
    if (const workspace::TTreeAction* action = TreeActionOf(*it); action && action->kind == kind) {
      m_tree->setCurrentItem(*it);
      return;
    }
}

void TForm1::TreeClick(QTreeWidgetItem* item) {
  const workspace::TTreeAction* found = TreeActionOf(item);
  if (!found) return;
  const workspace::TTreeAction action = *found;  // a module jump builds the tree anew
  switch (action.kind) {
    case workspace::TTreeActionKind::ShowBasicPage: m_editorControl->setCurrentIndex(0); break;
    case workspace::TTreeActionKind::ShowAssemblerPage: m_editorControl->setCurrentIndex(1); break;
    case workspace::TTreeActionKind::AssemblerLine:
      m_editorControl->setCurrentIndex(1);
      m_assembler->SetCaretOffset(m_assembler->OffsetOfLine(action.line));
      break;
    case workspace::TTreeActionKind::ModuleJump:
      m_navigator.TreeModuleClick(action.file);
      RebuildTabBar();
      UpdateCommandStates();
      break;
    case workspace::TTreeActionKind::SelectObject: m_simulation->SelectObject(action.x, action.y); break;
    default: break;
  }
}

// The objects node and its objects offer the grid's popup menu, acting on the object
// clicked (or, for the objects node, on the grid's current cell).
void TForm1::TreePopup(const QPoint& at) {
  QTreeWidgetItem* item = m_tree->itemAt(at);
  const workspace::TTreeAction* found = TreeActionOf(item);
  if (!found) return;
  const workspace::TTreeAction action = *found;
  if (action.kind != workspace::TTreeActionKind::SelectObject && action.kind != workspace::TTreeActionKind::ObjectsNode)
    return;
  m_tree->setCurrentItem(item);
  if (action.kind == workspace::TTreeActionKind::SelectObject) m_simulation->SelectObject(action.x, action.y);
  m_simulation->Objects()->ShowPopup(m_tree->viewport()->mapToGlobal(at));
}

workspace::TSelection TForm1::Selection(bool assembler) const {
  const ui::TSourceEditor* e = assembler ? m_assembler : m_basic;
  return {e->SelectionStartOffset(), e->SelectionEndOffset()};
}

void TForm1::SetSelection(bool assembler, workspace::TSelection s) {
  (assembler ? m_assembler : m_basic)->SelectOffsets(s.start, s.end);
}

std::string TForm1::BasicText() const { return m_basic->Cp1252Text(); }

void TForm1::SetBasicText(const std::string& text) {
  m_basic->SetCp1252Text(text);
  m_basic->setModified(true);
}

void TForm1::StartEmptyProject(const std::string& path) {
  StashBreakpoints();
  ClearProject(path, false);
  SetCaption();
  RebuildTabBar();
  RefreshTree();
}

bool TForm1::FileExists(const std::string& path) const { return zarvek::FileExists(path); }

void TForm1::Inform(const TMessage& message) { Ask(message); }

TAnswer TForm1::Ask(const TMessage& message) {
  if (askHook) return askHook(message);
  QMessageBox box(QMessageBox::Question, ui::FromUtf8(message.caption), ui::FromUtf8(message.text), QMessageBox::NoButton, this);
  switch (message.buttons) {
    case workspace::TButtons::Ok: box.setStandardButtons(QMessageBox::Ok); box.setIcon(QMessageBox::Information); break;
    case workspace::TButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case workspace::TButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return TAnswer::Ok;
    case QMessageBox::Yes: return TAnswer::Yes;
    case QMessageBox::No: return TAnswer::No;
    default: return TAnswer::Cancel;
  }
}

std::optional<std::string> TForm1::ChooseNewFile(std::string_view title) {
  return Dialog(TFileDialog::NewModule, std::string(title), "");
}

void TForm1::ShowBasicAt(int32_t offset) {
  m_editorControl->setCurrentIndex(0);
  m_basic->SetCaretOffset(offset);
  m_basic->setFocus();
}

void TForm1::BasicCharAdded(int character) {
  if (character < 0 || character > 0x7F || workspace::IsNameChar(static_cast<char>(character))) return;
  int caret = 0;
  const std::string line = m_basic->CaretLine(caret);
  if (caret <= 0) return;
  if (const auto fix = workspace::CorrectReservedWord(line, static_cast<size_t>(caret - 1)))
    m_basic->ReplaceInCaretLine(fix->start, fix->length, fix->text);
}

void TForm1::TextChanged() {
  if (m_loading || !(m_settings.options & option::SyntaxTest)) return;
  ++m_syntaxGeneration;  // a check running now is out of date
  m_syntaxTimer.start();
}

void TForm1::StartSyntaxCheck() {
  TBuildInput input;
  input.basicSource = m_basic->Cp1252Text();
  input.assemblerSource = m_assembler->Cp1252Text();
  input.profile = m_project.profile;
  input.projectFileName = m_untitled ? std::string() : m_currentFile;
  input.warnings = false;
  input.silent = true;
  input.fileExists = [](const std::string& f) { return zarvek::FileExists(f); };
  const unsigned generation = m_syntaxGeneration;
  // Its own builder and loader: the check runs beside the window's compiles.
  m_syntaxPool.start([this, input, generation]() mutable {
    TProjectFileLoader loader;
    input.modules = &loader;
    TBuilder builder;
    const TBuildResult result = builder.Build(input);
    QMetaObject::invokeMethod(this, [this, generation, result] { SyntaxCheckDone(generation, result); },
                              Qt::QueuedConnection);
  });
}

void TForm1::SyntaxCheckDone(unsigned generation, const TBuildResult& result) {
  if (generation != m_syntaxGeneration) return;
  workspace::TErrorDisplay& display = m_errorDisplay->Display();
  if (m_syntaxMarked || result.basicError || result.assemblerError) {
    m_basic->MarkErrorLine(-1);
    m_assembler->MarkErrorLine(-1);
    display.Clear(workspace::TSlot::Compile);
    display.Clear(workspace::TSlot::Assembler);
    m_syntaxMarked = false;
  }
  if (result.basicError && result.basicError->mapped.moduleIndex < 0) {
    m_basic->MarkErrorLine(std::max(0, result.basicError->line - 1));
    display.Set(workspace::TSlot::Compile, result.basicError->message.str(), result.basicError->mapped.position);
    m_syntaxMarked = true;
  } else if (result.assemblerError) {
    const TAsmLineOrigin origin = LocateAssemblerLine(result.program.includes, result.assemblerError->line);
    if (origin.moduleIndex < 0) m_assembler->MarkErrorLine(origin.line);
    display.Set(workspace::TSlot::Assembler, result.assemblerError->message, result.assemblerError->line);
    m_syntaxMarked = true;
  }
  m_errorDisplay->Refresh();
}

void TForm1::AssemblerCaretMoved(int line) {
  const int left = m_assemblerLine;
  m_assemblerLine = line;
  if (m_loading || !workspace::NormaliseLeftLine(false, workspace::TCaretKey::Other, left, line)) return;
  if (left < 0 || left >= m_assembler->lines() || m_assembler->isReadOnly()) return;
  QString text = m_assembler->text(left);
  while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
  const std::string before = ui::ToCp1252(text);
  const std::string after = workspace::NormaliseAssemblerLine(before, m_lastBuild.program.symbols, m_builder.Assembler().Symbols());
  if (after == before) return;
  // Only the case of words changes, so every position keeps its place.
  const long start = m_assembler->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(left));
  const long end = m_assembler->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(left));
  const QByteArray bytes = ui::FromCp1252(after).toUtf8();
  m_assembler->SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, static_cast<unsigned long>(start));
  m_assembler->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, static_cast<unsigned long>(end));
  m_assembler->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
}

void TForm1::MProgHelpClick(bool automatic) {
  const bool assembler = m_editorControl->currentIndex() == 1;
  ui::TSourceEditor* editor = assembler ? m_assembler : m_basic;
  int caret = 0;
  const std::string line = editor->CaretLine(caret);
  std::vector<workspace::THelpEntry> entries;
  if (assembler) {
    entries = workspace::AssemblerHelp(line, static_cast<size_t>(caret), m_builder.Assembler().Symbols());
  } else {
    for (const std::string& word : workspace::BasicKeywordHelp(line, static_cast<size_t>(caret)))
      entries.push_back({'d', word, "", word, true});
  }
  m_helpList->Present(editor, std::move(entries), !automatic);
}

void TForm1::HelpEntryChosen(const workspace::THelpEntry& entry) {
  ui::TSourceEditor* editor = m_helpList->Editor();
  if (!editor || entry.insert.empty() || editor->isReadOnly()) return;
  int caret = 0;
  const std::string line = editor->CaretLine(caret);
  size_t start = static_cast<size_t>(caret);
  if (entry.replacesWord) {
    if (editor == m_assembler) {
      start = workspace::HelpWordStart(line, start);
    } else {
      while (start > 0 && workspace::IsNameChar(line[start - 1])) --start;
    }
  }
  const int lineStart = editor->CaretOffset() - caret;
  editor->ReplaceInCaretLine(start, static_cast<size_t>(caret) - start, entry.insert);
  editor->SetCaretOffset(lineStart + static_cast<int>(start + entry.insert.size()));
  editor->setFocus();
}

void TForm1::EditLines(const std::function<void(std::vector<std::string>&, bool assembler)>& aid) {
  const bool assembler = m_editorControl->currentIndex() == 1;
  ui::TSourceEditor* e = assembler ? m_assembler : m_basic;
  if (e->isReadOnly()) return;
  int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
  e->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
  if (fromLine < 0) {  // no selection: the caret's line
    e->getCursorPosition(&fromLine, &fromIndex);
    toLine = fromLine;
    toIndex = fromIndex;
  }
  // A selection that ends at the start of a line leaves that line out.
  if (toLine > fromLine && toIndex == 0) --toLine;
  std::vector<std::string> lines;
  for (int line = fromLine; line <= toLine; ++line) {
    QString text = e->text(line);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    lines.push_back(ui::ToCp1252(text));
  }
  aid(lines, assembler);
  std::string joined;
  for (size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  const int start = e->OffsetOfLine(fromLine);
  const int lastLineStart = e->OffsetOfLine(toLine);
  QString last = e->text(toLine);
  while (last.endsWith(QLatin1Char('\n')) || last.endsWith(QLatin1Char('\r'))) last.chop(1);
  e->beginUndoAction();
  e->SelectOffsets(start, lastLineStart + static_cast<int>(last.size()));
  e->replaceSelectedText(ui::FromCp1252(joined));
  e->endUndoAction();
  e->SelectOffsets(start, start + static_cast<int>(joined.size()));
}

void TForm1::Drucken1Click() {
  const bool assembler = m_editorControl->currentIndex() == 1;
  ui::TSourcePrinter printer(ui::FromUtf8(assembler ? workspace::kPrintHeadingAssembler : workspace::kPrintHeadingBasic));
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, (assembler ? m_assembler : m_basic)->hasSelectedText());
  if (dialog.exec() != QDialog::Accepted) return;
  printer.PrintSource(assembler ? m_assembler : m_basic, printer.QPrinter::printRange() == QPrinter::Selection);
}

int TForm1::PrintActivePage(QPrinter* target, bool selectionOnly) {
  const bool assembler = m_editorControl->currentIndex() == 1;
  ui::TSourcePrinter printer(ui::FromUtf8(assembler ? workspace::kPrintHeadingAssembler : workspace::kPrintHeadingBasic));
  printer.setOutputFormat(target->outputFormat());
  printer.setOutputFileName(target->outputFileName());
  return printer.PrintSource(assembler ? m_assembler : m_basic, selectionOnly);
}

void TForm1::OpenHelp(const std::string& anchor) {
  const workspace::THelpTarget target = workspace::FindHelp(anchor, m_helpSearch);
  const auto show = [this](const QUrl& url) { return openUrlHook ? openUrlHook(url) : QDesktopServices::openUrl(url); };
  switch (target.kind) {
    case workspace::THelpKind::HtmlPage: {
      QUrl url = QUrl::fromLocalFile(ui::FromUtf8(target.file));
      if (!target.anchor.empty()) url.setFragment(ui::FromUtf8(target.anchor));
      if (show(url)) return;
      break;
    }
    case workspace::THelpKind::ChmViewer: {
      QStringList arguments;
      for (size_t k = 1; k < target.command.size(); ++k) arguments << ui::FromUtf8(target.command[k]);
      if (QProcess::startDetached(ui::FromUtf8(target.command.front()), arguments)) return;
      // The viewer would not start: perhaps the system knows another.
      if (show(QUrl::fromLocalFile(ui::FromUtf8(target.file)))) return;
      break;
    }
    case workspace::THelpKind::ChmFile:
      // The system's viewer cannot be told the topic; it opens at the start.
      if (show(QUrl::fromLocalFile(ui::FromUtf8(target.file)))) return;
      break;
    case workspace::THelpKind::Missing:
      Inform(workspace::MessageText(TMessageId::HelpMissing, target.file));
      return;
  }
  Inform(workspace::MessageText(TMessageId::HelpNotShown, target.file));
}

void TForm1::ContextHelp() {
  ui::TSourceEditor* editor = m_editorControl->currentIndex() == 1 ? m_assembler : m_basic;
  int caret = 0;
  const std::string line = editor->CaretLine(caret);
  OpenHelp(workspace::KeywordAnchor(workspace::HelpWordAt(line, static_cast<size_t>(caret))).value_or(""));
}

void TForm1::InitApplication(const std::vector<std::string>& arguments) {
  workspace::TStartupInput input;
  input.arguments = arguments;
  const TFileContent ini = ReadFileBytes(m_settingsPath, filelimit::kSettingsFile);
  if (ini.status == TReadStatus::Ok) input.settingsText = ini.bytes;
  input.fileExists = [](const std::string& f) { return zarvek::FileExists(f); };
  input.fullPath = [](const std::string& f) { return std::filesystem::absolute(f).lexically_normal().string(); };
  const workspace::TStartupPlan plan = workspace::PlanStartup(input, m_settings);
  m_settings = plan.settings;
  m_debugView = plan.debugView;
  m_recent.Load(m_settings);
  ApplySettings();
  m_project.profile = m_settings.profile;
  m_memo->setVisible(m_debugView);
  if (!m_settings.maximized) setGeometry(m_settings.left, m_settings.top, m_settings.width, m_settings.height);
  ApplyPanelSizes();
  m_splash->ShowFor();
  if (!plan.startFile.empty()) OpenFile(plan.startFile);
  PopUpProfileClick(m_project.profile, true);
  UpdateCommandStates();
}

// The tree panel's width and the bottom panel's height from the settings; the editors
// take the rest.
void TForm1::ApplyPanelSizes() {
  const int bottom = std::max(kMinimumBottomPanel, m_settings.horizontal);
  const int tree = std::max(0, m_settings.vertical);  // a hand-edited negative width hides the tree
  const int across = std::max(m_splitter->width(), tree + 1);
  const int down = std::max(m_editorSplitter->height(), bottom + 1);
  m_splitter->setSizes({tree, across - tree});
  m_editorSplitter->setSizes({down - bottom, bottom});
}

void TForm1::WriteSettings() {
  if (m_settingsPath.empty()) return;
  m_recent.Store(m_settings);
  m_settings.profile = m_project.profile;
  // The console's port and speed are chosen again at the next start.
  m_settings.com = m_linkControl->Ports().PortText();
  m_settings.baud = m_linkControl->Ports().BaudText();
  m_settings.file = m_untitled ? std::string() : m_currentFile;
  m_settings.recentFile = m_settings.file;
  m_settings.vertical = m_splitter->sizes().value(0, m_settings.vertical);
  m_settings.horizontal = m_editorSplitter->sizes().value(1, m_settings.horizontal);
  m_settings.maximized = isMaximized();
  if (!isMaximized()) {
    m_settings.left = geometry().left();
    m_settings.top = geometry().top();
    m_settings.width = geometry().width();
    m_settings.height = geometry().height();
  }
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(m_settingsPath).parent_path(), ignored);
  WriteSettingsFile(m_settingsPath, m_settings);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A runtime update half done would leave the board without its operating system.
  if (m_linkControl->UpdateRunning() || QuerySaveChanges()) {
    event->ignore();
    return;
  }
  m_simulation->StopIfActive();
  WriteSettings();
  event->accept();
}

void TForm1::FindAddressClick() {
  std::optional<std::string> text;
  if (inputHook) {
    text = inputHook(kFindAddressCaption, kFindAddressPrompt);
  } else {
    bool ok = false;
    const QString typed = QInputDialog::getText(this, ui::FromUtf8(kFindAddressCaption), ui::FromUtf8(kFindAddressPrompt),
                                                QLineEdit::Normal, QString(), &ok);
    if (ok) text = typed.toStdString();
  }
  if (!text) return;
  const std::optional<uint32_t> address = ParseFindAddress(*text);
  if (!address || !m_simulation->FindAddress(*address))
    Inform({"Die Adresse " + *text + " gehört zu keiner Anweisung des zuletzt gestarteten Programms.",
            kFindAddressCaption, workspace::TButtons::Ok});
}

}  // namespace zarvek::ide
