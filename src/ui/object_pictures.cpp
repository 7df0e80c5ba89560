// The core header first: its record has a field that Qt's "slots" macro would hide.
#include "project/project.h"
#include "ui/object_pictures.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>


namespace zarvek::ui {

namespace {

void Led(QPainter& p, const QRectF& box, QColor colour, bool lit) {
  const QRectF body = box.adjusted(5, 5, -5, -5);
  if (lit) {
    QRadialGradient glow(body.center(), box.width() / 2);
    QColor halo = colour;
    halo.setAlpha(110);
    glow.setColorAt(0.5, halo);
    glow.setColorAt(1.0, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(box);
  }
  QRadialGradient shade(body.center() - QPointF(4, 4), body.width() * 0.7);
  const QColor face = lit ? colour.lighter(130) : colour.darker(300);
  shade.setColorAt(0, lit ? QColor(255, 255, 240) : face.lighter(160));
  shade.setColorAt(0.35, face);
  shade.setColorAt(1, lit ? colour : face.darker(140));
  p.setBrush(shade);
  p.setPen(QPen(QColor(60, 60, 60), 1.2));
  p.drawEllipse(body);
}

void Button(QPainter& p, const QRectF& box, bool pressed, bool isSwitch) {
  const QRectF base = box.adjusted(3, 3, -3, -3);
  p.setPen(QPen(QColor(70, 70, 70), 1));
  p.setBrush(QColor(200, 200, 205));
  p.drawRoundedRect(base, 4, 4);
  if (isSwitch) {
    // A slide switch: the lever stands right and green when on.
    const QRectF track = base.adjusted(4, 9, -4, -9);
    p.setBrush(pressed ? QColor(60, 170, 80) : QColor(120, 120, 120));
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const double d = track.height() + 4;
    const QRectF knob(pressed ? track.right() - d + 2 : track.left() - 2, track.center().y() - d / 2, d, d);
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(knob);
    return;
  }
  // A push button: red cap, sunk in while pressed.
  const QRectF cap = base.adjusted(5, 5, -5, -5).translated(0, pressed ? 1.5 : 0);
  QRadialGradient shade(cap.center() - QPointF(3, 3), cap.width());
  shade.setColorAt(0, pressed ? QColor(170, 30, 30) : QColor(255, 140, 140));
  shade.setColorAt(1, pressed ? QColor(110, 10, 10) : QColor(200, 30, 30));
  p.setBrush(shade);
  p.setPen(QPen(QColor(60, 20, 20), 1));
  p.drawEllipse(cap);
}

void Dial(QPainter& p, const QRectF& box, bool wheel) {
  const QPointF centre(box.left() + 16, box.bottom() - 16);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  if (wheel) {
    // The knob leaves the top corners free for the arrows.
    p.setBrush(QColor(40, 40, 48));
    p.drawEllipse(centre, 9.5, 9.5);
    // The arrows the mouse clicks: "-" left, "+" right, in the top corners.
    p.setPen(QPen(QColor(20, 20, 20), 1.6));
    const double y = box.top() + 9.5;
    p.drawLine(QPointF(box.left() + 1, y), QPointF(box.left() + 6, y));
    p.drawLine(QPointF(box.right() - 6, y), QPointF(box.right() - 1, y));
    p.drawLine(QPointF(box.right() - 3.5, y - 2.5), QPointF(box.right() - 3.5, y + 2.5));
  } else {
    p.setBrush(QColor(250, 250, 240));
    p.drawEllipse(centre, 12, 12);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (int v = 0; v <= 255; v += 51) {
      const double a = -v * 0.0184794117647 - 0.75;
      p.drawLine(centre + QPointF(9 * std::sin(a), 9 * std::cos(a)), centre + QPointF(12 * std::sin(a), 12 * std::cos(a)));
    }
  }
}

void VariableDisplay(QPainter& p, const QRectF& box) {
  const QRectF frame = box.adjusted(1, 6, -1, -6);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(150, 180, 140));
  p.drawRoundedRect(frame, 2, 2);
  p.setPen(QPen(QColor(110, 135, 105), 1));
  p.drawRect(frame.adjusted(2, 2, -2, -2));
}

}  // namespace

void DrawObjectPicture(QPainter& p, const QRect& rect, int type, int picture) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(rect);
  switch (type) {
    case objecttype::LedRed: Led(p, box, QColor(235, 30, 30), picture == 3); break;
    case objecttype::LedYellow: Led(p, box, QColor(250, 210, 20), picture == 4); break;
    case objecttype::LedGreen: Led(p, box, QColor(40, 210, 60), picture == 5); break;
    case objecttype::Switch: Button(p, box, picture == 7, true); break;
    case objecttype::Interrupt: Button(p, box, picture == 7, false); break;
    case objecttype::AnalogWheel: Dial(p, box, true); break;
    case objecttype::AnalogGauge: Dial(p, box, false); break;
    case objecttype::VariableNumerical: VariableDisplay(p, box); break;
    default: break;
  }
  p.restore();
}

}  // namespace zarvek::ui
