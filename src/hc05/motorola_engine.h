// TMotorolaEngine: the emulated Tessel controller, a 68HC05 with the peripherals its
// runtime uses (ports A-D, A/D converter, two PLM outputs, miscellaneous register with the
// external interrupt, SCI, 16-bit timer with two captures and two compares) and the serial
// EEPROM on port A. One object is one whole machine; nothing is shared between objects.
//
// The simulation loop drives it step by step: it fills the environment (input levels,
// analog inputs, pins, received bytes), calls RunStep for every instruction with the serial
// byte budgets of its tick, and reads back outputs, the transmitted bytes and the error
// state, which it turns into a message and a pause.
//
// Addresses: the chip has 13 address lines, so the PC and every effective address wrap at
// $2000 and no access can leave the 8 KB memory.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "hc05/engine_registers.h"
#include "hc05/serial_eeprom.h"

namespace zarvek::hc05 {

inline constexpr uint32_t kEngineMemorySize = 0x2000;
inline constexpr uint16_t kEngineAddressMask = 0x1FFF;

struct TCpuRegisters {
  uint8_t a = 0;
  uint8_t x = 0;
  uint16_t pc = 0;
  uint16_t sp = 0xFF;          // 0..255 while the stack is sound
  uint16_t previousPc = 0;     // where the current (or last) instruction began
  uint8_t c = 0, z = 0, n = 0, i = 1, h = 0;  // each 0 or 1
  uint8_t Ccr() const { return static_cast<uint8_t>(0xE0 | h << 4 | i << 3 | n << 2 | z << 1 | c); }
  void SetCcr(uint8_t ccr) {
    h = ccr >> 4 & 1, i = ccr >> 3 & 1, n = ccr >> 2 & 1, z = ccr >> 1 & 1, c = ccr & 1;
  }
};

// The outside world of the controller, written by the simulation loop (inputs) and by
// the engine (outputs). Port A's input bits 0 and 1 follow the EEPROM bus lines.
struct TEngineEnvironment {
  std::array<uint8_t, 3> portInputs{};    // external input levels of ports A, B, C
  std::array<uint8_t, 8> analogInputs{};  // A/D channels 0-7, also port D's levels
  bool interruptPin = true;               // external interrupt pin level (idle high)
  bool capturePin = false;                // timer input capture pin level
  std::array<bool, 2> compareOutputs{};   // timer output compare levels
  std::array<uint8_t, 2> plmOutputs{};    // PLM A and B, the analog outputs
  std::string transmitText;               // bytes the program sent
  std::string receiveText;                // bytes waiting to be received
  uint32_t clockKHz = 4000;
};

// The data Reset copies into memory: the Tessel runtime image. Blocks longer than their
// place are cut, shorter ones leave the rest of their place as it is.
struct TRuntimeImage {
  static constexpr uint16_t kSystemAddress = 0x0800, kSystemSize = 5494;
  static constexpr uint16_t kIdentificationAddress = 0x1D76, kIdentificationSize = 97;
  static constexpr uint16_t kTableAddress = 0x1DD7, kTableSize = 201;
  static constexpr uint16_t kVectorsAddress = 0x1FF2, kVectorsSize = 14;
  std::string system;          // the operating system
  std::string identification;  // three zero-terminated lines
  std::string table;
  std::string vectors;         // $1FF2-$1FFF, reset vector last
};

// Bytes each serial direction may still move in the current tick.
struct TSerialBudget {
  int receive = 0;
  int transmit = 0;
};

enum TEngineError : uint8_t {
  kEngineOk = 0,
  kEngineUndefinedOpcode = 1,
  kEngineRefusedWrite = 2,
  kEngineInputWrite = 3,
  kEngineStackOverflow = 5,
};

class TMotorolaEngine {
 public:
  TMotorolaEngine();

  void SetRuntimeImage(TRuntimeImage image) { m_image = std::move(image); }
  // The user machine-code area $0101-$01FF is the chip's EEPROM. With programming on, the
  // register $07 programs it: a write to the area while bit 1 (latch) is set latches the
  // address and the byte; writing bits 1 and 0 (latch and program) stores the latched byte.
  // Off (the default), every CPU write to the area is refused as before.
  void SetUserCodeProgramming(bool on) { m_userCodeProgramming = on; }
  // Cold: the power-on reset ($0C = $81); warm: a reset with power kept.
  void Reset(bool cold);
  // Stores a token program: its length in EEPROM bytes 0-1 (when offset is 0) and the
  // bytes from offset + 4. False, with the message, when it does not fit.
  bool LoadEeprom(uint32_t offset, std::string_view bytes, std::string* message = nullptr);
  // Copies machine code into memory; false (nothing copied) when it would pass $1FFF.
  bool LoadCode(uint32_t start, std::string_view bytes);

  // The per-step services in their order: external interrupt (and requests that waited
  // for I = 0), Step, timer with captures and compares, serial receive and transmit,
  // bus lines. Returns the cycles of the step.
  int RunStep(TSerialBudget& budget);
  // RunStep in two halves, for a loop that looks at the instruction about to run after an
  // interrupt may have been entered: the interrupt entry, then everything from Step on.
  void EnterInterrupts();
  int StepAndServices(TSerialBudget& budget);
  // One instruction; the cycles it costs, 0 for an undefined opcode.
  int Step();
  void ExternalInterruptService();
  void TimerService(int cycles);
  void SerialReceiveService(int& budget);
  void SerialTransmitService(int& budget);
  void BusService();

  // Memory through the register rules, as the CPU sees it.
  uint8_t Read(uint16_t address);
  void Write(uint16_t address, uint8_t value);
  // What Read would return, without its side effects (status flags, latches): for views.
  uint8_t Peek(uint16_t address) const;

  uint8_t ErrorState() const { return m_error; }
  void ClearErrorState() { m_error = kEngineOk; }

  TCpuRegisters& Cpu() { return m_cpu; }
  const TCpuRegisters& Cpu() const { return m_cpu; }
  TEngineEnvironment& Environment() { return m_env; }
  const TEngineEnvironment& Environment() const { return m_env; }
  std::array<uint8_t, kEngineMemorySize>& Memory() { return m_memory; }  // raw, no rules
  const std::array<uint8_t, kEngineMemorySize>& Memory() const { return m_memory; }
  TSerialEeprom& Eeprom() { return m_eeprom; }
  const TSerialEeprom& Eeprom() const { return m_eeprom; }
  uint64_t TotalCycles() const { return m_totalCycles; }
  uint16_t TimerCounter() const { return static_cast<uint16_t>(m_timerCycles >> 2); }
  bool SdaLine() const { return m_sda; }
  bool SclLine() const { return m_scl; }

 private:
  // Interrupt sources that wait while I = 1, by priority.
  enum : uint8_t { kIrqCapture = 1, kIrqCompare = 2, kIrqOverflow = 4, kIrqSci = 8 };
  // What the dispatch takes from the opcode table, packed for the hot loop.
  struct TDecoded {
    uint8_t length = 1;
    uint8_t cycles = 0;
    uint8_t mode = 0;  // TMode
    int8_t bit = -1;
    bool defined = false;
  };
  static const TDecoded* DecodeTable();

  uint8_t ReadRegister(uint16_t address);
  void WriteRegister(uint16_t address, uint8_t value);  // also the refused areas
  // The value a read of the register page returns; the read's side effects are separate.
  uint8_t RegisterValue(uint16_t address) const;
  uint8_t PortValue(uint16_t port) const;
  void WriteMisc(uint8_t value);
  uint8_t AdcResult(uint32_t noise) const;
  void WriteAdcStatus(uint8_t value);
  void AfterSciRead(uint16_t address, uint8_t value);
  void WriteSci(uint16_t address, uint8_t value);
  uint8_t TimerValue(uint16_t address) const;
  void AfterTimerRead(uint16_t address);
  void WriteTimer(uint16_t address, uint8_t value);
  void RestartCounter();
  void TimerEvents();
  void SyncCompares();
  void ScheduleTimer();
  void Captures();
  void Compares(uint16_t before, uint16_t now, bool enterNow = true);

  void Push(uint8_t value);
  uint8_t Pull();
  void EnterInterrupt(uint16_t vector);
  void Request(uint8_t source, bool enterNow = true);
  void DeliverWaitingRequests();
  uint32_t NextRandom();

  const TDecoded* m_decode = DecodeTable();
  TCpuRegisters m_cpu;
  std::array<uint8_t, kEngineMemorySize> m_memory{};
  TEngineEnvironment m_env;
  TSerialEeprom m_eeprom;
  TRuntimeImage m_image;
  uint64_t m_totalCycles = 0;
  uint8_t m_error = kEngineOk;
  bool m_interruptTaken = false;   // since the last WAIT
  bool m_externalPending = false;
  uint8_t m_waiting = 0;           // kIrq* requests raised while I = 1
  bool m_prevInterruptPin = true;
  bool m_prevCapturePin = false;
  // Timer: the counter is the cycle count / 4. Compares and the overflow are handled when
  // the count reaches the next of them, which covers every count passed since.
  uint32_t m_timerCycles = 0;
  uint32_t m_nextTimerEvent = 0;  // cycle count
  uint16_t m_lastCounter = 0;     // counter when compares were last checked
  bool m_compare1Inhibited = false, m_compare2Inhibited = false;
  bool m_capture1Latched = false, m_capture2Latched = false;
  bool m_counterFrozen = false, m_alternateFrozen = false;
  uint16_t m_counterLatch = 0, m_alternateLatch = 0;
  // SCI: one byte each way, and the status bits the last status read saw set.
  uint8_t m_sciTransmitData = 0;
  uint8_t m_sciSeen = 0;
  uint32_t m_random = 0x2545F491;
  bool m_sda = true, m_scl = true;
  bool m_busSdaIn = true;  // what the controller put on SDA at the last bus observation
  bool m_userCodeProgramming = false;
  bool m_programLatched = false;
  uint16_t m_programAddress = 0;
  uint8_t m_programValue = 0;
};

// The per-step services with their common case (nothing to do) kept here, in line.
inline int TMotorolaEngine::RunStep(TSerialBudget& budget) {
  EnterInterrupts();
  return StepAndServices(budget);
}

inline void TMotorolaEngine::EnterInterrupts() {
  const bool pin = m_env.interruptPin;
  const bool external = (m_memory[reg::kMisc] & reg::kMiscIrqEnable) &&
                        (pin != m_prevInterruptPin || !pin || m_externalPending);
  if (external || (m_waiting && !m_cpu.i)) ExternalInterruptService();
}

inline int TMotorolaEngine::StepAndServices(TSerialBudget& budget) {
  int cycles = 0;
  if (m_error == kEngineOk) {
    cycles = Step();
    m_totalCycles += static_cast<uint64_t>(cycles);
  }
  TimerService(cycles);
  if (budget.receive > 0 && !m_env.receiveText.empty()) SerialReceiveService(budget.receive);
  if (budget.transmit > 0 && !(m_memory[reg::kSciStatus] & (reg::kSciTdre | reg::kSciTc))) {
    SerialTransmitService(budget.transmit);
  }
  BusService();
  return cycles;
}

inline void TMotorolaEngine::TimerService(int cycles) {
  m_timerCycles += static_cast<uint32_t>(cycles);
  constexpr uint8_t kForced = reg::kTimerForce1 | reg::kTimerForce2;
  if (m_timerCycles >= m_nextTimerEvent || m_env.capturePin != m_prevCapturePin ||
      (m_memory[reg::kTimerControl] & kForced)) {
    TimerEvents();
  }
  m_prevInterruptPin = m_env.interruptPin;
  m_prevCapturePin = m_env.capturePin;
}

// A line the program drives (direction bit 1) takes the latch; a line it lets go is pulled
// high, and the EEPROM may pull SDA low. The program reads the lines on port A's bits 0-1.
inline void TMotorolaEngine::BusService() {
  const uint8_t direction = m_memory[reg::kDdrA], latch = m_memory[reg::kPortA];
  const bool scl = !(direction & 2) || (latch & 2), sda = !(direction & 1) || (latch & 1);
  if (scl != m_scl || sda != m_busSdaIn) {  // the EEPROM acts only on a change
    m_scl = scl;
    m_busSdaIn = sda;
    m_sda = m_eeprom.Observe(sda, scl);
  }
  m_env.portInputs[0] = static_cast<uint8_t>((m_env.portInputs[0] & ~3) | (m_sda ? 1 : 0) | (m_scl ? 2 : 0));
}

// RAM and code are the common case; the register page and refused writes go the long way.
inline uint8_t TMotorolaEngine::Read(uint16_t address) {
  address &= kEngineAddressMask;
  return address >= 0x20 ? m_memory[address] : ReadRegister(address);
}

inline void TMotorolaEngine::Write(uint16_t address, uint8_t value) {
  address &= kEngineAddressMask;
  if (address >= 0x50 && address < 0x100) m_memory[address] = value;
  else WriteRegister(address, value);
}

}  // namespace zarvek::hc05
