#include "link/upload.h"

#include "base/profile.h"
#include "link/link_texts.h"
#include "runtime/interpreter.h"

namespace zarvek::link {

namespace {

constexpr char kProbe = 0x01;
constexpr char kTokenCodeCommand = 0x02;
constexpr char kMachineCodeCommand = 0x08;
constexpr char kReadBackCommand = 0x09;
constexpr uint8_t kIdentEnd = 0x0D;
constexpr uint8_t kIdentEndHigh = 0x8A;
// An identification this long without its end is no identification.
constexpr size_t kIdentLimit = 256;

bool IsIdentEnd(char c) {
  const auto b = static_cast<uint8_t>(c);
  return b == kIdentEnd || b == kIdentEndHigh;
}

}  // namespace

std::optional<std::string> BuildUploadStreams(const std::string& image, const std::string& machineCode,
                                              TUploadStreams& streams) {
  // The length byte holds the length modulo 256: longer code would reach the board with
  // a wrong length, and 256 bytes would read as none at all.
  if (machineCode.size() > 255) return texts::kMachineCodeTooLong;
  if (image.size() > 0xFFFF) return texts::kProgramTooLong;
  streams.machineCode = std::string(1, static_cast<char>(machineCode.size())) + machineCode;
  streams.tokenCode.clear();
  streams.tokenCode.push_back(static_cast<char>(image.size() >> 8));
  streams.tokenCode.push_back(static_cast<char>(image.size() & 0xFF));
  streams.tokenCode += image;
  return std::nullopt;
}

std::optional<std::string> ProgramRoomProblem(TProfile profile, size_t imageSize) {
  if (!IsPyxon(profile)) return std::nullopt;
  const TMachineConfig machine = profile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
  const uint64_t room = machine.programMemorySize - 4;
  if (imageSize <= room) return std::nullopt;
  return "Das Programm ist zu groß für den Programmspeicher (" + std::to_string(imageSize) + " Bytes, höchstens " +
         std::to_string(room) + ").";
}

std::string FamilyWord(TProfile profile) { return IsPyxon(profile) ? "Zarvek" : "TESEL"; }

std::string SearchText(TProfile profile) {
  switch (profile) {
    case profile::TesselMicro: return texts::kSearchTesselMicro;
    case profile::Tessel20: return texts::kSearchTessel20;
    case profile::Pyxon32: return texts::kSearchAtmega32;
    case profile::Pyxon128: return texts::kSearchAtmega128;
    case profile::Tessel11: break;
  }
  return texts::kSearchTessel11;
}

TUploadMachine::TUploadMachine(TLink& link, const TClock& clock, TUploadListener& listener)
    : m_link(link), m_listener(listener), m_timer(clock, kRepeatIntervalMs), m_settle(clock, kSettleMs) {
  m_link.onTransferSend = [this](const std::string& data) {
    m_lastSent = data;
    m_timer.Start();
  };
}

void TUploadMachine::Start(TProfile profile, uint8_t programMemorySelector, TUploadStreams streams) {
  m_profile = profile;
  m_selector = programMemorySelector;
  m_streams = std::move(streams);
  m_outcome = TUploadOutcome::Running;
  m_repeats = 0;
  m_settle.Stop();
  m_progress = 0;
  m_progressMax = static_cast<int32_t>(m_streams.machineCode.size() + m_streams.tokenCode.size()) + 290;
  m_listener.OnProgress(m_progress, m_progressMax);
  m_link.TransferState = transfer::Identify;
  m_reply.clear();
  m_link.LinkSend(std::string(1, kProbe));
  SetStatus(SearchText(profile));
}

void TUploadMachine::SetStatus(const std::string& text) {
  m_status = text;
  m_listener.OnStatus(text);
}

void TUploadMachine::Advance(int32_t by) {
  m_progress += by;
  m_listener.OnProgress(m_progress, m_progressMax);
}

void TUploadMachine::Fail(const std::string& text) {
  SetStatus(text);
  m_listener.OnAnimationStopped();
  m_link.TransferState = transfer::Idle;
  m_reply.clear();
  m_timer.Stop();
  m_settle.Stop();
  m_outcome = TUploadOutcome::Failed;
}

void TUploadMachine::ReceiveCallBack(const std::string& chunk) {
  if (chunk.empty()) return;
  m_timer.Stop();
  // While searching, only an answer that begins the identification counts as one: a line
  // that echoes every probe (a board stuck in a stream of an earlier transfer) or a
  // program's endless output would otherwise keep the search going for ever.
  const bool searching = m_link.TransferState == transfer::Identify;
  if (!searching) m_repeats = 0;
  switch (m_link.TransferState) {
    case transfer::Identify: Identify(chunk); break;
    case transfer::ReadBack: ReadBack(chunk); break;
    case transfer::MachineCode: MachineCodeEcho(chunk); break;
    case transfer::TokenCode: TokenCodeEcho(chunk); break;
    default: return;
  }
  if (searching && (!m_reply.empty() || m_settle.Enabled() || m_link.TransferState != transfer::Identify)) m_repeats = 0;
  // Still waiting for the board: the timer keeps watching, so that a reply that stops
  // half way ends in "Controller antwortet nicht." instead of waiting for ever.
  if (m_link.TransferState != transfer::Idle && !m_settle.Enabled() && !m_timer.Enabled()) m_timer.Start();
}

// The identification is the family word up to CR or 0x8A. What comes before the word
// (the output of a program still running) and after the end is not part of it.
void TUploadMachine::Identify(const std::string& chunk) {
  if (m_settle.Enabled()) {
    // The rest of the board's identification line: not ours to answer. A line that
    // never goes quiet is not waited for without end.
    if (++m_settleRestarts <= kSettleRestartLimit) m_settle.Start();
    return;
  }
  m_reply += chunk;
  const std::string word = FamilyWord(m_profile);
  const size_t at = m_reply.find(word);
  if (at == std::string::npos) {
    // Keep only a tail that may still grow into the word.
    size_t keep = std::min(m_reply.size(), word.size() - 1);
    while (keep > 0 && m_reply.compare(m_reply.size() - keep, keep, word, 0, keep) != 0) --keep;
    m_reply.erase(0, m_reply.size() - keep);
    if (m_reply.empty()) m_timer.Start();  // the probe goes out again after a second
    return;
  }
  m_reply.erase(0, at);
  size_t end = word.size();
  while (end < m_reply.size() && !IsIdentEnd(m_reply[end])) ++end;
  if (end == m_reply.size()) {
    if (m_reply.size() > kIdentLimit) {
      m_reply.clear();
      m_timer.Start();
    }
    return;
  }
  m_reply.clear();
  m_settleRestarts = 0;
  m_settle.Start();
}

void TUploadMachine::Identified() {
  Advance(35);
  if (IsPyxon(m_profile)) {
    m_link.TransferState = transfer::TokenCode;
    SendMemoryByte();
    m_link.LinkSend(std::string(1, kTokenCodeCommand));
    SetStatus(texts::kUpdateBasic);
    SendFront(m_streams.tokenCode);
  } else if (m_profile == profile::TesselMicro && m_streams.machineCode.size() > 1) {
    m_link.TransferState = transfer::MachineCode;
    m_link.LinkSend(std::string(1, kMachineCodeCommand));
    SendFront(m_streams.machineCode);
  } else {
    m_link.TransferState = transfer::ReadBack;
    SetStatus(texts::kBrowsing);
    m_link.LinkSend(std::string(1, kReadBackCommand));
  }
}

void TUploadMachine::ReadBack(const std::string& chunk) {
  m_reply += chunk;
  Advance(static_cast<int32_t>(chunk.size()));
  if (m_reply.size() < static_cast<size_t>(kReadBackSize)) return;
  if (m_reply.size() > static_cast<size_t>(kReadBackSize)) {
    Fail(texts::kTooMuchData);
    return;
  }
  const std::string& code = m_streams.machineCode;
  if (code.size() == 1) {
    m_reply.clear();
    BeginTokenCode(texts::kSendingBasic);
    return;
  }
  if (m_reply.compare(0, code.size() - 1, code, 1) != 0) {
    m_link.TransferState = transfer::MachineCode;
    m_reply.clear();
    m_link.LinkSend(std::string(1, kMachineCodeCommand));
    SendFront(code);
    return;
  }
  Advance(static_cast<int32_t>(code.size()));
  m_reply.clear();
  BeginTokenCode(texts::kSendingBasic);
}

void TUploadMachine::BeginTokenCode(const std::string& statusText) {
  m_link.TransferState = transfer::TokenCode;
  SendMemoryByte();
  m_link.LinkSend(std::string(1, kTokenCodeCommand));
  SetStatus(statusText);
  SendFront(m_streams.tokenCode);
}

void TUploadMachine::MachineCodeEcho(const std::string& chunk) {
  SetStatus(texts::kUpdateBasic);
  std::string& code = m_streams.machineCode;
  if (code.empty() || chunk.size() != 1 || chunk[0] != code[0]) {
    Fail(texts::kAssemblerTransferError);
    return;
  }
  Advance(1);
  code.erase(0, 1);
  if (!code.empty()) {
    SendFront(code);
    return;
  }
  BeginTokenCode(texts::kUpdateBasic);
}

void TUploadMachine::TokenCodeEcho(const std::string& chunk) {
  SetStatus(texts::kSendingBasic);
  std::string& tokens = m_streams.tokenCode;
  // Only the first byte counts; more in the same read is not an echo of ours.
  if (tokens.empty() || chunk[0] != tokens[0]) {
    Fail(texts::kTransferError);
    return;
  }
  Advance(1);
  tokens.erase(0, 1);
  if (!tokens.empty()) {
    SendFront(tokens);
    m_reply.clear();
    return;
  }
  SetStatus(texts::kDone);
  m_link.TransferState = transfer::Idle;
  m_reply.clear();
  m_timer.Stop();
  m_outcome = TUploadOutcome::Transferred;
  m_listener.OnTransferred();
}

void TUploadMachine::SendMemoryByte() {
  if (!IsPyxon(m_profile)) return;
  if (m_selector == 0 || m_selector == 1) m_link.LinkSend("E");
  if (m_selector == 2) m_link.LinkSend("I");
}

void TUploadMachine::SendFront(const std::string& stream) {
  if (!stream.empty()) m_link.LinkSend(stream.substr(0, 1));
}

void TUploadMachine::Poll() {
  if (m_settle.Expired()) {
    m_settle.Stop();
    if (m_link.TransferState == transfer::Identify) Identified();
  }
  if (m_timer.Expired()) TimerRepeaterAndTimeOutTimer();
}

int64_t TUploadMachine::MillisUntilTimer() const {
  const int64_t repeat = m_timer.MillisLeft();
  const int64_t settle = m_settle.MillisLeft();
  if (repeat < 0) return settle;
  if (settle < 0) return repeat;
  return std::min(repeat, settle);
}

// Sending again is safe only where the board takes a second copy as it took the first:
// the probe, and the read-back request before any of its answer came. A repeated code
// byte would be stored twice by a board whose echo was merely late.
bool TUploadMachine::RepeatIsSafe() const {
  if (m_link.TransferState == transfer::Identify) return true;
  return m_link.TransferState == transfer::ReadBack && m_reply.empty();
}

void TUploadMachine::TimerRepeaterAndTimeOutTimer() {
  if (m_link.TransferState == transfer::Idle || !m_link.Connected()) {
    m_timer.Stop();
    return;
  }
  if (m_repeats <= kRepeatLimit) {
    ++m_repeats;
    if (RepeatIsSafe()) {
      const std::string again = m_lastSent;
      m_link.LinkSend(again);
    }
    m_timer.Start();
    return;
  }
  // The transfer is over: a board that wakes up later must not carry on a transfer the
  // user has been told failed.
  Fail(texts::kNoAnswer);
}

void TUploadMachine::Stop() {
  m_timer.Stop();
  m_settle.Stop();
  m_link.TransferState = transfer::Idle;
  m_repeats = 0;
  m_reply.clear();
}

void TUploadMachine::PortLost() {
  if (m_outcome != TUploadOutcome::Running) return;
  Fail(texts::PortLostText(m_link.PortName()));
}

}  // namespace zarvek::link
