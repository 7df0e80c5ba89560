// The runtime update of the ATmega boards: an Intel HEX image goes page by page through
// the board's bootloader, rejected pages again, then the end packet.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/profile.h"
#include "link/clock.h"
#include "link/intel_hex.h"
#include "link/link.h"

namespace zarvek::link {

class TBootloaderListener {
 public:
  virtual ~TBootloaderListener() = default;
  virtual void OnStatus(const std::string& text) = 0;
  virtual void OnProgress(int32_t position) = 0;  // 0 .. 200
};

namespace update {
inline constexpr uint8_t Idle = 0;
inline constexpr uint8_t Starting = 1;
inline constexpr uint8_t WaitPrompt = 2;
inline constexpr uint8_t WaitIdent = 3;
inline constexpr uint8_t Pages = 4;
inline constexpr uint8_t Finished = 5;
}  // namespace update

enum class TUpdateOutcome : uint8_t { Running, Finished, Failed };

// The identification the bootloader of a profile answers "<" with.
std::string BootloaderIdent(TProfile profile);
// The end packet: FF FF, 256 x FF, 00, whatever the page size.
std::string EndPacket();

class TBootloaderMachine {
 public:
  // Once the bootloader has answered, a reply that does not come within this time will
  // not come: a byte lost on the line leaves both sides waiting otherwise.
  static constexpr int64_t kReplyTimeoutMs = 5000;

  TBootloaderMachine(TLink& link, const TClock& clock, TBootloaderListener& listener);

  // The start button: opens the link when it is closed, reads the file's text, sends "B".
  void Start(TProfile profile, const std::string& portName, const std::string& speedText, const std::string& hexText);
  // The stop button. In the states where the board may already have erased its runtime,
  // `ask` shows the warning and answers whether the user really wants to stop.
  void StopButton(const std::function<bool(const std::string& warning)>& ask);
  void ReceiveCallBack(const std::string& chunk);
  void Poll();
  int64_t MillisUntilTimeout() const { return m_timeout.MillisLeft(); }

  uint8_t State() const { return m_state; }
  TUpdateOutcome Outcome() const { return m_outcome; }
  const std::string& Status() const { return m_status; }
  int32_t FailedPages() const { return m_failed; }
  int32_t PageIndex() const { return m_pageIndex; }
  const THexImage& Image() const { return m_image; }
  void PortLost();

 private:
  void SetStatus(const std::string& text);
  void SendPage();
  void SendEnd();
  void ReturnToIdle();
  void Fail(const std::string& text);

  TLink& m_link;
  TBootloaderListener& m_listener;
  TLinkTimer m_timeout;
  uint8_t m_state = update::Idle;
  TProfile m_profile = profile::Tessel11;
  TPageGeometry m_geometry;
  THexImage m_image;
  int32_t m_pageIndex = 0;
  int32_t m_failed = 0;
  std::string m_reply;
  bool m_linkWasOpen = false;
  bool m_gaveUp = false;
  std::function<void(const std::string&)> m_previousHandler;
  std::string m_status;
  TUpdateOutcome m_outcome = TUpdateOutcome::Running;
};

}  // namespace zarvek::link
