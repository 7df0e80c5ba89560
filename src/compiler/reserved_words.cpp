#include "compiler/reserved_words.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace zarvek {
namespace {

constexpr uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

constexpr char UpperByte(char c) {
  const uint8_t b = Byte(c);
  const bool small = (b >= 'a' && b <= 'z') || b == 0xE4 || b == 0xF6 || b == 0xFC;  // a-z ä ö ü
  return small ? static_cast<char>(b - 0x20) : c;
}

// Orders by the upper-cased bytes, unsigned, as the binary search sees them.
constexpr bool UpperLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Byte(UpperByte(x)) < Byte(UpperByte(y)); });
}

constexpr bool UpperEquals(std::string_view spelling, std::string_view upperName) {
  return std::ranges::equal(spelling, upperName, {}, UpperByte);
}

// Sorted by upper-cased bytes, so "$INCLUDE" comes first and "xEEPROM" before "Xor".
constexpr std::string_view kReservedWords[] = {
    "$INCLUDE", "Abs", "AD", "And", "Append", "Array", "As", "Beep", "Boolean", "Byte", "Call", "Case",
    "Chr", "Chr$", "Close", "Const", "Crash", "DA", "Day", "Deact", "Dim", "Do", "Dow", "DownTo",
    "EEPROM", "Else", "ElseIf", "End", "EOF", "Error", "Exit", "False", "Filefree", "Filesize", "For",
    "Freq1", "Freq2", "Function", "GoSub", "GoTo", "Hour", "I2C", "iEEPROM", "If", "InCount", "InKey",
    "Input", "InStat", "Integer", "Interrupt", "Is", "Key", "KeyCount", "KeyInterrupt", "Len", "Loop",
    "Max", "Min", "Minute", "Mod", "Module", "Month", "NAnd", "Next", "Nor", "Not", "Off", "On", "Open",
    "Or", "Pause", "PCF8574", "Peek", "Pointer", "Poke", "Port", "Print", "Pulse", "Rand", "Randomize",
    "Read", "Return", "Second", "Select", "SetBaud", "Sgn", "ShL", "ShR", "SlowMode", "Sqr", "Step",
    "Str", "Str$", "String", "Sub", "Switch", "System", "Then", "To", "True", "Type", "Until", "While",
    "Word", "Write", "xEEPROM", "Xor", "Year",
};

static_assert(std::size(kReservedWords) == kReservedWordCount);
static_assert(std::ranges::adjacent_find(kReservedWords, [](auto a, auto b) { return !UpperLess(a, b); }) ==
                  std::ranges::end(kReservedWords),
              "reserved words must be strictly ascending by their upper-case bytes");

}  // namespace

int IsReserved(std::string_view upperName) {
  const auto it = std::ranges::lower_bound(kReservedWords, upperName, UpperLess);
  if (it == std::ranges::end(kReservedWords) || !UpperEquals(*it, upperName)) return -1;
  return static_cast<int>(it - std::ranges::begin(kReservedWords));
}

std::string_view ReservedWordSpelling(int index) {
  if (index < 0 || index >= kReservedWordCount) return {};
  return kReservedWords[index];
}

}  // namespace zarvek
