// The object grid on screen: draws the cells of a TObjectGrid (highlight, "leer",
// picture, caption, dial pointer, a variable display's value) and reports mouse presses
// by cell. What a press does is the owner's decision.
#pragma once

#include <functional>
#include <string>

// The core header first: its record has a field that Qt's "slots" macro would hide.
#include "simulation/object_grid.h"

#include <QWidget>

namespace zarvek::ui {

inline constexpr int kObjectRowHeight = 49;

class TObjectGridWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TObjectGridWidget(TObjectGrid& grid, QWidget* parent = nullptr);
  // What a variable display at a cell shows.
  std::function<std::string(int x, int y)> displayedValue;
  void SetPanelColour(const QColor& colour);
  QSize sizeHint() const override;
  // The cell under a point, false outside the grid.
  bool CellAt(const QPoint& point, int& x, int& y) const;
  QRect CellRect(int x, int y) const;

 Q_SIGNALS:
  void CellPressed(int x, int y, bool right, int dxFromCentre, int dyAboveBottom);
  void CellReleased(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void DrawCell(QPainter& painter, int x, int y, const QRect& cell);
  int Width(int x) const;
  TObjectGrid& m_grid;
  QColor m_panel;
  int m_pressedX = -1, m_pressedY = -1;
};

}  // namespace zarvek::ui
