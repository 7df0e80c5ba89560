#include "ide/console_window.h"

#include <algorithm>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ui/qt_text.h"
#include "ui/source_lexers.h"

namespace zarvek::ide {

namespace {
// Lines kept in the widget: a program printing for hours must not slow the window down.
constexpr int kShownLines = 5000;
// Text arriving faster than a reader follows (a print loop at full speed) is shown by its
// last bytes only, so that a refresh never lays out more than this.
constexpr uint64_t kShownBytes = 16 * 1024;
}

TConsoleWindow::TConsoleWindow(TConsoleModel& model, QWidget* parent) : QWidget(parent, Qt::Window), m_model(model) {
  setObjectName(QStringLiteral("Console"));
  setWindowTitle(QStringLiteral("Serial Communication Interface"));
  m_output = new QPlainTextEdit;
  m_output->setObjectName(QStringLiteral("ConsoleOutput"));
  m_output->setReadOnly(true);
  m_output->setMaximumBlockCount(kShownLines);
  m_output->setFont(QFont(QStringLiteral("Courier New"), 10));
  m_output->installEventFilter(this);

  auto* clear = new QPushButton(QStringLiteral("Löschen"));
  clear->setObjectName(QStringLiteral("ButtonClear"));
  clear->setToolTip(QStringLiteral("Löschen"));
  m_cancel = new QPushButton(QStringLiteral("Empfang Abbrechen"));
  m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
  m_cancel->setToolTip(QStringLiteral("Empfang Abbrechen"));
  m_ascii = new QComboBox;
  m_ascii->setObjectName(QStringLiteral("ComboAscii"));
  for (const std::string& e : ComboAsciiEntries()) m_ascii->addItem(ui::FromUtf8(e));
  m_ascii->setCurrentIndex(kComboAsciiDefault);
  auto* send = new QPushButton(QStringLiteral("Senden"));
  send->setObjectName(QStringLiteral("ButtonSend"));
  send->setToolTip(QStringLiteral("Senden"));
  m_keepOpen = new QCheckBox(QStringLiteral("Geöffnet halten"));
  m_keepOpen->setObjectName(QStringLiteral("ButtonStayOnTop"));
  m_keepOpen->setToolTip(QStringLiteral("Geöffnet halten"));
  m_keepOpen->setChecked(true);
  m_ports = new QComboBox;
  m_speeds = new QComboBox;
  m_connect = new QPushButton(QStringLiteral("Verbinden"));
  for (QWidget* w : {static_cast<QWidget*>(m_ports), static_cast<QWidget*>(m_speeds), static_cast<QWidget*>(m_connect)})
    w->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(clear), static_cast<QWidget*>(m_cancel), static_cast<QWidget*>(m_ascii),
                     static_cast<QWidget*>(send), static_cast<QWidget*>(m_keepOpen)})
    buttons->addWidget(w);
  buttons->addStretch(1);
  buttons->addWidget(m_ports);
  buttons->addWidget(m_speeds);
  buttons->addWidget(m_connect);
  auto* status = new QStatusBar;
  status->setSizeGripEnabled(false);
  // State, mode or port, speed or simulated rates, byte rates (the rest of the bar).
  constexpr std::array<int, 3> panelWidths{50, 80, 120};
  for (size_t i = 0; i < m_panels.size(); ++i) {
    m_panels[i] = new QLabel;
    if (i < panelWidths.size()) m_panels[i]->setMinimumWidth(panelWidths[i]);
    m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
    m_panels[i]->setFrameShape(QFrame::StyledPanel);
    status->addWidget(m_panels[i], i == 3 ? 1 : 0);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->addLayout(buttons);
  layout->addWidget(m_output, 1);
  layout->addWidget(status);
  resize(640, 360);

  connect(clear, &QPushButton::clicked, this, [this] {
    m_model.ButtonClearClick();
    Refresh();
  });
  connect(m_cancel, &QPushButton::clicked, this, [this] {
    m_model.ButtonCancelClick();
    Refresh();
  });
  connect(send, &QPushButton::clicked, this, [this] {
    m_model.ComboAsciiClick(m_ascii->currentIndex());
    Refresh();
    m_output->setFocus();  // typing goes on in the output
  });
  connect(m_keepOpen, &QCheckBox::toggled, this, [this](bool on) { SetKeepOpen(on); });
  SetKeepOpen(true);
  Refresh();
}

void TConsoleWindow::SetKeepOpen(bool on) {
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (shown) show();  // changing the flag hides a shown window
}

void TConsoleWindow::ApplySettings(const TSettings& settings) {
  QPalette p = m_output->palette();
  p.setColor(QPalette::Base, ui::ColourFromSettings(settings.consoleColor));
  p.setColor(QPalette::Text, ui::ColourFromSettings(settings.consoleText));
  m_output->setPalette(p);
}

void TConsoleWindow::Refresh() {
  if (!isVisible()) return;
  if (m_model.Revision() != m_shownRevision) {
    const std::string& text = m_model.Output();
    // Only the new text is appended; an emptied console starts over. Positions count
    // from the text's start before the model cut its front off.
    const uint64_t end = m_model.Dropped() + text.size();
    if (m_model.Clears() != m_shownClears || end < m_shownEnd) {
      m_output->clear();
      m_shownEnd = m_model.Dropped();
      m_shownClears = m_model.Clears();
    }
    if (end > m_shownEnd) {
      uint64_t from = std::max(m_shownEnd, m_model.Dropped());
      // More new text than the widget keeps: only its tail is shown.
      if (end - from > kShownBytes) {
        m_output->clear();
        from = end - kShownBytes;
      }
      QScrollBar* bar = m_output->verticalScrollBar();
      const bool atEnd = bar->value() == bar->maximum();
      QTextCursor cursor(m_output->document());
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(ui::FromCp1252(std::string_view(text).substr(static_cast<size_t>(from - m_model.Dropped()))));
      m_shownEnd = end;
      if (atEnd) bar->setValue(bar->maximum());
    }
    m_shownRevision = m_model.Revision();
  }
  for (size_t i = 0; i < m_panels.size(); ++i)
    if (m_model.Panels()[i] != m_shownPanels[i]) {
      m_shownPanels[i] = m_model.Panels()[i];
      m_panels[i]->setText(ui::FromUtf8(m_shownPanels[i]));
    }
  m_cancel->setEnabled(m_model.CancelEnabled());
}

bool TConsoleWindow::TypeKey(QKeyEvent* event) {
  const QString text = event->text();
  if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  const std::string bytes = ui::ToCp1252(text);
  for (char c : bytes) m_model.TerminalKeyPress(static_cast<uint8_t>(c));
  Refresh();
  return true;
}

void TConsoleWindow::keyPressEvent(QKeyEvent* event) {
  if (!TypeKey(event)) QWidget::keyPressEvent(event);
}

bool TConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_output && event->type() == QEvent::KeyPress && TypeKey(static_cast<QKeyEvent*>(event))) return true;
  return QWidget::eventFilter(watched, event);
}

void TConsoleWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

void TConsoleWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

}  // namespace zarvek::ide
