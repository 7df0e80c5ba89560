// The breakpoints of the project's tabs that the editors do not show: each file keeps its
// own while the user moves between a project and its modules, so that a run started from
// any tab stops at the breakpoints of every file it includes.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace zarvek::workspace {

class TTabBreakpoints {
 public:
  // The editors leave `file`: its breakpoint lines (1-based) are kept.
  void Keep(const std::string& file, const std::set<int>& basic, const std::set<int>& assembler);
  // The lines kept for a file (compared as paths are); empty when none.
  std::vector<int32_t> Lines(const std::string& file, bool assembler) const;
  // Whether a file other than `shown` keeps a breakpoint.
  bool AnyBesides(const std::string& shown) const;
  // Another project: nothing kept.
  void Clear() { m_files.clear(); }

 private:
  struct TFile {
    std::string path;
    std::set<int> basic, assembler;
  };
  std::vector<TFile> m_files;
};

}  // namespace zarvek::workspace
