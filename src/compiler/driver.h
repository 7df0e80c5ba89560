// The compiler driver's internal steps.
#pragma once

#include <string>

#include "compiler/compiler_context.h"

namespace zarvek {

// Resets the context and compiles the input; the image is valid only without an error.
void RunCompilation(TCompilerContext& c, const TCompileInput& input, std::string& image);
// Joins continued lines of source[first, end) (0-based): an underscore after a blank or
// line end, before a blank, a comment or the line end, becomes a blank with the line end
// and the comment behind it; anything else behind it reports 109. Positions stay.
void JoinContinuedLines(TCompilerContext& c, size_t first, size_t end);
// After the statement loop: initial values, prologue, relocation, fixups; the image.
std::string PostPass(TCompilerContext& c);
// The variable memories as the token view shows them (empty for an image of
// kMemoryDumpImageLimit bytes or more); must run before the memory maps are released.
std::string MemoryDumpText(const TCompilerContext& c, size_t imageLength);
// References to assembler labels, then the warnings about unused symbols.
TLinkResult Link(TCompilerContext& c, std::string& image, const std::vector<TAsmLabel>& labels, bool warnings);

}  // namespace zarvek
