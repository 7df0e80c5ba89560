#include "ide/upload_window.h"

#include <cmath>

#include <QBitmap>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace zarvek::ide {

namespace {

// The window's colours: a pale blue face inside a grey-blue rounded frame.
const QColor kWindowColour(0xE8, 0xF0, 0xFF);
const QColor kFaceColour(0xE8, 0xF1, 0xFF);
const QColor kFrameColour(0xB8, 0xC1, 0xCF);
constexpr int kFrameWidth = 20;
constexpr int kFrameHeight = 21;

}  // namespace

// The animation box: a ring of dots of which one, moving round, is dark, drawn as one of
// the frame list's pictures.
class TUploadAnimation final : public QWidget {
 public:
  explicit TUploadAnimation(QWidget* parent) : QWidget(parent) { setFixedSize(kFrameWidth, kFrameHeight); }
  void SetFrame(int frame) {
    m_frame = frame;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kFaceColour);
    const QPointF centre(kFrameWidth / 2.0, kFrameHeight / 2.0);
    for (int i = 0; i < TUploadWin::kFrameCount; ++i) {
      const double angle = (2 * M_PI * i) / TUploadWin::kFrameCount - M_PI / 2;
      const QPointF dot(centre.x() + 7 * std::cos(angle), centre.y() + 7 * std::sin(angle));
      const int age = (m_frame - i + TUploadWin::kFrameCount) % TUploadWin::kFrameCount;
      const int shade = std::min(200, 40 + age * 28);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(shade / 2, shade / 2 + 30, std::min(255, shade + 55)));
      p.drawEllipse(dot, 2.2, 2.2);
    }
  }

 private:
  int m_frame = 0;
};

TUploadWin::TUploadWin(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("UploadWin"));
  // The program ends with its main window, also while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kWidth, kHeight);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kWindowColour);
  setPalette(pal);
  setAutoFillBackground(false);
  // Rounded corners: what lies outside the frame is not part of the window.
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, kWidth, kHeight), 11, 11);
  setMask(QRegion(outline.toFillPolygon().toPolygon()));

  m_status = new QLabel;
  m_status->setObjectName(QStringLiteral("Statustext"));
  m_status->setAlignment(Qt::AlignCenter);
  QFont bold = m_status->font();
  bold.setBold(true);
  m_status->setFont(bold);
  m_box = new TUploadAnimation(this);
  m_box->setObjectName(QStringLiteral("Paint"));
  m_progress = new QProgressBar;
  m_progress->setObjectName(QStringLiteral("Progress"));
  m_progress->setTextVisible(false);
  m_progress->setFixedHeight(14);

  auto* top = new QHBoxLayout;
  top->setSpacing(6);
  top->addWidget(m_box);
  top->addWidget(m_status, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 12);
  layout->addLayout(top, 1);
  layout->addWidget(m_progress);

  m_animation.setInterval(50);
  connect(&m_animation, &QTimer::timeout, this, [this] { NextFrame(); });
  Reset();
}

void TUploadWin::Reset() {
  m_status->clear();
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  m_frame = 0;
  m_box->SetFrame(0);
  m_stopped = false;
}

void TUploadWin::CentreOn(const QWidget* owner) {
  if (!owner) return;
  const QRect area = owner->frameGeometry();
  move(area.center() - QPoint(kWidth / 2, kHeight / 2));
}

QString TUploadWin::StatusText() const { return m_status->text(); }
int TUploadWin::Progress() const { return m_progress->value(); }
int TUploadWin::ProgressMax() const { return m_progress->maximum(); }

void TUploadWin::OnStatus(const std::string& text) { m_status->setText(ui::FromUtf8(text)); }

void TUploadWin::OnProgress(int32_t position, int32_t maximum) {
  m_progress->setRange(0, std::max(1, maximum));
  m_progress->setValue(std::min(position, maximum));
}

void TUploadWin::OnAnimationStopped() {
  m_stopped = true;
  m_animation.stop();
}

void TUploadWin::OnTransferred() {
  m_stopped = true;
  m_animation.stop();
  if (onTransferred) onTransferred();
}

void TUploadWin::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), kWindowColour);
  p.setBrush(kFaceColour);
  p.setPen(QPen(kFrameColour, 1));
  p.drawRoundedRect(QRectF(1.5, 1.5, width() - 3, height() - 3), 6, 6);
  // Painting keeps the animation going while the board is awaited.
  if (!m_stopped && !m_animation.isActive()) m_animation.start();
}

void TUploadWin::NextFrame() {
  m_frame = (m_frame + 1) % kFrameCount;
  m_box->SetFrame(m_frame);
}

void TUploadWin::hideEvent(QHideEvent* event) {
  m_animation.stop();
  QWidget::hideEvent(event);
}

// The whole window is its own title bar.
void TUploadWin::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TUploadWin::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - m_dragOffset);
}

}  // namespace zarvek::ide

// Compiled here rather than with the other moc files: the core headers must come before Qt's.
#include "moc_upload_window.cpp"
