#include "hc05/asm_symbols.h"

#include <algorithm>

#include "hc05/asm_expression.h"

namespace zarvek::hc05 {

std::optional<int32_t> AsmSymbolNumber(const TAsmSymbol& symbol) {
  const TAsmNumber n = ParseAsmNumber(symbol.value);
  if (n.status != TAsmNumber::TStatus::Ok) return std::nullopt;
  return n.value;
}

bool TAsmSymbolTable::Find(std::string_view name, int& index) const {
  const std::string key = UpperCase(name);
  const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                   [](const TEntry& e, const std::string& k) { return e.key < k; });
  index = static_cast<int>(it - m_entries.begin());
  return it != m_entries.end() && it->key == key;
}

const TAsmSymbol* TAsmSymbolTable::Lookup(std::string_view name) const {
  int index = 0;
  return Find(name, index) ? &At(index) : nullptr;
}

int TAsmSymbolTable::Insert(TAsmSymbol symbol) {
  int index = 0;
  if (Find(symbol.name, index)) return index;
  if (Full()) return -1;
  std::string key = UpperCase(symbol.name);
  m_entries.insert(m_entries.begin() + index, TEntry{std::move(key), std::move(symbol)});
  return index;
}

void TAsmSymbolTable::Erase(int index) {
  if (index >= 0 && index < Size()) m_entries.erase(m_entries.begin() + index);
}

std::vector<TAsmSymbol> TAsmSymbolTable::All() const {
  std::vector<TAsmSymbol> all;
  all.reserve(m_entries.size());
  for (const TEntry& e : m_entries) all.push_back(e.symbol);
  return all;
}

}  // namespace zarvek::hc05
