// The error strip under the editors: paints the layout of the workspace model and reports
// clicks on a slot.
#pragma once

#include <QWidget>

#include "workspace/error_display.h"

namespace zarvek::ui {

class TErrorStrip : public QWidget {
  Q_OBJECT
 public:
  explicit TErrorStrip(QWidget* parent = nullptr);
  workspace::TErrorDisplay& Display() { return m_display; }
  // Lays the slots out again and resizes the strip (one line per call while growing,
  // driven by a short timer).
  void Refresh();
  workspace::TStripLayout Layout() const;
  int LineHeight() const;
  void SetFill(const QColor& colour) { m_fill = colour; update(); }
  QSize sizeHint() const override;

 Q_SIGNALS:
  void SlotClicked(workspace::TSlot slot);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Grow();
  workspace::TErrorDisplay m_display;
  int m_lines = 0;
  QColor m_fill = Qt::white;
};

}  // namespace zarvek::ui
