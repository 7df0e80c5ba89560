#include "workspace/tab_breakpoints.h"

#include "workspace/paths.h"

namespace zarvek::workspace {

void TTabBreakpoints::Keep(const std::string& file, const std::set<int>& basic, const std::set<int>& assembler) {
  for (TFile& f : m_files)
    if (SamePath(f.path, file)) {
      f.basic = basic;
      f.assembler = assembler;
      return;
    }
  m_files.push_back({file, basic, assembler});
}

std::vector<int32_t> TTabBreakpoints::Lines(const std::string& file, bool assembler) const {
  for (const TFile& f : m_files)
    if (SamePath(f.path, file)) {
      const std::set<int>& lines = assembler ? f.assembler : f.basic;
      return {lines.begin(), lines.end()};
    }
  return {};
}

bool TTabBreakpoints::AnyBesides(const std::string& shown) const {
  for (const TFile& f : m_files)
    if (!SamePath(f.path, shown) && (!f.basic.empty() || !f.assembler.empty())) return true;
  return false;
}

}  // namespace zarvek::workspace
