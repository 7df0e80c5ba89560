// The assembler's error set: 48 members (six bytes) of which 45 have texts, and the one
// message a failed line produces from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zarvek::hc05 {

enum class TAsmMessage : uint8_t {
  InvalidValue = 0,           // raised for a label whose value changes in the output pass
  UnknownInstruction = 1,
  TooManyParameters = 2,
  TooFewParameters = 3,       // unused: a missing operand is ParametersMissing
  InvalidName = 4,
  InvalidParameters = 5,
  SymbolDefined = 6,
  ConstantUndefined = 7,
  TooManyConstants = 8,       // unused
  TooManySymbols = 9,
  ConstantDefined = 10,       // unused
  NameReserved = 11,
  NameMissing = 12,
  ParametersMissing = 13,
  SymbolNumeric = 14,         // unused: a label must begin with a letter
  ConstantNameNumeric = 15,   // unused, as 14
  BitPosition = 16,
  LabelFixedValue = 17,
  OrgAfterCode = 18,
  BranchTooFar = 19,
  IfMissing = 20,
  FileNotFound = 21,
  IndexWithImmediate = 22,
  StringQuotes = 23,
  Address8 = 24,
  OperationNeedsAddress = 25,
  TargetNeedsAddress = 26,
  Address16 = 27,
  BracketExpected = 28,
  OperatorWithoutOperand = 29,
  SelfReference = 30,
  OnlyIndexRegister = 31,
  IndexInExpression = 32,     // unused: X in an expression reports IndexNotHere
  IndexNotHere = 33,
  ImmediateExpected = 34,
  ByteRange = 35,
  WordRange = 36,
  ValueTooLarge = 37,
  DivisionByZero = 38,
  OrgFromOne = 39,
  BitSelectionNotHere = 40,
  BitRange = 41,
  BitNeedsByte = 42,
  UsedInBasic = 43,
  OnlyVariables = 44,
};

inline constexpr int kAsmMessageMembers = 48;

class TAsmErrorSet {
 public:
  TAsmErrorSet() = default;
  TAsmErrorSet(TAsmMessage m) { Add(m); }  // NOLINT: a single member converts implicitly
  void Add(TAsmMessage m) { m_bits |= uint64_t{1} << static_cast<int>(m); }
  bool Has(TAsmMessage m) const { return (m_bits >> static_cast<int>(m)) & 1; }
  bool Empty() const { return m_bits == 0; }
  uint64_t Bits() const { return m_bits; }
  bool operator==(const TAsmErrorSet&) const = default;

 private:
  uint64_t m_bits = 0;
};

// The member's text (UTF-8); empty for the three members without one.
std::string_view AsmMessageText(TAsmMessage m);

// "Assembler: " + offending text + " - " + the texts of the members present in their fixed
// order, + " (" + module + ")" when the line lies in a module. Offending text and module
// name are cp1252 (they come from the sources); the result is UTF-8.
std::string ComposeAsmMessage(std::string_view offending, TAsmErrorSet set, std::string_view module);

}  // namespace zarvek::hc05
