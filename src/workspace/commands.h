// The IDE's commands as data: every menu item with its text, shortcut, toolbar hint and
// whether it carries a check mark, so that the windows build menus and toolbars from one
// table. The enabling rules that need no run control are plain functions of TCommandState.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "base/profile.h"

namespace zarvek::workspace {

enum class TMenu { File, Edit, View, Project, Profile, Help };

enum class TCommandId {
  // File
  New, Open, Save, SaveAs, Import, Export, Print, Recent1, Recent2, Recent3, Recent4, Exit,
  // Edit
  Undo, Redo, Cut, Copy, Paste, Delete, SelectAll, Find, FindNext, Replace, ProgHelp,
  Comment, Uncomment, AlignLines, IndentLeft, IndentRight, Settings,
  // View
  Console,
  // Project
  Compile, Run, RunNext, RunNextBlock, RunNextBreak, Pause, Stop, Transfer, Bootloader,
  ModuleAdd, ModuleNew, FindAddress,
  // Project / Umgebung
  ProfileMicro, ProfileTessel11, ProfilePyxon32, ProfilePyxon128,
  // Help
  HelpContents, HelpTerms, HelpInfo,
  // Tree toolbar only
  ModuleHome, ModuleBack, ModuleLink,
  // Toolbar only
  InternetUpdate,
};

struct TCommand {
  TCommandId id;
  TMenu menu;
  std::string_view name;      // the handler's component name ("MSpeichern", "ButtonHome")
  std::string_view text;      // menu text with its & accelerator; empty for toolbar-only commands
  std::string_view shortcut;  // portable key text ("F2", "Ctrl+Shift+Z"); empty for none
  std::string_view alternateShortcut;  // where input methods take the first one
  std::string_view hint;      // toolbar hint; empty: the command has no toolbar button
  bool checkable = false;
  bool separatorBefore = false;
};

struct TMenuInfo {
  TMenu menu;
  std::string_view text;  // "&Projekt"; the profile submenu is "Umgebung"
};

// Every command in menu order (toolbar-only commands last).
std::span<const TCommand> Commands();
// The menus in menu-bar order; the profile submenu belongs to the project menu.
std::span<const TMenuInfo> Menus();
const TCommand& Command(TCommandId id);

// What the enabling rules look at.
struct TCommandState {
  bool fileToolbarEnabled = true;  // false while a simulation or a transfer runs
  bool historyEmpty = true;        // module navigation history
  bool editorReadOnly = false;     // the active editor (a read-only file)
  bool hasSelection = false;
  bool canUndo = false;
  bool canRedo = false;
  bool recentEntry[4] = {false, false, false, false};  // which recent-file items are visible
};

// Enabled state of a command that the run control does not decide (the run items return
// true here: their state comes from the run control).
bool CommandEnabled(TCommandId id, const TCommandState& state);
// Recent-file items are hidden, not disabled, when their entry is empty.
bool CommandVisible(TCommandId id, const TCommandState& state);

// The profile a profile item chooses (nothing for other commands), and the item of a
// profile (none for Tessel 2.0: it comes only from a project file).
std::optional<TProfile> ProfileOfCommand(TCommandId id);
bool ProfileCommand(TProfile profile, TCommandId& id);

}  // namespace zarvek::workspace
