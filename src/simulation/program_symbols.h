// The names of a built program as the simulation sees them: the BASIC symbols and the
// assembler's labels and constants, looked up without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/symbols.h"
#include "hc05/asm_symbols.h"

namespace zarvek {

class TProgramSymbols {
 public:
  TProgramSymbols() = default;
  TProgramSymbols(std::vector<Tlabel> basic, std::vector<hc05::TAsmSymbol> assembler, bool tessel = false);

  const std::vector<Tlabel>& Basic() const { return m_basic; }
  const std::vector<hc05::TAsmSymbol>& Assembler() const { return m_assembler; }
  bool Tessel() const { return m_tessel; }
  // The value of an assembler label or constant; nothing for unknown names and names
  // without a number.
  std::optional<int32_t> AssemblerValue(std::string_view name) const;
  bool IsAssemblerName(std::string_view name) const;
  // The index of a BASIC symbol of that name in any scope whose kind has one of the bits
  // (all kinds when 0); -1 when there is none.
  int FindBasic(std::string_view name, uint32_t kindMask = 0) const;
  // The same among the global symbols only.
  int FindGlobal(std::string_view name) const;

 private:
  const hc05::TAsmSymbol* FindAssembler(std::string_view name) const;

  std::vector<Tlabel> m_basic;
  std::vector<hc05::TAsmSymbol> m_assembler;
  bool m_tessel = false;
  std::unordered_map<std::string, std::vector<size_t>> m_basicIndex;  // upper-cased name
  std::unordered_map<std::string, size_t> m_assemblerIndex;
};

}  // namespace zarvek
