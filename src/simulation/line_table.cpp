#include "simulation/line_table.h"

namespace zarvek {

std::vector<TLineRecord> BuildLineTable(const TCompiler& compiler, const TCompileResult& result,
                                        const TBreakpointPlaces& breakpoints) {
  std::vector<TLineRecord> table;
  table.reserve(result.statementMap.size());
  for (const TStatementMapRecord& s : result.statementMap) {
    const uint32_t origin = s.moduleIndex < 0 ? kMainSourceOrigin : static_cast<uint32_t>(s.moduleIndex);
    // The line as the module's own tab shows it, so that a pause can select it there.
    const TSourceLocation at = compiler.Locate(static_cast<int32_t>(s.sourcePosition));
    const uint32_t line = static_cast<uint32_t>(origin == kMainSourceOrigin ? at.projectLine : at.line);
    const uint8_t flagged = breakpoints.count({origin, line}) ? 1 : 0;
    table.push_back(TLineRecord{s.codeOffset, line, s.sourcePosition, origin, flagged});
  }
  return table;
}

std::vector<TLineRecord> BuildLineTable(const TCompiler& compiler, const TCompileResult& result,
                                        const std::set<uint32_t>& breakpoints) {
  TBreakpointPlaces places;
  for (uint32_t line : breakpoints) places.insert({kMainSourceOrigin, line});
  return BuildLineTable(compiler, result, places);
}

}  // namespace zarvek
