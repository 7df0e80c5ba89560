// The virtual Tessel board (1.1 and Micro): the emulated controller running our operating
// system in real time, its SCI on the paced line at the rate its baud register gives. The
// operating system itself serves the upload; this side only keeps the memories that a
// real board keeps without power (the serial EEPROM and the user code area) in a file, and
// adds the line faults a test asks for.
#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>

#include "base/profile.h"
#include "link/virtual_board.h"

namespace zarvek::hc05 {
class TMotorolaEngine;
}

namespace zarvek::link {

struct TTesselBoardOptions {
  TProfile profile = profile::Tessel11;  // Tessel 1.1 or Tessel Micro
  TBoardFaults faults;
  std::string eepromFile;  // the serial EEPROM and the user code area, kept across runs
};

// The kept memories as one file: the serial EEPROM's bytes, then the user code area.
inline constexpr size_t kTesselEepromBytes = 8192;
inline constexpr size_t kTesselUserCodeBytes = 255;  // $0101-$01FF
inline constexpr size_t kTesselMemoryFileSize = kTesselEepromBytes + kTesselUserCodeBytes;

class TTesselVirtualBoard final : public TVirtualBoard {
 public:
  TTesselVirtualBoard(TPacedLine& line, TTesselBoardOptions options, std::ostream& log);
  ~TTesselVirtualBoard() override;

  // Loads the kept memories and resets the controller as at power-on. False, with the
  // message in the log, when the file exists but is not one of ours (it is left alone).
  bool PowerOn();
  // Writes memories changed since the last save (also done by Poll once they rest).
  void Save();

  void OnReceived(const std::string& bytes) override;
  void Poll() override;
  bool Gone() const override { return m_gone; }
  int64_t PollMicros() const override { return 500; }

  // The memories as the file holds them.
  std::string Memories() const;

 private:
  enum class TStream : uint8_t { None, Code, Token };
  void Run();
  void FollowHostByte(uint8_t byte);
  void FollowHeldBytes();
  void Output(const std::string& bytes);
  void EndIdent();
  void ResetIntoService();
  void UpdateLineRate(uint8_t baudRegister);

  TPacedLine& m_line;
  TTesselBoardOptions m_options;
  std::ostream& m_log;
  std::unique_ptr<hc05::TMotorolaEngine> m_engine;
  uint16_t m_resetAddress = 0, m_bootAddress = 0, m_idleAddress = 0, m_serviceAddress = 0;
  bool m_serving = false;          // the system waits for upload commands
  bool m_starting = true;          // after a reset, before the upload service or the program
  bool m_enterService = false;     // after a reset: go to the upload service, not the program
  bool m_halted = false;           // the controller stopped in an error state
  bool m_gone = false;
  int64_t m_lastRun = 0;
  double m_cycleCredit = 0;
  double m_transmitCredit = 0;
  uint8_t m_baudRegister = 0;
  double m_byteMicros = 1040;

  // What the host's bytes mean while the system serves: which stream is on its way and
  // which of its bytes the next echoes belong to.
  TStream m_stream = TStream::None;
  int32_t m_streamIndex = 0;
  int32_t m_streamLength = 0;
  int32_t m_streamBytes = 0;  // bytes of both streams, for the vanishing line
  int64_t m_lastHostByte = 0;
  int64_t m_lastEchoAt = 0;  // when the last echo leaves, a late one included
  std::deque<int32_t> m_echoes;
  // Host bytes that came while the system was starting: commands once it serves (a host
  // may send before a freshly powered board got that far), a program's input otherwise.
  std::string m_held;
  bool m_identPending = false;
  std::string m_ident;

  std::string m_saved;       // the memories as last written (or loaded)
  int64_t m_changedAt = -1;  // when a change was first seen since the last save
  int64_t m_lastCheck = 0;
};

}  // namespace zarvek::link
