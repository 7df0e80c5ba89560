// TBootloaderWin: the runtime update of the ATmega boards. The user picks an Intel HEX
// file and starts; the window drives the bootloader state machine over the shared link,
// shows its texts and progress, and locks the rest of the program while it runs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "link/bootloader.h"
#include "workspace/texts.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zarvek::ide {

class TBootloaderWin final : public QWidget, public link::TBootloaderListener {
  Q_OBJECT
 public:
  TBootloaderWin(link::TLink& link, const link::TClock& clock);

  // Where the update goes: the profile and the port and speed chosen for the link.
  std::function<TProfile()> profile;
  std::function<std::string()> portName;
  std::function<std::string()> speedText;
  // Locks (true) or frees the rest of the program.
  std::function<void(bool)> lockProgram;
  // Answers the stop warning in place of the message box (tests).
  std::function<std::optional<workspace::TAnswer>(const workspace::TMessage&)> ask;
  // The open dialog (starting folder); empty when cancelled.
  std::function<std::optional<std::string>(const std::string& folder)> openDialog;
  // The update started or ended, or the link opened or closed (the owner's command
  // states and the console).
  std::function<void()> onStateChanged;

  void FormShow();
  void ButtonOpenClick();
  void ButtonUpdateClick();
  bool Running() const { return m_machine.State() != link::update::Idle; }
  const link::TBootloaderMachine& Machine() const { return m_machine; }

  QLineEdit* EditOSFile() const { return m_file; }
  QPushButton* ButtonOpen() const { return m_open; }
  QPushButton* ButtonUpdate() const { return m_update; }
  QLabel* StatusText() const { return m_status; }
  QProgressBar* ProgressBar() const { return m_progress; }

  // TBootloaderListener
  void OnStatus(const std::string& text) override;
  void OnProgress(int32_t position) override;
  // The port went away during the update.
  void PortLost();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Lock(bool locked);
  void AfterStep();

  link::TLink& m_link;
  link::TBootloaderMachine m_machine;
  QLineEdit* m_file = nullptr;
  QPushButton* m_open = nullptr;
  QPushButton* m_update = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;
  QTimer m_timeout;  // runs the machine's reply timeout
  bool m_locked = false;
  bool m_changingFlags = false;
  bool m_reportedRunning = false;
  bool m_reportedConnected = false;
};

}  // namespace zarvek::ide
