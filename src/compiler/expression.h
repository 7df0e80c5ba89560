// The expression compiler: postfix token code through an operator stack, with every
// constant operand folded on the way, so a caller always gets a value that is meaningful
// when the expression was constant.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/compiler_context.h"

namespace zarvek {

// Kind masks the statements pass: a constant expression (nothing is emitted) and a
// run-time expression. Code is emitted whenever the mask has a bit outside 34.
inline constexpr uint32_t kConstantMask = 32;
inline constexpr uint32_t kRuntimeMask = 0x3803C;
constexpr bool EmitsCode(uint32_t mask) { return (mask & ~uint32_t{34}) != 0; }
// What else a mask admits: assembler labels (their address is the value), a label, SUB
// or FUNCTION (the callers that want a jump target), calls of user FUNCTIONs, literals.
inline constexpr uint32_t kMaskAsmLabel = 2;
inline constexpr uint32_t kMaskLabel = 0x181;
inline constexpr uint32_t kMaskFunctionCall = 4 | 8 | 16;
inline constexpr uint32_t kMaskLiteral = 32;

// Compiles one expression from the current position; leaves the position on the first
// character that does not belong to it. Re-entrant: it works above whatever operators are
// already waiting on the operator stack, so an index or argument inside an expression
// may compile its own expression with it.
int32_t CompileExpression(TCompilerContext& c, uint32_t mask);

// The constant string expression of $INCLUDE, CONST name$ and DIM ... AS STRING = ...:
// quoted texts, string constants, CHR$(n) and STR$(n) joined by "+" or "&". False after
// an error.
bool CompileConstantString(TCompilerContext& c, std::string& text);

// One operand of a constant string expression (a quoted text, a string constant, CHR$(n)
// or STR$(n) of a constant), its text appended to `text`. False after an error.
bool ReadConstantStringOperand(TCompilerContext& c, std::string& text);

// Whether a constant string expression starts at the position (after blanks): a quoted
// text, a string constant, CHR$ or STR$. Nothing is read.
bool ConstantStringAhead(const TCompilerContext& c);
// Compiles a constant string expression into an anonymous string constant ("~" + code
// length + "." + table length + "$") and pushes its reference. False after an error.
bool PushAnonymousString(TCompilerContext& c);

// One argument of a SUB or FUNCTION call: a string variable pushes its reference, a
// constant string becomes an anonymous string constant whose reference is pushed, and
// anything else is a run-time numeric expression.
void CompileArgument(TCompilerContext& c);

// A system variable as an assignment target, called with the position after its name:
// compiles "=" and the value and the write; the caller ends the statement. False (nothing
// read, nothing reported) for a name that is not a system variable.
bool CompileSysAssign(TCompilerContext& c, const std::string& upperName);

// The characters of a string constant, read back from the table area.
std::string StringConstantText(const TCompilerContext& c, const Tlabel& stringConstant);

// Defines a string constant named `name` (ending in "$") in the table area with its length
// constant; returns the string constant's symbol index.
int DefineStringConstant(TCompilerContext& c, const std::string& name, const std::string& text);
// The 16-bit reference a string value is: (the string constant's address / 2) + 1.
int64_t StringReference(const Tlabel& stringConstant);

}  // namespace zarvek
