// Reading and writing variables: the local tokens for simple variables, the memory tokens
// with their space and bus bytes for everything else, the port tokens, and the element
// addresses of arrays, bit indexes and structure members.
#include "compiler/variable_access.h"
#include "compiler/messages.h"

#include <charconv>

#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

constexpr uint32_t kMemoryFormKinds =
    Kinds(kind::StringStar, kind::StructVar, kind::Array, kind::Pcf8574, kind::I2c, kind::I2cArray,
          kind::I2cLargeArray, kind::ExternalEeprom, kind::InternalEeprom);
constexpr uint32_t kI2cKinds = Kinds(kind::I2c, kind::I2cArray, kind::I2cLargeArray);

uint8_t SpaceOf(uint32_t k) {
  if (HasKind(k, kind::InternalEeprom)) return 1;
  if (HasKind(k, kind::ExternalEeprom)) return 3;
  if (HasKind(k, kind::Pcf8574) || HasKind(k, kind::I2c)) return 7;
  if (HasKind(k, kind::I2cArray)) return 8;
  if (HasKind(k, kind::I2cLargeArray)) return 9;
  return 0;
}

bool InProgramEeprom(const TCompilerContext& c, uint32_t k) {
  return c.programMemorySelector == 2 ? HasKind(k, kind::InternalEeprom) : HasKind(k, kind::ExternalEeprom);
}

uint8_t AccessToken(TUnit unit, bool simple, bool write) {
  static constexpr uint8_t kTokens[2][2][3] = {
      {{tok::MBITREAD, tok::MBYTEREAD, tok::MWORDREAD}, {tok::MBITWRITE, tok::MBYTEWRITE, tok::MWORDWRITE}},
      {{tok::LBITREAD, tok::LBYTEREAD, tok::LWORDREAD}, {tok::LBITWRITE, tok::LBYTEWRITE, tok::LWORDWRITE}}};
  return kTokens[simple ? 1 : 0][write ? 1 : 0][static_cast<int>(unit)];
}

const char* ProgramLengthFixup(TUnit unit) {
  switch (unit) {
    case TUnit::Bit: return "*PROGLEN*BIT";
    case TUnit::Word: return "*PROGLEN*WORD";
    default: return "*PROGLEN*BYTE";
  }
}

int64_t ToUnits(int64_t byteAddress, TUnit unit) {
  if (unit == TUnit::Bit) return byteAddress * 8;
  if (unit == TUnit::Word) return byteAddress / 2;
  return byteAddress;
}

TUnit MemberUnit(const TAttribute& a) {
  if (a.typeKind == KindBit(kind::Bit)) return TUnit::Bit;
  if (a.typeKind == KindBit(kind::Word) || a.typeKind == KindBit(kind::String)) return TUnit::Word;
  return TUnit::Byte;
}

// Booleans count their offset in bits already.
int64_t MemberOffset(const TAttribute& a) {
  const TUnit unit = MemberUnit(a);
  return unit == TUnit::Bit ? a.offset : ToUnits(a.offset, unit);
}

void EmitOperator(TCompilerContext& c, int64_t constant, uint8_t token) {
  EmitConstantPush(c, constant);
  EmitByte(c, token);
}

// "[n]" with a constant n from 1 to max; `rangeCode` reports any other n.
std::optional<int64_t> ParseBitNumber(TCompilerContext& c, int64_t max, int rangeCode) {
  ++c.position;
  SkipBlanks(c);
  const int32_t at = c.position;
  const int64_t n = CompileExpression(c, kConstantMask);
  if (c.errorReported) return std::nullopt;
  if (n < 1 || n > max) {
    c.errorPosition = at;
    CompileError(c, std::to_string(n), rangeCode);
    return std::nullopt;
  }
  if (!ExpectChar(c, ']')) return std::nullopt;
  return n;
}

// Bit n (from 1) of a byte or of a big-endian word (whose low byte is the second) as a bit
// number, given the byte address of the variable's first byte.
int64_t BitOf(int64_t firstByte, bool word, int64_t n) {
  if (!word) return firstByte * 8 + n - 1;
  return n <= 8 ? (firstByte + 1) * 8 + n - 1 : firstByte * 8 + n - 9;
}

TElement MemoryElement(int symbol, TUnit unit, int64_t address, bool onStack = false) {
  TElement e;
  e.kind = TElementKind::Memory;
  e.access = TAccess{symbol, unit, onStack, address};
  return e;
}

// The whole of a variable that is read or written as one value, if it is one.
std::optional<TElement> WholeElement(const TCompilerContext& c, int symbol) {
  const Tlabel& s = c.symbols[symbol];
  const uint32_t k = s.kind;
  TElement e;
  e.access.symbol = symbol;
  e.number = s.address;
  if (HasKind(k, kind::Port)) {
    e.kind = HasKind(k, kind::Bit) ? TElementKind::Pin : HasKind(k, kind::Byte) ? TElementKind::Port : TElementKind::WordPort;
    return e;
  }
  if (HasKind(k, kind::AdInput) || HasKind(k, kind::DaOutput)) {
    e.kind = HasKind(k, kind::AdInput) ? TElementKind::AdInput : TElementKind::DaOutput;
    return e;
  }
  if (!IsVariableKind(k) || (k & Kinds(kind::Array, kind::StructVar, kind::StringStar)) != 0) return std::nullopt;
  e = MemoryElement(symbol, UnitOf(k), s.address);
  e.holdsString = HasKind(k, kind::String);
  return e;
}

std::optional<TElement> ParsePortElement(TCompilerContext& c, int symbol) {
  const Tlabel s = c.symbols[symbol];
  TElement e = *WholeElement(c, symbol);  // every port is one
  if (c.Current() != '[') return e;
  if (e.kind == TElementKind::Pin) {
    CompileError(c, "", msg::NotIndexable);
    return std::nullopt;
  }
  const bool word = e.kind == TElementKind::WordPort;
  const auto n = ParseBitNumber(c, word ? 16 : 8, msg::BitIndex1To8);
  if (!n) return std::nullopt;
  e.kind = TElementKind::Pin;
  e.number = BitOf(word ? 2 * s.address : s.address, word, *n);
  return e;
}

std::optional<TAttribute> ParseMember(TCompilerContext& c, const Tlabel& structure) {
  if (c.Current() != '.') {
    CompileError(c, "", msg::StructureDotExpected);
    return std::nullopt;
  }
  ++c.position;
  const std::string name = ReadName(c);
  if (name.empty()) {
    CompileError(c, "", msg::StructureElementExpected);
    return std::nullopt;
  }
  const std::string upper = UpperCase(name);
  for (const TAttribute& a : structure.attributes)
    if (UpperCase(a.name) == upper) return a;
  CompileError(c, name, msg::NotAStructureElement);
  return std::nullopt;
}

// Emits the sum of the scaled indexes after "["; `count` gets the number of indexes.
bool EmitIndexSum(TCompilerContext& c, const std::vector<TArrayBounds>& bounds, bool mayOmitLast, size_t& count) {
  const size_t dims = bounds.size();
  for (size_t i = 0; i < dims; ++i) {
    CompileExpression(c, kRuntimeMask);
    if (c.errorReported) return false;
    if (bounds[i].lower != 0) EmitOperator(c, bounds[i].lower, tok::SUB);
    if (i + 1 < dims) EmitOperator(c, bounds[i].stride, tok::MUL);
    if (i > 0) EmitByte(c, tok::ADD);
    count = i + 1;
    SkipBlanks(c);
    if (c.Current() == ']') {
      ++c.position;
      if (count == dims || (mayOmitLast && count + 1 == dims)) return true;
      CompileError(c, ",", msg::Expected);
      return false;
    }
    if (c.Current() != ',') {
      CompileError(c, i + 1 < dims ? "," : "]", msg::Expected);
      return false;
    }
    if (i + 1 == dims) {
      CompileError(c, "???BUG???", msg::Expected);
      return false;
    }
    ++c.position;
  }
  return false;
}

std::optional<TElement> ParseStructureMember(TCompilerContext& c, int symbol, bool indexed) {
  const Tlabel s = c.symbols[symbol];
  const int structure = StructureOf(c, s);
  if (structure < 0) {
    CompileError(c, "", msg::StructureDotExpected);
    return std::nullopt;
  }
  const auto member = ParseMember(c, c.symbols[structure]);
  if (!member) return std::nullopt;
  const TUnit unit = MemberUnit(*member);
  if (indexed) EmitOperator(c, ToUnits(StructureSize(c.symbols[structure]), unit), tok::MUL);
  EmitConstantPush(c, ToUnits(s.address, unit));
  if (indexed) EmitByte(c, tok::ADD);
  EmitOperator(c, MemberOffset(*member), tok::ADD);
  TElement e = MemoryElement(symbol, unit, 0, true);
  e.holdsString = member->typeKind == KindBit(kind::String);
  return e;
}

std::optional<TElement> ParseArrayElement(TCompilerContext& c, int symbol) {
  const Tlabel s = c.symbols[symbol];
  const bool stringStar = HasKind(s.kind, kind::StringStar);
  TElement whole;
  whole.kind = TElementKind::WholeStringStar;
  whole.access = TAccess{symbol, TUnit::Byte, false, s.address};
  whole.byteCount = s.bounds.empty() ? 0 : int64_t{s.bounds.back().upper} + 1;
  if (c.Current() != '[') {
    if (stringStar && s.bounds.size() == 1) return whole;
    CompileError(c, "[", msg::Expected);
    return std::nullopt;
  }
  ++c.position;
  size_t count = 0;
  if (!EmitIndexSum(c, s.bounds, stringStar, count)) return std::nullopt;
  if (HasKind(s.kind, kind::StructVar)) {
    SkipBlanks(c);
    return ParseStructureMember(c, symbol, true);
  }
  if ((s.kind & (kI2cKinds | KindBit(kind::Pcf8574))) == 0) EmitOperator(c, s.address, tok::ADD);
  if (stringStar && count + 1 == s.bounds.size()) {
    whole.access.onStack = true;
    return whole;
  }
  return MemoryElement(symbol, UnitOf(s.kind), 0, true);
}

std::optional<TElement> ParseStructureVariable(TCompilerContext& c, int symbol, bool target) {
  const Tlabel s = c.symbols[symbol];
  if (c.Current() == '[') {
    CompileError(c, "", msg::NotIndexable);
    return std::nullopt;
  }
  const int structure = StructureOf(c, s);
  if (target && c.Current() != '.' && structure >= 0) {
    TElement e;
    e.kind = TElementKind::WholeStructure;
    e.access = TAccess{symbol, TUnit::Byte, false, s.address};
    e.byteCount = StructureSize(c.symbols[structure]);
    return e;
  }
  return ParseStructureMember(c, symbol, false);
}

std::optional<TElement> ParseTableEntry(TCompilerContext& c, int symbol) {
  if (!ExpectChar(c, '[')) return std::nullopt;
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported || !ExpectChar(c, ']')) return std::nullopt;
  TElement e;
  e.kind = TElementKind::Table;
  e.access.symbol = symbol;
  e.number = c.symbols[symbol].address;
  return e;
}

// A BYTE or word-sized variable with a bit number; any other simple variable as a whole.
std::optional<TElement> ParseSimpleVariable(TCompilerContext& c, int symbol) {
  const Tlabel s = c.symbols[symbol];
  const auto whole = WholeElement(c, symbol);
  if (!whole) {
    CompileError(c, s.name, msg::VariableExpectedNamed);
    return std::nullopt;
  }
  if (c.Current() != '[') return whole;
  const bool word = HasKind(s.kind, kind::Word);
  if (!(HasKind(s.kind, kind::Byte) || word)) {
    CompileError(c, "", msg::NotIndexable);
    return std::nullopt;
  }
  const int32_t open = c.position;
  const auto n = ParseBitNumber(c, word ? 16 : 8, msg::BitNumberRange);
  if (!n) return std::nullopt;
  // Bus variables count bits from the device's first byte; the others from memory's.
  const int64_t first = (s.kind & kI2cKinds) != 0 ? 0 : (word ? 2 * s.address : s.address);
  const int64_t bit = BitOf(first, word, *n);
  if (bit > 255 && UsesSimpleForm(c, s)) {
    // The local bit tokens reach only the first 32 bytes.
    c.errorPosition = open;
    CompileError(c, "", msg::NotIndexable);
    return std::nullopt;
  }
  return MemoryElement(symbol, TUnit::Bit, bit);
}

// A constant table entry with a constant index in a constant expression.
std::string FoldTableEntry(TCompilerContext& c, int symbol) {
  const Tlabel s = c.symbols[symbol];
  if (!HasKind(s.kind, kind::Table) || s.bounds.empty()) {
    CompileError(c, s.name, msg::ConstantExpected);
    return "";
  }
  c.symbols[symbol].used = true;
  if (!ExpectChar(c, '[')) return "";
  SkipBlanks(c);
  const int32_t at = c.position;
  const int64_t index = CompileExpression(c, kConstantMask);
  if (c.errorReported || !ExpectChar(c, ']')) return "";
  const int64_t offset = s.address + 2 * (index - 1);
  if (index < s.bounds[0].lower || index > s.bounds[0].upper || offset < 0 ||
      offset + 1 >= static_cast<int64_t>(c.tableArea.size())) {
    c.errorPosition = at;
    CompileError(c, s.name, msg::ConstantExpected);
    return "";
  }
  const auto byteAt = [&](int64_t k) { return static_cast<uint8_t>(c.tableArea[static_cast<size_t>(k)]); };
  return std::to_string(byteAt(offset) << 8 | byteAt(offset + 1));
}

}  // namespace

TUnit UnitOf(uint32_t kinds) {
  if (HasKind(kinds, kind::Bit)) return TUnit::Bit;
  if (HasKind(kinds, kind::Word) || HasKind(kinds, kind::String)) return TUnit::Word;
  return TUnit::Byte;
}

bool IsVariableKind(uint32_t kinds) {
  return (kinds & Kinds(kind::Bit, kind::Byte, kind::Word, kind::String, kind::StringStar, kind::StructVar)) != 0 &&
         (kinds & Kinds(kind::Constant, kind::Table, kind::StringConst, kind::Label, kind::Sub, kind::Function)) == 0;
}

bool UsesSimpleForm(const TCompilerContext& c, const Tlabel& s) {
  if ((s.kind & kMemoryFormKinds) != 0) return false;
  return !c.Pyxon() || (s.scope != -1 && !IsHandlerProcedure(c, s.scope));
}

int StructureOf(const TCompilerContext& c, const Tlabel& variable) {
  int index = -1;
  const std::string& v = variable.value;
  const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), index);
  if (ec != std::errc() || ptr != v.data() + v.size() || index < 0 || static_cast<size_t>(index) >= c.symbols.size())
    return -1;
  return c.symbols[index].kind == KindBit(kind::Structure) ? index : -1;
}

bool StructureHasWords(const Tlabel& structure) {
  for (const TAttribute& a : structure.attributes)
    if (MemberUnit(a) == TUnit::Word) return true;
  return false;
}

int64_t StructureSize(const Tlabel& structure) {
  const int64_t size = static_cast<int64_t>(structure.bitPattern.size());
  return StructureHasWords(structure) && size % 2 != 0 ? size + 1 : size;
}

void NoteVariableAccess(TCompilerContext& c) {
  if (c.programMemorySelector == 0) c.programMemorySelector = 1;
}

int32_t WordStart(const TCompilerContext& c, const std::string& word) {
  const int32_t length = static_cast<int32_t>(word.size());
  const int32_t p = c.position - length;
  if (p >= 1 && static_cast<size_t>(p - 1 + length) <= c.source.size() && c.source.compare(p - 1, length, word) == 0)
    return p;
  return p > 1 ? p - 1 : 1;
}

std::optional<TElement> ParseElement(TCompilerContext& c, int symbol, bool assignmentTarget) {
  if (symbol < 0 || static_cast<size_t>(symbol) >= c.symbols.size()) return std::nullopt;
  NoteVariableAccess(c);
  c.symbols[symbol].used = true;
  const uint32_t k = c.symbols[symbol].kind;
  SkipBlanks(c);
  if (HasKind(k, kind::Table)) return ParseTableEntry(c, symbol);
  if (HasKind(k, kind::Port)) return ParsePortElement(c, symbol);
  if (HasKind(k, kind::AdInput) || HasKind(k, kind::DaOutput)) {
    if (c.Current() != '[') return WholeElement(c, symbol);
    CompileError(c, "", msg::NotIndexable);
    return std::nullopt;
  }
  if (HasKind(k, kind::Array)) return ParseArrayElement(c, symbol);
  if (HasKind(k, kind::StructVar)) return ParseStructureVariable(c, symbol, assignmentTarget);
  return ParseSimpleVariable(c, symbol);
}

void EmitAccess(TCompilerContext& c, const TAccess& a, bool write) {
  const Tlabel& s = c.symbols[a.symbol];
  const uint32_t k = s.kind;
  if (!a.onStack && UsesSimpleForm(c, s)) {
    EmitByte(c, AccessToken(a.unit, true, write));
    EmitByte(c, static_cast<uint8_t>(a.address));
    return;
  }
  const bool pcf = HasKind(k, kind::Pcf8574);
  // A PCF8574 bit names its byte by the bus address and pushes only the bit within it.
  if (!a.onStack) EmitConstantPush(c, pcf && a.unit == TUnit::Bit ? a.address % 8 : a.address);
  if (InProgramEeprom(c, k)) {
    EmitByte(c, tok::PUSHW);
    AddFixup(c, ProgramLengthFixup(a.unit));
    EmitByte(c, tok::ADD);
  }
  EmitByte(c, AccessToken(a.unit, false, write));
  EmitByte(c, SpaceOf(k));
  if (pcf) EmitByte(c, static_cast<uint8_t>(a.unit == TUnit::Bit ? a.address / 8 : a.address));
  else if ((k & kI2cKinds) != 0) EmitByte(c, static_cast<uint8_t>(s.address));
}

void EmitElementRead(TCompilerContext& c, const TElement& e) {
  const Tlabel& s = c.symbols[e.access.symbol];
  switch (e.kind) {
    case TElementKind::Memory:
      if (e.holdsString) return CompileError(c, "", msg::StringNotNumeric);
      return EmitAccess(c, e.access, false);
    case TElementKind::Pin: EmitByte(c, tok::PINREAD); break;
    case TElementKind::Port: EmitByte(c, tok::PORTREAD); break;
    case TElementKind::WordPort:
      EmitByte(c, tok::WPORTREAD);
      if (!c.Pyxon()) return;
      break;
    case TElementKind::AdInput: {
      const bool word = HasKind(s.kind, kind::Word);
      EmitByte(c, tok::ADREAD);
      EmitByte(c, static_cast<uint8_t>(e.number));
      if (!c.Pyxon()) return;
      // ADREAD leaves the 10-bit reading under the 8-bit one.
      if (!word) EmitByte(c, tok::SWAP);
      return EmitDiscard(c);
    }
    case TElementKind::DaOutput: return CompileError(c, s.name, msg::DaWriteOnly);
    case TElementKind::Table:
      // The base lies one word before the first value: tables count from 1, like DIM.
      EmitByte(c, tok::TABLEREAD);
      return AddFixup(c, "<" + std::to_string(e.number));
    case TElementKind::WholeStringStar: return CompileError(c, "", msg::StringNotNumeric);
    case TElementKind::WholeStructure: return CompileError(c, "", msg::StructureDotExpected);
  }
  EmitByte(c, static_cast<uint8_t>(e.number));
}

void EmitElementWrite(TCompilerContext& c, const TElement& e) {
  const Tlabel& s = c.symbols[e.access.symbol];
  switch (e.kind) {
    case TElementKind::Memory: return EmitAccess(c, e.access, true);
    case TElementKind::Pin: EmitByte(c, tok::PINWRITE); break;
    case TElementKind::Port: EmitByte(c, tok::PORTWRITE); break;
    case TElementKind::WordPort:
      EmitByte(c, tok::WPORTWRITE);
      if (!c.Pyxon()) return;
      break;
    case TElementKind::DaOutput: EmitByte(c, tok::DAWRITE); break;
    case TElementKind::AdInput: return CompileError(c, s.name, msg::AdReadOnly);
    case TElementKind::Table: return CompileError(c, s.name, msg::NotAssignable);
    case TElementKind::WholeStringStar:
    case TElementKind::WholeStructure: return;  // written byte by byte by their callers
  }
  EmitByte(c, static_cast<uint8_t>(e.number));
}

void EmitByteAccess(TCompilerContext& c, const TElement& e, const TCodePiece& addressCode, int64_t k, bool write) {
  TAccess a = e.access;
  a.unit = TUnit::Byte;
  if (a.onStack) {
    AppendPiece(c, addressCode);
    if (k != 0) EmitOperator(c, k, tok::ADD);
  } else {
    a.address += k;
  }
  EmitAccess(c, a, write);
}

int ReadVariableName(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string name = ReadName(c);
  const int s = name.empty() ? -1 : FindSymbol(c, name, c.Scope());
  if (s < 0 || !IsVariableKind(c.symbols[s].kind)) {
    c.position = at;
    return -1;
  }
  return s;
}

std::string CompileVariableOperand(TCompilerContext& c, int symbol, uint32_t mask) {
  if (symbol < 0 || static_cast<size_t>(symbol) >= c.symbols.size()) return "";
  if (!EmitsCode(mask)) return FoldTableEntry(c, symbol);
  const int32_t start = c.errorPosition;  // the operand's, for what is wrong with it as a whole
  const auto e = ParseElement(c, symbol, false);
  if (e && !c.errorReported) {
    c.errorPosition = start;
    EmitElementRead(c, *e);
  }
  return c.errorReported ? "" : "0";
}

void EmitLoad(TCompilerContext& c, int symbol) {
  if (symbol < 0 || static_cast<size_t>(symbol) >= c.symbols.size()) return;
  NoteVariableAccess(c);
  c.symbols[symbol].used = true;
  const auto e = WholeElement(c, symbol);
  if (!e) return CompileError(c, c.symbols[symbol].name, msg::VariableExpectedNamed);
  if (e->holdsString) return EmitAccess(c, e->access, false);
  EmitElementRead(c, *e);
}

TCodePiece EmitStore(TCompilerContext& c, int symbol) {
  const size_t mark = c.code.size();
  if (symbol < 0 || static_cast<size_t>(symbol) >= c.symbols.size()) return {};
  NoteVariableAccess(c);
  c.symbols[symbol].used = true;
  const auto e = WholeElement(c, symbol);
  if (!e) {
    CompileError(c, c.symbols[symbol].name, msg::VariableExpectedNamed);
    return {};
  }
  EmitElementWrite(c, *e);
  return CutCode(c, mark);
}

void EmitStringLength(TCompilerContext& c, int symbol) {
  if (symbol < 0 || static_cast<size_t>(symbol) >= c.symbols.size()) return;
  const Tlabel s = c.symbols[symbol];
  if (s.kind == KindBit(kind::String)) {
    // A reference r points at the first character; the length word lies just before it.
    EmitLoad(c, symbol);
    EmitOperator(c, 1, tok::SUB);
    EmitByte(c, tok::TABLEREAD);
    return AddFixup(c, "<0");
  }
  if (HasKind(s.kind, kind::StringStar) && s.bounds.size() == 1) {
    NoteVariableAccess(c);
    c.symbols[symbol].used = true;
    return EmitAccess(c, TAccess{symbol, TUnit::Byte, false, s.address}, false);
  }
  CompileError(c, s.name, msg::StringStarExpected);
}

bool StatementEndsWithDiscard(const TCompilerContext& c) {
  if (c.Pyxon() || c.currentProcedure < 0 || static_cast<size_t>(c.currentProcedure) >= c.symbols.size()) return false;
  const Tlabel& p = c.symbols[c.currentProcedure];
  return HasKind(p.kind, kind::Function) || (HasKind(p.kind, kind::Sub) && UpperCase(p.name) == "INTERRUPT");
}

void EndStatementInProcedure(TCompilerContext& c) {
  if (StatementEndsWithDiscard(c)) EmitDiscard(c);
}

bool BalancesTesselPaths(const TCompilerContext& c) {
  return (c.profile == profile::Tessel11 || c.profile == profile::TesselMicro) && StatementEndsWithDiscard(c);
}

void EndStatementInProcedure(TCompilerContext& c, int cells) {
  if (!BalancesTesselPaths(c)) return EndStatementInProcedure(c);
  for (int i = 0; i < cells; ++i) EmitDiscard(c);
}

}  // namespace zarvek
