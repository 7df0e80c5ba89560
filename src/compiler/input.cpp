// INPUT and INPUT #: numbers from the serial line or the data file into variables, array
// and structure elements, ports and DA outputs; lines of text into strings.
#include <algorithm>
#include <functional>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/io_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/symbol_table.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// The port at byte address 2 is an input on every board but the Tessel 2.0.
bool IsInputOnlyPort(const TCompilerContext& c, const TElement& e) {
  if (c.profile == profile::Tessel20) return false;
  return (e.kind == TElementKind::Port && e.number == 2) || (e.kind == TElementKind::Pin && e.number / 8 == 2);
}

void CompileNumberTarget(TCompilerContext& c, const TElement& e, const TCodePiece& address, bool fromFile,
                         int32_t at, const std::string& name) {
  c.errorPosition = at;
  if (e.kind == TElementKind::AdInput || IsInputOnlyPort(c, e)) return CompileError(c, name, msg::AdReadOnly);
  if (fromFile) {
    EmitByte(c, tok::FILEOP);
    EmitByte(c, fileop::Read);
  } else {
    EmitByte(c, tok::INPUTNUM);
  }
  AppendPiece(c, address);
  EmitElementWrite(c, e);
}

// --- Lines of text ---
//
// A line ends with CR; LF is left out (terminals send CR LF), and characters beyond the
// target's capacity are read but dropped, so the line never spills over.

// How a line is stored: characters every `stride` bytes from the slot whose address is on
// the stack; `store` writes the value under an address on the top of the stack.
struct TLineLayout {
  int64_t stride = 1;
  int64_t capacity = 0;
  int64_t lengthBack = 1;  // length cell = first slot - lengthBack
  std::function<void()> store;
};

// [p] -> [p', n]: reads the line; p' is the slot after the last character kept, n their
// number.
//   PUSH 0   top: GETCHAR DUP PUSH 13 NE JUMPF end DUP PUSH 10 NE JUMPF skip
//   SWAP DUP PUSH capacity LT JUMPF full PUSH 1 ADD XCHG 1 DUP XCHG 1 SWAP store
//   PUSH stride ADD SWAP GOTO top   full: SWAP   skip: discard GOTO top   end: discard
void EmitLineReader(TCompilerContext& c, const TLineLayout& layout) {
  const std::string top = LoopLabel(c, ".INPUTSTR"), end = LoopLabel(c, ".XINPUTSTR");
  const std::string full = LoopLabel(c, ".FULLINPUTSTR"), skip = LoopLabel(c, ".SKIPINPUTSTR");
  EmitConstantPush(c, 0);
  DefineLabel(c, top);
  EmitTokens(c, {tok::GETCHAR, tok::DUP});  // [p, n, ch, ch]
  EmitConstantOperator(c, '\r', tok::NE);
  EmitJump(c, tok::JUMPF, end);
  EmitByte(c, tok::DUP);
  EmitConstantOperator(c, '\n', tok::NE);
  EmitJump(c, tok::JUMPF, skip);
  EmitTokens(c, {tok::SWAP, tok::DUP});  // [p, ch, n, n]
  EmitConstantOperator(c, layout.capacity, tok::LT);
  EmitJump(c, tok::JUMPF, full);
  EmitConstantOperator(c, 1, tok::ADD);
  EmitTokens(c, {tok::XCHG, 1, tok::DUP, tok::XCHG, 1, tok::SWAP});  // [n+1, p, ch, p]
  layout.store();
  EmitConstantOperator(c, layout.stride, tok::ADD);
  EmitByte(c, tok::SWAP);
  EmitJump(c, tok::GOTO, top);
  DefineLabel(c, full);
  EmitByte(c, tok::SWAP);  // [p, n, ch]
  DefineLabel(c, skip);
  EmitDiscard(c);
  EmitJump(c, tok::GOTO, top);
  DefineLabel(c, end);
  EmitDiscard(c);
}

// [p, n] -> [L] when `keep`, else []: writes n into the length cell L.
//   DUP XCHG 1 SWAP (PUSH stride MUL) SUB PUSH lengthBack SUB (DUP XCHG 1 SWAP) store
void EmitLengthStore(TCompilerContext& c, const TLineLayout& layout, bool keep) {
  EmitTokens(c, {tok::DUP, tok::XCHG, 1, tok::SWAP});  // [n, p, n]
  if (layout.stride != 1) EmitConstantOperator(c, layout.stride, tok::MUL);
  EmitByte(c, tok::SUB);
  EmitConstantOperator(c, layout.lengthBack, tok::SUB);  // [n, L]
  if (keep) EmitTokens(c, {tok::DUP, tok::XCHG, 1, tok::SWAP});  // [L, n, L]
  layout.store();
}

// --- STRING variables ---
//
// A STRING refers to a string constant, and constants cannot change: every STRING that
// INPUT reads owns a buffer in the table area laid out like a string constant (length
// word, kInputCapacity character words, zero word), which is filled in program memory
// and then referred to. An element of an array of structures owns one buffer per
// element of the array.

constexpr int64_t kInputCapacity = 80;
constexpr int64_t kBufferBytes = 2 * (kInputCapacity + 2);
constexpr int64_t kBufferTableLimit = 16384;
constexpr uint8_t kProgramMemory = 3;

struct TInputBuffer {
  int64_t tableOffset = 0;
  int64_t reference = 0;
  int64_t count = 1;
};

// The member name of a structure element just read: the name after the last ".".
std::string MemberKey(const TCompilerContext& c, int32_t from) {
  std::string text;
  for (int32_t p = from; p < c.position; ++p)
    if (!IsBlank(c.At(p))) text.push_back(c.At(p));
  const size_t dot = text.rfind('.');
  return dot == std::string::npos ? "" : UpperCase(text.substr(dot));
}

int64_t ElementCount(const Tlabel& s) {
  int64_t count = 1;
  for (const TArrayBounds& b : s.bounds) count = std::min<int64_t>(count * (int64_t{b.upper} - b.lower + 1), 1 << 20);
  return std::max<int64_t>(count, 1);
}

std::optional<TInputBuffer> InputBuffer(TCompilerContext& c, int symbol, const std::string& member) {
  const std::string name = "~INPUT." + std::to_string(symbol) + member + "$";
  const int64_t count = ElementCount(c.symbols[symbol]);
  int index = FindSymbol(c, name, kAnyScope);
  if (index < 0) {
    if (count * kBufferBytes > kBufferTableLimit) {
      CompileError(c, std::to_string(count * kBufferBytes), msg::ArrayTooBig);
      return std::nullopt;
    }
    index = DefineStringConstant(c, name, std::string(static_cast<size_t>(kInputCapacity), '\0'));
    c.symbols[index].used = true;
    c.symbols[index + 1].used = true;  // its length constant
    const size_t offset = static_cast<size_t>(c.symbols[index].address - 2);
    c.tableArea[offset] = c.tableArea[offset + 1] = '\0';  // empty until a line arrives
    c.tableArea.append(static_cast<size_t>((count - 1) * kBufferBytes), '\0');
  }
  const Tlabel& buffer = c.symbols[index];
  return TInputBuffer{buffer.address - 2, StringReference(buffer), count};
}

// A fixup for the token address `delta` bytes into the table area entry at `offset`.
void PushTableAddress(TCompilerContext& c, int64_t offset, int64_t delta) {
  EmitByte(c, tok::PUSHW);
  AddFixup(c, "<" + std::to_string(offset + 2 + delta));
}

// With the element's word address on the stack: which of the array's buffers is its own.
void EmitBufferIndex(TCompilerContext& c, const Tlabel& s, const TInputBuffer& buffer) {
  const int structure = StructureOf(c, s);
  const int64_t sizeWords = structure < 0 ? 1 : std::max<int64_t>(StructureSize(c.symbols[structure]) / 2, 1);
  EmitConstantOperator(c, s.address / 2, tok::SUB);
  EmitConstantOperator(c, sizeWords, tok::DIV);
  EmitConstantOperator(c, 0, tok::MAX);
  EmitConstantOperator(c, buffer.count - 1, tok::MIN);
}

void CompileStringTarget(TCompilerContext& c, const TElement& e, const TCodePiece& address, int32_t elementStart) {
  const Tlabel s = c.symbols[e.access.symbol];
  const auto buffer = InputBuffer(c, e.access.symbol, e.access.onStack ? MemberKey(c, elementStart) : "");
  if (!buffer) return;
  TLineLayout layout{2, kInputCapacity, 2, [&] {
                       EmitByte(c, tok::MBYTEWRITE);
                       EmitByte(c, kProgramMemory);
                     }};
  if (e.access.onStack) {
    AppendPiece(c, address);
    EmitByte(c, tok::DUP);
    EmitBufferIndex(c, s, *buffer);
    EmitConstantOperator(c, kBufferBytes, tok::MUL);
    PushTableAddress(c, buffer->tableOffset, 3);
    EmitByte(c, tok::ADD);
  } else {
    PushTableAddress(c, buffer->tableOffset, 3);  // the low byte of the first character word
  }
  EmitLineReader(c, layout);
  // The zero word after the last character keeps the buffer a well-formed string.
  EmitTokens(c, {tok::SWAP, tok::DUP});  // [n, p, p]
  EmitConstantPush(c, 0);
  EmitByte(c, tok::SWAP);
  layout.store();
  EmitByte(c, tok::SWAP);
  EmitLengthStore(c, layout, true);  // [L]: the buffer's address + 1
  PushTableAddress(c, buffer->tableOffset, 1);
  EmitByte(c, tok::SUB);
  EmitConstantOperator(c, 2, tok::DIV);
  EmitConstantOperator(c, buffer->reference, tok::ADD);
  if (e.access.onStack) EmitByte(c, tok::SWAP);
  EmitAccess(c, e.access, true);
}

// A STRING * n: its bytes directly, byte 0 the length.
void CompileStringStarTarget(TCompilerContext& c, const TElement& e, const TCodePiece& address) {
  TAccess byte = e.access;
  byte.onStack = true;
  byte.unit = TUnit::Byte;
  const TLineLayout layout{1, e.byteCount - 1, 1, [&] { EmitAccess(c, byte, true); }};
  if (e.access.onStack) {
    AppendPiece(c, address);
    EmitConstantOperator(c, 1, tok::ADD);
  } else {
    EmitConstantPush(c, e.access.address + 1);
  }
  EmitLineReader(c, layout);
  EmitLengthStore(c, layout, false);
}

bool CompileTextTarget(TCompilerContext& c, const TElement& e, const TCodePiece& address, bool fromFile, int32_t at,
                       int32_t elementStart, const std::string& name) {
  const bool reference = e.kind == TElementKind::Memory && e.holdsString;
  if (!reference && e.kind != TElementKind::WholeStringStar) return false;
  c.errorPosition = at;
  // The data file holds numbers.
  if (fromFile) return CompileError(c, "", msg::StringNotNumeric), true;
  // Lines are written into program memory, which only the Pyxon runtime can do.
  if (!c.Pyxon()) return CompileError(c, "INPUT " + name, msg::PyxonOnly), true;
  if (reference) CompileStringTarget(c, e, address, elementStart);
  else CompileStringStarTarget(c, e, address);
  return true;
}

void CompileTarget(TCompilerContext& c, bool fromFile) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string name = ReadName(c);
  const int symbol = LookUpIoName(c, name);
  if (symbol < 0 || !IsVariableKind(c.symbols[symbol].kind)) return ReportAt(c, at, name, msg::VariableExpectedNamed);
  const int32_t elementStart = c.position;
  const size_t mark = c.code.size();
  const auto e = ParseElement(c, symbol, false);
  if (!e || c.errorReported) return;
  const TCodePiece address = CutCode(c, mark);
  if (CompileTextTarget(c, *e, address, fromFile, at, elementStart, name)) return;
  CompileNumberTarget(c, *e, address, fromFile, at, name);
}

}  // namespace

void CompileInput(TCompilerContext& c) {
  SkipBlanks(c);
  const bool fromFile = c.Current() == '#';
  if (fromFile) {
    ++c.position;
    if (!ExpectChar(c, ',')) return;
  }
  int targets = 0;
  for (;;) {
    CompileTarget(c, fromFile);
    if (c.errorReported) return;
    ++targets;
    SkipBlanks(c);
    if (c.Current() != ',') break;
    ++c.position;
  }
  EndStatementInProcedure(c, targets);  // each target's store leaves its value
  ExpectEnd(c);
}

}  // namespace zarvek
