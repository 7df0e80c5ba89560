#include "link/virtual_board.h"

#include <fstream>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <ostream>
#include <sstream>

#include "base/profile.h"
#include "link/board_machine.h"

namespace zarvek::link {

TPyxonVirtualBoard::TPyxonVirtualBoard(TPacedLine& line, TPyxonBoardOptions options, std::ostream& log)
    : m_line(line), m_options(std::move(options)), m_log(log), m_protocol(m_options.profile, m_options.faults) {}

TPyxonVirtualBoard::~TPyxonVirtualBoard() = default;

void TPyxonVirtualBoard::PowerOn() {
  if (m_options.eepromFile.empty()) return;
  std::ifstream in(m_options.eepromFile, std::ios::binary);
  if (!in) return;
  std::ostringstream image;
  image << in.rdbuf();
  if (!image.str().empty()) StartProgram(image.str());
}

void TPyxonVirtualBoard::OnReceived(const std::string& bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    if (!m_protocol.TakesByte(byte, m_machine != nullptr)) {
      m_machine->Receive(std::string(1, c));
      continue;
    }
    const TBoardReaction r = m_protocol.OnByte(byte, m_machine != nullptr);
    if (r.stopProgram) {
      m_machine.reset();
      m_log << "Programm angehalten: Übertragung beginnt.\n" << std::flush;
    }
    for (const TBoardSend& piece : r.send) m_line.Send(piece.bytes, piece.pauseMs);
    if (r.vanish) {
      m_log << "Die Leitung wird getrennt.\n" << std::flush;
      m_line.Close();
      m_gone = true;
      return;
    }
    if (r.programStored) {
      StoreProgram(m_protocol.Program());
      StartProgram(m_protocol.Program());
    }
    if (r.flashWritten) WriteFlash();
  }
}

void TPyxonVirtualBoard::Poll() {
  if (!m_machine) return;
  const std::string out = m_machine->TakeOutput();
  if (!out.empty() && !m_options.faults.silent) m_line.Send(out);
  const std::string error = m_machine->TakeError();
  if (!error.empty()) m_log << error << "\n" << std::flush;
}

void TPyxonVirtualBoard::StartProgram(const std::string& image) {
  TMachineConfig config =
      m_options.profile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
  if (image.size() + 4 > config.programMemorySize) {
    m_log << "Das Programm ist zu groß für den Programmspeicher (" << image.size() << " Bytes).\n" << std::flush;
    return;
  }
  m_machine = std::make_unique<TBoardMachine>(config);
  m_machine->Run(image);
  m_log << "Programm gestartet (" << image.size() << " Bytes).\n" << std::flush;
}

void TPyxonVirtualBoard::StoreProgram(const std::string& image) {
  if (m_options.eepromFile.empty()) return;
  std::ofstream out(m_options.eepromFile, std::ios::binary | std::ios::trunc);
  out.write(image.data(), static_cast<std::streamsize>(image.size()));
  if (!out.flush()) m_log << m_options.eepromFile << ": Das Programm konnte nicht gespeichert werden.\n" << std::flush;
}

void TPyxonVirtualBoard::WriteFlash() {
  m_log << "Flash geschrieben: " << m_protocol.PagesWritten() << " Seiten, " << m_protocol.PagesRejected()
        << " abgewiesen.\n"
        << std::flush;
  if (m_options.flashFile.empty()) return;
  std::ofstream out(m_options.flashFile, std::ios::binary | std::ios::trunc);
  const std::string& flash = m_protocol.Flash();
  out.write(flash.data(), static_cast<std::streamsize>(flash.size()));
  if (!out.flush()) m_log << m_options.flashFile << ": Der Flash-Inhalt konnte nicht gespeichert werden.\n" << std::flush;
}

void RunVirtualBoard(TPacedLine& line, TVirtualBoard& board, const std::function<bool()>& stopRequested) {
#ifdef __linux__
  // The line's timing is in single bit times; the default timer slack of the system
  // would add tens of microseconds to every byte.
  (void)prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  while (!stopRequested() && !board.Gone() && line.IsOpen()) {
    const std::string received = line.Pump(board.PollMicros());
    if (!received.empty()) board.OnReceived(received);
    board.Poll();
  }
}

}  // namespace zarvek::link
