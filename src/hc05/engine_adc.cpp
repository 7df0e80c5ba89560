// The A/D converter: the result register reads the selected channel at once. Channels 8-15
// are the chip's internal references, which read with a little noise.
#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

using namespace reg;

uint8_t TMotorolaEngine::AdcResult(uint32_t noise) const {
  const uint8_t channel = m_memory[kAdStatus] & 0x0F;
  if (channel < 8) return m_env.analogInputs[channel];
  if (channel == 8) return static_cast<uint8_t>(255 - (noise & 1));
  if (channel == 9) return static_cast<uint8_t>(126 + noise % 3);
  return static_cast<uint8_t>(noise & 1);
}

void TMotorolaEngine::WriteAdcStatus(uint8_t value) { m_memory[kAdStatus] = value & 0x6F; }

// xorshift32: the engine's own generator, so that machines do not disturb each other.
uint32_t TMotorolaEngine::NextRandom() {
  m_random ^= m_random << 13;
  m_random ^= m_random >> 17;
  m_random ^= m_random << 5;
  return m_random >> 8;
}

}  // namespace zarvek::hc05
