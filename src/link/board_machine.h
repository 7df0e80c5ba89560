// The token machine inside a virtual Pyxon board: it runs in a thread of its own, its
// serial line is a pair of byte queues the board's line side fills and empties.
#pragma once

#include <mutex>
#include <string>

#include "runtime/interpreter.h"

namespace zarvek::link {

class TBoardMachine final : public TInterpreter {
 public:
  explicit TBoardMachine(TMachineConfig config);
  ~TBoardMachine() override;

  // Loads a program as the board stores it (the image only) and starts it.
  void Run(const std::string& image);
  // Bytes that arrived on the serial line for the program.
  void Receive(const std::string& bytes);
  // What the program sent since the last call.
  std::string TakeOutput();
  // The first runtime error report, if one came.
  std::string TakeError();

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
  void ReportError(const std::string& text, int32_t address) override;
  void OutputText(const std::string& text) override;
  void TakeInput(std::string& received) override;

 private:
  std::mutex m_lock;
  std::string m_in;
  std::string m_out;
  std::string m_error;
  bool m_stopping = false;
};

}  // namespace zarvek::link
