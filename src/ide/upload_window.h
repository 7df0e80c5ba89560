// TUploadWin: the small borderless window that shows a program upload: its status text,
// an animation while the board is awaited, and the progress. It listens to the upload
// state machine; the link controller owns both.
#pragma once

#include <functional>
#include <string>

#include "link/upload.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace zarvek::ide {

class TUploadAnimation;

class TUploadWin final : public QWidget, public link::TUploadListener {
  Q_OBJECT
 public:
  static constexpr int kWidth = 254;
  static constexpr int kHeight = 86;
  static constexpr int kFrameCount = 8;

  explicit TUploadWin(QWidget* parent = nullptr);

  // Status text, progress and the animation back to their start.
  void Reset();
  void CentreOn(const QWidget* owner);

  QString StatusText() const;
  int Progress() const;
  int ProgressMax() const;
  bool Animating() const { return m_animation.isActive(); }
  int Frame() const { return m_frame; }

  // TUploadListener
  void OnStatus(const std::string& text) override;
  void OnProgress(int32_t position, int32_t maximum) override;
  void OnAnimationStopped() override;
  void OnTransferred() override;

  // "fertig!": the owner sets the main status line and ends the transfer.
  std::function<void()> onTransferred;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void NextFrame();

  QLabel* m_status = nullptr;
  TUploadAnimation* m_box = nullptr;
  QProgressBar* m_progress = nullptr;
  QTimer m_animation;
  int m_frame = 0;
  bool m_stopped = false;  // the machine stopped the animation (an error or no answer)
  QPoint m_dragOffset;
};

}  // namespace zarvek::ide
