// String constants in the table area: a 16-bit length, each character as a 16-bit word,
// then a zero word.
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/symbol_table.h"

namespace zarvek {

int DefineStringConstant(TCompilerContext& c, const std::string& name, const std::string& text) {
  const int64_t offset = static_cast<int64_t>(c.tableArea.size());
  auto word = [&](uint16_t w) {
    c.tableArea.push_back(static_cast<char>(w >> 8));
    c.tableArea.push_back(static_cast<char>(w & 0xFF));
  };
  word(static_cast<uint16_t>(text.size()));
  for (char ch : text) word(static_cast<uint8_t>(ch));
  word(0);

  Tlabel length;
  length.name = name.substr(0, name.size() - (name.ends_with('$') ? 1 : 0));
  length.kind = KindBit(kind::Constant);
  length.address = static_cast<int64_t>(text.size());
  length.scope = c.Scope();
  length.module = c.moduleIndex;
  length.sourcePosition = c.errorPosition;
  Tlabel constant = length;
  constant.name = name;
  constant.kind = KindBit(kind::StringConst);
  constant.address = offset + 2;
  constant.value = std::to_string(text.size());
  const int index = AddSymbol(c, std::move(constant));
  AddSymbol(c, std::move(length));
  return index;
}

int64_t StringReference(const Tlabel& stringConstant) { return stringConstant.address / 2 + 1; }

}  // namespace zarvek
