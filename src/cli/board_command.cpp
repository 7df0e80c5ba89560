#include "cli/board_command.h"

#include <csignal>
#include <filesystem>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/board_firmware.h"
#include "cli/cli.h"
#include "cli/link_session.h"
#include "link/posix_port.h"
#include "link/tessel_virtual_board.h"
#include "link/virtual_board.h"
#include "base/profile.h"
#include "project/project.h"
#include "simulation/tessel_board.h"

namespace zarvek::cli {

namespace {

// The one thing a signal handler may touch.
volatile std::sig_atomic_t g_stopBoard = 0;

extern "C" void StopBoard(int) { g_stopBoard = 1; }

struct TBoardRequest {
  std::optional<TProfile> profile;
  int32_t baud = 9600;
  bool baudGiven = false;
  link::TPyxonBoardOptions pyxon;
  std::string linkPath;
  bool firmware = false;  // our firmware on the emulated ATmega
  bool bare = false;      // ... with the bootloader only
};

std::optional<std::string> ParseFault(const std::string& value, link::TBoardFaults& f) {
  const size_t eq = value.find('=');
  const std::string name = value.substr(0, eq);
  std::optional<uint64_t> n;
  if (eq != std::string::npos) n = ParseCount(value.substr(eq + 1));
  const auto number = [&](int32_t& field) -> std::optional<std::string> {
    if (!n || *n > 0x7FFFFFFF) return "--fault " + name + " erwartet =N (eine ganze Zahl)";
    field = static_cast<int32_t>(*n);
    return std::nullopt;
  };
  if (name == "silent") f.silent = true;
  else if (name == "split-ident") f.splitIdent = true;
  else if (name == "noise") f.noiseBeforeIdent = true;
  else if (name == "extra") f.extraAfterIdent = true;
  else if (name == "late-echo") return number(f.lateEchoAt);
  else if (name == "wrong-echo") return number(f.wrongEchoAt);
  else if (name == "reject-page") return number(f.rejectPage);
  else if (name == "vanish-after") return number(f.vanishAfter);
  else
    return "unbekannter Fehler \"" + value +
           "\" (silent, late-echo=N, wrong-echo=N, split-ident, noise, extra, reject-page=N, vanish-after=N)";
  return std::nullopt;
}

// Links PATH to the line's device; an existing link is replaced, any other file kept.
bool MakeLink(const std::string& path, const std::string& target, std::ostream& err) {
  struct stat st{};
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      err << path << ": Die Datei gibt es schon und sie ist kein Verweis; sie bleibt unverändert.\n";
      return false;
    }
    ::unlink(path.c_str());
  }
  if (::symlink(target.c_str(), path.c_str()) != 0) {
    err << path << ": Der Verweis auf " << target << " konnte nicht angelegt werden.\n";
    return false;
  }
  return true;
}

}  // namespace

int BoardCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TBoardRequest r;
  std::string unused;
  link::TBoardFaults& faults = r.pyxon.faults;
  const TCommandSyntax syntax{
      "board",
      "--profile atmega-32|atmega-128|tessel-1.1|tessel-micro [--link PFAD] [--eeprom DATEI] [--flash DATEI] [--baud N] [--fault ART[=N]]...\n"
      "       zarvek-cli board --profile atmega-32|atmega-128 --firmware [--bare] [--link PFAD]",
      "",
      {{"--profile", true,
        [&r](const std::string& v) -> std::optional<std::string> {
          r.profile = FindProfileFileValue(v);
          if (!r.profile) return "unbekanntes Profil \"" + v + "\"";
          return std::nullopt;
        }},
       TextOption("--link", r.linkPath), TextOption("--eeprom", r.pyxon.eepromFile),
       TextOption("--flash", r.pyxon.flashFile),
       {"--baud", true,
        [&r](const std::string& v) -> std::optional<std::string> {
          const int32_t baud = link::BaudFromText(v);
          if (baud <= 0) return "--baud erwartet eine Geschwindigkeit in Baud";
          r.baud = baud;
          r.baudGiven = true;
          return std::nullopt;
        }},
       {"--fault", true, [&faults](const std::string& v) { return ParseFault(v, faults); }},
       FlagOption("--firmware", r.firmware), FlagOption("--bare", r.bare)},
      true};
  if (const auto problem = ParseCommandLine(syntax, args, unused)) return UsageError(syntax, err, *problem);
  if (!r.profile) return UsageError(syntax, err, "--profile fehlt");
  const bool tessel = !IsPyxon(*r.profile);
  if (tessel) {
    if (const auto refusal = TesselSimulationRefusal(*r.profile)) return UsageError(syntax, err, *refusal);
    // The Tessel board's rate is what its program writes into the baud register.
    if (r.baudGiven)
      return UsageError(syntax, err, "--baud gilt nur für atmega-32 und atmega-128; ein Tessel-Board stellt "
                                     "seine Geschwindigkeit selbst ein (9600 Baud nach dem Einschalten)");
    if (!r.pyxon.flashFile.empty()) return UsageError(syntax, err, "--flash gilt nur für atmega-32 und atmega-128");
    if (r.firmware || r.bare) return UsageError(syntax, err, "--firmware gilt nur für atmega-32 und atmega-128");
    if (faults.rejectPage >= 0) return UsageError(syntax, err, "--fault reject-page gilt nur für atmega-32 und atmega-128");
  }
  r.pyxon.profile = *r.profile;
  if (r.bare && !r.firmware) return UsageError(syntax, err, "--bare gilt nur mit --firmware");
  if (r.firmware) return RunFirmwareBoard(*r.profile, r.linkPath, r.bare, err);

  link::TPacedLine line;
  std::string error;
  if (!line.Open(r.baud, error)) {
    err << "zarvek-cli board: Das Pseudo-Terminal konnte nicht geöffnet werden (" << error << ").\n";
    return kExitDiagnosed;
  }
  if (!r.linkPath.empty() && !MakeLink(r.linkPath, line.TerminalPath(), err)) return kExitDiagnosed;
  out << (r.linkPath.empty() ? line.TerminalPath() : r.linkPath) << "\n" << std::flush;

  g_stopBoard = 0;
  const auto previousInt = std::signal(SIGINT, StopBoard);
  const auto previousTerm = std::signal(SIGTERM, StopBoard);
  int status = kExitOk;
  if (tessel) {
    link::TTesselVirtualBoard board(line, {*r.profile, faults, r.pyxon.eepromFile}, err);
    if (board.PowerOn()) {
      link::RunVirtualBoard(line, board, [] { return g_stopBoard != 0; });
      board.Save();
    } else {
      status = kExitDiagnosed;
    }
  } else {
    link::TPyxonVirtualBoard board(line, r.pyxon, err);
    board.PowerOn();
    link::RunVirtualBoard(line, board, [] { return g_stopBoard != 0; });
  }
  std::signal(SIGINT, previousInt);
  std::signal(SIGTERM, previousTerm);
  if (!r.linkPath.empty()) ::unlink(r.linkPath.c_str());
  return status;
}

}  // namespace zarvek::cli
