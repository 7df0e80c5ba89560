#include "simulation/program_symbols.h"

#include "text/names.h"

namespace zarvek {

TProgramSymbols::TProgramSymbols(std::vector<Tlabel> basic, std::vector<hc05::TAsmSymbol> assembler, bool tessel)
    : m_basic(std::move(basic)), m_assembler(std::move(assembler)), m_tessel(tessel) {
  // The passes look names up at every tick: one upper-cased index, built once.
  for (size_t i = 0; i < m_basic.size(); ++i) m_basicIndex[UpperCase(m_basic[i].name)].push_back(i);
  for (size_t i = 0; i < m_assembler.size(); ++i) m_assemblerIndex.emplace(UpperCase(m_assembler[i].name), i);
}

const hc05::TAsmSymbol* TProgramSymbols::FindAssembler(std::string_view name) const {
  if (name.empty()) return nullptr;
  const auto at = m_assemblerIndex.find(UpperCase(name));
  return at == m_assemblerIndex.end() ? nullptr : &m_assembler[at->second];
}

std::optional<int32_t> TProgramSymbols::AssemblerValue(std::string_view name) const {
  const hc05::TAsmSymbol* s = FindAssembler(name);
  return s ? hc05::AsmSymbolNumber(*s) : std::nullopt;
}

bool TProgramSymbols::IsAssemblerName(std::string_view name) const { return FindAssembler(name) != nullptr; }

int TProgramSymbols::FindBasic(std::string_view name, uint32_t kindMask) const {
  if (name.empty()) return -1;
  const auto at = m_basicIndex.find(UpperCase(name));
  if (at == m_basicIndex.end()) return -1;
  for (size_t i : at->second)
    if (kindMask == 0 || (m_basic[i].kind & kindMask) != 0) return static_cast<int>(i);
  return -1;
}

int TProgramSymbols::FindGlobal(std::string_view name) const {
  if (name.empty()) return -1;
  const auto at = m_basicIndex.find(UpperCase(name));
  if (at == m_basicIndex.end()) return -1;
  for (size_t i : at->second)
    if (m_basic[i].scope == -1) return static_cast<int>(i);
  return -1;
}

}  // namespace zarvek
