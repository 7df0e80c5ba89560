#include "link/board_machine.h"

namespace zarvek::link {

TBoardMachine::TBoardMachine(TMachineConfig config) : TInterpreter([&config] {
  config.ownThread = true;
  return std::move(config);
}()) {}

TBoardMachine::~TBoardMachine() {
  {
    std::lock_guard lock(m_lock);
    m_stopping = true;  // the thread's farewell text is no output of the program
  }
  Shutdown();
}

void TBoardMachine::Run(const std::string& image) {
  // An uploaded image carries no lengths; the data file then starts behind the whole image.
  LoadProgram(image, static_cast<uint32_t>(image.size()), 0);
  SetLineTable({TLineRecord{0, 1, 1, kMainSourceOrigin, 0}});
  SetRunMode(runmode::Run);
}

void TBoardMachine::Receive(const std::string& bytes) {
  std::lock_guard lock(m_lock);
  m_in += bytes;
}

std::string TBoardMachine::TakeOutput() {
  std::lock_guard lock(m_lock);
  std::string out;
  out.swap(m_out);
  return out;
}

std::string TBoardMachine::TakeError() {
  std::lock_guard lock(m_lock);
  std::string e;
  e.swap(m_error);
  return e;
}

void TBoardMachine::ReportError(const std::string& text, int32_t address) {
  std::lock_guard lock(m_lock);
  if (m_error.empty()) m_error = "Laufzeitfehler bei Adresse " + std::to_string(address) + ": " + text;
}

void TBoardMachine::OutputText(const std::string& text) {
  std::lock_guard lock(m_lock);
  if (!m_stopping) m_out += text;
}

void TBoardMachine::TakeInput(std::string& received) {
  std::lock_guard lock(m_lock);
  // The receive buffer holds 32 characters; more wait on the line as they would in the
  // board's UART until the program takes some.
  const int64_t room = kReceiveBufferSize - ReceiveCount() - static_cast<int64_t>(received.size());
  if (room <= 0) return;
  const size_t take = std::min(m_in.size(), static_cast<size_t>(room));
  received.append(m_in, 0, take);
  m_in.erase(0, take);
}

}  // namespace zarvek::link
