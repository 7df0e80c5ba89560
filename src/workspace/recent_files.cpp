#include "workspace/recent_files.h"

#include <vector>

#include "workspace/paths.h"

namespace zarvek::workspace {

void TRecentFiles::Load(const TSettings& settings) {
  std::vector<std::string> kept;
  for (const std::string& name : settings.recentFiles) {
    if (name.empty()) continue;
    bool listed = false;
    for (const std::string& k : kept) listed = listed || SamePath(k, name);
    if (!listed) kept.push_back(name);
  }
  m_entries = {};
  for (size_t i = 0; i < kept.size(); ++i) m_entries[i] = kept[i];
}

void TRecentFiles::Store(TSettings& settings) const { settings.recentFiles = m_entries; }

void TRecentFiles::Add(const std::string& fullPath) {
  if (fullPath.empty()) return;
  size_t at = kRecentFileCount - 1;  // a new name pushes the oldest out
  for (size_t i = 0; i < kRecentFileCount; ++i)
    if (SamePath(m_entries[i], fullPath)) {
      at = i;
      break;
    }
  for (size_t i = at; i > 0; --i) m_entries[i] = m_entries[i - 1];
  m_entries[0] = fullPath;
}

std::string TRecentFiles::Caption(size_t index) const {
  if (index >= kRecentFileCount || m_entries[index].empty()) return {};
  return std::to_string(index + 1) + ". " + ShortenRecentName(m_entries[index]);
}

std::string ShortenRecentName(const std::string& name) {
  if (CharCount(name) < 33) return name;
  const std::string_view tail = LastChars(name, 31);
  const size_t separator = tail.find_first_of("\\/");
  return "..." + std::string(separator == std::string_view::npos ? tail : tail.substr(separator));
}

}  // namespace zarvek::workspace
