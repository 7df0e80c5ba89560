// Virtual boards on a pseudo-terminal: what a board family does with the bytes of its
// line. The loop that runs one is shared; a family brings its own TVirtualBoard.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "base/profile.h"
#include "link/paced_line.h"
#include "link/pyxon_board.h"

namespace zarvek::link {

class TBoardMachine;

class TVirtualBoard {
 public:
  virtual ~TVirtualBoard() = default;
  // Bytes that have completely arrived on the line.
  virtual void OnReceived(const std::string& bytes) = 0;
  // Between arrivals: the board's own work (a running program's output).
  virtual void Poll() = 0;
  // The board is gone (a fault switch took the line away).
  virtual bool Gone() const = 0;
  // How long the loop may wait for the line before the board's own work is due.
  virtual int64_t PollMicros() const { return 2000; }
};

struct TPyxonBoardOptions {
  TProfile profile = profile::Pyxon32;
  TBoardFaults faults;
  std::string eepromFile;  // the stored program, kept across runs
  std::string flashFile;   // the flash the bootloader wrote, after each update
};

class TPyxonVirtualBoard final : public TVirtualBoard {
 public:
  TPyxonVirtualBoard(TPacedLine& line, TPyxonBoardOptions options, std::ostream& log);
  ~TPyxonVirtualBoard() override;

  // Starts the program stored in the EEPROM file, as a board does at power-on.
  void PowerOn();
  void OnReceived(const std::string& bytes) override;
  void Poll() override;
  bool Gone() const override { return m_gone; }

 private:
  void StartProgram(const std::string& image);
  void StoreProgram(const std::string& image);
  void WriteFlash();

  TPacedLine& m_line;
  TPyxonBoardOptions m_options;
  std::ostream& m_log;
  TPyxonBoardProtocol m_protocol;
  std::unique_ptr<TBoardMachine> m_machine;
  bool m_gone = false;
};

// Runs a board on its line until `stopRequested` says so or the board is gone.
void RunVirtualBoard(TPacedLine& line, TVirtualBoard& board, const std::function<bool()>& stopRequested);

}  // namespace zarvek::link
