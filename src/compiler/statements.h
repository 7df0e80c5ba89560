// Statement compilers the driver dispatches to, beyond declarations and assignments.
#pragma once

#include <string>

#include "compiler/compiler_context.h"

namespace zarvek {

// Control flow and procedures.
void CompileIf(TCompilerContext& c, const std::string& upperWord);  // IF, ELSEIF, ELSE
void CompileEnd(TCompilerContext& c);  // END, END IF, END SUB, END FUNCTION, END SELECT
void CompileSelect(TCompilerContext& c);
void CompileCase(TCompilerContext& c);
void CompileFor(TCompilerContext& c);
void CompileNext(TCompilerContext& c);
void CompileDo(TCompilerContext& c);
void CompileLoop(TCompilerContext& c);
void CompileExit(TCompilerContext& c);
void CompileProcedureHead(TCompilerContext& c, bool isFunction);
void CompileCall(TCompilerContext& c);
void CompileGoto(TCompilerContext& c, const std::string& upperWord);  // GOTO, GOSUB, RETURN
void CompileInterruptSwitch(TCompilerContext& c, const std::string& upperWord);
void CompileOnInterrupt(TCompilerContext& c);
// A label definition: `word` followed by ":".
void CompileLabel(TCompilerContext& c, const std::string& word);
// A one-line IF ends with its line: the driver calls this at the first statement of every
// line and after the last one.
void CloseLineBlocks(TCompilerContext& c);
// "= value" after the FUNCTION's own name inside it: the FUNCTION's result.
void CompileResultAssignment(TCompilerContext& c);

// I/O and devices.
void CompilePrint(TCompilerContext& c);
void CompileInput(TCompilerContext& c);
void CompileOpen(TCompilerContext& c);
void CompileClose(TCompilerContext& c);
void CompileSetBaud(TCompilerContext& c);
void CompilePinStatement(TCompilerContext& c, const std::string& upperWord);  // SWITCH, PULSE
void CompileDeact(TCompilerContext& c);
void CompileSimpleStatement(TCompilerContext& c, const std::string& upperWord);  // RANDOMIZE, PAUSE, SLOWMODE, POKE

// Modules.
void CompileModule(TCompilerContext& c);
void CompileInclude(TCompilerContext& c);

}  // namespace zarvek
