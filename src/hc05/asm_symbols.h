// The assembler's symbol table: labels and EQU constants, sorted by their upper-cased
// name and searched by binary search; the BASIC compiler reads it too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/names.h"

namespace zarvek::hc05 {

namespace asmsymbol {
inline constexpr uint8_t PreRegistered = 0;  // a name only, entered before the BASIC compilation
inline constexpr uint8_t Label = 1;
inline constexpr uint8_t Constant = 2;       // EQU
}  // namespace asmsymbol

inline constexpr int kAsmSymbolLimit = 4096;

struct TAsmSymbol {
  std::string name;   // as written (cp1252)
  std::string value;  // a label's decimal address; a constant's value, "#" first for an immediate
  int32_t line = -1;  // index of the defining line
  uint8_t kind = asmsymbol::PreRegistered;
  bool operator==(const TAsmSymbol&) const = default;
};

// The value text read as a number ("#" allowed): a label's address, a constant's value;
// nothing for a bit name or a name entered before its definition.
std::optional<int32_t> AsmSymbolNumber(const TAsmSymbol& symbol);

class TAsmSymbolTable {
 public:
  void Clear() { m_entries.clear(); }
  int Size() const { return static_cast<int>(m_entries.size()); }
  bool Full() const { return Size() >= kAsmSymbolLimit; }
  // Binary search by the upper-cased name; when not found, index is the insertion point.
  bool Find(std::string_view name, int& index) const;
  const TAsmSymbol* Lookup(std::string_view name) const;
  const TAsmSymbol& At(int index) const { return m_entries[static_cast<size_t>(index)].symbol; }
  TAsmSymbol& At(int index) { return m_entries[static_cast<size_t>(index)].symbol; }
  // The index of the symbol with this name, entered first if new; -1 when a new name
  // finds the table full.
  int Insert(TAsmSymbol symbol);
  void Erase(int index);
  std::vector<TAsmSymbol> All() const;

 private:
  struct TEntry {
    std::string key;  // upper-cased name
    TAsmSymbol symbol;
  };
  std::vector<TEntry> m_entries;
};


}  // namespace zarvek::hc05
