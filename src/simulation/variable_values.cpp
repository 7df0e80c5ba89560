#include "simulation/variable_values.h"

#include <algorithm>

namespace zarvek {

namespace {

bool Local(const Tlabel& s) {
  // Locals of a procedure use their frame unless they need the memory form.
  constexpr uint32_t memoryForm = Kinds(kind::StringStar, kind::StructVar, kind::Array, kind::Pcf8574, kind::I2c,
                                        kind::I2cArray, kind::I2cLargeArray, kind::ExternalEeprom,
                                        kind::InternalEeprom);
  return s.scope >= 0 && (s.kind & memoryForm) == 0;
}

uint8_t SpaceOf(const Tlabel& s) {
  if (HasKind(s.kind, kind::InternalEeprom)) return 1;
  if (HasKind(s.kind, kind::ExternalEeprom)) return 3;
  return 0;
}

uint32_t UnitsPerElement(TValueType type) { return type == TValueType::Word || type == TValueType::String ? 2 : 1; }

}  // namespace

TValueType TVariableReader::TypeOf(const Tlabel& s) {
  if (HasKind(s.kind, kind::String)) return TValueType::String;
  if (HasKind(s.kind, kind::Word)) return TValueType::Word;
  if (HasKind(s.kind, kind::Bit)) return TValueType::Bit;
  return TValueType::Byte;
}

uint32_t TVariableReader::ElementCount(const Tlabel& s) {
  if (!HasKind(s.kind, kind::Array) || s.bounds.empty()) return 1;
  uint64_t n = 1;
  for (const TArrayBounds& b : s.bounds) n *= static_cast<uint64_t>(std::max<int64_t>(0, int64_t{b.upper} - b.lower + 1));
  return static_cast<uint32_t>(std::min<uint64_t>(n, 65536));
}

bool TVariableReader::IsVariable(const Tlabel& s) {
  constexpr uint32_t notVariables = Kinds(kind::Sub, kind::Function, kind::Constant, kind::Table,
                                          kind::StringConst, kind::Structure);
  constexpr uint32_t variables = Kinds(kind::Bit, kind::Byte, kind::Word, kind::String, kind::StructVar);
  return (s.kind & notVariables) == 0 && (s.kind & variables) != 0 && !s.name.empty() && s.name[0] != '~' &&
         s.name[0] != '.';
}

std::string TVariableReader::ReadBytes(const Tlabel& s, uint8_t frame, uint32_t byteAddress, uint32_t count) {
  if (Local(s)) return m_machine.ReadFrame(frame, byteAddress, count);
  return m_machine.ReadMemory(SpaceOf(s), byteAddress, count);
}

std::string TVariableReader::Format(TValueType type, const std::string& raw) {
  switch (type) {
    case TValueType::Bit: return raw.size() == 1 ? (raw[0] ? "-1" : "0") : "?";
    case TValueType::Byte: return raw.size() == 1 ? std::to_string(static_cast<uint8_t>(raw[0])) : "?";
    case TValueType::Word:
      if (raw.size() != 2) return "?";
      return std::to_string(static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint8_t>(raw[0]) << 8 |
                                                                        static_cast<uint8_t>(raw[1]))));
    case TValueType::String: return raw;  // formatted by the reader, which knows the table
  }
  return "?";
}

std::string TVariableReader::StringText(uint16_t reference) {
  std::string text;
  if (!m_machine.ReadString(reference, text)) return "?";
  return "\"" + text + "\"";
}

TValueRead TVariableReader::ReadTyped(const Tlabel& s, uint8_t frame, TValueType type, uint64_t at,
                                      bool byteAddressed, int bitInByte) {
  TValueRead v;
  uint64_t byte = at;
  if (!byteAddressed) byte = type == TValueType::Bit ? at / 8 : at * UnitsPerElement(type);
  if (type == TValueType::Bit && !byteAddressed) bitInByte = static_cast<int>(at % 8);
  const std::string bytes =
      ReadBytes(s, frame, static_cast<uint32_t>(byte), type == TValueType::Word || type == TValueType::String ? 2 : 1);
  if (type == TValueType::Bit) {
    v.raw = bytes.size() == 1 ? std::string(1, static_cast<char>((static_cast<uint8_t>(bytes[0]) >> bitInByte) & 1))
                              : std::string();
  } else {
    v.raw = bytes;
  }
  if (type == TValueType::String) {
    v.text = bytes.size() == 2 ? StringText(static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) << 8 |
                                                                  static_cast<uint8_t>(bytes[1])))
                               : "?";
  } else {
    v.text = Format(type, v.raw);
  }
  return v;
}

TValueRead TVariableReader::ReadHardware(const Tlabel& s, uint32_t element) {
  TValueRead v{{}, "?"};
  if (!m_hw) return v;
  const uint64_t a = static_cast<uint64_t>(s.address) + element;
  auto level = [&](size_t port) {
    return static_cast<uint8_t>(m_hw->outputPorts[port % 4].load() | m_hw->inputPorts[port % 4].load());
  };
  if (HasKind(s.kind, kind::AdInput)) {
    v.raw = std::string(1, static_cast<char>(m_hw->adInputs[a % 8].load()));
    v.text = Format(TValueType::Byte, v.raw);
  } else if (HasKind(s.kind, kind::DaOutput)) {
    v.raw = std::string(1, static_cast<char>(m_hw->daOutputs[a % 2].load()));
    v.text = Format(TValueType::Byte, v.raw);
  } else if (TypeOf(s) == TValueType::Bit) {
    v.raw = std::string(1, static_cast<char>((level(a / 8) >> (a % 8)) & 1));
    v.text = Format(TValueType::Bit, v.raw);
  } else if (TypeOf(s) == TValueType::Word) {
    v.raw = {static_cast<char>(level(2 * a)), static_cast<char>(level(2 * a + 1))};
    v.text = Format(TValueType::Word, v.raw);
  } else {
    v.raw = std::string(1, static_cast<char>(level(a)));
    v.text = Format(TValueType::Byte, v.raw);
  }
  return v;
}

TValueRead TVariableReader::Read(const Tlabel& s, uint8_t frame, uint32_t element) {
  if (s.kind & Kinds(kind::Port, kind::AdInput, kind::DaOutput)) return ReadHardware(s, element);
  if (s.kind & Kinds(kind::Pcf8574, kind::I2c, kind::I2cArray, kind::I2cLargeArray)) return {{}, "?"};
  const uint64_t at = static_cast<uint64_t>(std::max<int64_t>(0, s.address)) + element;
  return ReadTyped(s, frame, TypeOf(s), at, false, 0);
}

TValueRead TVariableReader::ReadMember(const Tlabel& s, const TAttribute& member, uint8_t frame, uint32_t element,
                                       uint32_t structureSize) {
  const uint64_t base = static_cast<uint64_t>(std::max<int64_t>(0, s.address)) + uint64_t{element} * structureSize;
  TValueType type = TValueType::Byte;
  if (member.typeKind == 16) type = TValueType::Word;
  if (member.typeKind == 1024) type = TValueType::String;
  if (member.typeKind == 4) {
    return ReadTyped(s, frame, TValueType::Bit, base + static_cast<uint64_t>(member.offset / 8), true,
                     member.offset % 8);
  }
  return ReadTyped(s, frame, type, base + static_cast<uint64_t>(member.offset), true, 0);
}

bool DisplayText(const TProgramSymbols& symbols, TVariableReader& reader, const std::string& name, std::string& text) {
  const int index = symbols.FindGlobal(name);
  if (index >= 0 && TVariableReader::IsVariable(symbols.Basic()[static_cast<size_t>(index)])) {
    text = reader.Read(symbols.Basic()[static_cast<size_t>(index)], 0).text;
    return true;
  }
  if (symbols.IsAssemblerName(name)) {
    text = "Assembler Label " + name;
    return true;
  }
  return false;
}

}  // namespace zarvek
