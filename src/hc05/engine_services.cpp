// What happens around each instruction: the external interrupt, interrupt requests that
// waited for the I bit, the order of the per-step services, and the EEPROM bus lines.
#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

using namespace reg;

// Sense modes (misc bits 6-5): 0 pin low, 1 falling edge, 2 rising edge, 3 any change. A
// request that arrives while I = 1 waits.
void TMotorolaEngine::ExternalInterruptService() {
  const uint8_t misc = m_memory[kMisc];
  if (misc & kMiscIrqEnable) {
    const bool pin = m_env.interruptPin, before = m_prevInterruptPin;
    bool request = false;
    switch ((misc & kMiscSense) >> 5) {
      case 0: request = !pin; break;
      case 1: request = before && !pin; break;
      case 2: request = !before && pin; break;
      default: request = before != pin; break;
    }
    if (request) m_externalPending = true;
    if (m_externalPending && !m_cpu.i) {
      m_externalPending = false;
      EnterInterrupt(kVectorExternal);
      return;
    }
  }
  if (m_waiting && !m_cpu.i) DeliverWaitingRequests();
}

// The peripherals raise a request when a flag sets. The CPU takes it at once when I = 0
// (and no instruction is half done); otherwise it waits for the next step with I = 0, as
// the chip's interrupt lines stay active until the program clears the flag (a request
// whose flag was cleared meanwhile is dropped).
void TMotorolaEngine::Request(uint8_t source, bool enterNow) {
  if (m_cpu.i || !enterNow) {
    m_waiting |= source;
    return;
  }
  switch (source) {
    case kIrqCapture: EnterInterrupt(kVectorCapture); break;
    case kIrqCompare: EnterInterrupt(kVectorCompare); break;
    case kIrqOverflow: EnterInterrupt(kVectorOverflow); break;
    default: EnterInterrupt(kVectorSci); break;
  }
}

void TMotorolaEngine::DeliverWaitingRequests() {
  const uint8_t timerStatus = m_memory[kTimerStatus], timerControl = m_memory[kTimerControl];
  const struct {
    uint8_t source;
    bool active;
    uint16_t vector;
  } sources[] = {
      {kIrqCapture, (timerStatus & (kTimerIcf1 | kTimerIcf2)) && (timerControl & kTimerIcie), kVectorCapture},
      {kIrqCompare, (timerStatus & (kTimerOcf1 | kTimerOcf2)) && (timerControl & kTimerOcie), kVectorCompare},
      {kIrqOverflow, (timerStatus & kTimerTof) && (timerControl & kTimerToie), kVectorOverflow},
      {kIrqSci, (m_memory[kSciStatus] & m_memory[kSciControl2] & 0xF0) != 0, kVectorSci},
  };
  for (const auto& s : sources) {
    if (!(m_waiting & s.source)) continue;
    m_waiting &= static_cast<uint8_t>(~s.source);
    if (s.active) {
      EnterInterrupt(s.vector);
      return;
    }
  }
}

}  // namespace zarvek::hc05
