// What upload, flash and console share: the --port and --baud options, opening the
// link with a clear message when the port cannot be used, and status texts on stderr.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/cli_args.h"
#include "link/link.h"

namespace zarvek::cli {

struct TPortChoice {
  std::string port;
  std::string baud = "9600";  // a number, or "Auto" for the speed the device has
};

TOption PortOption(TPortChoice& choice);
TOption BaudOption(TPortChoice& choice);

// A link over the system's serial devices.
link::TLink MakeSystemLink();

// Opens the link; on failure prints the busy-or-missing text with the system's reason
// and, on Linux, the hint about access rights.
bool OpenLink(link::TLink& link, const TPortChoice& choice, std::ostream& err);

// Prints each new status text once, with the line ends of the terminal.
class TStatusPrinter {
 public:
  explicit TStatusPrinter(std::ostream& err) : m_err(err) {}
  void Print(const std::string& text);

 private:
  std::ostream& m_err;
  std::string m_last;
};

}  // namespace zarvek::cli
