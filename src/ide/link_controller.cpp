#include "ide/link_controller.h"

#include "ide/bootloader_window.h"
#include "ide/console_window.h"
#include "ide/upload_window.h"
#include "link/link_texts.h"
#include "pipeline/build.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace zarvek::ide {

TLinkController::TLinkController(QWidget* owner, link::TPortFactory factory, const link::TClock& clock,
                                 TConsoleModel& console)
    : m_owner(owner),
      m_clock(clock),
      m_link(std::move(factory)),
      m_console(console),
      m_uploadWin(std::make_unique<TUploadWin>()),
      m_upload(m_link, clock, *m_uploadWin),
      m_bootloaderWin(std::make_unique<TBootloaderWin>(m_link, clock)) {
  m_link.receiveHandler = [this](const std::string& data) { ReceiveCallBack(data); };
  m_link.onLost = [this](const std::string&) {
    if (m_transferRunning) {
      m_upload.PortLost();
      m_repeat.stop();
    }
    if (m_bootloaderWin->Running()) m_bootloaderWin->PortLost();
    Changed();
  };
  m_uploadWin->onTransferred = [this] {
    if (setStatusLine) setStatusLine(link::texts::kProjectTransferred);
    // This runs inside the port's receive call; closing the port there would pull it away
    // under its own feet, so the stop comes right after.
    QTimer::singleShot(0, this, [this] { ButtonStopClick(); });
  };
  m_repeat.setSingleShot(true);
  connect(&m_repeat, &QTimer::timeout, this, [this] {
    m_upload.Poll();
    ScheduleRepeat();
  });

  m_bootloaderWin->profile = [this] { return profile ? profile() : TProfile::Tessel11; };
  m_bootloaderWin->portName = [this] { return m_ports.PortText(); };
  m_bootloaderWin->speedText = [this] { return m_ports.BaudText(); };
  m_bootloaderWin->ask = [this](const workspace::TMessage& m) {
    return ask ? ask(m) : std::optional<workspace::TAnswer>();
  };
  m_bootloaderWin->lockProgram = [this](bool locked) {
    if (m_owner) m_owner->setEnabled(!locked);
  };
  m_bootloaderWin->onStateChanged = [this] { Changed(); };
}

TLinkController::~TLinkController() {
  m_repeat.stop();
  m_link.receiveHandler = nullptr;
  m_link.onLost = nullptr;
  m_link.LinkClose();
}

void TLinkController::ButtonConnectClick() {
  m_ports.ButtonConnectClick();
  Changed();
}

void TLinkController::ChoosePort(const std::string& port, const std::string& baud) {
  m_ports.ComPortListChange(port);
  m_ports.BaudListChange(baud);
  SyncConsole();
}

void TLinkController::AttachConsole(TConsoleWindow& window) {
  m_consoleWindow = &window;
  QComboBox* ports = window.PortList();
  ports->setEditable(true);
  // Room for a device path such as /dev/ttyUSB0 or /dev/pts/12.
  ports->setMinimumContentsLength(16);
  ports->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  for (const std::string& port : link::SystemPortList()) ports->addItem(ui::FromUtf8(port));
  ports->setToolTip(QStringLiteral("Serieller Port, auch ein eingegebener Pfad wie /dev/pts/3"));
  QComboBox* speeds = window.SpeedList();
  for (const std::string& speed : link::BaudList()) speeds->addItem(ui::FromUtf8(speed));
  connect(ports, &QComboBox::activated, this, [this, ports](int) {
    m_ports.ComPortListChange(ui::ToUtf8(ports->currentText().trimmed()));
    Changed();
  });
  connect(ports->lineEdit(), &QLineEdit::editingFinished, this, [this, ports] {
    const std::string typed = ui::ToUtf8(ports->currentText().trimmed());
    if (typed == m_ports.PortText()) return;
    m_ports.ComPortListChange(typed);
    Changed();
  });
  connect(speeds, &QComboBox::textActivated, this, [this](const QString& speed) {
    m_ports.BaudListChange(ui::ToUtf8(speed));
    Changed();
  });
  connect(window.ConnectButton(), &QPushButton::clicked, this, [this, ports] {
    // A path typed but not yet confirmed counts.
    const std::string typed = ui::ToUtf8(ports->currentText().trimmed());
    if (!m_link.Connected() && typed != m_ports.PortText()) m_ports.ComPortListChange(typed);
    ButtonConnectClick();
  });
  SyncConsole();
}

void TLinkController::SyncConsole() {
  m_ports.ShowLinkState();
  if (!m_consoleWindow) return;
  const bool open = m_link.Connected();
  const bool free = m_ports.ListsEnabled() && !m_transferRunning && !UpdateRunning();
  QComboBox* ports = m_consoleWindow->PortList();
  QComboBox* speeds = m_consoleWindow->SpeedList();
  if (ports->currentText() != ui::FromUtf8(m_ports.PortText()) && !ports->hasFocus())
    ports->setCurrentText(ui::FromUtf8(m_ports.PortText()));
  if (speeds->currentText() != ui::FromUtf8(m_ports.BaudText())) {
    const int index = speeds->findText(ui::FromUtf8(m_ports.BaudText()));
    if (index >= 0) speeds->setCurrentIndex(index);
  }
  ports->setEnabled(!open);
  speeds->setEnabled(!open);
  m_consoleWindow->ConnectButton()->setText(ui::FromUtf8(m_ports.ConnectCaption()));
  // The transfer and the update use the link meanwhile.
  m_consoleWindow->ConnectButton()->setEnabled(free || (open && !m_transferRunning && !UpdateRunning()));
  m_console.Refresh();
  m_consoleWindow->Refresh();
}

QIcon TLinkController::ConsoleButtonPicture(bool connected) {
  QPixmap picture(24, 24);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = connected ? QColor(0x20, 0x90, 0x30) : QColor(0x80, 0x80, 0x80);
  p.setPen(QPen(colour, 2));
  p.setBrush(colour);
  // Two halves of a plug, together or apart, with their cables.
  const int gap = connected ? 0 : 4;
  p.drawRect(QRectF(4, 8, 6 - gap / 2.0, 8));
  p.drawRect(QRectF(14 + gap / 2.0, 8, 6 - gap / 2.0, 8));
  p.drawLine(QPointF(1, 12), QPointF(4, 12));
  p.drawLine(QPointF(20, 12), QPointF(23, 12));
  return QIcon(picture);
}

bool TLinkController::UpdateRunning() const { return m_bootloaderWin->Running(); }

void TLinkController::Changed() {
  SyncConsole();
  if (commandStatesChanged) commandStatesChanged();
}

bool TLinkController::StartTransfer(const TBuildResult& build, TProfile profileCode) {
  if (m_transferRunning || UpdateRunning()) return false;
  const auto show = [this](const std::string& text) {
    if (inform) inform({text, "Zarvek", workspace::TButtons::Ok});
  };
  if (const auto problem = link::ProgramRoomProblem(profileCode, build.program.image.size())) {
    show(*problem);
    return false;
  }
  link::TUploadStreams streams;
  if (const auto problem = link::BuildUploadStreams(build.program.image, build.machineCode.code, streams)) {
    show(*problem);
    return false;
  }
  m_linkWasOpen = m_link.Connected();
  if (!m_linkWasOpen) {
    m_link.TransferState = link::transfer::Identify;
    ButtonConnectClick();
    if (!m_link.Connected()) {
      m_link.TransferState = link::transfer::Idle;
      // Saying nothing would leave the user guessing why the command did nothing.
      show(link::texts::PortOpenFailureText(m_ports.PortText(), m_link.OpenError()));
      return false;
    }
  }
  m_transferRunning = true;
  if (setStatusLine) setStatusLine("");
  Changed();
  m_uploadWin->Reset();
  m_uploadWin->CentreOn(m_owner);
  m_uploadWin->show();
  m_upload.Start(profileCode, build.program.programMemorySelector, std::move(streams));
  ScheduleRepeat();
  return true;
}

void TLinkController::ButtonStopClick() {
  if (!m_transferRunning) return;
  m_repeat.stop();
  m_uploadWin->hide();
  m_uploadWin->Reset();
  m_upload.Stop();
  if (!m_linkWasOpen && m_link.Connected()) {
    m_link.TransferState = -1;
    ButtonConnectClick();
  }
  m_link.TransferState = link::transfer::Idle;
  m_transferRunning = false;
  Changed();
}

void TLinkController::ButtonBootloaderClick() {
  if (m_transferRunning) return;
  m_bootloaderWin->show();
  m_bootloaderWin->raise();
  m_bootloaderWin->activateWindow();
}

void TLinkController::ReceiveCallBack(const std::string& data) {
  if (data.empty()) return;
  if (m_link.TransferState != link::transfer::Idle) {
    m_upload.ReceiveCallBack(data);
    ScheduleRepeat();
    return;
  }
  m_console.Receive(data);
  m_console.Refresh();
  if (m_consoleWindow) m_consoleWindow->Refresh();
}

void TLinkController::ScheduleRepeat() {
  const int64_t due = m_upload.MillisUntilTimer();
  if (!m_transferRunning || due < 0) {
    m_repeat.stop();
    return;
  }
  m_repeat.start(static_cast<int>(due));
}

}  // namespace zarvek::ide

// Compiled here rather than with the other moc files: the core headers must come before Qt's.
#include "moc_link_controller.cpp"
