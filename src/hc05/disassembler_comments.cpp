// The formula the disassembler writes after each instruction. The families of the opcode
// map share one pattern per column; '@' stands for the operand as the row addresses it.
#include <string>

#include "hc05/disassembler.h"

namespace zarvek::hc05 {

namespace {

constexpr std::string_view kBranch[16] = {
    "branch always\r\n",       "branch never",          "branch if '>'",           "branch if '<='",
    "branch if '>=' (.C = 0)", "branch if '<' (.C = 1)", "branch if '<>'",          "branch if '='",
    "branch if .H = 0",        "branch if .H = 1",       "branch if plus (.N = 0)", "branch if minus (.N = 1)",
    "branch if .I = 0",        "branch if .I = 1",       "branch if INT pin = 0",   "branch if INT pin = 1"};

// Read-modify-write columns; undefined columns stay empty.
constexpr std::string_view kRmw[16] = {"@ <- -@",        "", "", "@ <- @ complement", "@ <- >@>", "",
                                       "@ <- .C>>@>>.C", "@ <- @>",  "@ <- <@<", "@ <- .C<<@<<.C",
                                       "@ <- @ - 1",     "", "@ <- @ + 1", "CCR <- ?(@ <= 0)", "", "@ <- 0"};
// Operand of rows 3 (direct), 4 (A), 5 (X), 6 (offset,X), 7 (,X).
constexpr std::string_view kRmwOperand[5] = {"MEM", "A", "X", "[MEM+X]", "[X]"};

constexpr std::string_view kRegMem[16] = {"A <- A - @",     "A =? @",    "A <- A - .C - @", "X =? @",
                                          "A <- A AND @",   "CCR <- A AND @", "A <- @",     "@ <- A",
                                          "A <- A XOR @",   "A <- A + .C + @", "A <- A OR @", "A <- A + @",
                                          "go to\r\n",      "go sub",    "X <- @",          "@ <- X"};
// Operand of rows A (immediate), B (direct), C (extended), D (offset16,X), E (offset8,X), F (,X).
constexpr std::string_view kRegMemOperand[6] = {"#const", "MEM", "MEM", "[MEM+X]", "[MEM+X]", "[X]"};

std::string Fill(std::string_view pattern, std::string_view operand) {
  std::string text;
  for (char c : pattern) {
    if (c == '@') text += operand;
    else text += c;
  }
  return text;
}

std::string Control(uint8_t op) {
  switch (op) {
    case 0x42: return "X:A <- X*A";
    case 0x80: return "return from interrupt\r\n";
    case 0x81: return "return from subroutine\r\n";
    case 0x83: return "software interrupt";
    case 0x97: return "X <- A";
    case 0x98: return ".C <- 0";
    case 0x99: return ".C <- 1";
    case 0x9A: return ".I <- 0";
    case 0x9B: return ".I <- 1";
    case 0x9C: return "reset stack pointer";
    case 0x9D: return "no operation";
    case 0x9F: return "A <- X";
    default: return "";  // STOP, WAIT
  }
}

std::string RegisterMemory(uint8_t op) {
  const int row = op >> 4, column = op & 0x0F;
  if (op == 0xB0) return "A <-- A - MEM";
  // The immediate compares and the bit test end with a blank.
  if (row == 0xA && (column == 0x1 || column == 0x3 || column == 0x5)) return Fill(kRegMem[column], "#const ");
  if (column == 0xD && row >= 0xD) return "go sub\r\n";  // indexed calls are set apart by an empty line, like jumps
  return Fill(kRegMem[column], kRegMemOperand[row - 0xA]);
}

std::string BitComment(uint8_t op) {
  const char bit = static_cast<char>('0' + ((op >> 1) & 7));
  const char value = (op & 1) ? '0' : '1';
  const std::string target = std::string("MEM.") + bit;
  return op < 0x10 ? "branch if " + target + " = " + value : target + " <- " + value;
}

}  // namespace

std::string OpcodeComment(uint8_t op) {
  const int row = op >> 4;
  if (row <= 1) return BitComment(op);
  if (row == 2) return std::string(kBranch[op & 0x0F]);
  if (op == 0xAD) return "branch sub";
  if (op == 0x42 || row == 8 || row == 9) return Control(op);
  if (row <= 7) return Fill(kRmw[op & 0x0F], kRmwOperand[row - 3]);
  return RegisterMemory(op);
}

}  // namespace zarvek::hc05
