// Machine code back to assembler source: one line per instruction, labels where the block
// refers to itself, and a short formula per instruction as comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zarvek::hc05 {

// The ORG line, then one line per instruction or data byte. Instructions that end a flow of
// control (BRA, RTS, RTI, JMP, indexed JSR) are followed by an empty string: the empty line
// that separates the pieces of code in the editor. Addresses wrap at $FFFF like the CPU's.
std::vector<std::string> Disassemble(std::string_view bytes, uint16_t start);

// The lines as the assembler editor holds them: every line ends with CR LF.
std::string JoinEditorLines(const std::vector<std::string>& lines);

// The comment of a defined opcode as the disassembler writes it after ";" (empty: none).
// A text ending in CR LF asks for an empty line after the instruction.
std::string OpcodeComment(uint8_t opcode);

}  // namespace zarvek::hc05
