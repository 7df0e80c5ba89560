// How one element of a variable is addressed, read and written: shared by the
// declarations, the variable operands of expressions and the assignment statement.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/variables.h"

namespace zarvek {

// The unit an address counts in.
enum class TUnit : uint8_t { Bit, Byte, Word };

// A place in variable memory: a constant address, or one that emitted code has pushed.
struct TAccess {
  int symbol = -1;
  TUnit unit = TUnit::Byte;
  bool onStack = false;
  int64_t address = 0;  // in units of `unit`, when not on the stack
};

enum class TElementKind : uint8_t {
  Memory,           // a BOOLEAN, BYTE or word-sized element of variable memory
  Pin,              // number: the pin
  Port,             // number: the byte port
  WordPort,         // number: the word port
  AdInput,          // number: the channel
  DaOutput,         // number: the channel
  Table,            // a constant table entry; its index is on the stack
  WholeStringStar,  // access: byte 0 (the length) of a STRING * n
  WholeStructure,   // access: byte 0 of a structure variable
};

struct TElement {
  TElementKind kind = TElementKind::Memory;
  TAccess access;
  int64_t number = 0;
  bool holdsString = false;  // a word holding a string reference
  int64_t byteCount = 0;     // WholeStringStar: n + 1; WholeStructure: its size
};

TUnit UnitOf(uint32_t kinds);
// Whether the variable is read and written with the local tokens and a constant address.
bool UsesSimpleForm(const TCompilerContext& c, const Tlabel& s);
// The structure symbol of a structure variable, -1 when there is none.
int StructureOf(const TCompilerContext& c, const Tlabel& variable);
bool StructureHasWords(const Tlabel& structure);
// Bytes a structure takes: even when it holds words, so that arrays of it keep them aligned.
int64_t StructureSize(const Tlabel& structure);
// The first variable access decides that the program lives in the external EEPROM.
void NoteVariableAccess(TCompilerContext& c);

// Reads what follows a variable's name (an index in brackets, "." and an element) and
// emits the address code of a computed element. A whole structure is accepted only as an
// assignment target. Nothing after an error.
std::optional<TElement> ParseElement(TCompilerContext& c, int symbol, bool assignmentTarget);

// The read (push) or write (pop the address if on the stack, then the value).
void EmitAccess(TCompilerContext& c, const TAccess& a, bool write);
void EmitElementRead(TCompilerContext& c, const TElement& e);
void EmitElementWrite(TCompilerContext& c, const TElement& e);
// Byte k of a whole STRING * n or structure; `addressCode` pushes its byte 0 when that is
// computed.
void EmitByteAccess(TCompilerContext& c, const TElement& e, const TCodePiece& addressCode, int64_t k, bool write);

// AllocateVariable with an explicit alignment for runs (arrays, structures, STRING * n).
int64_t AllocateAligned(TCompilerContext& c, uint32_t kinds, const std::vector<TArrayBounds>& bounds,
                        const std::vector<uint8_t>& pattern, int64_t alignment);


// The name of a variable at the position (after blanks): its symbol, or -1 when it is no
// variable (the position stays then).
int ReadVariableName(TCompilerContext& c);

// Where the word a statement compiler was handed starts (the scanner has moved past it).
int32_t WordStart(const TCompilerContext& c, const std::string& word);

}  // namespace zarvek
