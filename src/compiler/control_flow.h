// What the control-flow statements share: the block stack, synthetic labels, jumps and
// the ways out of a procedure.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "compiler/compiler_context.h"

namespace zarvek {

// Reports the error that fits the innermost open block: the statement that closes a block
// does not match it.
void CheckOpenBlock(TCompilerContext& c);

// Where the current statement's word begins.
int32_t StatementStart(const TCompilerContext& c);
// Reports at the start of the statement: it does not fit the blocks around it.
void ReportAtStatement(TCompilerContext& c, int code);
// Reports at what follows after blanks, or at the end of the line when nothing does.
void ReportHere(TCompilerContext& c, const std::string& argument, int code);

// The decimal text of a number from n up for which no prefix + number is a symbol or a
// label handed out before; the names are then taken. Synthetic labels are named after
// code lengths and source positions, which two blocks may share (a DO right inside
// another emits no code).
std::string FreshLabelNumber(TCompilerContext& c, int64_t n, std::initializer_list<std::string_view> prefixes);

// The next name of the statement, upper-cased (empty when none follows).
std::string ReadUpperName(TCompilerContext& c);

// The innermost open SUB or FUNCTION block; nullptr in the main program.
const TBlock* InnermostProcedure(const TCompilerContext& c);

// The way out of the procedure being compiled (END and EXIT of a SUB or FUNCTION).
void EmitProcedureExit(TCompilerContext& c, bool atEnd);

// Block ends, dispatched by END.
void CompileEndIf(TCompilerContext& c);
void CompileEndSelect(TCompilerContext& c);
void CompileEndProcedure(TCompilerContext& c, bool isFunction);

}  // namespace zarvek
