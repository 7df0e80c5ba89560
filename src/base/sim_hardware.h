// The simulated-hardware record: the levels and texts shared by the simulation objects,
// the token machine's hooks and the HC05 simulation loop. Each field has one writer; the
// fields are atomics (the texts carry a small lock), so either side may read at any time
// and a stale read only delays an input or output by one tick.
#pragma once

#include <array>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace zarvek {

class TSharedText {
 public:
  void Append(const std::string& text) {
    if (text.empty()) return;
    std::lock_guard lock(m_mutex);
    m_text += text;
    m_size.store(m_text.size(), std::memory_order_release);
  }
  // Moves up to max characters from the front into out; returns how many.
  size_t TakeInto(std::string& out, size_t max = std::string::npos) {
    if (m_size.load(std::memory_order_acquire) == 0 || max == 0) return 0;
    std::lock_guard lock(m_mutex);
    const size_t n = std::min(max, m_text.size());
    out.append(m_text, 0, n);
    m_text.erase(0, n);
    m_size.store(m_text.size(), std::memory_order_release);
    return n;
  }
  bool Empty() const { return m_size.load(std::memory_order_acquire) == 0; }
  void Clear() {
    std::lock_guard lock(m_mutex);
    m_text.clear();
    m_size.store(0, std::memory_order_release);
  }

 private:
  std::mutex m_mutex;
  std::string m_text;
  std::atomic<size_t> m_size{0};
};

struct TSimulatedHardware {
  std::atomic<uint32_t> clockKHz{0};              // HC05 clock, set when an HC05 run starts
  std::array<std::atomic<uint8_t>, 4> inputPorts{};   // levels presented to byte ports 0-3
  std::array<std::atomic<uint8_t>, 4> outputPorts{};  // levels the program drives
  std::array<std::atomic<uint8_t>, 8> adInputs{};     // AD channels 0-7
  std::array<std::atomic<uint8_t>, 2> daOutputs{};    // DA channels 0-1
  TSharedText serialOutput;                        // HC05 path
  TSharedText serialInput;                         // typed into the console, not yet taken
  std::atomic<uint8_t> interruptLine{0};           // HC05 path: 1 while pressed
  std::atomic<double> transmitBaud{0};
  std::atomic<double> receiveBaud{0};
};

}  // namespace zarvek
