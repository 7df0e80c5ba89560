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

// Compiles one expression from the current position; leaves the position on the first
// character that does not belong to it.
int32_t CompileExpression(TCompilerContext& c, uint32_t mask);

// The constant string expression of $INCLUDE, CONST name$ and DIM ... AS STRING = ...:
// quoted texts, string constants, CHR$(n) and STR$(n) joined by "+" or "&". False after
// an error.
bool CompileConstantString(TCompilerContext& c, std::string& text);

// One argument of a SUB or FUNCTION call: a string variable pushes its reference, a
// constant string becomes an anonymous string constant whose reference is pushed, and
// anything else is a run-time numeric expression.
void CompileArgument(TCompilerContext& c);

// A system variable as an assignment target, called with the position after its name:
// compiles "=" and the value and the write. False (nothing read, nothing reported) for a
// name that is not a system variable.
bool CompileSysAssign(TCompilerContext& c, const std::string& upperName);

// Defines a string constant named `name` (ending in "$") in the table area with its length
// constant; returns the string constant's symbol index.
int DefineStringConstant(TCompilerContext& c, const std::string& name, const std::string& text);
// The 16-bit reference a string value is: (the string constant's address / 2) + 1.
int64_t StringReference(const Tlabel& stringConstant);

}  // namespace zarvek
