// Stand-ins for the I/O and device statements until they are written: they report
// themselves as not (yet) statements, so a program using them fails to compile.
#include "compiler/diagnostics.h"
#include "compiler/statements.h"

namespace zarvek {

namespace {

void NotYet(TCompilerContext& c, const std::string& word) { CompileError(c, word, 102); }

}  // namespace

void CompilePrint(TCompilerContext& c) { NotYet(c, "PRINT"); }
void CompileInput(TCompilerContext& c) { NotYet(c, "INPUT"); }
void CompileOpen(TCompilerContext& c) { NotYet(c, "OPEN"); }
void CompileClose(TCompilerContext& c) { NotYet(c, "CLOSE"); }
void CompileSetBaud(TCompilerContext& c) { NotYet(c, "SETBAUD"); }
void CompilePinStatement(TCompilerContext& c, const std::string& w) { NotYet(c, w); }
void CompileDeact(TCompilerContext& c) { NotYet(c, "DEACT"); }
void CompileSimpleStatement(TCompilerContext& c, const std::string& w) { NotYet(c, w); }

}  // namespace zarvek
