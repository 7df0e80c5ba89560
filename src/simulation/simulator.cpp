#include "simulation/simulator.h"

namespace zarvek {

namespace {

// Ports and channels beyond the record's fields read 0 and ignore writes.
template <size_t N>
uint8_t Get(const std::array<std::atomic<uint8_t>, N>& fields, int index) {
  return index >= 0 && static_cast<size_t>(index) < N ? fields[index].load(std::memory_order_relaxed) : 0;
}

template <size_t N>
void Put(std::array<std::atomic<uint8_t>, N>& fields, int index, uint8_t value) {
  if (index >= 0 && static_cast<size_t>(index) < N) fields[index].store(value, std::memory_order_relaxed);
}

}  // namespace

TSimulator::TSimulator(TMachineConfig config, TSimulatedHardware& hardware, TSimulatorListener& listener)
    : TInterpreter(std::move(config)), m_hw(hardware), m_listener(listener) {}

TSimulator::~TSimulator() { Shutdown(); }

void TSimulator::DeactPin(int) {}
void TSimulator::DeactPort(int) {}
void TSimulator::Beep(int32_t) {}

void TSimulator::WritePin(int pin, int32_t value) {
  const uint8_t mask = static_cast<uint8_t>(1u << (pin % 8));
  const uint8_t old = Get(m_hw.outputPorts, pin / 8);
  Put(m_hw.outputPorts, pin / 8, value != 0 ? (old | mask) : (old & ~mask));
}

void TSimulator::WritePort(int port, int32_t value) { Put(m_hw.outputPorts, port, static_cast<uint8_t>(value)); }

void TSimulator::WriteWordPort(int wordPort, int32_t value) {
  Put(m_hw.outputPorts, 2 * wordPort, static_cast<uint8_t>(value >> 8));
  Put(m_hw.outputPorts, 2 * wordPort + 1, static_cast<uint8_t>(value));
}

void TSimulator::WriteDA(int channel, int32_t value) { Put(m_hw.daOutputs, channel, static_cast<uint8_t>(value)); }

void TSimulator::SetBaud(int32_t baud) {
  m_hw.transmitBaud.store(baud, std::memory_order_relaxed);
  m_hw.receiveBaud.store(baud, std::memory_order_relaxed);
}

int32_t TSimulator::ReadPin(int pin) { return (Get(m_hw.inputPorts, pin / 8) >> (pin % 8)) & 1 ? -1 : 0; }

int32_t TSimulator::ReadPort(int port) { return Get(m_hw.inputPorts, port); }

int32_t TSimulator::ReadWordPort(int wordPort) {
  return Get(m_hw.inputPorts, 2 * wordPort) * 256 + Get(m_hw.inputPorts, 2 * wordPort + 1);
}

int32_t TSimulator::ReadAD(int channel) { return Get(m_hw.adInputs, channel); }

int32_t TSimulator::ReadFreq(int) { return 0; }

void TSimulator::ReportError(const std::string& text, int32_t address) {
  // The stop report pauses the run before the machine executes a further statement:
  // the pause is set here, on the machine's thread, not when the GUI gets to it.
  SetRunMode(runmode::Pause);
  m_listener.OnReportError(text, address);
}

void TSimulator::OutputText(const std::string& text) { m_listener.OnOutputText(text); }

void TSimulator::TakeInput(std::string& received) {
  m_hw.serialInput.TakeInto(received);
  if (m_queuedInput.Empty()) return;
  int64_t room = kReceiveBufferSize - ReceiveCount() - static_cast<int64_t>(received.size());
  // A full buffer without a complete line would wait forever; let the line push on.
  if (room <= 0 && WaitingForInput()) room = 1;
  if (room > 0) m_queuedInput.TakeInto(received, static_cast<size_t>(room));
}

}  // namespace zarvek
