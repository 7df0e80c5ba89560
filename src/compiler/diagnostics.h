// The single error report of a compilation, and mapping merged-source positions back to
// the project's text and its modules.
#pragma once

#include <string>

#include "compiler/compiler_context.h"

namespace zarvek {

// Reports message `code` with its argument (cp1252) at the error position. Only the
// first report of a compilation counts; later ones do nothing.
void CompileError(TCompilerContext& c, const std::string& argument, int code);
// The same at a given position.
void ReportAt(TCompilerContext& c, int32_t position, const std::string& argument, int code);

TMappedPosition MapPosition(const std::vector<TIncludeRecord>& includes, int32_t position);

TSourceLocation Locate(const TCompilerContext& c, int32_t position);

}  // namespace zarvek
