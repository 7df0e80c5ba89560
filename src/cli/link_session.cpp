#include "cli/link_session.h"

#include <ostream>

#include "link/link_texts.h"
#include "link/posix_port.h"

namespace zarvek::cli {

TOption PortOption(TPortChoice& choice) { return TextOption("--port", choice.port); }

TOption BaudOption(TPortChoice& choice) {
  return {"--baud", true, [&choice](const std::string& value) -> std::optional<std::string> {
            if (value != "Auto" && (link::BaudFromText(value) <= 0 || link::SpeedConstant(link::BaudFromText(value)) == 0))
              return "--baud erwartet eine Geschwindigkeit wie 9600, 19200, 38400, 57600, 115200 oder Auto";
            choice.baud = value;
            return std::nullopt;
          }};
}

link::TLink MakeSystemLink() {
  return link::TLink([] { return std::make_unique<link::TPosixPort>(); });
}

bool OpenLink(link::TLink& link, const TPortChoice& choice, std::ostream& err) {
  if (link.LinkOpen(choice.port, choice.baud)) return true;
  err << link::texts::PortOpenFailureText(choice.port, link.OpenError()) << "\n";
  return false;
}

void TStatusPrinter::Print(const std::string& text) {
  if (text == m_last) return;
  m_last = text;
  std::string shown;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r') {
      if (k + 1 < text.size() && text[k + 1] == '\n') continue;
      shown.push_back('\n');
      continue;
    }
    shown.push_back(text[k]);
  }
  m_err << shown << "\n" << std::flush;
}

}  // namespace zarvek::cli
