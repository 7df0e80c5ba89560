#include "workspace/modules.h"

#include <filesystem>

#include "text/lines.h"
#include "text/names.h"
#include "workspace/paths.h"

namespace zarvek::workspace {

namespace {
TModuleRecord RecordFor(const std::string& path, const std::string& parent = {}) {
  TModuleRecord r;
  r.displayName = ModuleDisplayName(path);
  r.fullPath = path;
  r.parentPath = parent;
  return r;
}

std::string Normalised(std::string path) {
  if (std::filesystem::path::preferred_separator != '\\')
    for (char& c : path)
      if (c == '\\') c = '/';
  return std::filesystem::path(path).lexically_normal().string();
}
}  // namespace

void TModuleNavigator::Reset(const std::string& mainFile) {
  m_records = {RecordFor(mainFile)};
  m_history.clear();
  m_active = 0;
}

void TModuleNavigator::RebuildTabs(const std::string& mainFile, const std::vector<TIncludeRecord>& includes) {
  Reset(mainFile);
  for (const TIncludeRecord& include : includes)
    if (FindRecord(include.fileName) < 0) m_records.push_back(RecordFor(include.fileName, include.parentFileName));
}

void TModuleNavigator::FileSaved(const std::string& path) {
  if (m_active < 0 || m_active >= static_cast<int>(m_records.size())) return;
  TModuleRecord& r = m_records[static_cast<size_t>(m_active)];
  r.fullPath = path;
  r.displayName = ModuleDisplayName(path);
}

int TModuleNavigator::FindRecord(const std::string& path) const {
  for (size_t i = 0; i < m_records.size(); ++i)
    if (SamePath(m_records[i].fullPath, path)) return static_cast<int>(i);
  return -1;
}

void TModuleNavigator::RememberSelections() {
  if (m_active < 0 || m_active >= static_cast<int>(m_records.size())) return;
  TModuleRecord& r = m_records[static_cast<size_t>(m_active)];
  r.basic = m_host.Selection(false);
  r.assembler = m_host.Selection(true);
}

void TModuleNavigator::RestoreSelections(int index) {
  const TModuleRecord& r = m_records[static_cast<size_t>(index)];
  m_host.SetSelection(false, r.basic);
  m_host.SetSelection(true, r.assembler);
}

bool TModuleNavigator::SaveIfModified() {
  if (m_host.Modified()) m_host.Save();
  return !m_host.Modified();
}

bool TModuleNavigator::Jump(std::string path) {
  const std::string left = m_host.CurrentFile();
  if (SamePath(left, path)) {
    const int index = FindRecord(path);
    if (index >= 0) m_active = index;
    return true;
  }
  // Every switch saves the file being left, so that the compiler reads current modules
  // and nothing typed is lost when the editors take the other file.
  if (!SaveIfModified()) return false;
  RememberSelections();
  const std::string current = m_host.CurrentFile();
  const bool pushed = m_history.empty() || !SamePath(m_history.back(), current);
  if (pushed) m_history.push_back(current);
  int index = FindRecord(path);
  const bool known = index >= 0;
  if (!known) {
    m_records.push_back(RecordFor(path, current));
    index = static_cast<int>(m_records.size()) - 1;
  }
  const int activeBefore = m_active;
  m_active = index;
  m_host.OpenModuleFile(path);
  if (!SamePath(m_host.CurrentFile(), path)) {
    // The file could not be opened: everything stays with the file still shown.
    if (pushed) m_history.pop_back();
    if (!known) m_records.pop_back();
    m_active = activeBefore;
    return false;
  }
  if (known) RestoreSelections(index);
  return true;
}

bool TModuleNavigator::TreeModuleClick(const std::string& path) {
  if (m_host.Untitled()) {
    m_host.Inform(MessageText(TMessageId::SaveMainBeforeModule));
    m_host.Save();
    if (m_host.Untitled()) return false;
    FileSaved(m_host.CurrentFile());
  }
  return Jump(path);
}

bool TModuleNavigator::Back() {
  if (m_history.empty()) return false;
  const size_t before = m_history.size();
  if (!Jump(m_history.back())) return false;
  // The entry jumped to goes, and with it the jump's own push of the file left.
  m_history.resize(before - 1);
  return true;
}

bool TModuleNavigator::Home() {
  if (m_history.empty()) return false;
  if (!Jump(m_history.front())) return false;
  m_history.clear();
  return true;
}

bool TModuleNavigator::SelectTab(int index) {
  if (index < 0 || index >= static_cast<int>(m_records.size())) return false;
  if (index == m_active) return true;
  const std::string path = m_records[static_cast<size_t>(index)].fullPath;
  if (!Jump(path)) return false;
  RestoreSelections(index);
  return true;
}

void TModuleNavigator::AddModule(const std::string& path) {
  m_host.SetBasicText(IncludeLine(path) + m_host.BasicText());
  m_host.CompileSilently();
}

bool TModuleNavigator::NewModule() {
  std::string path;
  for (;;) {
    const std::optional<std::string> chosen = m_host.ChooseNewFile(kNewModuleDialogTitle);
    if (!chosen || chosen->empty()) return false;
    if (!m_host.FileExists(*chosen)) {
      path = *chosen;
      break;
    }
    const TMessage exists = MessageText(TMessageId::NewModuleExists, BaseName(*chosen), FolderOf(*chosen));
    if (m_host.Ask(exists) != TAnswer::Ok) return false;
  }
  const std::string name = BaseName(path);
  const std::string before = m_host.BasicText();
  m_host.SetBasicText(IncludeLine(path) + before);
  if (m_host.Untitled()) {
    m_host.Inform(MessageText(TMessageId::NewModuleSaveFirst, name));
    m_host.Save();
  } else {
    // The include line just written would be lost when the editors take the new module.
    m_host.Save();
  }
  if (m_host.Untitled() || m_host.Modified()) {
    m_host.Inform(MessageText(TMessageId::NewModuleFailed, name));
    m_host.SetBasicText(before);
    return false;
  }
  FileSaved(m_host.CurrentFile());
  RememberSelections();
  // Entering the new module is a step into a module like a jump: Zurück leads back.
  const std::string parent = m_host.CurrentFile();
  if (m_history.empty() || !SamePath(m_history.back(), parent)) m_history.push_back(parent);
  m_records.push_back(RecordFor(path, parent));
  m_active = static_cast<int>(m_records.size()) - 1;
  m_host.StartEmptyProject(path);
  m_host.Save();
  return true;
}

bool TModuleNavigator::ModuleLink() {
  const std::string current = m_host.CurrentFile();
  const int own = FindRecord(current);
  std::string parent = own >= 0 ? m_records[static_cast<size_t>(own)].parentPath : std::string();
  if (parent.empty() || SamePath(parent, current)) return false;
  const int index = FindRecord(parent);
  if (!(index >= 0 ? SelectTab(index) : Jump(parent))) return false;
  const int32_t offset = FindIncludeLine(m_host.BasicText(), current, FolderOf(parent));
  m_host.ShowBasicAt(offset < 0 ? 0 : offset);
  return true;
}

std::string IncludeLine(const std::string& path) { return "$INCLUDE \"" + path + "\"\r\n"; }

int32_t FindIncludeLine(std::string_view text, const std::string& moduleFile, const std::string& folder) {
  const std::string wanted = Normalised(moduleFile);
  size_t lineStart = 0;
  while (lineStart <= text.size()) {
    size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    std::string_view line = text.substr(lineStart, lineEnd - lineStart);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      line.remove_prefix(first);
      if (UpperCase(line.substr(0, 8)) == "$INCLUDE") {
        const size_t open = line.find('"');
        const size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
        if (close != std::string_view::npos) {
          std::string name(line.substr(open + 1, close - open - 1));
          const std::filesystem::path p(Normalised(name));
          const std::string full = p.is_absolute() || folder.empty() ? Normalised(name) : Normalised(folder + "/" + name);
          if (SamePath(full, wanted)) return static_cast<int32_t>(lineStart);
        }
      }
    }
    if (lineEnd >= text.size()) break;
    lineStart = lineEnd + 1;
  }
  return -1;
}

}  // namespace zarvek::workspace
