// What the simulation models need from a running machine, whichever family runs it: the
// token machine (Pyxon) or the emulated controller's RAM (Tessel). The models never hold
// the machine itself, so tests and both families can feed them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/interpreter.h"

namespace zarvek {

class TMachineAccess {
 public:
  virtual ~TMachineAccess() = default;
  // Bytes of a memory space as the memory tokens address it (space 0: global variables).
  virtual std::string ReadMemory(uint8_t space, uint32_t start, uint32_t count) = 0;
  // Bytes of a procedure's local frame; empty when the machine has no local frames.
  virtual std::string ReadFrame(uint8_t frame, uint32_t start, uint32_t count) = 0;
  // Bytes of program memory at a token address (string constants, call tokens).
  virtual std::string ReadProgram(uint32_t address, uint32_t count) = 0;
  // The text of a string reference as STRING variables hold it; false when unreadable.
  virtual bool ReadString(uint16_t reference, std::string& text) = 0;
  virtual void RaiseInterrupt() = 0;
};

// The token machine, for the program whose image lengths are given (program memory reads
// go through memory space 3, which is offset by the image).
class TInterpreterAccess final : public TMachineAccess {
 public:
  TInterpreterAccess(TInterpreter& machine, uint32_t codeLength, uint32_t tableLength)
      : m_machine(machine), m_codeLength(codeLength), m_offset(4 + codeLength + tableLength) {}
  std::string ReadMemory(uint8_t space, uint32_t start, uint32_t count) override {
    return m_machine.ReadMemory(space, start, count);
  }
  std::string ReadFrame(uint8_t frame, uint32_t start, uint32_t count) override {
    return m_machine.ReadFrame(frame, start, count);
  }
  std::string ReadProgram(uint32_t address, uint32_t count) override;
  bool ReadString(uint16_t reference, std::string& text) override;
  void RaiseInterrupt() override { m_machine.RaiseInterrupt(); }

 private:
  TInterpreter& m_machine;
  uint32_t m_codeLength;
  uint32_t m_offset;
};

// The emulated Tessel controller: BASIC variable byte n lies at controller address
// base + n; there are no local frames and no token program in controller memory.
class TTesselRamAccess final : public TMachineAccess {
 public:
  using TReadByte = std::function<uint8_t(uint16_t address)>;
  explicit TTesselRamAccess(TReadByte read, uint16_t base = 161) : m_read(std::move(read)), m_base(base) {}
  std::string ReadMemory(uint8_t space, uint32_t start, uint32_t count) override;
  std::string ReadFrame(uint8_t, uint32_t, uint32_t) override { return {}; }
  std::string ReadProgram(uint32_t, uint32_t) override { return {}; }
  bool ReadString(uint16_t, std::string&) override { return false; }  // strings lie in the EEPROM
  void RaiseInterrupt() override {}  // the Tessel path drives the interrupt line instead

 private:
  TReadByte m_read;
  uint16_t m_base;
};

}  // namespace zarvek
