#include "hc05/serial_eeprom.h"

#include <algorithm>
#include <bit>

namespace zarvek::hc05 {

TSerialEeprom::TSerialEeprom() : m_bytes(kCapacity, 0xFF) {}

void TSerialEeprom::SetSize(uint32_t size) {
  m_size = std::clamp<uint32_t>(size, 1, kCapacity);
  m_mask = std::bit_ceil(m_size) - 1;
}

void TSerialEeprom::ResetBus() {
  m_state = TState::Idle;
  m_phase = TPhase::Bits;
  m_ackPending = false;
  m_written = 0;
  m_out = true;
  m_prevSda = m_prevScl = true;
}

bool TSerialEeprom::Observe(bool sda, bool scl) {
  bool line = sda && m_out;
  if (m_prevScl && scl) {
    if (m_prevSda && !line) Start();
    else if (!m_prevSda && line) Stop();
  } else if (!m_prevScl && scl) {
    RisingClock(line);
  } else if (m_prevScl && !scl) {
    m_out = FallingClock();
    line = sda && m_out;
  }
  m_prevSda = line;
  m_prevScl = scl;
  return line;
}

void TSerialEeprom::Start() {
  // A repeated start abandons a write that has not been stopped, as the chip does.
  m_state = TState::DeviceAddress;
  m_phase = TPhase::Bits;
  m_bitCount = 0;
  m_shift = 0;
  m_ackPending = false;
  m_written = 0;
  m_out = true;
}

void TSerialEeprom::Stop() {
  if (m_state == TState::Write && m_written > 0) StorePage();
  ResetBus();
}

// A write of more than 64 bytes keeps the last 64: the page buffer's index wraps, so each
// byte overwrites the one written 64 bytes before it, and the stop stores what the buffer
// holds at the addresses those bytes were sent to.
void TSerialEeprom::StorePage() {
  const uint32_t n = std::min(m_written, kPageSize);
  for (uint32_t i = 0; i < n; ++i) {
    const uint16_t address = static_cast<uint16_t>(m_wordAddress - n + i);
    m_bytes[address & m_mask] = m_page[(m_written - n + i) % kPageSize];
  }
}

void TSerialEeprom::RisingClock(bool sda) {
  if (m_state == TState::Idle) return;
  switch (m_phase) {
    case TPhase::Bits:
      if (m_state == TState::Read) return;  // the master samples our bit
      m_shift = static_cast<uint8_t>(m_shift << 1 | (sda ? 1 : 0));
      if (++m_bitCount == 8) ByteReceived();
      break;
    case TPhase::AckIn:
      // The acknowledge clock ends the byte: the address moves on whether or not the
      // master wants another one.
      m_masterAck = !sda;
      ++m_wordAddress;
      break;
    default: break;
  }
}

void TSerialEeprom::ByteReceived() {
  switch (m_state) {
    case TState::DeviceAddress:
      if ((m_shift & 0xFE) != kDeviceAddress) {
        m_phase = TPhase::Ignore;
        return;
      }
      m_state = (m_shift & 1) ? TState::Read : TState::WordHigh;
      break;
    case TState::WordHigh:
      m_wordAddress = static_cast<uint16_t>(m_shift << 8 | (m_wordAddress & 0xFF));
      m_state = TState::WordLow;
      break;
    case TState::WordLow:
      m_wordAddress = static_cast<uint16_t>((m_wordAddress & 0xFF00) | m_shift);
      m_state = TState::Write;
      m_written = 0;
      break;
    case TState::Write:
      m_page[m_written % kPageSize] = m_shift;
      ++m_written;
      ++m_wordAddress;
      break;
    default: break;
  }
  m_ackPending = true;
}

bool TSerialEeprom::SendBit() {
  const bool bit = (m_shift >> (7 - m_bitCount)) & 1;
  ++m_bitCount;
  return bit;
}

bool TSerialEeprom::FallingClock() {
  if (m_state == TState::Idle) return true;
  if (m_ackPending) {
    m_ackPending = false;
    m_phase = TPhase::AckOut;
    return false;
  }
  switch (m_phase) {
    case TPhase::AckOut:  // end of our acknowledge clock
      m_phase = TPhase::Bits;
      m_bitCount = 0;
      m_shift = 0;
      if (m_state != TState::Read) return true;
      m_shift = At(m_wordAddress);
      return SendBit();
    case TPhase::Bits:
      if (m_state != TState::Read) return true;
      if (m_bitCount < 8) return SendBit();
      m_phase = TPhase::AckIn;  // release SDA for the master's acknowledge
      return true;
    case TPhase::AckIn:
      if (!m_masterAck) {
        m_phase = TPhase::Ignore;
        return true;
      }
      m_phase = TPhase::Bits;
      m_bitCount = 0;
      m_shift = At(m_wordAddress);
      return SendBit();
    case TPhase::Ignore: return true;
  }
  return true;
}

}  // namespace zarvek::hc05
