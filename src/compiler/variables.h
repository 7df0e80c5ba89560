// Declarations (DIM, CONST, TYPE), variable memory, and the code that reads and writes
// variables: the assignment statement and the variable operands of expressions.
//
// Value layouts: a STRING variable holds a 16-bit string reference (the string constant's
// address / 2 + 1, see StringReference); a STRING * n variable is n + 1 bytes, byte 0 its
// current length and bytes 1 ... n its characters, so s$[k] is character k.
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
// then appends the piece (the initialisation code uses it too). Ports and DA outputs get
// their port tokens; an AD input reports 135.
TCodePiece EmitStore(TCompilerContext& c, int symbol);

// Pushes the value of a simple variable, port or AD input (a STRING variable: its
// reference). A DA output reports 134.
void EmitLoad(TCompilerContext& c, int symbol);

// Pushes the length of a STRING or STRING * n variable (not an array of them).
void EmitStringLength(TCompilerContext& c, int symbol);

// The assignment statement; `word` is the statement word already read, the position is
// after it.
void CompileAssignment(TCompilerContext& c, const std::string& word);

// On the Tessel profiles, a FUNCTION and the SUB named INTERRUPT must hand the data stack
// back as they found it, so every statement there ends with the discard sequence.
bool StatementEndsWithDiscard(const TCompilerContext& c);
// Appends the discard sequence when StatementEndsWithDiscard.
void EndStatementInProcedure(TCompilerContext& c);
// Where the Tessel 1.1 and Micro operating system runs a FUNCTION or SUB INTERRUPT: its
// statement-level consumers (stores, JUMPF, PRINTNUM, PUTCHAR and the like) leave their
// value on the stack, so a statement there must drop exactly what its paths leave. The
// statements that do not leave one cell on every path get their own drops (a missing
// ELSE, PRINT items, plain DO loops, EXIT, CASE items).
bool BalancesTesselPaths(const TCompilerContext& c);
// Appends the discard sequence `cells` times when BalancesTesselPaths, else the usual one.
void EndStatementInProcedure(TCompilerContext& c, int cells);

// The checks of a name a declaration introduces: already declared in this scope 115, the
// same without a final "$" `codeWithoutDollar`, an assembler name 125, a reserved word 123.
// False after a report.
bool CheckNewName(TCompilerContext& c, const std::string& name, int codeWithoutDollar = 115);

// Kinds that hold a value in variable memory or a device (not constants, labels, procedures).
bool IsVariableKind(uint32_t kinds);

}  // namespace zarvek
