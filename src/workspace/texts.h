// The main window's own texts: captions, status-line texts, message boxes and dialog
// texts, in one table (UTF-8; file names are passed as the IDE keeps them, UTF-8 too).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/profile.h"

namespace zarvek::workspace {

inline constexpr std::string_view kAppTitle = "Zarvek";
inline constexpr std::string_view kUntitledProject = "Unbenannt.xml";
inline constexpr std::string_view kUntitledBeforeFirst = "Unbenannt.cpo";
inline constexpr std::string_view kUntitledTab = "(unbenannt)";
inline constexpr std::string_view kCompilingText = "Compilieren...";
inline constexpr std::string_view kNewModuleDialogTitle = "Neues Projekt Modul anlegen...";
inline constexpr std::string_view kFindAddressCaption = "Laufzeitfehler Suchen";
inline constexpr std::string_view kFindAddressPrompt = "Adresse:";
inline constexpr std::string_view kPrintHeadingBasic = "- BASIC -";
inline constexpr std::string_view kPrintHeadingAssembler = "- ASSEMBLER -";
inline constexpr std::string_view kHelpFile = "Zarvek.chm";

// File dialog filters, each "Text (*.ext)".
std::span<const std::string_view> OpenFilters();    // project, assembler, BASIC
std::span<const std::string_view> SaveFilters();    // project only
std::span<const std::string_view> ImportFilters();  // S19, BIN, CPO
std::span<const std::string_view> ExportFilters();  // compiled project

// "Zarvek" without a file, "Zarvek- " + the file name with one.
std::string WindowCaption(std::string_view fileName);

// The status line after a successful compile, by profile.
std::string CompiledText(TProfile profile);
std::string SavedStatusText(std::string_view fileNameOnly);
std::string ReadOnlyStatusText(std::string_view fileNameOnly);

enum class TButtons { Ok, OkCancel, YesNoCancel };
enum class TAnswer { Ok, Yes, No, Cancel };

struct TMessage {
  std::string text;
  std::string caption;
  TButtons buttons = TButtons::Ok;
  bool operator==(const TMessage&) const = default;
};

enum class TMessageId {
  SaveChanges,          // argument: the current file name, may be empty
  ReplaceFile,          // the chosen name
  BackupFailed,
  NotAProject,          // the file name with its folder
  CannotOpen,
  CannotSave,
  NewModuleExists,      // the file name; folder: its folder
  NewModuleSaveFirst,   // the module's file name
  NewModuleFailed,      // the module's file name
  SaveMainBeforeModule,
  HelpMissing,          // the help file's full name
  ReadOnly,             // the file name without its folder
  HelpNotShown,         // the help file's full name
};

TMessage MessageText(TMessageId id, std::string_view name = {}, std::string_view folder = {});

}  // namespace zarvek::workspace
