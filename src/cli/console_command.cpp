#include "cli/console_command.h"

#include <cerrno>
#include <chrono>
#include <ostream>
#include <poll.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/link_session.h"
#include "link/link_texts.h"

namespace zarvek::cli {

namespace {

struct TConsoleRequest {
  TPortChoice port;
  double lingerSeconds = 1.0;
};

int64_t NowMillis() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Reads what stdin has now without waiting; false at its end.
bool ReadStdin(std::string& data) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return true;
  char buffer[1024];
  const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (n < 0) return errno == EINTR || errno == EAGAIN;
  if (n == 0) return false;
  data.append(buffer, static_cast<size_t>(n));
  return true;
}

}  // namespace

int ConsoleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TConsoleRequest r;
  std::string unused;
  const TCommandSyntax syntax{"console",
                              "--port PFAD [--baud N] [--linger SEKUNDEN]",
                              "",
                              {PortOption(r.port), BaudOption(r.port),
                               {"--linger", true, [&r](const std::string& v) -> std::optional<std::string> {
                                  const auto s = ParseSeconds(v);
                                  if (!s) return "--linger erwartet Sekunden (eine Zahl ab 0)";
                                  r.lingerSeconds = *s;
                                  return std::nullopt;
                                }}},
                              true};
  if (const auto problem = ParseCommandLine(syntax, args, unused)) return UsageError(syntax, err, *problem);
  if (r.port.port.empty()) return UsageError(syntax, err, "--port fehlt");

  link::TLink link = MakeSystemLink();
  if (!OpenLink(link, r.port, err)) return kExitDiagnosed;
  err << link::texts::kConnected << std::flush;
  link.receiveHandler = [&out](const std::string& data) {
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.flush();
  };
  std::string lost;
  link.onLost = [&lost](const std::string& why) { lost = why; };
  // Enter on a terminal gives LF; the board's programs take CR as the end of a line, as
  // the console window sends it.
  const bool typing = isatty(STDIN_FILENO) != 0;
  bool inputOpen = true;
  int64_t endAt = 0;
  while (link.Connected() && out) {
    if (inputOpen) {
      std::string typed;
      inputOpen = ReadStdin(typed);
      if (typing)
        for (char& c : typed)
          if (c == '\n') c = '\r';
      if (!typed.empty()) link.LinkSend(typed);
      if (!inputOpen) endAt = NowMillis() + static_cast<int64_t>(r.lingerSeconds * 1000);
    } else if (NowMillis() >= endAt) {
      break;
    }
    link.Pump(20);
  }
  if (!lost.empty()) {
    err << link::texts::PortLostText(r.port.port) << " (" << lost << ")\n";
    return kExitDiagnosed;
  }
  link.LinkClose();
  return kExitOk;
}

}  // namespace zarvek::cli
