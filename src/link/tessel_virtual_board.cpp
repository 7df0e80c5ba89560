#include "link/tessel_virtual_board.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "base/profile.h"
#include "hc05/engine_messages.h"
#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"
#include "simulation/tessel_board.h"
#include "tessel/tessel_image.h"

namespace zarvek::link {

namespace {

constexpr uint8_t kProbe = 0x01, kTokenCode = 0x02, kMachineCode = 0x08;
constexpr uint8_t kMiscSlowClock = 0x02;
constexpr uint8_t kSciOn = hc05::reg::kSciTe | hc05::reg::kSciRe;
// The rate the system sets after reset: 9600 baud at 4 MHz.
constexpr uint8_t kResetBaudRegister = 0xC0;
// The board's crystal; the bus runs at half of it.
constexpr double kBusCyclesPerMicro = kTesselDefaultClockKHz / 2000.0;
// After a stall (a busy machine), the controller does not try to catch up more than this.
constexpr int64_t kMaxRunMicros = 20'000;
// Memories are written once they have rested this long, so an upload is written once.
constexpr int64_t kSaveAfterMicros = 300'000;
constexpr int64_t kCheckEveryMicros = 50'000;
// A stream byte this long after the last echo means the host gave the transfer up.
constexpr int64_t kAbandonedMicros = 1'500'000;
// Received bytes the SCI has not taken yet; beyond this they are lost.
constexpr size_t kMaxWaitingBytes = 256;

tessel::TTesselVariant VariantOf(TProfile profile) {
  return profile == profile::TesselMicro ? tessel::TTesselVariant::Micro : tessel::TTesselVariant::Tessel11;
}

}  // namespace

TTesselVirtualBoard::TTesselVirtualBoard(TPacedLine& line, TTesselBoardOptions options, std::ostream& log)
    : m_line(line), m_options(std::move(options)), m_log(log), m_engine(std::make_unique<hc05::TMotorolaEngine>()) {
  const tessel::TTesselVariant variant = VariantOf(m_options.profile);
  m_engine->SetRuntimeImage(tessel::RuntimeImage(variant));
  m_engine->SetUserCodeProgramming(true);
  m_engine->Eeprom().SetSize(static_cast<uint32_t>(kTesselEepromBytes));
  m_resetAddress = tessel::Symbol(variant, "RESET").value_or(0);
  m_bootAddress = tessel::Symbol(variant, "BOOT").value_or(0);
  m_idleAddress = tessel::Symbol(variant, "IDLE").value_or(0);
  m_serviceAddress = tessel::Symbol(variant, "UPLOAD").value_or(0);
}

TTesselVirtualBoard::~TTesselVirtualBoard() = default;

std::string TTesselVirtualBoard::Memories() const {
  std::string bytes(kTesselMemoryFileSize, '\0');
  const auto& eeprom = m_engine->Eeprom().Bytes();
  std::copy_n(eeprom.begin(), kTesselEepromBytes, bytes.begin());
  const auto& memory = m_engine->Memory();
  std::copy_n(memory.begin() + hc05::reg::kUserCodeFirst, kTesselUserCodeBytes, bytes.begin() + kTesselEepromBytes);
  return bytes;
}

bool TTesselVirtualBoard::PowerOn() {
  if (!m_options.eepromFile.empty()) {
    std::ifstream in(m_options.eepromFile, std::ios::binary);
    std::ostringstream content;
    if (in) content << in.rdbuf();
    const std::string& kept = content.str();
    if (!kept.empty() && kept.size() != kTesselMemoryFileSize) {
      m_log << m_options.eepromFile << ": Die Datei ist kein Speicherabbild eines Tessel-Boards (" << kept.size()
            << " Bytes statt " << kTesselMemoryFileSize << "); sie bleibt unverändert.\n"
            << std::flush;
      return false;
    }
    if (!kept.empty()) {
      std::copy_n(kept.begin(), kTesselEepromBytes, m_engine->Eeprom().Bytes().begin());
      std::copy_n(kept.begin() + kTesselEepromBytes, kTesselUserCodeBytes,
                  m_engine->Memory().begin() + hc05::reg::kUserCodeFirst);
    }
  }
  m_saved = Memories();
  m_engine->Reset(true);
  m_starting = true;
  m_held.clear();
  m_lastRun = TPacedLine::NowMicros();
  UpdateLineRate(kResetBaudRegister);
  return true;
}

void TTesselVirtualBoard::Save() {
  m_changedAt = -1;
  const std::string now = Memories();
  if (now == m_saved || m_options.eepromFile.empty()) {
    m_saved = now;
    return;
  }
  // A new file beside the old one, then renamed over it: a board stopped halfway through
  // writing never leaves a damaged file behind.
  const std::string temporary = m_options.eepromFile + ".neu";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(now.data(), static_cast<std::streamsize>(now.size()));
    if (!out.flush()) {
      m_log << m_options.eepromFile << ": Der Speicher konnte nicht gesichert werden.\n" << std::flush;
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      return;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, m_options.eepromFile, ec);
  if (ec) {
    m_log << m_options.eepromFile << ": Der Speicher konnte nicht gesichert werden (" << ec.message() << ").\n"
          << std::flush;
    std::filesystem::remove(temporary, ec);
    return;
  }
  m_saved = now;
}

void TTesselVirtualBoard::OnReceived(const std::string& bytes) {
  // Everything before these bytes happened while they were on the line.
  Run();
  const int64_t now = TPacedLine::NowMicros();
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    // The host sends each stream byte as soon as the last echo came and never repeats
    // one: a stream that stalled was given up, and the system would wait for its rest
    // forever, taking the next upload's probes for data.
    const bool abandoned =
        m_stream != TStream::None && now - std::max(m_lastHostByte, m_lastEchoAt) > kAbandonedMicros;
    m_lastHostByte = now;
    if (byte == kProbe && abandoned) {
      ResetIntoService();
      m_log << "Abgebrochene Übertragung: das Board startet neu.\n" << std::flush;
    } else if (byte == kProbe && !m_serving && m_stream == TStream::None && (!m_starting || m_halted)) {
      // A running program would never answer the probe: the board restarts into the
      // upload service, as the reset of a real board with its upload jumper set. While
      // the system still starts, the probe waits with the bytes before it: they may be
      // a transfer the service is about to read.
      ResetIntoService();
      m_log << "Programm angehalten: Übertragung beginnt.\n" << std::flush;
    }
    if (m_serving) FollowHostByte(byte);
    else if (m_starting && m_held.size() < kMaxWaitingBytes) m_held.push_back(c);
    if (m_gone) return;
    // A controller that does not read its SCI loses what keeps coming, as on a wire.
    std::string& waiting = m_engine->Environment().receiveText;
    if (waiting.size() < kMaxWaitingBytes) waiting.push_back(c);
  }
}

void TTesselVirtualBoard::ResetIntoService() {
  m_engine->Reset(false);
  m_enterService = true;
  m_starting = true;
  m_held.clear();  // the reset empties the receiver too
  m_halted = false;
  m_serving = false;
  m_stream = TStream::None;
  m_echoes.clear();
  m_identPending = false;
  m_ident.clear();
}

void TTesselVirtualBoard::FollowHeldBytes() {
  const std::string held = std::move(m_held);
  m_held.clear();
  for (const char c : held) {
    FollowHostByte(static_cast<uint8_t>(c));
    if (m_gone) return;
  }
}

void TTesselVirtualBoard::FollowHostByte(uint8_t byte) {
  switch (m_stream) {
    case TStream::None:
      if (byte == kProbe) {
        m_identPending = true;
        m_ident.clear();
        if (m_options.faults.noiseBeforeIdent) Output("Messwert: 17\r\nMesswert: 18\r\n");
      } else if (byte == kMachineCode || byte == kTokenCode) {
        m_stream = byte == kMachineCode ? TStream::Code : TStream::Token;
        m_streamIndex = 0;
        m_streamLength = byte == kMachineCode ? 1 : 2;
      }
      return;
    case TStream::Code:
    case TStream::Token: break;
  }
  const int32_t index = m_streamIndex++;
  if (m_stream == TStream::Code && index == 0) m_streamLength = 1 + byte;
  if (m_stream == TStream::Token && index == 0) m_streamLength = 2 + byte * 256;
  if (m_stream == TStream::Token && index == 1) m_streamLength += byte;
  m_echoes.push_back(index);
  if (m_streamIndex >= m_streamLength) m_stream = TStream::None;
  ++m_streamBytes;
  if (m_options.faults.vanishAfter >= 0 && m_streamBytes > m_options.faults.vanishAfter) {
    m_log << "Die Leitung wird getrennt.\n" << std::flush;
    m_line.Close();
    m_gone = true;
  }
}

void TTesselVirtualBoard::Poll() {
  if (m_gone) return;
  Run();
  const int64_t now = TPacedLine::NowMicros();
  if (now - m_lastCheck >= kCheckEveryMicros) {
    m_lastCheck = now;
    if (m_changedAt < 0) {
      if (Memories() != m_saved) m_changedAt = now;
    } else if (now - m_changedAt >= kSaveAfterMicros) {
      Save();
    }
  }
}

void TTesselVirtualBoard::UpdateLineRate(uint8_t baudRegister) {
  m_baudRegister = baudRegister;
  const double baud = SerialRatesFromBaudRegister(m_baudRegister, kTesselDefaultClockKHz).transmit;
  if (baud <= 0) return;
  m_byteMicros = 10'000'000.0 / baud;
  m_line.SetRate(baud);
}

void TTesselVirtualBoard::Run() {
  const int64_t now = TPacedLine::NowMicros();
  const int64_t elapsed = std::clamp<int64_t>(now - m_lastRun, 0, kMaxRunMicros);
  m_lastRun = now;
  hc05::TMotorolaEngine& e = *m_engine;
  const bool slow = e.Memory()[hc05::reg::kMisc] & kMiscSlowClock;
  e.Environment().clockKHz = slow ? kTesselDefaultClockKHz / 16 : kTesselDefaultClockKHz;
  m_cycleCredit += static_cast<double>(elapsed) * kBusCyclesPerMicro / (slow ? 16 : 1);
  // The transmitter moves one byte per byte time; unused byte times are saved up for a
  // few bytes only, for a loop that ran late.
  m_transmitCredit = std::min(m_transmitCredit + static_cast<double>(elapsed) / m_byteMicros, 4.0);
  hc05::TSerialBudget budget{static_cast<int>(e.Environment().receiveText.size()),
                             static_cast<int>(m_transmitCredit)};
  const int transmitBefore = budget.transmit;
  while (m_cycleCredit > 0 && !m_halted) {
    const uint16_t pc = e.Cpu().pc;
    if (pc == m_resetAddress) {
      // Restarting (also the jump after an upload): where the host's next bytes go is
      // open until the system reaches the upload service or the program.
      m_serving = false;
      m_starting = true;
    } else if (pc == m_bootAddress && m_enterService) {
      e.Cpu().pc = m_idleAddress;
      m_enterService = false;
    } else if (pc == m_serviceAddress) {
      m_serving = true;
      if (m_starting) {
        // Bytes that came while it started are the commands it reads first.
        m_starting = false;
        FollowHeldBytes();
        if (m_gone) break;
      }
    } else if (pc == tessel::kTokenFetchAddress) {
      // The program reads the line now; bytes held back are its input.
      m_serving = false;
      m_starting = false;
      m_held.clear();
    }
    m_cycleCredit -= e.RunStep(budget);
    if (e.ErrorState() != hc05::kEngineOk) {
      m_halted = true;
      m_log << "Der Controller ist stehen geblieben: " << hc05::EngineErrorMessage(e.ErrorState()) << "\n"
            << std::flush;
    }
    // The rate counts once the program has the SCI on (the system sets the rate first).
    if (e.Memory()[hc05::reg::kSciBaud] != m_baudRegister && (e.Memory()[hc05::reg::kSciControl2] & kSciOn)) {
      UpdateLineRate(e.Memory()[hc05::reg::kSciBaud]);
      m_log << "Die Leitung läuft jetzt mit " << std::lround(10'000'000.0 / m_byteMicros) << " Baud.\n" << std::flush;
    }
  }
  if (m_halted) m_cycleCredit = 0;
  m_transmitCredit -= transmitBefore - budget.transmit;
  std::string& sent = e.Environment().transmitText;
  if (!sent.empty()) {
    const std::string bytes = std::move(sent);
    sent.clear();
    Output(bytes);
  }
}

void TTesselVirtualBoard::Output(const std::string& bytes) {
  const TBoardFaults& f = m_options.faults;
  if (f.silent) return;
  for (const char c : bytes) {
    if (m_identPending) {
      // Split, the identification goes out in pieces once it is complete.
      if (f.splitIdent) m_ident.push_back(c);
      else m_line.Send(std::string(1, c));
      if (c == '\r') EndIdent();
      continue;
    }
    if (m_echoes.empty()) {
      m_line.Send(std::string(1, c));
      continue;
    }
    const int32_t index = m_echoes.front();
    m_echoes.pop_front();
    const char echo = index == f.wrongEchoAt ? static_cast<char>(c ^ 0xFF) : c;
    const int64_t pauseMs = index == f.lateEchoAt ? f.lateEchoMs : 0;
    m_line.Send(std::string(1, echo), pauseMs);
    m_lastEchoAt = TPacedLine::NowMicros() + pauseMs * 1000;
  }
}

void TTesselVirtualBoard::EndIdent() {
  m_identPending = false;
  const std::string ident = std::move(m_ident);
  m_ident.clear();
  if (m_options.faults.splitIdent) {
    m_line.Send(ident.substr(0, 3));
    if (ident.size() > 3) m_line.Send(ident.substr(3, 5), 40);
    if (ident.size() > 8) m_line.Send(ident.substr(8), 40);
  }
  if (m_options.faults.extraAfterIdent) m_line.Send("\nbereit> ");
}

}  // namespace zarvek::link
