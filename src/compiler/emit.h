// Appending token code: bytes, constant pushes, fixups and label definitions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/compiler_context.h"

namespace zarvek {

// The Tessel runtimes' call of machine code: token 08 and a 16-bit address. The token
// machine of the ATmega boards has no such token.
inline constexpr uint8_t kMachineCodeCall = 0x08;

inline void EmitByte(TCompilerContext& c, uint8_t b) { c.code.push_back(static_cast<char>(b)); }
inline void EmitWord(TCompilerContext& c, uint16_t w) {
  EmitByte(c, static_cast<uint8_t>(w >> 8));
  EmitByte(c, static_cast<uint8_t>(w));
}
// The constant push of a value: PUSHB on Pyxon for 0..255, else PUSHW with its low 16 bits.
std::string ConstantPush(const TCompilerContext& c, int64_t value);
inline void EmitConstantPush(TCompilerContext& c, int64_t value) { c.code += ConstantPush(c, value); }
inline void EmitDiscard(TCompilerContext& c) { c.code += c.discard; }

// A jump or call token followed by its target as a fixup.
void EmitJump(TCompilerContext& c, uint8_t token, const std::string& label);

// What a fixup's text asks for.
enum class TFixupKind : uint8_t {
  Symbol,              // a name: the address of that SUB, FUNCTION, label or constant
  ScopedLabel,         // "name|procedure": a GOTO target, which must lie in that procedure
  TableEntry,          // "<n": the address of table offset n - 2
  AssemblerLabel,      // "^name": an assembler label's address, written by the linker
  ProgramLengthBits,   // "*PROGLEN*BIT": where the program memory behind the image starts,
  ProgramLengthBytes,  // "*PROGLEN*BYTE"   in bits, bytes or words
  ProgramLengthWords,  // "*PROGLEN*WORD"
};
TFixupKind FixupKindOf(std::string_view text);

// A 2-byte hole in the code, resolved after the statement loop. An empty text reports 193.
void AddFixup(TCompilerContext& c, const std::string& text, int32_t argumentCount = 0);

// Moves the code from `from` (a code length) to the end out into a piece.
TCodePiece CutCode(TCompilerContext& c, size_t from);
void AppendPiece(TCompilerContext& c, const TCodePiece& piece);

// Defines a label symbol at the current code address (code length + 4).
void DefineLabel(TCompilerContext& c, const std::string& name, const std::string& procedure = "");
// Same at a given token address.
void DefineLabelAt(TCompilerContext& c, const std::string& name, int64_t address, const std::string& procedure = "");

}  // namespace zarvek
