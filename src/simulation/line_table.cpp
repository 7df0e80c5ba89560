#include "simulation/line_table.h"

namespace zarvek {

std::vector<TLineRecord> BuildLineTable(const TCompiler& compiler, const TCompileResult& result,
                                        const std::set<uint32_t>& breakpoints) {
  std::vector<TLineRecord> table;
  table.reserve(result.statementMap.size());
  for (const TStatementMapRecord& s : result.statementMap) {
    const uint32_t origin = s.moduleIndex < 0 ? kMainSourceOrigin : static_cast<uint32_t>(s.moduleIndex);
    // Statements of a module stand, in the editor, on the line of their $INCLUDE.
    const TSourceLocation at = compiler.Locate(static_cast<int32_t>(s.sourcePosition));
    const uint32_t line = static_cast<uint32_t>(at.projectLine);
    const uint8_t flagged = origin == kMainSourceOrigin && breakpoints.count(line) ? 1 : 0;
    table.push_back(TLineRecord{s.codeOffset, line, s.sourcePosition, origin, flagged});
  }
  return table;
}

}  // namespace zarvek
