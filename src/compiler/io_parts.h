// What the I/O statement compilers (PRINT, INPUT, the data file) share among themselves.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "compiler/compiler_context.h"
#include "compiler/emit.h"
#include "compiler/scanner.h"
#include "compiler/variable_access.h"

namespace zarvek {

// The symbol of the name at the position, for an item or target that needs to know what
// it is before compiling it; a STRING variable answers to its name without "$" too. -1
// when the name is no symbol. Nothing is read.
int PeekSymbol(const TCompilerContext& c);
// The same for a name already read.
int LookUpIoName(const TCompilerContext& c, const std::string& name);

// A label unique to the statement being compiled: `prefix` + the code length.
std::string LoopLabel(const TCompilerContext& c, const char* prefix);

// Token sequences of the generated loops.
void EmitTokens(TCompilerContext& c, std::initializer_list<uint8_t> tokens);
// The constant push of `constant`, then `token`.
void EmitConstantOperator(TCompilerContext& c, int64_t constant, uint8_t token);

// PRINT #, value {, value}: the position is after the "#".
void CompilePrintToFile(TCompilerContext& c);

// Ends an I/O statement: the discard a Tessel FUNCTION or interrupt SUB needs, then the
// statement end.
void FinishIoStatement(TCompilerContext& c);

}  // namespace zarvek
