// TYPE name ... END TYPE: a data structure, one or more elements per line, each placed in
// the structure's pattern of occupied bytes and bits.
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/variable_access.h"

namespace zarvek {

namespace {

enum class TLineResult { Element, End, Error };

struct TElementName {
  std::string name;
  int32_t position = 0;
};

bool AtLineEnd(const TCompilerContext& c) { return c.AtEnd() || IsLineEnd(c.Current()) || c.Current() == '\''; }

// Bytes take the first free byte, words and strings the first free even byte pair,
// booleans the lowest free bit of the first byte that is not full.
int PlaceElement(std::vector<uint8_t>& pattern, uint32_t typeKind) {
  size_t b = 0;
  if (typeKind == KindBit(kind::Bit)) {
    while (b < pattern.size() && pattern[b] == 0xFF) ++b;
    if (b == pattern.size()) pattern.push_back(0);
    int bit = 0;
    while ((pattern[b] >> bit & 1) != 0) ++bit;
    pattern[b] |= static_cast<uint8_t>(1 << bit);
    return static_cast<int>(b * 8) + bit;
  }
  const size_t width = typeKind == KindBit(kind::Byte) ? 1 : 2;
  for (;; b += width) {
    if (pattern.size() < b + width) pattern.resize(b + width, 0);
    if (pattern[b] == 0 && pattern[b + width - 1] == 0) break;
  }
  for (size_t k = 0; k < width; ++k) pattern[b + k] = 0xFF;
  return static_cast<int>(b);
}

uint32_t ElementType(const std::string& upper) {
  if (upper == "BYTE") return KindBit(kind::Byte);
  if (upper == "INTEGER" || upper == "WORD") return KindBit(kind::Word);
  if (upper == "BOOLEAN") return KindBit(kind::Bit);
  if (upper == "STRING") return KindBit(kind::String);
  return 0;
}

bool IsKnownElement(const Tlabel& structure, const std::vector<TElementName>& line, const std::string& upper) {
  for (const TAttribute& a : structure.attributes)
    if (UpperCase(a.name) == upper) return true;
  for (const TElementName& n : line)
    if (UpperCase(n.name) == upper) return true;
  return false;
}

// The names before AS, separated by ",".
bool ReadElementNames(TCompilerContext& c, const Tlabel& structure, TElementName first, std::vector<TElementName>& names) {
  for (TElementName n = std::move(first);;) {
    std::string upper = UpperCase(n.name);
    if (n.name.empty() || upper == "AS") return ReportAt(c, n.position, "", msg::StructureElementNameExpected), false;
    if (upper.size() > 1 && upper.back() == '$') upper.pop_back();
    if (!IsValidIdentifier(upper)) return ReportAt(c, n.position, n.name, msg::InvalidName), false;
    if (IsKnownElement(structure, names, UpperCase(n.name))) return ReportAt(c, n.position, n.name, msg::AlreadyDefined), false;
    names.push_back(n);
    SkipBlanks(c);
    if (c.Current() != ',') return true;
    ++c.position;
    SkipBlanks(c);
    n.position = c.position;
    n.name = ReadName(c);
  }
}

// Names sharing a type: "a, b AS BYTE"; the position is after the first name.
bool ReadElementGroup(TCompilerContext& c, Tlabel& structure, const TElementName& first) {
  std::vector<TElementName> names;
  if (!ReadElementNames(c, structure, first, names)) return false;
  SkipBlanks(c);
  const int32_t asAt = c.position;
  if (UpperCase(ReadName(c)) != "AS") return ReportAt(c, asAt, "", msg::TypeElementAsExpected), false;
  SkipBlanks(c);
  const int32_t typeAt = c.position;
  const std::string word = ReadName(c);
  const uint32_t type = ElementType(UpperCase(word));
  if (type == 0) return ReportAt(c, typeAt, word, msg::TypeElementTypeExpected), false;
  for (const TElementName& n : names) {
    const bool dollar = n.name.back() == '$';
    if (type == KindBit(kind::String) && !dollar) return ReportAt(c, typeAt, n.name, msg::StringNameExpected), false;
    if (type != KindBit(kind::String) && dollar) return ReportAt(c, typeAt, word, msg::StringTypeExpected), false;
  }
  for (const TElementName& n : names)
    structure.attributes.push_back(TAttribute{n.name, type, 8, PlaceElement(structure.bitPattern, type)});
  return true;
}

// One line: END TYPE, or groups of elements separated by ",".
TLineResult ReadElementLine(TCompilerContext& c, Tlabel& structure) {
  TElementName first;
  first.position = c.position;
  first.name = ReadName(c);
  if (UpperCase(first.name) == "END") {
    SkipBlanks(c);
    if (UpperCase(ReadName(c)) == "TYPE") return TLineResult::End;
    return ReportAt(c, first.position, "END TYPE", msg::Expected), TLineResult::Error;
  }
  for (;;) {
    if (!ReadElementGroup(c, structure, first)) return TLineResult::Error;
    SkipBlanks(c);
    if (AtLineEnd(c)) return TLineResult::Element;
    if (c.Current() != ',') return ReportAt(c, c.position, "", msg::TypeElementEndExpected), TLineResult::Error;
    ++c.position;
    SkipBlanks(c);
    first.position = c.position;
    first.name = ReadName(c);
  }
}

}  // namespace

void CompileType(TCompilerContext& c) {
  if (!c.Pyxon()) return ReportAt(c, WordStart(c, "TYPE"), "TYPE", msg::PyxonOnly);
  SkipBlanks(c);
  Tlabel structure;
  structure.sourcePosition = c.position;
  structure.name = ReadIdentifier(c);
  if (structure.name.empty()) return;
  c.errorPosition = structure.sourcePosition;
  if (!CheckNewName(c, structure.name)) return;
  structure.kind = KindBit(kind::Structure);
  structure.scope = c.Scope();
  structure.module = c.moduleIndex;
  if (!AtLineEnd(c)) return ReportAt(c, c.position, "", msg::EndExpected);
  for (;;) {
    SkipLine(c);
    while (!c.AtEnd() && (IsLineEnd(c.Current()) || IsBlank(c.Current()))) ++c.position;
    if (c.AtEnd()) return ReportAt(c, c.position, "END TYPE", msg::Expected);
    if (c.Current() == '\'') continue;
    const TLineResult line = ReadElementLine(c, structure);
    if (line == TLineResult::Error) return;
    if (line == TLineResult::End) break;
  }
  AddSymbol(c, std::move(structure));
  ExpectEnd(c);
}

}  // namespace zarvek
