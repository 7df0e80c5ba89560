// What the files of the expression compiler share among themselves: the operand compiler,
// its forms and small helpers. Statement compilers use expression.h.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/compiler_context.h"
#include "compiler/expression.h"
#include "compiler/scanner.h"

namespace zarvek {

inline bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
// The letters of names: A-Z, a-z, the German umlauts and ß.
inline bool IsNameLetter(char ch) { return IsNameChar(ch) && !IsDigit(ch) && ch != '_' && ch != '$' && ch != '&'; }
// Folded values wrap around like the 32-bit cells of the token machine.
inline int32_t WrapToInt32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// --- The operand compiler and its forms ---

// The next operand token: a run of letters, digits, "_" and "&" (a "$" ends it and
// belongs to it), a quoted text up to its closing quote, or a lone "(". Leaves the error
// position at its start.
std::string ReadOperandToken(TCompilerContext& c);
// Compiles the operand `token` just read; returns its value text: the constant value in
// decimal, "0" for a value known only at run time, empty or not a number when it failed.
std::string CompileOperand(TCompilerContext& c, const std::string& token, uint32_t mask);
// A value text as a signed 32-bit value; false when it is not a number.
bool ParseValueText(const std::string& text, int32_t& value);

// Forms the operand compiler hands on, each called with the position after the name:

// A built-in function (ABS, SGN, SQR, MIN, MAX, PEEK, POINTER, LEN) with its argument list;
// false (nothing read) for any other name. `value` receives the folded value.
bool CompileBuiltin(TCompilerContext& c, const std::string& upperName, uint32_t mask, int32_t& value);
// A system variable read; false (nothing reported) for a name that is not one.
bool CompileSysRead(TCompilerContext& c, const std::string& upperName, uint32_t mask);
// DOW on Tessel 1.1: a call of a generated subroutine.
void EmitDayOfWeekCall(TCompilerContext& c);
// A call of the user FUNCTION `name` (symbol index, or -1 for one declared further on)
// with its optional argument list.
void CompileFunctionCall(TCompilerContext& c, const std::string& name, int symbol);
// The optional argument list in parentheses of a call of `name` (which begins at `at`):
// pushes the arguments left to right; the number of arguments, -1 after an error.
int CompileArgumentList(TCompilerContext& c, const std::string& name, int32_t at);

}  // namespace zarvek
