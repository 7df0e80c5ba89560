// Opening and saving project files, with the texts the IDE shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/file_io.h"
#include "project/project.h"
#include "project/project_xml.h"

namespace zarvek {

namespace loadresult {
inline constexpr int Loaded = 0;
inline constexpr int NotAProject = 1;
inline constexpr int ReadFailed = 2;
}  // namespace loadresult

inline constexpr const char* kOpenErrorCaption = "Fehler beim Öffnen";
inline constexpr const char* kOpenFailedText = "Die Datei konnte nicht geöffnet werden.";
inline constexpr const char* kSaveErrorCaption = "Fehler beim Speichern";
inline constexpr const char* kSaveFailedText = "Die Datei konnte nicht gespeichert werden.";
inline constexpr const char* kBackupCaption = "Backup";
inline constexpr const char* kBackupFailedText = "Eine Sicherungskopie konnte nicht erstellt werden.";
inline std::string NotAProjectText(const std::string& fileName) { return fileName + " ist keine Projektdatei."; }

struct TLoadOutcome {
  int result = loadresult::Loaded;
  // For a message box (empty: none): interactive opens only, UTF-8 apart from the file
  // name, which is given as it came.
  std::string message;
  std::string caption;
  bool readOnly = false;   // both editors become read-only
  std::string statusText;  // "NAME ist schreibgeschützt." for a read-only file
  std::vector<TObjectNode> objectNodes;  // the objects read, for the project tree
};

// Reads a project file. An interactive open replaces the whole project (objects read,
// breakpoints empty: they are written but never read); a module load sets only the two
// texts and the profile. A file that cannot be loaded leaves the project as it was.
TLoadOutcome LoadProject(const std::string& fileName, TLoadMode mode, TProject& project);

// A failed open (result 1 or 2) with the message and caption to show.
TLoadOutcome OpenFailure(int result, const std::string& fileName);
// A file refused unread (result 2), with the reason: access, not a regular file, too large.
TLoadOutcome ReadFailure(const std::string& fileName, TReadStatus status, uint64_t limit);
// Marks the outcome read-only, with its status text, when the user may not write the file.
void NoteReadOnly(const std::string& fileName, TLoadOutcome& outcome);

struct TSaveOutcome {
  bool saved = false;
  bool backupMade = false;
  std::string message;     // for a message box when the save failed
  std::string caption;
  std::string statusText;  // "NAME gespeichert."
};

// Asked when the backup copy fails (with its text and caption); true saves without a
// backup, false abandons the save.
using TBackupQuestion = std::function<bool(const std::string& text, const std::string& caption)>;

// Copies an existing file to the same name with the extension ".BAK", then replaces its
// content so that a failed write leaves the old file intact. Without a question the save
// goes on without a backup.
TSaveOutcome SaveProject(const std::string& fileName, const TProject& project, const TBackupQuestion& question = {});

}  // namespace zarvek
