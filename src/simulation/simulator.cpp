#include "simulation/simulator.h"

#include <utility>

#include "runtime/runtime_errors.h"

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

void TSimulator::ReportError(const TMachineReport& report) {
  // The stop report pauses the run before the machine executes a further statement:
  // the pause is set here, on the machine's thread, not when the owner gets to it.
  SetRunMode(TRunMode::Pause);
  TRunEvent event;
  event.tokenAddress = report.address;
  if (report.number == err::Breakpoint) {
    event.kind = TRunEventKind::Paused;
    event.tokenAddress = report.programCounter;
    event.errorText = report.text;  // "Haltepunkt", shown like an error
    switch (report.runMode) {
      case TRunMode::SingleStep: event.pauseReason = TPauseReason::SingleStepDone; break;
      case TRunMode::StepOver: event.pauseReason = TPauseReason::StepOverDone; break;
      default: event.pauseReason = TPauseReason::Breakpoint; break;
    }
  } else {
    event.kind = TRunEventKind::RuntimeError;
    event.errorNumber = report.number;
    event.errorText = report.text;
  }
  Post(std::move(event));
  m_stopReported = true;
}

void TSimulator::OutputText(const std::string& text) {
  m_pendingOutput += text;
  if (m_pendingOutput.size() >= kOutputBatchBytes) EndSliceSoon();
}

void TSimulator::ActivityChanged(TThreadActivity activity) {
  const bool stopReported = m_stopReported;
  m_stopReported = false;
  TRunEvent event;
  switch (activity) {
    case TThreadActivity::Running: event.kind = TRunEventKind::Started; break;
    case TThreadActivity::Paused:
      if (stopReported) return;  // the report's event says why
      event.kind = TRunEventKind::Paused;
      event.pauseReason = TPauseReason::UserPause;
      event.tokenAddress = GetDebugState().programCounter;
      break;
    case TThreadActivity::WaitingForInput: event.kind = TRunEventKind::WaitingForInput; break;
    case TThreadActivity::Ended: event.kind = TRunEventKind::Ended; break;
    case TThreadActivity::Terminated:
      event.kind = TRunEventKind::Ended;
      event.endReason = TEndReason::Stopped;
      break;
  }
  Post(std::move(event));
}

void TSimulator::Post(TRunEvent event) {
  if (!m_pendingOutput.empty()) m_outbox.push_back({std::exchange(m_pendingOutput, {}), std::nullopt});
  m_outbox.push_back({{}, std::move(event)});
}

void TSimulator::Deliver() {
  if (!m_pendingOutput.empty()) m_outbox.push_back({std::exchange(m_pendingOutput, {}), std::nullopt});
  if (m_outbox.empty()) return;
  // Taken out first: a listener call may lead to further output being collected.
  std::vector<TOutboxItem> items = std::exchange(m_outbox, {});
  for (TOutboxItem& item : items) {
    if (!item.event) {
      m_listener.OnOutput(item.text);
      continue;
    }
    TRunEvent& event = *item.event;
    if (event.tokenAddress >= 0) {
      event.statement = LookupLine(static_cast<uint32_t>(event.tokenAddress));
      if (m_locator) event.place = m_locator(event.statement);
    }
    m_listener.OnRunEvent(event);
  }
}

void TSimulator::TakeInput(std::string& received) {
  m_hw.serialInput.TakeInto(received);
  if (m_queuedInput.Empty()) return;
  int64_t room = kReceiveBufferSize - ReceiveCount() - static_cast<int64_t>(received.size());
  // A full buffer without a complete line would wait forever; let the line push on.
  if (room <= 0 && WaitingForInput()) room = 1;
  if (room > 0) m_queuedInput.TakeInto(received, static_cast<size_t>(room));
}

}  // namespace zarvek
