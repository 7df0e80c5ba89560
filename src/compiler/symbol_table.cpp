#include "compiler/symbol_table.h"

#include <algorithm>

#include "compiler/reserved_words.h"

namespace zarvek {

int FindSymbol(const TCompilerContext& c, std::string_view name, int32_t scope) {
  const auto it = c.symbolsByName.find(UpperCase(name));
  if (it == c.symbolsByName.end()) return -1;
  const TSymbolsOfName& found = it->second;
  if (scope == kAnyScope || scope == -1) return scope == kAnyScope ? found.first : found.firstGlobal;
  const auto local = found.firstInScope.find(scope);
  if (local == found.firstInScope.end()) return found.firstGlobal;
  return found.firstGlobal < 0 ? local->second : std::min(local->second, found.firstGlobal);
}

int AddSymbol(TCompilerContext& c, Tlabel symbol) {
  const int index = static_cast<int>(c.symbols.size());
  TSymbolsOfName& same = c.symbolsByName[UpperCase(symbol.name)];
  if (same.first < 0) same.first = index;
  if (symbol.scope == -1) {
    if (same.firstGlobal < 0) same.firstGlobal = index;
  } else {
    same.firstInScope.emplace(symbol.scope, index);
  }
  c.symbols.push_back(std::move(symbol));
  return index;
}

int FindAsmLabel(const TCompilerContext& c, std::string_view name) {
  const auto it = c.asmLabelsByName.find(UpperCase(name));
  return it == c.asmLabelsByName.end() ? -1 : it->second;
}

void AddAsmLabel(TCompilerContext& c, TAsmLabel label) {
  c.asmLabelsByName.emplace(UpperCase(label.name), static_cast<int>(c.asmLabels.size()));
  c.asmLabels.push_back(std::move(label));
}

void SetAsmLabels(TCompilerContext& c, const std::vector<TAsmLabel>& labels) {
  c.asmLabels.clear();
  c.asmLabelsByName.clear();
  for (const TAsmLabel& label : labels) AddAsmLabel(c, label);
}

std::string CurrentProcedureName(const TCompilerContext& c) {
  return c.currentProcedure >= 0 ? c.symbols[c.currentProcedure].name : std::string();
}

bool IsHandlerName(std::string_view upperName) {
  return upperName == "INTERRUPT" || upperName == "KEYINTERRUPT" || upperName == "ERROR" || upperName == "CRASH";
}

bool IsHandlerProcedure(const TCompilerContext& c, int32_t symbol) {
  if (symbol < 0 || static_cast<size_t>(symbol) >= c.symbols.size()) return false;
  const Tlabel& s = c.symbols[static_cast<size_t>(symbol)];
  return s.kind == KindBit(kind::Sub) && IsHandlerName(UpperCase(s.name));
}

}  // namespace zarvek
