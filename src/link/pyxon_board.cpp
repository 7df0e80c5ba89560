#include "link/pyxon_board.h"

#include "base/profile.h"
#include "link/bootloader.h"

namespace zarvek::link {

namespace {

constexpr uint8_t kProbe = 0x01;
constexpr uint8_t kTokenCode = 0x02;

std::string IdentText(TProfile profile) {
  return profile == profile::Pyxon128 ? "Zarvek Pyxon 128\r" : "Zarvek Pyxon 32\r";
}

}  // namespace

TPyxonBoardProtocol::TPyxonBoardProtocol(TProfile profile, TBoardFaults faults)
    : m_profile(profile), m_faults(faults), m_geometry(PageGeometry(profile)) {
  m_flash.assign(static_cast<size_t>(m_geometry.pageSize) * m_geometry.pageCount, '\xFF');
}

bool TPyxonBoardProtocol::TakesByte(uint8_t byte, bool programRunning) const {
  if (m_mode != TMode::Runtime) return true;
  // A running program gets everything but the probe, which a runtime always answers.
  if (programRunning) return byte == kProbe;
  return true;
}

TBoardReaction TPyxonBoardProtocol::OnByte(uint8_t byte, bool programRunning) {
  TBoardReaction r;
  switch (m_mode) {
    case TMode::Runtime:
      if (byte == kProbe) {
        r.stopProgram = programRunning;
        Identify(r);
      } else if (byte == 'B' && !programRunning) {
        m_mode = TMode::BootPrompt;
        r.send.push_back({0, "\r\nBootloader>"});
      }
      break;
    case TMode::AwaitCommand:
      if (byte == 'E' || byte == 'I') {
        m_memory = static_cast<char>(byte);
      } else if (byte == kTokenCode) {
        m_mode = TMode::Upload;
        m_stream.clear();
        m_uploadBytes = 0;
      } else if (byte == kProbe) {
        Identify(r);
      } else {
        m_mode = TMode::Runtime;
      }
      break;
    case TMode::Upload: UploadByte(byte, r); break;
    case TMode::BootPrompt:
      if (byte == '<') {
        m_mode = TMode::BootPackets;
        m_packet.clear();
        r.send.push_back({0, ">" + BootloaderIdent(m_profile)});
      }
      break;
    case TMode::BootPackets: PacketByte(byte, r); break;
  }
  if (m_faults.silent) r.send.clear();
  return r;
}

void TPyxonBoardProtocol::Identify(TBoardReaction& r) {
  m_mode = TMode::AwaitCommand;
  const std::string ident = IdentText(m_profile);
  if (m_faults.noiseBeforeIdent) r.send.push_back({0, "Messwert: 17\r\nMesswert: 18\r\n"});
  if (m_faults.splitIdent) {
    r.send.push_back({0, ident.substr(0, 3)});
    r.send.push_back({40, ident.substr(3, 5)});
    r.send.push_back({40, ident.substr(8)});
  } else {
    r.send.push_back({0, ident});
  }
  if (m_faults.extraAfterIdent) r.send.push_back({0, "\nbereit> "});
}

void TPyxonBoardProtocol::UploadByte(uint8_t byte, TBoardReaction& r) {
  const int32_t index = m_uploadBytes++;
  m_stream.push_back(static_cast<char>(byte));
  if (m_faults.vanishAfter >= 0 && m_uploadBytes > m_faults.vanishAfter) {
    r.vanish = true;
    return;
  }
  std::string echo(1, static_cast<char>(byte));
  if (index == m_faults.wrongEchoAt) echo[0] = static_cast<char>(byte ^ 0xFF);
  r.send.push_back({index == m_faults.lateEchoAt ? m_faults.lateEchoMs : 0, echo});
  if (m_stream.size() < 2) return;
  const size_t length = static_cast<size_t>(static_cast<uint8_t>(m_stream[0])) * 256 + static_cast<uint8_t>(m_stream[1]);
  if (m_stream.size() < 2 + length) return;
  m_program = m_stream.substr(2);
  m_mode = TMode::Runtime;
  r.programStored = true;
}

void TPyxonBoardProtocol::PacketByte(uint8_t byte, TBoardReaction& r) {
  m_packet.push_back(static_cast<char>(byte));
  const bool end = m_packet.size() >= 2 && static_cast<uint8_t>(m_packet[0]) == 0xFF &&
                   static_cast<uint8_t>(m_packet[1]) == 0xFF;
  const size_t size = end ? 259 : static_cast<size_t>(m_geometry.pageSize) + 3;
  if (m_packet.size() < size) return;
  if (end) {
    m_mode = TMode::Runtime;
    m_packet.clear();
    r.flashWritten = true;
    return;
  }
  const int32_t page = static_cast<uint8_t>(m_packet[0]) * 256 + static_cast<uint8_t>(m_packet[1]);
  uint8_t sum = 0;
  for (int32_t k = 0; k < m_geometry.pageSize; ++k) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(m_packet[2 + k]));
  const bool faultReject = page == m_faults.rejectPage && !m_rejectedOnce;
  if (faultReject) m_rejectedOnce = true;
  if (page >= m_geometry.pageCount || sum != static_cast<uint8_t>(m_packet.back()) || faultReject) {
    ++m_pagesRejected;
    r.send.push_back({0, "?"});
  } else {
    m_flash.replace(static_cast<size_t>(page) * m_geometry.pageSize, static_cast<size_t>(m_geometry.pageSize),
                    m_packet, 2, static_cast<size_t>(m_geometry.pageSize));
    ++m_pagesWritten;
    r.send.push_back({0, "!"});
  }
  m_packet.clear();
}

}  // namespace zarvek::link
