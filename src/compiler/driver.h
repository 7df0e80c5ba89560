// The compiler driver's internal steps.
#pragma once

#include <string>

#include "compiler/compiler_context.h"

namespace zarvek {

// Resets the context and compiles the input; the image is valid only without an error.
void RunCompilation(TCompilerContext& c, const TCompileInput& input, std::string& image);
// After the statement loop: initial values, prologue, relocation, fixups; the image.
std::string PostPass(TCompilerContext& c);
// References to assembler labels, then the warnings about unused symbols.
TLinkResult Link(TCompilerContext& c, std::string& image, const std::vector<TAsmLabel>& labels, bool warnings);

}  // namespace zarvek
