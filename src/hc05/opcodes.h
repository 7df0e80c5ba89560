// The 68HC05 instruction set: one table that the assembler, the disassembler and the
// emulator all read. Each opcode's mnemonic, addressing mode, length and the cycles the
// emulator charges; each mnemonic's opcode per mode.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zarvek::hc05 {

enum class TMode : uint8_t {
  Inherent,   // no operand
  Immediate,  // #value, 1 byte
  Direct,     // address 0..255, 1 byte
  Extended,   // address, 2 bytes high first
  Indexed,    // ,X
  Indexed1,   // offset,X with an 8-bit offset
  Indexed2,   // offset,X with a 16-bit offset
  Relative,   // branch displacement, 1 byte
  BitSetClear,   // BSET/BCLR n,address: 1 byte address
  BitTestBranch, // BRSET/BRCLR n,address,target: address and displacement
};

int ModeLength(TMode mode);  // bytes including the opcode

struct TOpcode {
  std::string_view mnemonic;  // as the disassembler prints it; empty: no instruction
  TMode mode = TMode::Inherent;
  uint8_t length = 1;
  uint8_t cycles = 0;  // charged by the emulator
  int8_t bit = -1;     // the bit number of BSET/BCLR/BRSET/BRCLR
  bool Defined() const { return !mnemonic.empty(); }
};

const TOpcode& Opcode(uint8_t byte);

// Operand forms an assembler mnemonic accepts: its opcode in each mode, -1 where none.
struct TMnemonic {
  std::string_view name;
  std::array<int16_t, 10> opcodes;  // indexed by TMode
  int16_t OpcodeFor(TMode mode) const { return opcodes[static_cast<size_t>(mode)]; }
};

// A mnemonic the assembler accepts (aliases ASL, ASLA, ASLX, BCC, BCS included), by its
// upper-case name. BSET/BCLR/BRSET/BRCLR give the opcode for bit 0; bit n adds 2 * n.
const TMnemonic* FindMnemonic(std::string_view upperName);
// Every mnemonic the assembler accepts, for the reserved-name table.
std::span<const TMnemonic> AllMnemonics();

}  // namespace zarvek::hc05
