#include "compiler/symbol_table.h"

#include "compiler/reserved_words.h"

namespace zarvek {

int FindSymbol(const TCompilerContext& c, std::string_view name, int32_t scope) {
  const auto it = c.symbolsByName.find(UpperCase(name));
  if (it == c.symbolsByName.end()) return -1;
  for (int index : it->second) {
    const int32_t s = c.symbols[index].scope;
    if (scope == kAnyScope || s == scope || s == -1) return index;
  }
  return -1;
}

int AddSymbol(TCompilerContext& c, Tlabel symbol) {
  const int index = static_cast<int>(c.symbols.size());
  c.symbolsByName[UpperCase(symbol.name)].push_back(index);
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
