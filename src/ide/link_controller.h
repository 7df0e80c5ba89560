// The IDE's side of the controller link: the one shared link on the Qt serial port, the
// program upload with its window, and the runtime update window. Received data reaches
// the state machines here, on the GUI thread; QTimers let their timers run against the
// injected clock. The main window asks it what its commands may do.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/clock.h"
#include "link/link.h"
#include "link/port_choice.h"
#include "link/upload.h"
#include "workspace/texts.h"

#include <QObject>
#include <QTimer>

class QIcon;
class QWidget;

namespace zarvek {
struct TBuildResult;
}

namespace zarvek::ide {

class TConsoleWindow;
class TUploadWin;
class TBootloaderWin;

class TLinkController final : public QObject {
  Q_OBJECT
 public:
  // `owner` is the main window: the upload window is centred on it, the update locks it.
  // `console` is the console's model: what arrives outside a transfer goes there, and its
  // typed keys go to the link while it is open.
  TLinkController(QWidget* owner, link::TPortFactory factory, const link::TClock& clock, TConsoleModel& console);
  ~TLinkController() override;

  link::TLink& Link() { return m_link; }
  // The console's link side: the port and speed the link opens with.
  link::TPortChoice& Ports() { return m_ports; }
  // Verbinden / Verbindung trennen: the console's connect command, after which the
  // commands and the console button's picture follow the link.
  void ButtonConnectClick();
  // The port and speed the link opens with next (the settings' choice at start).
  void ChoosePort(const std::string& port, const std::string& baud);
  // The console window's link side: its port list (editable, so that a typed path such
  // as a pseudo-terminal works), its speeds and Verbinden.
  void AttachConsole(TConsoleWindow& window);
  // The console button's picture: a plug, joined and green while the link is open.
  static QIcon ConsoleButtonPicture(bool connected);
  TUploadWin* UploadWin() const { return m_uploadWin.get(); }
  TBootloaderWin* BootloaderWin() const { return m_bootloaderWin.get(); }
  const link::TUploadMachine& Upload() const { return m_upload; }

  // Steps 5 on of the transfer command, after a successful build: the streams, the
  // link, the window and the first probe. False when nothing was started (the reason
  // has been shown).
  bool StartTransfer(const TBuildResult& build, TProfile profile);
  // The stop command's part for a transfer: the window goes, the link closes when the
  // transfer opened it.
  void ButtonStopClick();
  bool TransferRunning() const { return m_transferRunning; }
  bool UpdateRunning() const;
  // The update window, not modal.
  void ButtonBootloaderClick();

  // Whether the transfer, update and stop commands may be used now.
  bool TransferEnabled() const { return !m_transferRunning && !UpdateRunning(); }
  bool BootloaderEnabled() const { return !m_transferRunning && !UpdateRunning(); }
  bool StopEnabled() const { return m_transferRunning; }

  // The main window's hooks.
  std::function<void(const workspace::TMessage&)> inform;
  // Answers a question in place of a message box (tests); nothing: the asking window
  // shows its own box.
  std::function<std::optional<workspace::TAnswer>(const workspace::TMessage&)> ask;
  // The main status line; an empty text clears the status texts and the error display.
  std::function<void(const std::string&)> setStatusLine;
  std::function<void()> commandStatesChanged;
  std::function<TProfile()> profile;

 private:
  void ReceiveCallBack(const std::string& data);
  void ScheduleRepeat();
  void Changed();
  void SyncConsole();

  QWidget* m_owner;
  const link::TClock& m_clock;
  link::TLink m_link;
  TConsoleModel& m_console;
  link::TPortChoice m_ports{m_link, m_console};
  std::unique_ptr<TUploadWin> m_uploadWin;
  link::TUploadMachine m_upload;
  std::unique_ptr<TBootloaderWin> m_bootloaderWin;
  TConsoleWindow* m_consoleWindow = nullptr;
  QTimer m_repeat;  // TimerRepeaterAndTimeOut, run against the clock
  bool m_transferRunning = false;
  bool m_linkWasOpen = false;
};

}  // namespace zarvek::ide
