// The serial communications interface. A status flag that a program clears is cleared by
// the data access that follows a status read which saw the flag set.
#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

using namespace reg;

void TMotorolaEngine::AfterSciRead(uint16_t address, uint8_t value) {
  if (address == kSciStatus) {
    m_sciSeen = value & 0xF0;
    return;
  }
  m_memory[kSciStatus] &= static_cast<uint8_t>(~(m_sciSeen & (kSciRdrf | kSciIdle)));
}

void TMotorolaEngine::WriteSci(uint16_t address, uint8_t value) {
  if (address == kSciStatus) {
    m_memory[kSciStatus] = value;
    m_sciSeen = value & 0xF0;
    return;
  }
  // The data register is two registers, as on the chip: a byte written to send never
  // replaces a received one that the program has not read yet, nor the other way round.
  m_sciTransmitData = value;
  m_memory[kSciStatus] &= static_cast<uint8_t>(~(m_sciSeen & (kSciTdre | kSciTc)));
}

// A byte moves in only when the program has taken the previous one, so that bytes handed
// over in a burst at the start of a tick are not lost.
void TMotorolaEngine::SerialReceiveService(int& budget) {
  uint8_t& status = m_memory[kSciStatus];
  const uint8_t control = m_memory[kSciControl2];
  if (budget <= 0 || !(control & kSciRe) || m_env.receiveText.empty() || (status & kSciRdrf)) return;
  --budget;
  status |= kSciRdrf;
  m_memory[kSciData] = static_cast<uint8_t>(m_env.receiveText.front());
  m_env.receiveText.erase(0, 1);
  if (control & kSciRie) Request(kIrqSci);
  if (m_env.receiveText.empty()) {
    status |= kSciIdle;
    if (control & kSciIlie) Request(kIrqSci);
  }
}

void TMotorolaEngine::SerialTransmitService(int& budget) {
  uint8_t& status = m_memory[kSciStatus];
  const uint8_t control = m_memory[kSciControl2];
  if (budget <= 0 || (status & (kSciTdre | kSciTc)) || !(control & kSciTe)) return;
  --budget;
  m_env.transmitText.push_back(static_cast<char>(m_sciTransmitData));
  status |= kSciTdre;
  if (control & kSciTie) Request(kIrqSci);
  status |= kSciTc;
  if (control & kSciTcie) Request(kIrqSci);
}

}  // namespace zarvek::hc05
