#include "ui/object_grid_widget.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QMouseEvent>
#include <QPainter>

#include "ui/object_pictures.h"
#include "ui/qt_text.h"

namespace zarvek::ui {

TObjectGridWidget::TObjectGridWidget(TObjectGrid& grid, QWidget* parent)
    : QWidget(parent), m_grid(grid), m_panel(palette().color(QPalette::Window)) {
  setObjectName(QStringLiteral("ObjectsDisplay"));
  QFont f(QStringLiteral("Arial"));
  f.setPointSize(8);
  setFont(f);
  setMinimumSize(sizeHint());
}

void TObjectGridWidget::SetPanelColour(const QColor& colour) {
  m_panel = colour;
  update();
}

int TObjectGridWidget::Width(int x) const {
  // A gauge's value changes while the program runs: its caption may outgrow the column.
  int width = m_grid.ColumnWidth(x);
  for (int y = 0; y < kGridRows; ++y) {
    const TSimObject& o = m_grid.At(x, y);
    if (o.type == objecttype::AnalogGauge || o.type == objecttype::AnalogWheel)
      width = std::max(width, fontMetrics().horizontalAdvance(FromCp1252(TObjectGrid::Caption(o))) + kColumnMargin);
  }
  return width;
}

QSize TObjectGridWidget::sizeHint() const {
  int width = 0;
  for (int x = 0; x < kGridColumns; ++x) width += Width(x);
  return {width, kGridRows * kObjectRowHeight};
}

QRect TObjectGridWidget::CellRect(int x, int y) const {
  int left = 0;
  for (int c = 0; c < x; ++c) left += Width(c);
  return {left, y * kObjectRowHeight, Width(x), kObjectRowHeight};
}

bool TObjectGridWidget::CellAt(const QPoint& point, int& x, int& y) const {
  if (point.y() < 0 || point.x() < 0) return false;
  y = point.y() / kObjectRowHeight;
  if (y >= kGridRows) return false;
  int left = 0;
  for (x = 0; x < kGridColumns; ++x) {
    left += Width(x);
    if (point.x() < left) return true;
  }
  return false;
}

void TObjectGridWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(rect(), m_panel);
  const QRect dirty = event->rect();
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y) {
      const QRect cell = CellRect(x, y);
      if (cell.intersects(dirty)) DrawCell(p, x, y, cell);
    }
  if (minimumSize() != sizeHint()) {
    setMinimumSize(sizeHint());
    resize(sizeHint());
  }
}

void TObjectGridWidget::DrawCell(QPainter& p, int x, int y, const QRect& cell) {
  const TSimObject& o = m_grid.At(x, y);
  const bool selected = x == m_grid.SelectedX() && y == m_grid.SelectedY();
  p.fillRect(cell, selected ? palette().color(QPalette::Highlight).lighter(170) : m_panel);
  p.setPen(palette().color(QPalette::WindowText));
  const int textHeight = fontMetrics().height();
  if (o.type == objecttype::Empty) {
    if (selected) p.drawText(cell, Qt::AlignCenter, QStringLiteral("leer"));
    return;
  }
  const QRect caption(cell.left(), cell.top(), cell.width(), textHeight);
  p.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, FromCp1252(TObjectGrid::Caption(o)));
  const QRect picture(cell.left() + (cell.width() - kObjectPictureSize) / 2, cell.bottom() + 1 - 3 - kObjectPictureSize,
                      kObjectPictureSize, kObjectPictureSize);
  DrawObjectPicture(p, picture, o.type, o.pictureIndex);
  if (o.type == objecttype::AnalogWheel || o.type == objecttype::AnalogGauge) {
    const int value = std::atoi(SlotText(o, 1).c_str());
    const auto [dx, dy] = TObjectGrid::DialPointer(std::clamp(value, 0, 255));
    const QPointF centre(picture.left() + 16, cell.bottom() + 1 - 19);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (o.type == objecttype::AnalogWheel) {
      p.fillRect(QRectF(centre.x() + dx - 1.5, centre.y() + dy - 1.5, 3, 3), Qt::white);
    } else {
      p.setPen(QPen(Qt::red, 1.5));
      p.drawLine(centre, centre + QPointF(dx, dy));
    }
    p.restore();
  } else if (o.type == objecttype::VariableNumerical && displayedValue) {
    p.setPen(QColor(20, 40, 20));
    p.drawText(picture.adjusted(-8, 0, 8, 0), Qt::AlignCenter, FromCp1252(displayedValue(x, y)));
  }
}

void TObjectGridWidget::mousePressEvent(QMouseEvent* event) {
  int x = 0, y = 0;
  if (!CellAt(event->position().toPoint(), x, y)) return;
  const QRect cell = CellRect(x, y);
  m_pressedX = x;
  m_pressedY = y;
  const QPoint at = event->position().toPoint();
  Q_EMIT CellPressed(x, y, event->button() == Qt::RightButton, at.x() - cell.center().x(), cell.bottom() + 1 - at.y());
}

void TObjectGridWidget::mouseReleaseEvent(QMouseEvent*) {
  if (m_pressedX < 0) return;
  Q_EMIT CellReleased(m_pressedX, m_pressedY);
  m_pressedX = m_pressedY = -1;
}

}  // namespace zarvek::ui
