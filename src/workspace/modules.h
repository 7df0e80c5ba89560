// The module tabs and the navigation history: one tab per open project file (the main
// project first, then its modules), jumps into modules that push the file left onto the
// history, Zurück and Hauptprojekt anzeigen, and the module commands. The window (or a
// test) is the host that loads, saves and shows files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "workspace/texts.h"

namespace zarvek::workspace {

struct TSelection {
  int32_t start = 0;
  int32_t end = 0;
  bool operator==(const TSelection&) const = default;
};

struct TModuleRecord {
  std::string displayName;  // file name without folder and ".xml"
  std::string fullPath;
  TSelection basic;
  TSelection assembler;
  std::string parentPath;  // the file whose text includes this one, when known
};

// What the navigator needs of the main window.
class TModuleHost {
 public:
  virtual ~TModuleHost() = default;
  virtual std::string CurrentFile() const = 0;  // full path
  virtual bool Untitled() const = 0;
  virtual bool Modified() const = 0;  // either editor
  virtual void Save() = 0;            // the save command; asks for a name while untitled
  // The open command's module-jump mode: loads the file into the editors (and compiles
  // it); the current file changes only when that worked.
  virtual void OpenModuleFile(const std::string& path) = 0;
  virtual TSelection Selection(bool assembler) const = 0;
  virtual void SetSelection(bool assembler, TSelection selection) = 0;
  virtual std::string BasicText() const = 0;
  virtual void SetBasicText(const std::string& text) = 0;  // marks the BASIC editor modified
  virtual void CompileSilently() = 0;  // the compile command with the open command as sender
  // Empties both editors and the object grid; the file becomes the current, titled file.
  virtual void StartEmptyProject(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual void Inform(const TMessage& message) = 0;
  virtual TAnswer Ask(const TMessage& message) = 0;
  // The save dialog under the given title; nothing when cancelled.
  virtual std::optional<std::string> ChooseNewFile(std::string_view title) = 0;
  // Shows the BASIC page with the caret at a 0-based offset of its text.
  virtual void ShowBasicAt(int32_t offset) = 0;
};

class TModuleNavigator {
 public:
  explicit TModuleNavigator(TModuleHost& host) : m_host(host) {}

  // A new project or an interactive open: one tab for the main file, no history.
  void Reset(const std::string& mainFile);
  // After an interactive open: the main file's tab, then one per module the compiler
  // included.
  void RebuildTabs(const std::string& mainFile, const std::vector<TIncludeRecord>& includes);
  // The save command saved the current tab's file under this name.
  void FileSaved(const std::string& path);

  const std::vector<TModuleRecord>& Records() const { return m_records; }
  int ActiveTab() const { return m_active; }
  const std::vector<std::string>& History() const { return m_history; }
  // Zurück and Modul Verknüpfung are enabled exactly while the history is not empty.
  bool BackEnabled() const { return !m_history.empty(); }

  // A module jump (tree, error strip, tabs): saves a modified file first (a failed save
  // stops the jump), remembers the selections of the tab left, pushes the file left onto
  // the history, selects or adds the file's tab and opens it. True when the file became
  // current.
  bool Jump(std::string path);  // by value: callers pass history entries, which the jump changes
  // A click on a module node: an untitled main project must be saved first.
  bool TreeModuleClick(const std::string& path);
  bool Back();
  bool Home();
  // The tab bar: the change is refused when the modified file cannot be saved.
  bool SelectTab(int index);

  // Inserts the include line for `path` before everything else and compiles silently.
  void AddModule(const std::string& path);
  // Asks for the new file, inserts its include line, saves the project and starts the
  // module's empty project in a new tab (the project goes onto the history). False when
  // given up.
  bool NewModule();
  // Back to the file that includes the current module, caret on its include line.
  bool ModuleLink();

 private:
  int FindRecord(const std::string& path) const;
  void RememberSelections();
  void RestoreSelections(int index);
  bool SaveIfModified();

  TModuleHost& m_host;
  std::vector<TModuleRecord> m_records;
  std::vector<std::string> m_history;
  int m_active = 0;
};

// The include line a module command writes: $INCLUDE, a blank, the path in quotes, CR LF.
std::string IncludeLine(const std::string& path);

// The 0-based offset of the line of `text` whose $INCLUDE names `moduleFile` (names
// relative to `folder`), or -1.
int32_t FindIncludeLine(std::string_view text, const std::string& moduleFile, const std::string& folder);

}  // namespace zarvek::workspace
