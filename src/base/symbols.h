// The symbol record shared by the BASIC compiler and the assembler, and its kind bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarvek {

// Kind bits of a symbol; a symbol's kind is a set of them.
namespace kind {
inline constexpr int Label = 0;
inline constexpr int Bit = 2;          // BOOLEAN
inline constexpr int Byte = 3;
inline constexpr int Word = 4;         // WORD / INTEGER
inline constexpr int Constant = 5;     // numeric constant
inline constexpr int Table = 6;        // CONST ... ARRAY
inline constexpr int Sub = 7;
inline constexpr int Function = 8;
inline constexpr int StringConst = 9;
inline constexpr int String = 10;      // STRING variable
inline constexpr int StringStar = 11;  // STRING * n variable
inline constexpr int Structure = 12;   // TYPE
inline constexpr int StructVar = 13;   // variable of a TYPE
inline constexpr int Array = 14;
inline constexpr int Port = 15;
inline constexpr int AdInput = 16;
inline constexpr int DaOutput = 17;
inline constexpr int Pcf8574 = 18;
inline constexpr int I2c = 19;           // simple I2C variable
inline constexpr int I2cArray = 20;      // first upper bound at most 255
inline constexpr int I2cLargeArray = 21; // first upper bound above 255
inline constexpr int ExternalEeprom = 23;
inline constexpr int InternalEeprom = 24;
}  // namespace kind

constexpr uint32_t KindBit(int bit) { return uint32_t{1} << bit; }
template <typename... B>
constexpr uint32_t Kinds(B... bits) {
  return (KindBit(bits) | ... | 0u);
}
constexpr bool HasKind(uint32_t kinds, int bit) { return (kinds & KindBit(bit)) != 0; }

// Element of a data structure (TYPE).
struct TAttribute {
  std::string name;
  uint32_t typeKind = 0;  // 8 byte, 16 word, 4 boolean, 1024 string
  int size = 8;
  int offset = 0;  // byte offset; bit number (byte * 8 + bit) for booleans
};

struct TArrayBounds {
  int32_t lower = 0;
  int32_t upper = 0;
  int32_t stride = 1;  // product of the sizes of all later dimensions
};

struct Tlabel {
  std::string name;   // as declared (cp1252)
  int64_t address = 0;  // by kind: memory address, token address, table offset + 2, value
  std::string value;  // initial value; a label's procedure; a procedure's parameter count
  std::vector<TAttribute> attributes;
  std::vector<uint8_t> bitPattern;
  int32_t sourcePosition = 0;
  int32_t scope = -1;  // -1 global, else the owner of the local memory
  int32_t module = -1;
  uint32_t kind = 0;
  std::vector<TArrayBounds> bounds;
  bool used = false;
};

}  // namespace zarvek
