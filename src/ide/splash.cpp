#include "ide/splash.h"

#include <QPainter>
#include <QScreen>

namespace zarvek::ide {

TSplash::TSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(420, 220);
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void TSplash::ShowFor(int milliseconds) {
  if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
  show();
  raise();
  m_timer.start(milliseconds);
}

void TSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), QColor(0x1f, 0x4e, 0x79));
  // The chip of our icon.
  p.setPen(QPen(QColor(0xc8, 0xd6, 0xe5), 3));
  for (int i = 0; i < 4; ++i) {
    p.drawLine(40 + i * 18, 40, 40 + i * 18, 52);
    p.drawLine(40 + i * 18, 128, 40 + i * 18, 140);
  }
  p.setBrush(QColor(0x16, 0x3a, 0x5c));
  p.drawRoundedRect(28, 52, 80, 76, 8, 8);
  p.setPen(QPen(QColor(0xff, 0xd2, 0x4a), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  const QPoint z[] = {{44, 70}, {92, 70}, {44, 110}, {92, 110}};
  p.drawPolyline(z, 4);
  p.setPen(Qt::white);
  QFont title = font();
  title.setPointSize(28);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(130, 50, 280, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zarvek"));
  QFont text = font();
  text.setPointSize(10);
  p.setFont(text);
  p.drawText(QRect(130, 100, 280, 60), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("BASIC und 68HC05-Assembler für Tessel- und Pyxon-Controller"));
}

}  // namespace zarvek::ide
