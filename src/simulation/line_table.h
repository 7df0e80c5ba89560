// The run control's line table, built from a compilation's statement map.
#pragma once

#include <set>
#include <vector>

#include "compiler/compiler.h"
#include "runtime/interpreter.h"

namespace zarvek {

// One record per statement: its token offset, the editor line (1-based) of its position
// in the project's text, the position, and its origin (kMainSourceOrigin or the module
// index). Statements of the main source on a line in `breakpoints` are flagged.
std::vector<TLineRecord> BuildLineTable(const TCompiler& compiler, const TCompileResult& result,
                                        const std::set<uint32_t>& breakpoints = {});

}  // namespace zarvek
