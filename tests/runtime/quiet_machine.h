// A token machine whose hooks do nothing, driven on the caller's thread with virtual
// time: the base for benchmarks and fuzzing, which override what they need.
#pragma once

#include "runtime/interpreter.h"

namespace zarvek::test {

class TQuietMachine : public TInterpreter {
 public:
  explicit TQuietMachine(uint32_t space1Size = 1024, uint32_t programMemorySize = 32745)
      : TInterpreter(TMachineConfig{space1Size, programMemorySize, 0, std::make_shared<TVirtualTimeSource>(),
                                    nullptr, false}) {}
  ~TQuietMachine() override { Shutdown(); }

  int reports = 0;

 protected:
  void DeactPin(int) override {}
  void DeactPort(int) override {}
  void WritePin(int, int32_t) override {}
  void WritePort(int, int32_t) override {}
  void WriteWordPort(int, int32_t) override {}
  void WriteDA(int, int32_t) override {}
  void Beep(int32_t) override {}
  void SetBaud(int32_t) override {}
  int32_t ReadPin(int) override { return 0; }
  int32_t ReadPort(int) override { return 0; }
  int32_t ReadWordPort(int) override { return 0; }
  int32_t ReadAD(int) override { return 0; }
  int32_t ReadFreq(int) override { return 0; }
  void ReportError(const TMachineReport&) override { ++reports; }
  void OutputText(const std::string&) override {}
  void TakeInput(std::string&) override {}
};

}  // namespace zarvek::test
