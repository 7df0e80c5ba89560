// The run control's line table, built from a compilation's statement map.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "compiler/compiler.h"
#include "runtime/interpreter.h"

namespace zarvek {

// Breakpoints by text: {origin, editor line}, the origin kMainSourceOrigin or a module's
// index in the include records.
using TBreakpointPlaces = std::set<std::pair<uint32_t, uint32_t>>;

// One record per statement: its token offset, the editor line (1-based) of the statement
// in its own text (the project's, or the module's own for a statement of a module), the
// position in the merged source, and its origin (kMainSourceOrigin or the module index).
// Statements on a breakpoint line of their text are flagged.
std::vector<TLineRecord> BuildLineTable(const TCompiler& compiler, const TCompileResult& result,
                                        const TBreakpointPlaces& breakpoints);
// Breakpoints of the main source only.
std::vector<TLineRecord> BuildLineTable(const TCompiler& compiler, const TCompileResult& result,
                                        const std::set<uint32_t>& breakpoints = {});

}  // namespace zarvek
