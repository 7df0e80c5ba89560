// The recent-file list of the file menu: four full file names, newest first.
#pragma once

#include <array>
#include <string>

#include "project/settings.h"

namespace zarvek::workspace {

inline constexpr size_t kRecentFileCount = 4;

class TRecentFiles {
 public:
  // Empty entries are dropped and a name listed twice is kept once, in its newer place.
  void Load(const TSettings& settings);
  void Store(TSettings& settings) const;

  // An opened file moves to the front; a file not listed pushes the oldest out.
  void Add(const std::string& fullPath);
  const std::array<std::string, kRecentFileCount>& Entries() const { return m_entries; }
  // The menu item's text: "1. " ... "4. " and the shortened name; empty for an empty entry
  // (its item is hidden).
  std::string Caption(size_t index) const;

 private:
  std::array<std::string, kRecentFileCount> m_entries;
};

// A name of 33 characters or more becomes "..." and its tail, starting at the leftmost
// folder separator among its last 31 characters, or its last 31 characters when there is
// none among them.
std::string ShortenRecentName(const std::string& name);

}  // namespace zarvek::workspace
