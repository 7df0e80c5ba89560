// Declarations (DIM, CONST, TYPE), variable memory, and the code that reads and writes
// variables: the assignment statement and the variable operands of expressions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compiler_context.h"
#include "compiler/emit.h"

namespace zarvek {

void CompileDim(TCompilerContext& c);
void CompileConst(TCompilerContext& c);
void CompileType(TCompilerContext& c);

// Address for a new variable by the profile's memory scheme; -1 after message 117.
int64_t AllocateVariable(TCompilerContext& c, uint32_t kinds, const std::vector<TArrayBounds>& bounds,
                         const std::vector<uint8_t>& pattern);

// A symbol found by name in an expression, with the position after its name: reads what
// belongs to the operand (an index in brackets, "." and an element) and emits the code
// that pushes its value (variables, ports, AD inputs, constant tables, bit indexes,
// structure elements). Returns the operand's value text: "0" for a run-time value.
std::string CompileVariableOperand(TCompilerContext& c, int symbol, uint32_t mask);

// The store of a simple variable of the given symbol: the caller emits the value first,
// then appends the piece (the initialisation code uses it too).
TCodePiece EmitStore(TCompilerContext& c, int symbol);

// The assignment statement; `word` is the statement word already read, the position is
// after it.
void CompileAssignment(TCompilerContext& c, const std::string& word);

}  // namespace zarvek
