// Numbers in every base and the integer expression evaluator of the assembler. The
// evaluator works on text whose names have already been replaced by values.
#pragma once

#include <cstdint>
#include <string_view>

namespace zarvek::hc05 {

struct TAsmNumber {
  enum class TStatus { NotNumber, Ok, TooLarge };
  TStatus status = TStatus::NotNumber;
  int32_t value = 0;
  bool immediate = false;  // written with a leading "#"
};

// "$1F", "1FH", "%101", "101B", "@17" or decimal; a leading "#" marks an
// immediate, then a leading "-" negates. Leading zeros do not count towards the digit
// limits (hexadecimal 4, binary 16, octal 7, decimal 5); more digits give TooLarge, any
// other fault, or a text of 161 characters or more, NotNumber.
TAsmNumber ParseAsmNumber(std::string_view text);

enum class TEvalFailure {
  None,
  MissingBracket,   // parentheses do not balance
  NoOperand,        // an operator without its operand
  IndexRegister,    // "X" inside the expression
  DivisionByZero,
  TooLarge,         // a number that does not fit
  Other,            // unknown characters, nesting too deep, text too long
};

struct TEvalResult {
  TEvalFailure failure = TEvalFailure::None;
  int32_t value = 0;
  char missingBracket = 0;  // "(" or ")" with MissingBracket
};

// Nesting limit of parentheses and length limit of the text.
inline constexpr int kMaxExpressionDepth = 32;
inline constexpr size_t kMaxExpressionLength = 1024;

// Signed 32-bit integer evaluation of upper-cased text made of decimal numbers and the
// operators ! ~ & | ^ * / \ - + = <> != < <= =< > >= => == && || and parentheses. Each
// operator is its own precedence level, applied left to right in the order just listed
// (! and ~ first, || last); a "-" at the start or after an operator is a sign.
TEvalResult EvaluateAsmExpression(std::string_view text);

}  // namespace zarvek::hc05
