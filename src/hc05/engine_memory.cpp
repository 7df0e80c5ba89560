// The memory map and the register page: which address does what on a read or a write,
// the ports and the miscellaneous register, and loading memory, EEPROM and reset.
#include <algorithm>

#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

using namespace reg;

namespace {

// The A/D status reads back with only bits 6-4 from the instruction that ends at $0A92.
constexpr uint16_t kAdStatusMaskedAfter = 0x0A92;

void CopyBlock(std::array<uint8_t, kEngineMemorySize>& memory, uint16_t address, uint16_t size,
               const std::string& data) {
  const size_t n = std::min<size_t>(size, data.size());
  std::copy_n(data.begin(), n, memory.begin() + address);
}

}  // namespace

TMotorolaEngine::TMotorolaEngine() { Reset(true); }

void TMotorolaEngine::Reset(bool cold) {
  std::fill(m_memory.begin() + kDdrA, m_memory.begin() + kPlmB + 1, 0);
  m_env.plmOutputs = {};
  m_memory[kMisc] = cold ? 0x81 : static_cast<uint8_t>(m_memory[kMisc] | kMiscIrqEnable);
  m_memory[kSciControl2] = 0;
  m_memory[kSciStatus] = static_cast<uint8_t>(kSciTdre | kSciTc | (m_memory[kSciStatus] & 1));
  m_memory[kSciData] = 0;
  m_sciTransmitData = 0;
  m_sciSeen = 0;
  m_memory[kTimerControl] &= kTimerEdge1;
  RestartCounter();
  m_counterFrozen = m_alternateFrozen = false;
  m_capture1Latched = m_capture2Latched = false;
  m_cpu.sp = 0xFF;
  m_cpu.i = 1;
  m_programLatched = false;

  CopyBlock(m_memory, TRuntimeImage::kSystemAddress, TRuntimeImage::kSystemSize, m_image.system);
  CopyBlock(m_memory, TRuntimeImage::kIdentificationAddress, TRuntimeImage::kIdentificationSize,
            m_image.identification);
  CopyBlock(m_memory, TRuntimeImage::kTableAddress, TRuntimeImage::kTableSize, m_image.table);
  CopyBlock(m_memory, TRuntimeImage::kVectorsAddress, TRuntimeImage::kVectorsSize, m_image.vectors);
  m_cpu.pc = static_cast<uint16_t>((m_memory[kVectorReset] << 8 | m_memory[kVectorReset + 1]) & kEngineAddressMask);
  m_cpu.previousPc = m_cpu.pc;

  m_env.transmitText.clear();
  m_env.receiveText.clear();
  m_env.portInputs[0] = 3;  // both bus lines high
  m_memory[kPortA] = 3;
  m_sda = m_scl = m_busSdaIn = true;
  m_eeprom.ResetBus();

  m_error = kEngineOk;
  m_interruptTaken = false;
  m_externalPending = false;
  m_waiting = 0;
  m_totalCycles = 0;
  m_prevInterruptPin = m_env.interruptPin;
  m_prevCapturePin = m_env.capturePin;
}

bool TMotorolaEngine::LoadEeprom(uint32_t offset, std::string_view bytes, std::string* message) {
  const uint32_t size = m_eeprom.Size();
  if (uint64_t{offset} + 4 + bytes.size() > size) {
    if (message) *message = "EEPROM ist zu klein (" + std::to_string(size) + " Bytes).";
    return false;
  }
  std::vector<uint8_t>& eeprom = m_eeprom.Bytes();
  if (offset == 0) {
    eeprom[0] = static_cast<uint8_t>(bytes.size() >> 8);
    eeprom[1] = static_cast<uint8_t>(bytes.size());
  }
  std::copy(bytes.begin(), bytes.end(), eeprom.begin() + offset + 4);
  return true;
}

bool TMotorolaEngine::LoadCode(uint32_t start, std::string_view bytes) {
  if (uint64_t{start} + bytes.size() > kEngineMemorySize) return false;
  std::copy(bytes.begin(), bytes.end(), m_memory.begin() + start);
  return true;
}

uint8_t TMotorolaEngine::PortValue(uint16_t port) const {
  const uint8_t direction = m_memory[port + kDdrA];
  return static_cast<uint8_t>((m_memory[port] & direction) | (m_env.portInputs[port] & ~direction));
}

uint8_t TMotorolaEngine::RegisterValue(uint16_t address) const {
  switch (address) {
    case kPortA:
    case kPortB:
    case kPortC: return PortValue(address);
    case kPortD: {
      uint8_t value = 0;
      for (int bit = 0; bit < 8; ++bit) value |= static_cast<uint8_t>((m_env.analogInputs[bit] > 51) << bit);
      return value;
    }
    case kAdResult: return AdcResult(0);
    default: return address >= kCapture1High && address <= kCompare2Low ? TimerValue(address) : m_memory[address];
  }
}

uint8_t TMotorolaEngine::ReadRegister(uint16_t address) {
  if (address == kAdResult) return AdcResult(NextRandom());
  uint8_t value = RegisterValue(address);
  if (address == kAdStatus) {
    if (m_cpu.pc == kAdStatusMaskedAfter) value &= 0x70;
    m_memory[kAdStatus] &= 0x7F;
  } else if (address == kSciStatus || address == kSciData) {
    AfterSciRead(address, value);
  } else if (address >= kCapture1High) {
    AfterTimerRead(address);
  }
  return value;
}

uint8_t TMotorolaEngine::Peek(uint16_t address) const {
  address &= kEngineAddressMask;
  return address >= 0x20 ? m_memory[address] : RegisterValue(address);
}

void TMotorolaEngine::WriteRegister(uint16_t address, uint8_t value) {
  if (m_userCodeProgramming && address >= kUserCodeFirst && address <= kUserCodeLast &&
      (m_memory[kProgramControl] & kProgramLatch)) {
    m_programLatched = true;
    m_programAddress = address;
    m_programValue = value;
    return;
  }
  if (m_userCodeProgramming && address == kProgramControl) {
    if ((value & (kProgramLatch | kProgramStore)) == (kProgramLatch | kProgramStore) && m_programLatched) {
      m_memory[m_programAddress] = m_programValue;
      m_programLatched = false;
    }
    m_memory[address] = value;
    return;
  }
  if (address >= kRamEnd || (address >= 0x20 && address < kUnusedEnd)) {
    m_error = kEngineRefusedWrite;
    return;
  }
  switch (address) {
    case kPortD: m_error = kEngineInputWrite; return;
    case kAdResult: m_error = kEngineRefusedWrite; return;
    case kAdStatus: WriteAdcStatus(value); return;
    case kPlmA:
    case kPlmB: m_env.plmOutputs[address - kPlmA] = value; return;  // the register itself keeps its value
    case kMisc: WriteMisc(value); return;
    case kSciStatus:
    case kSciData: WriteSci(address, value); return;
    default:
      if (address >= kTimerStatus && address < 0x20) WriteTimer(address, value);
      else m_memory[address] = value;  // ports' latches, directions, $07, SCI setup, timer control, RAM
  }
}

// The external-interrupt bits (6-4) only change while interrupts are masked; the enable
// bit always reads 1 after a write, and the power-on flag can only be cleared.
void TMotorolaEngine::WriteMisc(uint8_t value) {
  const uint8_t old = m_memory[kMisc];
  uint8_t next = m_cpu.i ? static_cast<uint8_t>(value & 0x7F) : static_cast<uint8_t>((old & 0x70) | 0x0F);
  next |= kMiscIrqEnable;
  next |= old & value & kMiscPowerOn;
  m_memory[kMisc] = next;
}

}  // namespace zarvek::hc05
