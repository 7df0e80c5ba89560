// TForm1: the main window. It owns the open project and shows what the workspace models
// decide: menus and toolbars from the command table, the module tabs and history, the
// project tree, the error strip. Message boxes and file dialogs go through hooks that
// tests replace.
#pragma once

// The core headers come before Qt's: a project field is called "slots", which Qt defines
// as a keyword macro.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "link/clock.h"
#include "base/profile.h"
#include "pipeline/build.h"
#include "pipeline/project_modules.h"
#include "project/project.h"
#include "project/settings.h"
#include "workspace/asm_help.h"
#include "workspace/commands.h"
#include "workspace/help_topics.h"
#include "workspace/modules.h"
#include "workspace/project_tree.h"
#include "workspace/recent_files.h"
#include "workspace/tab_breakpoints.h"
#include "workspace/texts.h"
#include "ide/simulation_controller.h"

#include <QMainWindow>
#include <QThreadPool>
#include <QTimer>

class QAction;
class QPlainTextEdit;
class QPrinter;
class QUrl;
class QSplitter;
class QTabBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace zarvek::ui {
class TSourceEditor;
class TErrorStrip;
class TSearchPanel;
class THelpList;
}  // namespace zarvek::ui

namespace zarvek::ide {

class TSetup;
class TSplash;
class TLinkController;

enum class TFileDialog { Open, Save, NewModule, AddModule, Import, Export };

class TForm1 : public QMainWindow, public workspace::TModuleHost {
  Q_OBJECT
 public:
  explicit TForm1(std::string settingsPath, QWidget* parent = nullptr);
  ~TForm1() override;

  // Start-up: reads the settings file, then opens the start file without a dialog.
  void InitApplication(const std::vector<std::string>& arguments);

  // Hooks: a message box, a file dialog (title, preset name); tests answer them.
  std::function<workspace::TAnswer(const workspace::TMessage&)> askHook;
  std::function<std::optional<std::string>(TFileDialog, const std::string& title, const std::string& preset)> fileDialogHook;
  // The browser or the system's viewer is asked to show an address; false when it cannot.
  std::function<bool(const QUrl&)> openUrlHook;
  // Where the help is looked for (tests point it at a folder of their own).
  void SetHelpSearch(workspace::THelpSearch search) { m_helpSearch = std::move(search); }
  // F1: the help at the keyword under the caret of the active editor, else its contents.
  void ContextHelp();
  void OpenHelp(const std::string& anchor);
  // A line of text asked for (caption, prompt); nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& caption, const std::string& prompt)> inputHook;

  QAction* Action(workspace::TCommandId id) const;
  ui::TSourceEditor* BasicEditor() const { return m_basic; }
  ui::TSourceEditor* AssemblerEditor() const { return m_assembler; }
  ui::TErrorStrip* ErrorDisplay() const { return m_errorDisplay; }
  QTabWidget* EditorControl() const { return m_editorControl; }
  QTabBar* TabFiles() const { return m_tabFiles; }
  QTreeWidget* Tree() const { return m_tree; }
  // The panel under the editors: the simulation objects and the token view.
  QWidget* BottomPanel() const { return m_bottomPanel; }
  // The token view ("-DEBUG"): the compiler's memory dump and the image after each compile.
  QPlainTextEdit* Memo1() const { return m_memo; }
  ui::TSearchPanel* SearchPanel() const { return m_searchPanel; }
  ui::THelpList* HelpList() const { return m_helpList; }
  TSetup* Setup() const { return m_setup; }
  TSplash* Splash() const { return m_splash; }
  // "[Maximized]" of the settings.
  bool StartMaximized() const { return m_settings.maximized; }
  // Settings changed (the dialog): editors, lexers and the error strip take them at once.
  void ApplySettings();
  // Drucken: the print dialog, then the active page's text under its heading.
  void Drucken1Click();
  int PrintActivePage(QPrinter* target, bool selectionOnly);
  // Programmierhilfe: the help list for the word at the caret of the active editor.
  void MProgHelpClick(bool automatic = false);
  // The background syntax check waits this long after the last change.
  void SetSyntaxCheckDelay(int milliseconds) { m_syntaxTimer.setInterval(milliseconds); }
  const workspace::TModuleNavigator& Navigator() const { return m_navigator; }
  const TSettings& Settings() const { return m_settings; }
  TProfile Profile() const { return m_project.profile; }
  bool DebugView() const { return m_debugView; }
  TSimulationController* Simulation() const { return m_simulation; }

  // Commands, as the menus run them.
  void MneuClick();
  bool OpenFile(const std::string& path);  // the open command without a dialog
  void MOpenClick();
  bool MSpeichernClick(bool saveAs);
  // The compile command. Transfer and export build through it without its first step,
  // which empties the console.
  void ButtonTestClick(bool fromOpen = false, bool clearConsole = true);
  // Laufzeitfehler suchen: asks for a token address and selects its statement.
  void FindAddressClick();
  void MImportClick();
  bool MExportClick();
  void ShowCompileError();
  void ShowAssemblerError();
  void PopUpProfileClick(TProfile profile, bool fromOpen);
  void ClearProject(const std::string& path, bool untitled);
  // Projekt an Controller senden: builds the project, then uploads it.
  void ButtonRecordClick();
  TLinkController* LinkControl() const { return m_linkControl.get(); }

  // TModuleHost
  std::string CurrentFile() const override { return m_currentFile; }
  bool Untitled() const override { return m_untitled; }
  bool Modified() const override;
  void Save() override { MSpeichernClick(false); }
  void OpenModuleFile(const std::string& path) override;
  workspace::TSelection Selection(bool assembler) const override;
  void SetSelection(bool assembler, workspace::TSelection selection) override;
  std::string BasicText() const override;
  void SetBasicText(const std::string& text) override;
  void CompileSilently() override { ButtonTestClick(true); }
  void StartEmptyProject(const std::string& path) override;
  bool FileExists(const std::string& path) const override;
  void Inform(const workspace::TMessage& message) override;
  workspace::TAnswer Ask(const workspace::TMessage& message) override;
  std::optional<std::string> ChooseNewFile(std::string_view title) override;
  void ShowBasicAt(int32_t offset) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void Run(workspace::TCommandId id);
  void UpdateCommandStates();
  bool QuerySaveChanges();
  // Puts the caret on the last build's error, in its page and module.
  void ShowBuildError();
  // Whether the shown file may be written; its editors follow (and stay read-only during
  // a run).
  void SetFileReadOnly(bool readOnly, bool running = false);
  ui::TSourceEditor* ActiveEditor() const;
  // Neu without the save question: an empty, untitled project.
  void NewProject();
  bool LoadFile(const std::string& path, bool moduleJump);
  void RebuildTabBar();
  void RefreshTree();
  void TreeClick(QTreeWidgetItem* item);
  // The click action of a tree item; nullptr for the root or no item.
  const workspace::TTreeAction* TreeActionOf(const QTreeWidgetItem* item) const;
  // The error display points at an editor page through its tree node too.
  void SelectTreeNode(workspace::TTreeActionKind kind);
  void TreePopup(const QPoint& at);
  // The object grid holds the objects of m_objectsFile, which a run keeps while it shows
  // a module.
  bool ObjectsBelongToCurrentFile() const;
  void SaveObjectsToTheirFile();
  // Breakpoints of the project's tabs other than the shown one, by file.
  void StashBreakpoints();
  void RestoreBreakpoints(const std::string& file);
  std::vector<int32_t> TabBreakpoints(const std::string& file, bool assembler) const;
  void ErrorSlotClicked(int slot);
  void SetCaption();
  void BasicCharAdded(int character);
  std::optional<std::string> Dialog(TFileDialog kind, const std::string& title, const std::string& preset);
  std::optional<std::string> AskFileName(TFileDialog kind, const std::string& title, const std::string& preset);
  void WriteSettings();
  void ApplyPanelSizes();
  void ShowMemoryDump(const std::string& dump);
  void TextChanged();
  void StartSyntaxCheck();
  void SyntaxCheckDone(unsigned generation, const TBuildResult& result);
  void AssemblerCaretMoved(int line);
  void HelpEntryChosen(const workspace::THelpEntry& entry);
  // Runs an editing aid over the lines the selection of the active editor touches.
  void EditLines(const std::function<void(std::vector<std::string>&, bool assembler)>& aid);

  std::string m_settingsPath;
  TSettings m_settings;
  TProject m_project;
  std::string m_currentFile = "Unbenannt.cpo";
  std::string m_objectsFile;
  workspace::TTabBreakpoints m_tabBreakpoints;
  bool m_untitled = true;
  bool m_fileReadOnly = false;  // the shown file may not be written: its editors stay read-only
  bool m_debugView = false;
  bool m_switchingTabs = false;
  bool m_loading = false;
  int m_assemblerLine = 0;
  QTimer m_syntaxTimer;
  unsigned m_syntaxGeneration = 0;
  bool m_syntaxMarked = false;

  ui::TSourceEditor* m_basic = nullptr;
  ui::TSourceEditor* m_assembler = nullptr;
  QTabWidget* m_editorControl = nullptr;
  QTabBar* m_tabFiles = nullptr;
  QTreeWidget* m_tree = nullptr;
  ui::TErrorStrip* m_errorDisplay = nullptr;
  ui::TSearchPanel* m_searchPanel = nullptr;
  ui::THelpList* m_helpList = nullptr;
  TSetup* m_setup = nullptr;
  TSplash* m_splash = nullptr;
  TSimulationController* m_simulation = nullptr;
  QSplitter* m_splitter = nullptr;        // tree panel | editors
  QSplitter* m_editorSplitter = nullptr;  // editors over the bottom panel
  QWidget* m_bottomPanel = nullptr;
  QPlainTextEdit* m_memo = nullptr;
  std::map<workspace::TCommandId, QAction*> m_actions;

  workspace::THelpSearch m_helpSearch;
  workspace::TRecentFiles m_recent;
  workspace::TModuleNavigator m_navigator{*this};
  workspace::TTreeContent m_treeContent;
  TBuilder m_builder;
  TProjectFileLoader m_loader;
  TBuildResult m_lastBuild;
  std::vector<workspace::TTreeAction> m_treeActions;  // by the items' index
  workspace::TTreeFolding m_treeFolding;
  bool m_rebuildingTree = false;
  link::TSteadyClock m_clock;
  std::unique_ptr<TLinkController> m_linkControl;
  // Last member: destroyed first, after the destructor has waited for its checks.
  QThreadPool m_syntaxPool;
};

}  // namespace zarvek::ide
