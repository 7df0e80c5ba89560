#include "runtime/tokens.h"

#include <array>

namespace zarvek {

namespace {

constexpr std::string_view Trimmed(std::string_view name) {
  // EOF_ carries an underscore only to stay clear of the C library's EOF macro.
  return name.ends_with('_') ? name.substr(0, name.size() - 1) : name;
}

constexpr std::array<TTokenInfo, 256> BuildTable() {
  std::array<TTokenInfo, 256> table{};
#define ZARVEK_TOKEN_INFO(byte, name, operands) \
  table[byte] = TTokenInfo{Trimmed(#name), TTokenOperands::operands};
  ZARVEK_TOKENS(ZARVEK_TOKEN_INFO)
#undef ZARVEK_TOKEN_INFO
  return table;
}

constexpr std::array<TTokenInfo, 256> kTokenTable = BuildTable();

}  // namespace

const TTokenInfo& TokenInfo(uint8_t byte) { return kTokenTable[byte]; }

}  // namespace zarvek
