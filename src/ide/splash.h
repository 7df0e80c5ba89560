// The splash window: shown at start and by Info, it hides itself after a while.
#pragma once

#include <QTimer>
#include <QWidget>

namespace zarvek::ide {

inline constexpr int kSplashMilliseconds = 4000;

class TSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TSplash(QWidget* parent = nullptr);
  void ShowFor(int milliseconds = kSplashMilliseconds);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override { hide(); }

 private:
  QTimer m_timer;
};

}  // namespace zarvek::ide
