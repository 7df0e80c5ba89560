// The board side of a Pyxon board's line, without time or devices: the runtime's answer
// to the probe and the upload of a program, and the bootloader that writes flash pages.
// What it sends comes back as pieces with the pause to keep before each, so that the
// owner can pace them on a real line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/profile.h"
#include "link/intel_hex.h"

namespace zarvek::link {

// Faults a test can switch on.
struct TBoardFaults {
  bool silent = false;           // answers nothing at all
  int32_t lateEchoAt = -1;       // this upload byte (0: the first length byte) is echoed late
  int64_t lateEchoMs = 1500;
  int32_t wrongEchoAt = -1;      // this upload byte is echoed wrong
  bool splitIdent = false;       // the identification comes in pieces
  bool noiseBeforeIdent = false; // program output before the identification
  bool extraAfterIdent = false;  // more characters behind it
  int32_t rejectPage = -1;       // this flash page is rejected the first time
  int32_t vanishAfter = -1;      // the line goes away after this many upload bytes
};

struct TBoardSend {
  int64_t pauseMs = 0;  // before this piece goes out
  std::string bytes;
};

struct TBoardReaction {
  std::vector<TBoardSend> send;
  bool programStored = false;  // a complete upload: start it
  bool stopProgram = false;    // the probe stops a running program
  bool flashWritten = false;   // the bootloader finished
  bool vanish = false;
};

class TPyxonBoardProtocol {
 public:
  TPyxonBoardProtocol(TProfile profile, TBoardFaults faults);

  // Whether a byte belongs to the board's runtime rather than to a running program.
  bool TakesByte(uint8_t byte, bool programRunning) const;
  TBoardReaction OnByte(uint8_t byte, bool programRunning);

  const std::string& Program() const { return m_program; }
  char MemoryByte() const { return m_memory; }
  // The whole flash as the bootloader wrote it (0xFF where nothing was written).
  const std::string& Flash() const { return m_flash; }
  int32_t PagesWritten() const { return m_pagesWritten; }
  int32_t PagesRejected() const { return m_pagesRejected; }

 private:
  enum class TMode : uint8_t { Runtime, AwaitCommand, Upload, BootPrompt, BootPackets };
  void Identify(TBoardReaction& r);
  void UploadByte(uint8_t byte, TBoardReaction& r);
  void PacketByte(uint8_t byte, TBoardReaction& r);

  TProfile m_profile;
  TBoardFaults m_faults;
  TPageGeometry m_geometry;
  TMode m_mode = TMode::Runtime;
  char m_memory = 'E';
  std::string m_stream;  // upload bytes so far
  int32_t m_uploadBytes = 0;
  std::string m_program;
  std::string m_packet;
  std::string m_flash;
  int32_t m_pagesWritten = 0;
  int32_t m_pagesRejected = 0;
  bool m_rejectedOnce = false;
};

}  // namespace zarvek::link
