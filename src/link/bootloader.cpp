#include "link/bootloader.h"

#include <cmath>

#include "base/profile.h"
#include "link/link_texts.h"

namespace zarvek::link {

std::string BootloaderIdent(TProfile profile) { return profile == profile::Pyxon32 ? "EndS2!" : "DpcT4!"; }

std::string EndPacket() { return std::string(258, '\xFF') + std::string(1, '\0'); }

TBootloaderMachine::TBootloaderMachine(TLink& link, const TClock& clock, TBootloaderListener& listener)
    : m_link(link), m_listener(listener), m_timeout(clock, kReplyTimeoutMs) {}

void TBootloaderMachine::SetStatus(const std::string& text) {
  m_status = text;
  m_listener.OnStatus(text);
}

void TBootloaderMachine::Fail(const std::string& text) {
  SetStatus(text);
  m_outcome = TUpdateOutcome::Failed;
}

void TBootloaderMachine::Start(TProfile profile, const std::string& portName, const std::string& speedText,
                               const std::string& hexText) {
  if (m_state != update::Idle) return;
  m_outcome = TUpdateOutcome::Running;
  m_gaveUp = false;
  m_profile = profile;
  m_state = update::Starting;
  SetStatus(texts::ConnectingText(portName, speedText));
  m_linkWasOpen = m_link.Connected();
  if (!m_linkWasOpen && !m_link.LinkOpen(portName, speedText)) {
    Fail(texts::PortBusyText(portName));
    ReturnToIdle();
    return;
  }
  m_geometry = PageGeometry(profile);
  m_image = ReadIntelHex(hexText, m_geometry);
  m_pageIndex = 0;
  m_failed = 0;
  if (!m_image.valid) {
    Fail(texts::kBootInvalidFile);
    ReturnToIdle();
    return;
  }
  SetStatus(texts::kBootNotReady);
  m_state = update::WaitPrompt;
  m_previousHandler = m_link.receiveHandler;
  m_link.receiveHandler = [this](const std::string& data) { ReceiveCallBack(data); };
  m_link.LinkSend("B");
}

void TBootloaderMachine::ReceiveCallBack(const std::string& chunk) {
  if (chunk.empty() || m_gaveUp) return;
  if (m_state == update::WaitPrompt) {
    if (chunk.back() != '>') return;
    m_link.LinkSend("<");
    SetStatus(texts::kBootInitialising);
    m_state = update::WaitIdent;
    m_reply.clear();
    m_timeout.Start();
    return;
  }
  if (m_state != update::WaitIdent && m_state != update::Pages) return;
  size_t skip = 0;
  while (skip < chunk.size() && chunk[skip] == '>') ++skip;
  m_reply.append(chunk, skip);
  if (m_state == update::WaitIdent) {
    // The identification may come in pieces, and the line may carry more behind it: the
    // first six characters decide.
    if (m_reply.size() < 6) return;
    m_timeout.Stop();
    if (m_reply.compare(0, 6, BootloaderIdent(m_profile)) != 0) {
      Fail(texts::kBootWrongBoard);
      m_gaveUp = true;
      return;
    }
    SendPage();
    return;
  }
  if (m_reply.empty()) return;
  m_timeout.Stop();
  if (m_reply[0] != '!') {
    SetStatus(texts::PageRejectedText(m_reply, m_pageIndex, m_geometry.pageCount));
    if (m_pageIndex > 0) --m_pageIndex;
    ++m_failed;
  } else if (m_pageIndex >= m_geometry.pageCount) {
    // The last page is written only once the board has accepted it; its rejection must
    // lead to a resend, not to a finished update without it.
    SendEnd();
    return;
  }
  SendPage();
}

void TBootloaderMachine::SendPage() {
  m_reply.clear();
  SetStatus(texts::PageSendingText(m_pageIndex, m_geometry.pageCount, m_failed));
  const TFlashPage& page = m_image.pages[static_cast<size_t>(m_pageIndex)];
  std::string packet;
  packet.push_back(static_cast<char>(m_pageIndex >> 8));
  packet.push_back(static_cast<char>(m_pageIndex & 0xFF));
  packet += page.data;
  packet.push_back(static_cast<char>(page.checksum));
  m_link.LinkSend(packet);
  m_listener.OnProgress(static_cast<int32_t>(std::lround(double(m_pageIndex) / m_geometry.pageCount * 200.0)));
  m_state = update::Pages;
  ++m_pageIndex;
  m_timeout.Start();
}

void TBootloaderMachine::SendEnd() {
  m_link.LinkSend(EndPacket());
  m_listener.OnProgress(200);
  SetStatus(texts::kBootFinished);
  m_state = update::Finished;
  m_outcome = TUpdateOutcome::Finished;
}

void TBootloaderMachine::Poll() {
  if (!m_timeout.Expired()) return;
  m_timeout.Stop();
  if (m_state != update::WaitIdent && m_state != update::Pages) return;
  // The update stays where it is; the stop button (with its warning) ends it.
  m_gaveUp = true;
  Fail(texts::kNoAnswer);
}

void TBootloaderMachine::PortLost() {
  if (m_state == update::Idle) return;
  m_timeout.Stop();
  m_gaveUp = true;
  Fail(texts::PortLostText(m_link.PortName()));
}

void TBootloaderMachine::StopButton(const std::function<bool(const std::string& warning)>& ask) {
  if (m_state == update::Idle) return;
  if (m_state == update::WaitIdent || m_state == update::Pages) {
    if (!ask || !ask(texts::kBootStopWarning)) return;
    ReturnToIdle();
    return;
  }
  ReturnToIdle();
}

void TBootloaderMachine::ReturnToIdle() {
  m_timeout.Stop();
  // Before any page was written the link goes back to how it was; afterwards it stays.
  const bool closeLink = !m_linkWasOpen && (m_state == update::Starting || m_state == update::WaitPrompt ||
                                           m_state == update::Finished);
  if (closeLink) m_link.LinkClose();
  if (m_state >= update::WaitPrompt) m_link.receiveHandler = m_previousHandler;
  m_state = update::Idle;
  if (m_outcome == TUpdateOutcome::Running) m_outcome = TUpdateOutcome::Failed;
}

}  // namespace zarvek::link
