// Stand-ins for the module statements until modules are built: they report themselves
// as not (yet) statements, so a program using them fails to compile.
#include "compiler/diagnostics.h"
#include "compiler/statements.h"

namespace zarvek {

namespace {

void NotYet(TCompilerContext& c, const std::string& word) { CompileError(c, word, 102); }

}  // namespace

void CompileModule(TCompilerContext& c) { NotYet(c, "MODULE"); }
void CompileInclude(TCompilerContext& c) { NotYet(c, "$INCLUDE"); }

}  // namespace zarvek
