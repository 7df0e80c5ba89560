// The assembler's reserved names: every mnemonic (aliases included) and the directives,
// sorted by name, each with the class that fixes its operand count and a help text
// (formula, line break, description) for the editor's help list.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zarvek::hc05 {

// Operand classes of the reserved names.
namespace asmclass {
inline constexpr uint8_t Inherent = 1;     // inherent mnemonics, DEFINE, ELSE, END: 0 operands
inline constexpr uint8_t Arithmetic = 2;   // ADC ... SUB: 1...2
inline constexpr uint8_t ReadModify = 3;   // ASL ... TST: 1...2
inline constexpr uint8_t Branch = 4;       // relative branches, BSR, ORG: 1
inline constexpr uint8_t BitSet = 5;       // BSET BCLR: 2
inline constexpr uint8_t BitBranch = 6;    // BRSET BRCLR: 3
inline constexpr uint8_t DefineByte = 7;   // DB: 1
inline constexpr uint8_t DefineWord = 8;   // DW EQU: 1
inline constexpr uint8_t Conditional = 9;  // IF: 1
inline constexpr uint8_t Store = 10;       // STA STX: 1...2
inline constexpr uint8_t Jump = 11;        // JMP JSR: 1...2
}  // namespace asmclass

struct TReservedName {
  std::string_view name;
  uint8_t cls;
  std::string_view help;  // formula (may be empty) + "\n" + English description
};

inline constexpr int kReservedNameCount = 97;

std::span<const TReservedName> ReservedNames();
// Exact match of an upper-cased name, or nullptr.
const TReservedName* FindReserved(std::string_view upperName);
// Every reserved name that begins with the upper-cased prefix, in order.
std::span<const TReservedName> ReservedWithPrefix(std::string_view upperPrefix);

// Operand counts a class admits.
int ClassMinOperands(uint8_t cls);
int ClassMaxOperands(uint8_t cls);

}  // namespace zarvek::hc05
