#include "simulation/machine_access.h"

namespace zarvek {

std::string TInterpreterAccess::ReadProgram(uint32_t address, uint32_t count) {
  const uint32_t size = m_machine.ProgramMemorySize();
  if (size == 0) return {};
  // Space 3 starts behind the image; step back over it to reach the token address.
  const uint64_t start = (uint64_t{address} + size - m_offset % size) % size;
  return m_machine.ReadMemory(3, static_cast<uint32_t>(start), count);
}

bool TInterpreterAccess::ReadString(uint16_t reference, std::string& text) {
  // Reference r names the string constant whose length word lies at codeLength + 2r in
  // program memory; its characters follow, one per word in the low byte.
  if (reference == 0) return false;
  const uint32_t lengthAt = m_codeLength + 2 * uint32_t{reference};
  const std::string length = ReadProgram(lengthAt, 2);
  if (length.size() != 2) return false;
  const uint32_t n = static_cast<uint32_t>(static_cast<uint8_t>(length[0]) << 8 | static_cast<uint8_t>(length[1]));
  if (n > 255) return false;
  const std::string words = ReadProgram(lengthAt + 2, 2 * n);
  if (words.size() != 2 * n) return false;
  text.clear();
  for (uint32_t k = 0; k < n; ++k) text.push_back(words[2 * k + 1]);
  return true;
}

std::string TTesselRamAccess::ReadMemory(uint8_t space, uint32_t start, uint32_t count) {
  if (space != 0 || !m_read) return {};
  std::string bytes(count, '\0');
  for (uint32_t k = 0; k < count; ++k)
    bytes[k] = static_cast<char>(m_read(static_cast<uint16_t>(m_base + start + k)));
  return bytes;
}

}  // namespace zarvek
