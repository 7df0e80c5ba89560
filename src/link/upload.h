// The program upload: a byte-wise lockstep exchange with the board. The host probes for
// the board, reads its identification, may read back the board's machine code area,
// then sends each byte and waits for its echo. Runs on the owner's thread; the owner
// hands it received data and lets its repeat timer run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/profile.h"
#include "link/clock.h"
#include "link/link.h"

namespace zarvek::link {

// What goes over the line: the machine code behind its length byte, the token code
// behind its 16-bit length (high byte first).
struct TUploadStreams {
  std::string machineCode;
  std::string tokenCode;
};

// The streams for a program image and machine code; an error text when a length field
// cannot hold its part.
std::optional<std::string> BuildUploadStreams(const std::string& image, const std::string& machineCode,
                                              TUploadStreams& streams);

// Why a program image does not fit the board's program memory (the ATmega boards would
// take the bytes and then have no room for them); nothing when it fits.
std::optional<std::string> ProgramRoomProblem(TProfile profile, size_t imageSize);

// The identification word a board family starts its answer to the probe with.
std::string FamilyWord(TProfile profile);
std::string SearchText(TProfile profile);

class TUploadListener {
 public:
  virtual ~TUploadListener() = default;
  virtual void OnStatus(const std::string& text) = 0;
  virtual void OnProgress(int32_t position, int32_t maximum) = 0;
  virtual void OnAnimationStopped() = 0;
  // "fertig!": the main status line gets its text and the stop command ends the transfer.
  virtual void OnTransferred() = 0;
};

enum class TUploadOutcome : uint8_t { Running, Transferred, Failed };

namespace transfer {
inline constexpr int32_t Idle = 0;
inline constexpr int32_t Identify = 1;
inline constexpr int32_t ReadBack = 2;
inline constexpr int32_t MachineCode = 3;
inline constexpr int32_t TokenCode = 4;
}  // namespace transfer

class TUploadMachine {
 public:
  static constexpr int64_t kRepeatIntervalMs = 1000;
  static constexpr int kRepeatLimit = 10;
  static constexpr int32_t kReadBackSize = 255;
  // After the identification the line must be quiet this long before the first command
  // goes out, so that the rest of the board's line is not taken for an echo.
  static constexpr int64_t kSettleMs = 100;
  static constexpr int kSettleRestartLimit = 20;

  TUploadMachine(TLink& link, const TClock& clock, TUploadListener& listener);

  // Starts over an open link: progress, the probe, the search text.
  void Start(TProfile profile, uint8_t programMemorySelector, TUploadStreams streams);
  // Received data while a transfer runs (TransferState not 0).
  void ReceiveCallBack(const std::string& chunk);
  // Runs the repeat timer when it is due; the owner calls it from its loop.
  void Poll();
  // Milliseconds until the repeat timer is due, -1 when it is off.
  int64_t MillisUntilTimer() const;
  // The stop command's part: state 0, counter 0, timer off.
  void Stop();
  // The port went away while the transfer ran.
  void PortLost();

  TUploadOutcome Outcome() const { return m_outcome; }
  const std::string& Status() const { return m_status; }
  int32_t Progress() const { return m_progress; }
  int32_t ProgressMax() const { return m_progressMax; }
  int RepeatCount() const { return m_repeats; }

 private:
  void SetStatus(const std::string& text);
  void Advance(int32_t by);
  void Fail(const std::string& text);
  void Identify(const std::string& chunk);
  void Identified();
  void ReadBack(const std::string& chunk);
  void MachineCodeEcho(const std::string& chunk);
  void TokenCodeEcho(const std::string& chunk);
  void BeginTokenCode(const std::string& statusText);
  void SendMemoryByte();
  void SendFront(const std::string& stream);
  void TimerRepeaterAndTimeOutTimer();
  bool RepeatIsSafe() const;

  TLink& m_link;
  TUploadListener& m_listener;
  TLinkTimer m_timer;
  TLinkTimer m_settle;
  int m_settleRestarts = 0;
  TProfile m_profile = profile::Tessel11;
  uint8_t m_selector = 0;
  TUploadStreams m_streams;
  std::string m_reply;
  std::string m_lastSent;
  int m_repeats = 0;
  int32_t m_progress = 0;
  int32_t m_progressMax = 0;
  std::string m_status;
  TUploadOutcome m_outcome = TUploadOutcome::Running;
};

}  // namespace zarvek::link
