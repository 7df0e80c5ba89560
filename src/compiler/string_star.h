// The value assigned to a whole STRING * n (Pyxon): texts, STRING * n and STRING
// variables, CHR$ and STR$, joined by "+" or "&" and cut at the declared length.
#pragma once

#include "compiler/compiler_context.h"
#include "compiler/variable_access.h"

namespace zarvek {

// Compiles the value from the position and writes it into `target`, whose byte 0 is
// pushed by `address` when it is computed. False after an error.
bool CompileStringStarValue(TCompilerContext& c, const TElement& target, const TCodePiece& address);

}  // namespace zarvek
