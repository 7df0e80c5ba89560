// Reading and formatting the value of a BASIC variable in a paused or running machine:
// the variable view and the variable display objects share it.
#pragma once

#include <cstdint>
#include <string>

#include "base/sim_hardware.h"
#include "base/symbols.h"
#include "simulation/machine_access.h"
#include "simulation/program_symbols.h"

namespace zarvek {

enum class TValueType : uint8_t { Bit, Byte, Word, String };

struct TValueRead {
  std::string raw;   // the bytes as read (compared between pauses)
  std::string text;  // -1/0, unsigned byte, signed word, quoted string, "?" when unreadable
};

class TVariableReader {
 public:
  // hardware may be null; port, AD and DA variables then read as unreadable.
  TVariableReader(TMachineAccess& machine, const TSimulatedHardware* hardware)
      : m_machine(machine), m_hw(hardware) {}

  // The element type of a variable symbol (for arrays: of one element).
  static TValueType TypeOf(const Tlabel& symbol);
  // Number of elements of an array symbol (1 for other symbols).
  static uint32_t ElementCount(const Tlabel& symbol);
  // Whether a symbol is a variable the views list.
  static bool IsVariable(const Tlabel& symbol);

  // A simple variable or one array element (index 0-based over all dimensions). frame is
  // the local frame of a procedure's simple locals.
  TValueRead Read(const Tlabel& symbol, uint8_t frame, uint32_t element = 0);
  // One element of a structure variable (or of one structure of an array of structures).
  TValueRead ReadMember(const Tlabel& symbol, const TAttribute& member, uint8_t frame, uint32_t element,
                        uint32_t structureSize);

  static std::string Format(TValueType type, const std::string& raw);

 private:
  std::string ReadBytes(const Tlabel& symbol, uint8_t frame, uint32_t byteAddress, uint32_t count);
  TValueRead ReadTyped(const Tlabel& symbol, uint8_t frame, TValueType type, uint64_t unitOrByte, bool byteAddressed,
                       int bitInByte);
  TValueRead ReadHardware(const Tlabel& symbol, uint32_t element);
  std::string StringText(uint16_t reference);

  TMachineAccess& m_machine;
  const TSimulatedHardware* m_hw;
};

// The text a variable display shows for a name: the value of the global variable of that
// name, "Assembler Label " + name for a name of the assembler part, nothing when the name
// is neither.
bool DisplayText(const TProgramSymbols& symbols, TVariableReader& reader, const std::string& name, std::string& text);

}  // namespace zarvek
