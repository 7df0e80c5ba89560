#include "workspace/save_flow.h"

#include "project/file_io.h"

namespace zarvek::workspace {

bool QuerySaveChanges(bool modified, const std::string& fileName, const TAsk& ask,
                      const std::function<void()>& save, const std::function<bool()>& stillModified) {
  if (!modified) return false;
  switch (ask(MessageText(TMessageId::SaveChanges, fileName))) {
    case TAnswer::Yes:
      save();
      return stillModified();
    case TAnswer::No:
      return false;
    default:
      return true;
  }
}

TSaveNameChoice ChooseSaveName(bool saveAs, bool untitled, const std::string& currentFile, const TSaveNameHost& host) {
  TSaveNameChoice choice;
  if (!saveAs && !untitled && !currentFile.empty() && UpperExtension(currentFile) == ".XML") {
    choice.name = currentFile;
    return choice;
  }
  std::string preset = untitled || currentFile.empty() ? std::string() : ReplaceExtension(currentFile, "");
  for (;;) {
    const std::optional<std::string> chosen = host.dialog(preset);
    if (!chosen || chosen->empty()) return choice;
    if (!host.exists(*chosen)) {
      choice.name = chosen;
      return choice;
    }
    switch (host.ask(MessageText(TMessageId::ReplaceFile, *chosen))) {
      case TAnswer::Yes:
        choice.name = chosen;
        return choice;
      case TAnswer::No:
        choice.forgetCurrentName = true;
        preset.clear();
        break;
      default:
        choice.forgetCurrentName = true;
        return choice;
    }
  }
}

}  // namespace zarvek::workspace
