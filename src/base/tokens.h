// The token code: one list of every token byte, read by the token machine's dispatch,
// the compiler and the debug views. Every 16-bit operand is big-endian; a16 is an
// address in program memory (image offset + 4), b an operand byte.
#pragma once

#include <cstdint>
#include <array>
#include <string_view>

#include "base/token_list.h"

namespace zarvek {

// The function byte of FILEOP.
namespace fileop {
inline constexpr uint8_t OpenRead = 1;
inline constexpr uint8_t OpenWrite = 2;
inline constexpr uint8_t OpenAppend = 3;
inline constexpr uint8_t Close = 4;
inline constexpr uint8_t Write = 5;
inline constexpr uint8_t Read = 6;
}  // namespace fileop

enum class TTokenOperands : uint8_t { None, Byte, Word, ByteWord, Text };

namespace tok {
#define ZARVEK_TOKEN_CONST(byte, name, operands) inline constexpr uint8_t name = byte;
ZARVEK_TOKENS(ZARVEK_TOKEN_CONST)
#undef ZARVEK_TOKEN_CONST
}  // namespace tok

struct TTokenInfo {
  std::string_view name;  // empty for an invalid byte
  TTokenOperands operands = TTokenOperands::None;
};

namespace token_detail {

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

inline constexpr std::array<TTokenInfo, 256> kTokenTable = BuildTable();

}  // namespace token_detail

// Name and operand layout of a token byte; invalid bytes have an empty name.
inline const TTokenInfo& TokenInfo(uint8_t byte) { return token_detail::kTokenTable[byte]; }

}  // namespace zarvek
