// Stand-ins for the control-flow statements until they are written: they report
// themselves as not (yet) statements, so a program using them fails to compile.
#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "runtime/tokens.h"

namespace zarvek {

namespace {

void NotYet(TCompilerContext& c, const std::string& word) { CompileError(c, word, 102); }

}  // namespace

void CompileIf(TCompilerContext& c, const std::string& w) { NotYet(c, w); }
void CompileSelect(TCompilerContext& c) { NotYet(c, "SELECT"); }
void CompileCase(TCompilerContext& c) { NotYet(c, "CASE"); }
void CompileFor(TCompilerContext& c) { NotYet(c, "FOR"); }
void CompileNext(TCompilerContext& c) { NotYet(c, "NEXT"); }
void CompileDo(TCompilerContext& c) { NotYet(c, "DO"); }
void CompileLoop(TCompilerContext& c) { NotYet(c, "LOOP"); }
void CompileExit(TCompilerContext& c) { NotYet(c, "EXIT"); }
void CompileProcedureHead(TCompilerContext& c, bool isFunction) { NotYet(c, isFunction ? "FUNCTION" : "SUB"); }
void CompileCall(TCompilerContext& c) { NotYet(c, "CALL"); }
void CompileGoto(TCompilerContext& c, const std::string& w) { NotYet(c, w); }
void CompileInterruptSwitch(TCompilerContext& c, const std::string& w) { NotYet(c, w); }
void CompileOnInterrupt(TCompilerContext& c) { NotYet(c, "ON"); }

// END alone ends the program; the block ends (END IF, END SUB, ...) come with the
// control-flow statements.
void CompileEnd(TCompilerContext& c) {
  const int32_t at = c.position;
  const std::string next = UpperCase(ReadWord(c));
  c.position = at;
  if (next.empty()) {
    EmitByte(c, tok::END);
    return;
  }
  NotYet(c, "END " + next);
}

}  // namespace zarvek
