#include "ide/bootloader_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

#include "link/link_texts.h"
#include "project/file_io.h"
#include "ui/qt_text.h"

namespace zarvek::ide {

namespace {
// A runtime image for the larger board fills 128 KiB; its HEX text stays well below this.
constexpr uint64_t kHexFileLimit = 4u << 20;
constexpr int kTickMs = 100;

// The texts break their lines with CR LF or a lone CR; a label breaks at LF.
QString Shown(const std::string& text) {
  QString shown = ui::FromUtf8(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}
}  // namespace

TBootloaderWin::TBootloaderWin(link::TLink& link, const link::TClock& clock)
    : QWidget(nullptr, Qt::Window), m_link(link), m_machine(link, clock, *this) {
  setObjectName(QStringLiteral("BootloaderWin"));
  // The program ends with its main window, also while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QStringLiteral("Betriebssystem und Laufzeitumgebungs-Update"));
  m_file = new QLineEdit;
  m_file->setObjectName(QStringLiteral("EditOSFile"));
  m_open = new QPushButton(QStringLiteral("..."));
  m_open->setObjectName(QStringLiteral("ButtonOpen"));
  m_open->setToolTip(QStringLiteral("HEX Datei öffnen"));
  m_update = new QPushButton(QStringLiteral("Update"));
  m_update->setObjectName(QStringLiteral("ButtonUpdate"));
  m_status = new QLabel;
  m_status->setObjectName(QStringLiteral("StatusText"));
  m_status->setWordWrap(true);
  m_status->setAlignment(Qt::AlignCenter);
  m_status->setMinimumHeight(80);
  m_progress = new QProgressBar;
  m_progress->setObjectName(QStringLiteral("ProgressBar"));
  m_progress->setRange(0, 200);
  m_progress->setTextVisible(false);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_file, 1);
  fileRow->addWidget(m_open);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Betriebssystem (HEX Datei):")));
  layout->addLayout(fileRow);
  layout->addWidget(m_status, 1);
  layout->addWidget(m_progress);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_update);
  buttons->addStretch();
  layout->addLayout(buttons);
  resize(440, 230);

  connect(m_open, &QPushButton::clicked, this, [this] { ButtonOpenClick(); });
  connect(m_update, &QPushButton::clicked, this, [this] { ButtonUpdateClick(); });
  connect(m_file, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_update->setEnabled(!text.trimmed().isEmpty()); });
  // The machine's reply timeout is read against its clock; this tick lets it look.
  m_timeout.setInterval(kTickMs);
  connect(&m_timeout, &QTimer::timeout, this, [this] {
    m_machine.Poll();
    AfterStep();
  });
}

void TBootloaderWin::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!Running() && !m_changingFlags) FormShow();
}

void TBootloaderWin::FormShow() {
  m_status->setText(Shown(link::texts::kBootIntro));
  m_progress->setValue(0);
  m_update->setEnabled(IsFile(ui::ToUtf8(m_file->text())));
}

void TBootloaderWin::ButtonOpenClick() {
  const std::string current = ui::ToUtf8(m_file->text().trimmed());
  std::string folder = current.empty() ? ui::ToUtf8(QCoreApplication::applicationDirPath())
                                       : std::filesystem::path(current).parent_path().string();
  std::optional<std::string> chosen;
  if (openDialog) {
    chosen = openDialog(folder);
  } else {
    const QString name = QFileDialog::getOpenFileName(this, QString(), ui::FromUtf8(folder),
                                                      QStringLiteral("HEX Datei (*.HEX *.hex)"));
    if (!name.isEmpty()) chosen = ui::ToUtf8(name);
  }
  if (!chosen) return;
  m_file->setText(ui::FromUtf8(*chosen));
  m_update->setEnabled(IsFile(*chosen));
}

void TBootloaderWin::ButtonUpdateClick() {
  if (Running()) {
    m_machine.StopButton([this](const std::string& warning) {
      const workspace::TMessage m{warning, "Warnung", workspace::TButtons::YesNoCancel};
      if (const std::optional<workspace::TAnswer> answer = ask ? ask(m) : std::nullopt)
        return *answer == workspace::TAnswer::Yes;
      // On this window: the main window is disabled while the update runs.
      return QMessageBox::warning(this, ui::FromUtf8(m.caption), ui::FromUtf8(warning),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::No) == QMessageBox::Yes;
    });
    AfterStep();
    return;
  }
  const std::string file = ui::ToUtf8(m_file->text().trimmed());
  if (!IsFile(file)) {
    m_update->setEnabled(false);
    return;
  }
  const TFileContent content = ReadFileBytes(file, kHexFileLimit);
  if (content.status != TReadStatus::Ok) {
    m_status->setText(Shown(link::texts::kBootInvalidFile));
    return;
  }
  Lock(true);
  m_progress->setValue(0);
  const std::string port = portName ? portName() : std::string();
  m_machine.Start(profile ? profile() : TProfile::Tessel11, port, speedText ? speedText() : std::string(), content.bytes);
  // A port that would not open: say why, and where the right to use it comes from.
  if (!m_link.Connected() && m_machine.Status() == link::texts::PortBusyText(port))
    m_status->setText(Shown(link::texts::PortOpenFailureText(port, m_link.OpenError())));
  AfterStep();
}

void TBootloaderWin::OnStatus(const std::string& text) { m_status->setText(Shown(text)); }

void TBootloaderWin::OnProgress(int32_t position) { m_progress->setValue(position); }

void TBootloaderWin::PortLost() {
  m_machine.PortLost();
  AfterStep();
}

void TBootloaderWin::AfterStep() {
  const bool running = Running();
  if (!running) {
    m_timeout.stop();
    Lock(false);
  } else {
    m_update->setText(QStringLiteral("STOP"));
    if (!m_timeout.isActive()) m_timeout.start();
  }
  // The owner follows when the update starts or ends, or the link opens or closes.
  if (running != m_reportedRunning || m_link.Connected() != m_reportedConnected) {
    m_reportedRunning = running;
    m_reportedConnected = m_link.Connected();
    if (onStateChanged) onStateChanged();
  }
}

void TBootloaderWin::Lock(bool locked) {
  if (m_locked == locked) return;
  m_locked = locked;
  // While the update runs this window cannot be closed and nothing else may use the link.
  // Changing the flags hides the window; showing it again is no new opening.
  const bool visible = isVisible();
  m_changingFlags = true;
  setWindowFlag(Qt::WindowCloseButtonHint, !locked);
  setWindowFlag(Qt::WindowSystemMenuHint, !locked);
  if (visible) show();
  m_changingFlags = false;
  m_open->setEnabled(!locked);
  m_file->setEnabled(!locked);
  if (!locked) {
    m_update->setText(QStringLiteral("Update"));
    m_update->setEnabled(IsFile(ui::ToUtf8(m_file->text().trimmed())));
  }
  if (lockProgram) lockProgram(locked);
}

void TBootloaderWin::closeEvent(QCloseEvent* event) {
  if (Running()) event->ignore();
  else QWidget::closeEvent(event);
}

}  // namespace zarvek::ide

// Compiled here rather than with the other moc files: the core headers must come before Qt's.
#include "moc_bootloader_window.cpp"
