#include "simulation/program_symbols.h"

#include "text/names.h"

namespace zarvek {

namespace {
bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && UpperCase(a) == UpperCase(b); }
}  // namespace

std::optional<int32_t> TProgramSymbols::AssemblerValue(std::string_view name) const {
  for (const hc05::TAsmSymbol& s : m_assembler)
    if (SameName(s.name, name)) return hc05::AsmSymbolNumber(s);
  return std::nullopt;
}

bool TProgramSymbols::IsAssemblerName(std::string_view name) const {
  for (const hc05::TAsmSymbol& s : m_assembler)
    if (SameName(s.name, name)) return true;
  return false;
}

int TProgramSymbols::FindBasic(std::string_view name, uint32_t kindMask) const {
  if (name.empty()) return -1;
  for (size_t i = 0; i < m_basic.size(); ++i) {
    const Tlabel& s = m_basic[i];
    if ((kindMask == 0 || (s.kind & kindMask) != 0) && SameName(s.name, name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace zarvek
