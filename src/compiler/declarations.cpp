// DIM: names with their dimensions, the type, a location (port, AD, DA, bus, EEPROM) and
// an initial value; and the name checks every declaration shares.
#include <algorithm>
#include <climits>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/expression.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/variable_access.h"

namespace zarvek {

namespace {

struct TDimName {
  std::string name;
  int32_t position = 0;
  std::vector<TArrayBounds> bounds;  // as declared, without the character dimension of STRING * n
};

struct TDimType {
  bool declared = false;  // AS was given
  uint32_t kind = 0;      // Bit, Byte, Word, String or StructVar
  std::vector<uint8_t> pattern;
  bool star = false;      // STRING * n
  int64_t length = 0;     // n
  int32_t lengthPosition = 0;
  int structure = -1;
  std::string word;
  int32_t position = 0;
};

struct TLocation {
  std::string upper;  // the location word, upper-cased; empty without one
  std::string word;
  int32_t position = 0;
  uint32_t kind = 0;
  int64_t address = 0;
  bool fixed = false;  // a port, AD, DA or bus address instead of allocated memory
};

bool EndsWithDollar(const std::string& name) { return !name.empty() && name.back() == '$'; }
bool IsStringType(const TDimType& t) { return t.kind == KindBit(kind::String); }
// STRING * n, structures and arrays take a run of memory and only a few locations.
bool IsRunType(const TDimType& t) { return t.star || t.kind == KindBit(kind::StructVar); }

void ComputeStrides(std::vector<TArrayBounds>& bounds) {
  int64_t stride = 1;
  for (size_t k = bounds.size(); k-- > 0;) {
    bounds[k].stride = static_cast<int32_t>(std::min<int64_t>(stride, INT32_MAX));
    stride = std::min<int64_t>(int64_t{1} << 40, stride * (int64_t{bounds[k].upper} - bounds[k].lower + 1));
  }
}

// "[" n or a TO b, separated by ",", then "]"; the position is on the "[".
bool ReadDimensions(TCompilerContext& c, std::vector<TArrayBounds>& bounds) {
  const int32_t open = c.position++;
  int64_t sum = 0;
  for (;;) {
    SkipBlanks(c);
    const int32_t at = c.position;
    int64_t lower = 1, upper = CompileExpression(c, kConstantMask);
    SkipBlanks(c);
    const int32_t afterFirst = c.position;
    if (!c.errorReported && UpperCase(ReadName(c)) == "TO") {
      lower = upper;
      upper = CompileExpression(c, kConstantMask);
    } else {
      c.position = afterFirst;
    }
    if (c.errorReported) return false;
    if (lower > upper) {
      ReportAt(c, at, std::to_string(lower) + " ... " + std::to_string(upper), msg::ArrayBoundsInvalid);
      return false;
    }
    bounds.push_back(TArrayBounds{static_cast<int32_t>(lower), static_cast<int32_t>(upper), 1});
    sum += upper - lower + 1;
    SkipBlanks(c);
    if (c.Current() == ']') break;
    if (c.Current() != ',') {
      CompileError(c, "]", msg::Expected);
      return false;
    }
    ++c.position;
  }
  ++c.position;
  if (sum > 65536) {
    ReportAt(c, open, std::to_string(sum), msg::ArrayTooBig);
    return false;
  }
  return true;
}

bool ReadNames(TCompilerContext& c, std::vector<TDimName>& names) {
  for (;;) {
    SkipBlanks(c);
    TDimName d;
    d.position = c.position;
    d.name = ReadIdentifier(c, TIdentifierVariant::String);
    if (d.name.empty()) return false;
    c.errorPosition = d.position;
    if (!CheckNewName(c, d.name)) return false;
    for (const TDimName& other : names)
      if (UpperCase(other.name) == UpperCase(d.name)) {
        ReportAt(c, d.position, d.name, msg::AlreadyDefined);
        return false;
      }
    if (c.Current() == '[') {
      if (!c.Pyxon()) {
        ReportAt(c, c.position, "Dim Array", msg::PyxonOnly);
        return false;
      }
      if (!ReadDimensions(c, d.bounds)) return false;
      SkipBlanks(c);
    }
    names.push_back(std::move(d));
    if (c.Current() != ',') return true;
    ++c.position;
  }
}

void SetBasicType(TDimType& t, int bit) {
  t.kind = KindBit(bit);
  t.pattern = bit == kind::Bit ? std::vector<uint8_t>{1} : bit == kind::Byte ? std::vector<uint8_t>{255}
                                                                            : std::vector<uint8_t>{255, 255};
}

// The type word after AS (STRING with an optional "* n", read here and checked per name).
bool ReadType(TCompilerContext& c, TDimType& t) {
  SkipBlanks(c);
  t.declared = true;
  t.position = c.position;
  t.word = ReadName(c);
  const std::string upper = UpperCase(t.word);
  if (upper == "BOOLEAN") SetBasicType(t, kind::Bit);
  else if (upper == "BYTE") SetBasicType(t, kind::Byte);
  else if (upper == "INTEGER" || upper == "WORD") SetBasicType(t, kind::Word);
  else if (upper == "STRING") SetBasicType(t, kind::String);
  if (t.kind != 0) {
    SkipBlanks(c);
    if (upper != "STRING" || c.Current() != '*') return true;
    ++c.position;
    SkipBlanks(c);
    t.star = true;
    t.lengthPosition = c.position;
    t.length = CompileExpression(c, kConstantMask);
    return !c.errorReported;
  }
  const int structure = t.word.empty() ? -1 : FindSymbol(c, t.word, c.Scope());
  if (structure < 0 || c.symbols[structure].kind != KindBit(kind::Structure)) {
    ReportAt(c, t.position, t.word, msg::TypeExpected);
    return false;
  }
  c.symbols[structure].used = true;
  t.kind = KindBit(kind::StructVar);
  t.structure = structure;
  t.pattern = c.symbols[structure].bitPattern;
  t.pattern.resize(static_cast<size_t>(StructureSize(c.symbols[structure])), 255);
  return true;
}

// Without AS a name ending in "$" is a STRING, any other an INTEGER.
TDimType TypeOf(const TDimName& n, const TDimType& declared) {
  if (declared.declared) return declared;
  TDimType t;
  SetBasicType(t, EndsWithDollar(n.name) ? kind::String : kind::Word);
  t.word = EndsWithDollar(n.name) ? "STRING" : "INTEGER";
  t.position = n.position;
  return t;
}

bool CheckNameAgainstType(TCompilerContext& c, const TDimName& n, const TDimType& t) {
  const int32_t at = t.declared ? t.position : n.position;
  if (IsStringType(t)) {
    if (!EndsWithDollar(n.name)) return ReportAt(c, at, n.name, msg::StringNameExpected), false;
    if (c.profile == profile::TesselMicro) return ReportAt(c, at, "STRING", msg::UnavailableOnMicro), false;
    if (t.star && !c.Pyxon()) return ReportAt(c, t.lengthPosition, "", msg::StringStarPyxonOnly), false;
    if (t.star && (t.length < 1 || t.length > 254)) return ReportAt(c, t.lengthPosition, std::to_string(t.length), msg::StringLengthRange), false;
    if (!t.star && !n.bounds.empty()) return ReportAt(c, at, "*", msg::Expected), false;
    return true;
  }
  if (EndsWithDollar(n.name)) return ReportAt(c, at, t.word, msg::StringTypeExpected), false;
  if (t.kind == KindBit(kind::Word) && c.profile == profile::TesselMicro) return ReportAt(c, at, "INTEGER", msg::UnavailableOnMicro), false;
  return true;
}

// "[" and `count` constant expressions separated by ","; `positions` gets where each began.
bool ReadIndexes(TCompilerContext& c, size_t count, std::vector<int64_t>& values, std::vector<int32_t>& positions) {
  SkipBlanks(c);
  if (c.Current() != '[') return CompileError(c, "[", msg::Expected), false;
  ++c.position;
  for (size_t k = 0; k < count; ++k) {
    SkipBlanks(c);
    positions.push_back(c.position);
    values.push_back(CompileExpression(c, kConstantMask));
    if (c.errorReported) return false;
    SkipBlanks(c);
    const char expected = k + 1 < count ? ',' : ']';
    if (c.Current() != expected) return CompileError(c, std::string(1, expected), msg::Expected), false;
    ++c.position;
  }
  return true;
}

int PortIndexError(TProfile profile, int64_t p) {
  if (p < 1) return msg::BytePortIndex1To3;
  switch (profile) {
    case profile::Tessel11: return p > 3 ? msg::BytePortIndex1To3 : 0;
    case profile::Tessel20: return p > 2 ? msg::BytePortIndex1To2 : 0;
    case profile::Pyxon32: return p > 3 ? msg::BytePortIndex1To2OnPyxon32 : 0;
    case profile::Pyxon128: return p > 4 ? msg::BytePortIndex1To4 : 0;
    case profile::TesselMicro: break;  // bit ports only
  }
  return 0;
}

bool ReadBitPort(TCompilerContext& c, TLocation& loc) {
  std::vector<int64_t> v;
  std::vector<int32_t> at;
  if (c.profile == profile::TesselMicro) {
    if (!ReadIndexes(c, 1, v, at)) return false;
    if (v[0] < 1 || v[0] > 6) return ReportAt(c, at[0], "", msg::MicroPortIndex), false;
    loc.address = v[0] - 1;
    return true;
  }
  if (!ReadIndexes(c, 2, v, at)) return false;
  if (const int code = PortIndexError(c.profile, v[0])) return ReportAt(c, at[0], "", code), false;
  if (v[1] < 1 || v[1] > 8) return ReportAt(c, at[1], "", msg::BitIndex1To8), false;
  loc.address = (v[0] - 1) * 8 + v[1] - 1;
  return true;
}

bool ReadPort(TCompilerContext& c, const TDimType& t, TLocation& loc) {
  std::vector<int64_t> v;
  std::vector<int32_t> at;
  loc.kind = KindBit(kind::Port);
  if (t.kind == KindBit(kind::Bit)) return ReadBitPort(c, loc);
  if (t.kind == KindBit(kind::Byte)) {
    if (c.profile == profile::TesselMicro) return ReportAt(c, loc.position, "BYTE PORT", msg::UnavailableOnMicro), false;
    if (!ReadIndexes(c, 1, v, at)) return false;
    if (const int code = PortIndexError(c.profile, v[0])) return ReportAt(c, at[0], "", code), false;
    loc.address = v[0] - 1;
    return true;
  }
  if (t.kind != KindBit(kind::Word)) {
    ReportAt(c, loc.position, loc.word, c.profile == profile::Tessel20 ? msg::EndPortOrPcfExpected : msg::EndOrPortExpected);
    return false;
  }
  if (c.profile == profile::TesselMicro) return ReportAt(c, loc.position, "INTEGER PORT", msg::UnavailableOnMicro), false;
  if (c.profile != profile::Pyxon128) {
    // The one word port, without an index.
    SkipBlanks(c);
    const char next = c.Current();
    if (c.AtEnd() || next == '=' || next == ',' || next == ':' || next == '\'' || IsLineEnd(next)) return true;
    return CompileError(c, "", msg::EndExpected), false;
  }
  if (!ReadIndexes(c, 1, v, at)) return false;
  if (v[0] < 1 || v[0] > 2) return ReportAt(c, at[0], std::to_string(v[0]), msg::WordPortIndex), false;
  loc.address = v[0] - 1;
  return true;
}

bool ReadAnalogue(TCompilerContext& c, const TDimType& t, TLocation& loc, bool input) {
  std::vector<int64_t> v;
  std::vector<int32_t> at;
  loc.kind = KindBit(input ? kind::AdInput : kind::DaOutput);
  const bool byte = t.kind == KindBit(kind::Byte);
  if (!input && !byte) return ReportAt(c, loc.position, "", msg::DaNeedsByte), false;
  if (input && !byte && !(c.Pyxon() && t.kind == KindBit(kind::Word)))
    return ReportAt(c, loc.position, "", c.Pyxon() ? msg::AdNeedsByteOrWord : msg::AdNeedsByte), false;
  if (!ReadIndexes(c, 1, v, at)) return false;
  const int64_t n = v[0];
  if (!input && (n < 1 || n > 2)) return ReportAt(c, at[0], "", msg::DaIndex1To2), false;
  if (input && c.profile == profile::TesselMicro && n != 1 && n != 2 && n != 5 && n != 6)
    return ReportAt(c, at[0], "", msg::MicroAdIndex), false;
  if (input && (n < 1 || n > 8)) return ReportAt(c, at[0], "", msg::AdIndex1To8), false;
  loc.address = n - 1;
  return true;
}

bool ReadPcf8574(TCompilerContext& c, const TDimType& t, TLocation& loc) {
  std::vector<int64_t> v;
  std::vector<int32_t> at;
  loc.kind = KindBit(kind::Pcf8574);
  if (!c.Pyxon()) return ReportAt(c, loc.position, "", msg::PcfUnavailable), false;
  const bool bit = t.kind == KindBit(kind::Bit);
  if (!bit && t.kind != KindBit(kind::Byte)) return ReportAt(c, loc.position, "", msg::PcfType), false;
  if (!ReadIndexes(c, bit ? 2 : 1, v, at)) return false;
  if (v[0] < 0 || v[0] > 255) return ReportAt(c, at[0], "", msg::PcfAddressExpected), false;
  if (bit && (v[1] < 1 || v[1] > 8)) return ReportAt(c, at[1], "", msg::BitIndex1To8), false;
  loc.address = bit ? v[0] * 8 + v[1] - 1 : v[0];
  return true;
}

bool ReadI2cAddress(TCompilerContext& c, TLocation& loc) {
  std::vector<int64_t> v;
  std::vector<int32_t> at;
  if (!c.Pyxon()) return ReportAt(c, loc.position, "", msg::PcfUnavailable), false;
  if (!ReadIndexes(c, 1, v, at)) return false;
  if (v[0] < 0 || v[0] > 255) return ReportAt(c, at[0], "", msg::I2cAddressRange), false;
  loc.address = v[0];
  return true;
}

// The optional location word after the type, with its index.
bool ReadLocation(TCompilerContext& c, const std::vector<TDimName>& names, const TDimType& declared, TLocation& loc) {
  SkipBlanks(c);
  if (!IsNameChar(c.Current())) return true;
  loc.position = c.position;
  loc.word = ReadName(c);
  loc.upper = UpperCase(loc.word);
  if (loc.upper == "EEPROM" || loc.upper == "XEEPROM" || loc.upper == "IEEPROM") {
    if (!c.Pyxon()) return ReportAt(c, loc.position, "", msg::EepromVariablesNotOnTessel), false;
    loc.kind = KindBit(loc.upper == "IEEPROM" ? kind::InternalEeprom : kind::ExternalEeprom);
    return true;
  }
  const TDimType first = TypeOf(names.front(), declared);
  const bool arrays = std::any_of(names.begin(), names.end(), [](const TDimName& n) { return !n.bounds.empty(); });
  if (IsRunType(first) || (arrays && loc.upper != "I2C")) return ReportAt(c, loc.position, loc.word, msg::EndExpectedNot), false;
  loc.fixed = true;
  if (loc.upper == "I2C") return ReadI2cAddress(c, loc);
  if (loc.upper == "PORT") return ReadPort(c, first, loc);
  if (loc.upper == "AD" || loc.upper == "DA") return ReadAnalogue(c, first, loc, loc.upper == "AD");
  if (loc.upper == "PCF8574") return ReadPcf8574(c, first, loc);
  ReportAt(c, loc.position, loc.word, c.profile == profile::Tessel20 ? msg::EndPortOrPcfExpected : msg::EndOrPortExpected);
  return false;
}

int64_t Size(const TArrayBounds& b) { return int64_t{b.upper} - b.lower + 1; }

// The I2C kind bit of one name, or 0 after a report.
uint32_t I2cKind(TCompilerContext& c, const TDimName& n, const TDimType& t, const TLocation& loc) {
  const bool bit = t.kind == KindBit(kind::Bit);
  const bool byteOrWord = t.kind == KindBit(kind::Byte) || t.kind == KindBit(kind::Word);
  const auto arrayKind = [&](const TArrayBounds& first) {
    return KindBit(first.upper <= 255 ? kind::I2cArray : kind::I2cLargeArray);
  };
  int code = 0;
  switch (n.bounds.size()) {
    case 0:
      if (byteOrWord) return KindBit(kind::I2c);
      code = msg::I2cByteOrWord;
      break;
    case 1:
      if (bit && Size(n.bounds[0]) == 8) return KindBit(kind::I2c);
      if (byteOrWord) return arrayKind(n.bounds[0]);
      code = bit ? msg::I2cBooleanArraySize : msg::I2cByteOrWord;
      break;
    case 2:
      if (!bit) code = msg::I2cBoolean;
      else if (Size(n.bounds[1]) != 8) code = msg::I2cBooleanArraySize;
      else return arrayKind(n.bounds[0]);
      break;
    default: code = msg::I2cArrayDimensions;
  }
  ReportAt(c, loc.position, "", code);
  return 0;
}

// "=" and the initial value shared by every name; `value` stays empty without one.
bool ReadInitialValue(TCompilerContext& c, const std::vector<TDimName>& names, const TDimType& declared,
                      const TLocation& loc, std::string& value) {
  SkipBlanks(c);
  if (c.Current() != '=') return true;
  const int32_t at = c.position++;
  const bool runs = std::any_of(names.begin(), names.end(), [&](const TDimName& n) {
    return !n.bounds.empty() || IsRunType(TypeOf(n, declared));
  });
  if (c.Pyxon() && c.currentProcedure >= 0) return ReportAt(c, at, "", msg::LocalNotInitialisable), false;
  if (runs) return ReportAt(c, at, "", msg::ArrayNotInitialisable), false;
  const bool internal = HasKind(loc.kind, kind::InternalEeprom), external = HasKind(loc.kind, kind::ExternalEeprom);
  if ((internal && c.programMemorySelector != 2) || (external && c.programMemorySelector == 2))
    return ReportAt(c, at, "", msg::EepromInitialisationElsewhere), false;
  const bool text = IsStringType(TypeOf(names.front(), declared));
  for (const TDimName& n : names)
    if (IsStringType(TypeOf(n, declared)) != text) return ReportAt(c, at, text ? n.name : "", text ? msg::IncompatibleString : msg::StringValueExpected), false;
  if (!text) {
    value = std::to_string(CompileExpression(c, kConstantMask));
    return !c.errorReported;
  }
  std::string content;
  if (!CompileConstantString(c, content)) return false;
  const std::string name = "~i" + std::to_string(c.code.size()) + "." + std::to_string(c.tableArea.size()) + "$";
  const int constant = DefineStringConstant(c, name, content);
  c.symbols[constant].used = true;
  value = std::to_string(StringReference(c.symbols[constant]));
  return true;
}

bool CreateVariable(TCompilerContext& c, const TDimName& n, const TDimType& t, const TLocation& loc,
                    const std::string& value) {
  Tlabel s;
  s.name = n.name;
  s.sourcePosition = n.position;
  s.module = c.moduleIndex;
  s.scope = c.Scope();
  s.value = value;
  s.bounds = n.bounds;
  s.kind = t.kind | loc.kind | (n.bounds.empty() ? 0u : KindBit(kind::Array));
  s.bitPattern = t.pattern;
  std::vector<uint8_t> allocationPattern = t.pattern;
  int64_t alignment = UnitOf(t.kind) == TUnit::Word ? 2 : 1;
  if (t.star) {
    // A byte array with one more dimension: byte 0 the length, then the characters.
    s.kind = Kinds(kind::Byte, kind::StringStar, kind::Array) | loc.kind;
    s.bounds.push_back(TArrayBounds{0, static_cast<int32_t>(t.length), 1});
    s.bitPattern.assign(static_cast<size_t>(t.length) + 1, 255);
    allocationPattern = {255};
    alignment = 1;
  }
  if (t.structure >= 0) {
    s.value = std::to_string(t.structure);
    alignment = StructureHasWords(c.symbols[t.structure]) ? 2 : 1;
  }
  ComputeStrides(s.bounds);
  if (loc.upper == "I2C") {
    const uint32_t bus = I2cKind(c, n, t, loc);
    if (bus == 0) return false;
    s.kind |= bus;
  }
  if (loc.fixed) {
    s.address = loc.address;
  } else {
    c.errorPosition = n.position;
    s.address = AllocateAligned(c, s.kind, s.bounds, allocationPattern, alignment);
    if (s.address < 0) return false;
  }
  AddSymbol(c, std::move(s));
  return true;
}

}  // namespace

bool CheckNewName(TCompilerContext& c, const std::string& name, int codeWithoutDollar) {
  if (FindSymbol(c, name, c.Scope()) >= 0) {
    CompileError(c, name, msg::AlreadyDefined);
    return false;
  }
  const std::string base = name.substr(0, name.size() - (EndsWithDollar(name) ? 1 : 0));
  if (base != name && FindSymbol(c, base, c.Scope()) >= 0) {
    CompileError(c, codeWithoutDollar == msg::AlreadyDefined ? name : base, codeWithoutDollar);
    return false;
  }
  if (FindAsmLabel(c, name) >= 0) {
    CompileError(c, name, msg::AssemblerName);
    return false;
  }
  if (IsReserved(UpperCase(name)) >= 0) {
    CompileError(c, name, msg::ReservedName);
    return false;
  }
  return true;
}

// Names that share a type, with the type, location and initial value; false after an error.
bool CompileDimGroup(TCompilerContext& c) {
  std::vector<TDimName> names;
  if (!ReadNames(c, names)) return false;
  TDimType declared;
  TLocation loc;
  SkipBlanks(c);
  const int32_t afterNames = c.position;
  if (UpperCase(ReadName(c)) == "AS") {
    if (!ReadType(c, declared)) return false;
  } else {
    c.position = afterNames;
  }
  for (const TDimName& n : names)
    if (!CheckNameAgainstType(c, n, TypeOf(n, declared))) return false;
  if (!ReadLocation(c, names, declared, loc)) return false;
  std::string value;
  if (!ReadInitialValue(c, names, declared, loc, value)) return false;
  for (const TDimName& n : names)
    if (!CreateVariable(c, n, TypeOf(n, declared), loc, value)) return false;
  return true;
}

// DIM a, b AS BYTE declares both as bytes; DIM a AS BOOLEAN, b AS BYTE gives each its own.
void CompileDim(TCompilerContext& c) {
  for (;;) {
    if (!CompileDimGroup(c)) return;
    SkipBlanks(c);
    if (c.Current() != ',') break;
    ++c.position;
  }
  ExpectEnd(c);
}

}  // namespace zarvek
