// Where the lines of each text of a compilation start: the project's own text and every
// module's, each counted without the modules spliced into it. A position's line is then
// a binary search away instead of a scan from the start of the source.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "compiler/compiler.h"

namespace zarvek {

class TLineIndex {
 public:
  TLineIndex() = default;
  TLineIndex(const std::string& source, const std::vector<TIncludeRecord>& includes);

  // Line and column (1-based) of a merged-source position that lies in text `module`
  // (-1: the project's own text). A line end belongs to the line it ends.
  std::pair<int32_t, int32_t> LineColumn(int32_t module, int32_t position) const;

 private:
  // Per text (index module + 1): the merged-source positions its lines start at, ascending.
  std::vector<std::vector<int32_t>> m_starts;
};

}  // namespace zarvek
