// TSimulator: the token machine wired to the simulated hardware. Text output and stop
// reports go to a listener that the owner supplies (the IDE forwards them to its GUI
// thread in order; the command-line tool prints them).
#pragma once

#include <mutex>
#include <string>

#include "runtime/interpreter.h"
#include "base/sim_hardware.h"

namespace zarvek {

class TSimulatorListener {
 public:
  virtual ~TSimulatorListener() = default;
  // Both are called on the machine's thread and must not wait for the GUI thread.
  virtual void OnOutputText(const std::string& text) = 0;
  virtual void OnReportError(const std::string& text, int32_t address) = 0;
};

class TSimulator final : public TInterpreter {
 public:
  TSimulator(TMachineConfig config, TSimulatedHardware& hardware, TSimulatorListener& listener);
  ~TSimulator() override;

  // Characters for the program that enter the receive buffer only as it has room, so
  // that none is pushed out unread (input prepared in advance, as the command-line tool
  // gives it). Typed console input goes through the hardware record instead.
  void QueueInput(const std::string& text) { m_queuedInput.Append(text); }
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
  void ReportError(const std::string& text, int32_t address) override;
  void OutputText(const std::string& text) override;
  void TakeInput(std::string& received) override;

 private:
  TSimulatedHardware& m_hw;
  TSimulatorListener& m_listener;
  TSharedText m_queuedInput;
};

}  // namespace zarvek
