// The console window "Serial Communication Interface": shows what a TConsoleModel holds,
// forwards typed keys and the buttons to it, and hides (never closes) when the user closes
// it. Only its repaint waits while it is hidden; the model keeps the text meanwhile. The
// link controller wires in the link side (port choice, speed, Verbinden).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "project/settings.h"
#include "simulation/console_model.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zarvek::ide {

class TConsoleWindow : public QWidget {
  Q_OBJECT
 public:
  TConsoleWindow(TConsoleModel& model, QWidget* parent = nullptr);
  void ApplySettings(const TSettings& settings);
  // Takes the model's received text and panels; repaints only when shown and something
  // changed. Showing the window catches up.
  void Refresh();
  QPlainTextEdit* Output() const { return m_output; }
  QComboBox* ComboAscii() const { return m_ascii; }
  QCheckBox* KeepOpen() const { return m_keepOpen; }
  QLabel* Panel(int index) const { return m_panels[static_cast<size_t>(index)]; }
  // The link side, for the helper that wires the serial port in.
  QComboBox* PortList() const { return m_ports; }
  QComboBox* SpeedList() const { return m_speeds; }
  QPushButton* ConnectButton() const { return m_connect; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetKeepOpen(bool on);
  bool TypeKey(QKeyEvent* event);

  TConsoleModel& m_model;
  QPlainTextEdit* m_output = nullptr;
  QComboBox* m_ascii = nullptr;
  QCheckBox* m_keepOpen = nullptr;
  QPushButton* m_cancel = nullptr;
  QComboBox* m_ports = nullptr;
  QComboBox* m_speeds = nullptr;
  QPushButton* m_connect = nullptr;
  std::array<QLabel*, 4> m_panels{};
  uint64_t m_shownRevision = ~uint64_t{0};
  uint64_t m_shownClears = 0;
  uint64_t m_shownEnd = 0;  // where the shown text ends, counting dropped bytes
  std::array<std::string, 4> m_shownPanels;
};

}  // namespace zarvek::ide
