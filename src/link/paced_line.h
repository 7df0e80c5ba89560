// The board end of a virtual serial line: a pseudo-terminal whose terminal side the host
// opens like a serial port. Bytes move at the line's speed (10 bits each, start and stop
// bit included) in both directions, as on a real board's line.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace zarvek::link {

class TPacedLine {
 public:
  TPacedLine() = default;
  ~TPacedLine();
  TPacedLine(const TPacedLine&) = delete;
  TPacedLine& operator=(const TPacedLine&) = delete;

  bool Open(int32_t baud, std::string& error);
  void Close();
  bool IsOpen() const { return m_master >= 0; }
  // The device name the host opens.
  const std::string& TerminalPath() const { return m_path; }

  // A new speed for what crosses the line from now on (a board that changed its rate).
  void SetRate(double baud);
  // Queues bytes to go out after a pause.
  void Send(const std::string& bytes, int64_t pauseMs = 0);
  bool SendQueueEmpty() const { return m_tx.empty(); }
  // Waits up to maxWaitMicros (less when a byte is due) and gives the bytes whose
  // reception is complete by now.
  std::string Pump(int64_t maxWaitMicros);

  static int64_t NowMicros();

 private:
  struct TTimedByte {
    int64_t at;  // when it has completely crossed the line
    char byte;
  };
  void ReadArrived(int64_t now);
  void WriteDue(int64_t now);

  int m_master = -1;
  int m_terminal = -1;  // held open so that the line survives the host closing its end
  std::string m_path;
  int64_t m_byteMicros = 1042;
  std::deque<TTimedByte> m_rx;
  std::deque<TTimedByte> m_tx;
  int64_t m_rxDone = 0;
  int64_t m_txDone = 0;
};

}  // namespace zarvek::link
