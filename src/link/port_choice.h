// The console's link side: which port and speed the shared link opens with, and the
// connect command (Verbinden / Verbindung trennen). It keeps the console model told about
// the link, writes the connect message into it, and sends the console's typed keys over
// the link. Changing the port or the speed while connected reconnects at once.
#pragma once

#include <string>
#include <vector>

#include "link/link.h"
#include "simulation/console_model.h"

namespace zarvek::link {

// The speed list: "Auto", then the rates from 9600 to 115200.
std::vector<std::string> BaudList();
// The serial ports the system offers; on Windows COM1 to COM12.
std::vector<std::string> SystemPortList();

class TPortChoice {
 public:
  TPortChoice(TLink& link, TConsoleModel& console);
  ~TPortChoice();
  TPortChoice(const TPortChoice&) = delete;
  TPortChoice& operator=(const TPortChoice&) = delete;

  // Opens or closes the link; the caption follows it.
  void ButtonConnectClick();
  std::string ConnectCaption() const;
  // The port and speed lists may be changed only while the link is closed.
  bool ListsEnabled() const { return !m_link.Connected(); }
  void ComPortListChange(const std::string& port);
  void BaudListChange(const std::string& baud);
  const std::string& PortText() const { return m_port; }
  const std::string& BaudText() const { return m_baud; }
  // Tells the console whether the link is open, after the link changed by other ways (a
  // transfer's end, a port that went away).
  void ShowLinkState();

 private:
  void Reconnect();

  TLink& m_link;
  TConsoleModel& m_console;
  std::string m_port = "COM1";
  std::string m_baud = "9600";
};

}  // namespace zarvek::link
