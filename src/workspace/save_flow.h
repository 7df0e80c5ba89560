// The questions around saving: whether to save changes before an action, and which name
// the save command writes to.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "workspace/texts.h"

namespace zarvek::workspace {

using TAsk = std::function<TAnswer(const TMessage&)>;

// Before open, new, import and closing: asks to save when an editor is modified. Yes runs
// `save` and goes on only when nothing is modified afterwards; No goes on; Cancel stops.
// True when the calling action must be abandoned.
bool QuerySaveChanges(bool modified, const std::string& fileName, const TAsk& ask,
                      const std::function<void()>& save, const std::function<bool()>& stillModified);

struct TSaveNameChoice {
  std::optional<std::string> name;  // nothing: the save is abandoned
  bool forgetCurrentName = false;   // the next save asks for a name again
};

struct TSaveNameHost {
  // The save dialog, preset with a name (empty: none); nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& preset)> dialog;
  std::function<bool(const std::string&)> exists;
  TAsk ask;
};

// "Speichern unter", an untitled project and a name whose extension is not ".xml" ask
// for a name; an existing file is replaced only after Yes, No asks again, Cancel gives up.
TSaveNameChoice ChooseSaveName(bool saveAs, bool untitled, const std::string& currentFile, const TSaveNameHost& host);

}  // namespace zarvek::workspace
