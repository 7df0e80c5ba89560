#include "ui/error_strip.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui/qt_text.h"

namespace zarvek::ui {

using workspace::TSlot;

namespace {
QColor PictureColour(int picture) {
  switch (picture) {
    case workspace::kPictureError: return QColor(0xD0, 0x20, 0x20);
    case workspace::kPictureSuccess: return QColor(0x20, 0xA0, 0x40);
    default: return QColor(0x30, 0x60, 0xC0);
  }
}
}  // namespace

TErrorStrip::TErrorStrip(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFixedHeight(0);
}

int TErrorStrip::LineHeight() const { return fontMetrics().height(); }

workspace::TStripLayout TErrorStrip::Layout() const {
  const QFontMetrics metrics = fontMetrics();
  return workspace::LayoutStrip(m_display, width(), [&metrics](const std::string& s) {
    return metrics.horizontalAdvance(FromUtf8(s));
  });
}

QSize TErrorStrip::sizeHint() const { return {200, m_lines * LineHeight() + (m_lines ? 4 : 0)}; }

void TErrorStrip::Refresh() {
  const workspace::TStripLayout layout = Layout();
  if (layout.visibleLines < m_lines) m_lines = layout.visibleLines;
  setFixedHeight(m_lines * LineHeight() + (m_lines ? 4 : 0));
  update();
  if (m_lines < layout.visibleLines) QTimer::singleShot(15, this, [this] { Grow(); });
}

void TErrorStrip::Grow() {
  m_lines = workspace::NextStripLines(m_lines, Layout());
  Refresh();
}

void TErrorStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), m_fill);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const int lineHeight = LineHeight();
  for (const workspace::TSlotLayout& slot : Layout().slotLayouts) {
    const int top = 2 + slot.firstLine * lineHeight;
    p.setBrush(PictureColour(slot.picture));
    p.setPen(Qt::NoPen);
    p.drawEllipse(workspace::kPictureX, top + 2, lineHeight - 4, lineHeight - 4);
    // Readable on any gutter colour the user picks.
    p.setPen(m_fill.lightness() < 128 ? Qt::white : Qt::black);
    for (size_t i = 0; i < slot.lines.size(); ++i)
      p.drawText(workspace::kTextX, top + static_cast<int>(i) * lineHeight + fontMetrics().ascent(), FromUtf8(slot.lines[i]));
  }
}

void TErrorStrip::mouseMoveEvent(QMouseEvent* event) {
  const auto slot = workspace::SlotAtLine(Layout(), (static_cast<int>(event->position().y()) - 2) / LineHeight());
  setCursor(slot ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TErrorStrip::mousePressEvent(QMouseEvent* event) {
  if (const auto slot = workspace::SlotAtLine(Layout(), (static_cast<int>(event->position().y()) - 2) / LineHeight()))
    Q_EMIT SlotClicked(*slot);
}

}  // namespace zarvek::ui
