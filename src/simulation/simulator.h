// TSimulator: the token machine wired to the simulated hardware. Text output and
// run-state events go to a listener that the owner supplies.
//
// The listener is never called while the machine holds its memory or line-table lock:
// hooks only collect output and events, and they are handed over when the machine holds
// no lock (after every slice, before every sleep, after every change of its thread's
// activity), on the thread that runs the machine. A listener may therefore read memory
// and the debug state, change the run mode, set breakpoints and call Shutdown; it must not
// wait for a thread that may itself be waiting for the machine (post to the GUI thread
// instead of blocking on it) and must not destroy the simulator.
//
// A machine on its own thread reports every event kind. A machine that its owner drives
// with RunSlice reports stops and runtime errors; the owner learns the rest (END, waiting
// for input) from the slice results.
#pragma once

#include <string>
#include <vector>

#include "base/sim_hardware.h"
#include "runtime/interpreter.h"
#include "simulation/run_events.h"

namespace zarvek {

class TSimulatorListener {
 public:
  virtual ~TSimulatorListener() = default;
  // The program's serial output, in order, in batches (everything printed since the last
  // call), so that a program printing in a tight loop costs the owner one call per batch.
  virtual void OnOutput(const std::string& text) = 0;
  // A change of the run state, after the output printed before it.
  virtual void OnRunEvent(const TRunEvent& event) = 0;
};

class TSimulator final : public TInterpreter {
 public:
  TSimulator(TMachineConfig config, TSimulatedHardware& hardware, TSimulatorListener& listener);
  ~TSimulator() override;

  // Gives events the place of their statement; set it before the machine runs.
  void SetStatementLocator(TStatementLocator locator) { m_locator = std::move(locator); }

  // Output beyond this size ends the slice early so that it is handed over.
  static constexpr size_t kOutputBatchBytes = 64 * 1024;

  // Characters for the program that enter the receive buffer only as it has room, so
  // that none is pushed out unread (input prepared in advance, as the command-line tool
  // gives it). Typed console input goes through the hardware record instead.
  void QueueInput(const std::string& text) {
    m_queuedInput.Append(text);
    NotifyInput();
  }
  bool QueuedInputEmpty() const { return m_queuedInput.Empty(); }

 protected:
  void DeactPin(int pin) override;
  void DeactPort(int port) override;
  void WritePin(int pin, int32_t value) override;
  void WritePort(int port, int32_t value) override;
  void WriteWordPort(int wordPort, int32_t value) override;
  void WriteDA(int channel, int32_t value) override;
  void Beep(int32_t value) override;
  void SetBaud(int32_t baud) override;
  int32_t ReadPin(int pin) override;
  int32_t ReadPort(int port) override;
  int32_t ReadWordPort(int wordPort) override;
  int32_t ReadAD(int channel) override;
  int32_t ReadFreq(int counter) override;
  void ReportError(const TMachineReport& report) override;
  void OutputText(const std::string& text) override;
  void TakeInput(std::string& received) override;
  void Deliver() override;
  void ActivityChanged(TThreadActivity activity) override;

 private:
  // An item of the outbox: a batch of output or an event (kind set, text empty).
  struct TOutboxItem {
    std::string text;
    std::optional<TRunEvent> event;
  };
  void Post(TRunEvent event);

  TSimulatedHardware& m_hw;
  TSimulatorListener& m_listener;
  TSharedText m_queuedInput;
  TStatementLocator m_locator;
  // Filled and emptied only by the thread that runs the machine.
  std::string m_pendingOutput;
  std::vector<TOutboxItem> m_outbox;
  bool m_stopReported = false;  // the current pause was already told by a report
};

}  // namespace zarvek
