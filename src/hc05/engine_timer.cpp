// The 16-bit timer: a free-running counter (cycles / 4) seen through two register pairs,
// overflow, two input captures on the capture pin, two output compares, forced compares.
#include <algorithm>

#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

using namespace reg;

namespace {
constexpr uint32_t kOverflowCycles = 0x40000;  // 65536 counts of 4 cycles
constexpr uint16_t kRestartValue = 0xFFFC;
}  // namespace

void TMotorolaEngine::RestartCounter() {
  m_timerCycles = uint32_t{kRestartValue} * 4;
  m_lastCounter = kRestartValue;
  ScheduleTimer();
}

// The cycle count at which the next compare matches or the counter overflows.
void TMotorolaEngine::ScheduleTimer() {
  uint32_t next = kOverflowCycles;
  const auto consider = [&](bool inhibited, uint16_t high) {
    if (inhibited) return;
    const auto target = static_cast<uint16_t>(m_memory[high] << 8 | m_memory[high + 1]);
    const uint32_t distance = static_cast<uint16_t>(target - m_lastCounter - 1) + 1u;
    next = std::min(next, (m_lastCounter + distance) * 4);
  };
  consider(m_compare1Inhibited, kCompare1High);
  consider(m_compare2Inhibited, kCompare2High);
  m_nextTimerEvent = next;
}

// Before a compare or the counter changes, the counts passed so far are checked against
// the compares as they were. An instruction is running: an interrupt waits for its end.
void TMotorolaEngine::SyncCompares() {
  const uint16_t now = TimerCounter();
  if (now != m_lastCounter) Compares(m_lastCounter, now, false);
  m_lastCounter = now;
}

uint8_t TMotorolaEngine::TimerValue(uint16_t address) const {
  const uint16_t counter = TimerCounter();
  switch (address) {
    case kCounterHigh: return static_cast<uint8_t>((m_counterFrozen ? m_counterLatch : counter) >> 8);
    case kCounterLow: return static_cast<uint8_t>(m_counterFrozen ? m_counterLatch : counter);
    case kAlternateHigh: return static_cast<uint8_t>((m_alternateFrozen ? m_alternateLatch : counter) >> 8);
    case kAlternateLow: return static_cast<uint8_t>(m_alternateFrozen ? m_alternateLatch : counter);
    default: return m_memory[address];
  }
}

void TMotorolaEngine::AfterTimerRead(uint16_t address) {
  uint8_t& status = m_memory[kTimerStatus];
  switch (address) {
    case kCapture1High: m_capture1Latched = true; break;
    case kCapture1Low: m_capture1Latched = false, status &= ~kTimerIcf1; break;
    case kCompare1Low: status &= ~kTimerOcf1; break;
    case kCounterHigh:
      if (!m_counterFrozen) m_counterLatch = TimerCounter(), m_counterFrozen = true;
      break;
    case kCounterLow: m_counterFrozen = false, status &= ~kTimerTof; break;
    case kAlternateHigh:
      if (!m_alternateFrozen) m_alternateLatch = TimerCounter(), m_alternateFrozen = true;
      break;
    case kAlternateLow: m_alternateFrozen = false; break;
    case kCapture2High: m_capture2Latched = true; break;
    case kCapture2Low: m_capture2Latched = false, status &= ~kTimerIcf2; break;
    case kCompare2Low: status &= ~kTimerOcf2; break;
    default: break;
  }
}

void TMotorolaEngine::WriteTimer(uint16_t address, uint8_t value) {
  if (address == kCompare1High || address == kCompare1Low || address == kCompare2High || address == kCompare2Low ||
      address == kCounterLow || address == kAlternateLow) {
    SyncCompares();
  }
  switch (address) {
    case kCompare1High: m_compare1Inhibited = true; break;
    case kCompare1Low: m_compare1Inhibited = false; break;
    case kCompare2High: m_compare2Inhibited = true; break;
    case kCompare2Low: m_compare2Inhibited = false; break;
    case kCounterLow:
    case kAlternateLow: RestartCounter(); return;
    default: m_error = kEngineRefusedWrite; return;  // status, captures, counter high bytes
  }
  m_memory[address] = value;
  ScheduleTimer();
}

// Something happened: the overflow, a compare's count, a capture pin edge, a forced compare.
void TMotorolaEngine::TimerEvents() {
  const uint16_t before = m_lastCounter;
  if (m_timerCycles >= kOverflowCycles) {
    m_timerCycles = 0;
    m_memory[kTimerStatus] |= kTimerTof;
    if (m_memory[kTimerControl] & kTimerToie) Request(kIrqOverflow);
  }
  const uint16_t now = TimerCounter();
  if (m_env.capturePin != m_prevCapturePin) Captures();
  if (now != before) Compares(before, now);
  m_lastCounter = now;
  uint8_t& control = m_memory[kTimerControl];
  if (control & kTimerForce1) control &= ~kTimerForce1, m_env.compareOutputs[0] = control & kTimerLevel1;
  if (control & kTimerForce2) control &= ~kTimerForce2, m_env.compareOutputs[1] = control & kTimerLevel2;
  ScheduleTimer();
}

// Capture 1 takes the edge that control bit 1 selects, capture 2 every falling edge of the
// same pin. A capture whose high byte was read keeps its value until the low byte is read.
void TMotorolaEngine::Captures() {
  const uint8_t control = m_memory[kTimerControl];
  const bool rising = m_env.capturePin;
  const uint16_t value = static_cast<uint16_t>(TimerCounter() + 1);
  if (rising == static_cast<bool>(control & kTimerEdge1)) {
    if (!m_capture1Latched) m_memory[kCapture1High] = value >> 8, m_memory[kCapture1Low] = value & 0xFF;
    m_memory[kTimerStatus] |= kTimerIcf1;
    if (control & kTimerIcie) Request(kIrqCapture);
  }
  if (!rising) {
    if (!m_capture2Latched) m_memory[kCapture2High] = value >> 8, m_memory[kCapture2Low] = value & 0xFF;
    m_memory[kTimerStatus] |= kTimerIcf2;
    if (control & kTimerIcie) Request(kIrqCapture);
  }
}

// A compare matches when the counter reaches its value during the step. The counter moves
// by up to three counts per instruction, so a test for equality alone would miss matches
// and see others twice.
void TMotorolaEngine::Compares(uint16_t before, uint16_t now, bool enterNow) {
  const uint16_t moved = static_cast<uint16_t>(now - before);
  const auto reached = [&](uint16_t high) {
    const uint16_t target = static_cast<uint16_t>(m_memory[high] << 8 | m_memory[high + 1]);
    return static_cast<uint16_t>(target - before - 1) < moved;
  };
  const uint8_t control = m_memory[kTimerControl];
  if (!m_compare1Inhibited && reached(kCompare1High)) {
    m_memory[kTimerStatus] |= kTimerOcf1;
    m_env.compareOutputs[0] = control & kTimerLevel1;
    if (control & kTimerOcie) Request(kIrqCompare, enterNow);
  }
  if (!m_compare2Inhibited && reached(kCompare2High)) {
    m_memory[kTimerStatus] |= kTimerOcf2;
    m_env.compareOutputs[1] = control & kTimerLevel2;
    if (control & kTimerOcie) Request(kIrqCompare, enterNow);
  }
}

}  // namespace zarvek::hc05
