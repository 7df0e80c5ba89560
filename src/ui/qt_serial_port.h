// The link's port on Qt Serial Port for the IDE: event-driven, so received bytes reach
// the protocol state machines on the GUI thread through the event loop. Opens serial
// ports and pseudo-terminals alike (a path such as /dev/pts/3 is used as it is).
#pragma once

#include <memory>
#include <string>

#include "link/port.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>

namespace zarvek::ui {

class TQtSerialPort final : public QObject, public link::TPort {
  Q_OBJECT
 public:
  TQtSerialPort();
  ~TQtSerialPort() override;

  bool Open(const std::string& name, const link::TLineSettings& settings, std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return m_port.isOpen(); }
  void Write(const std::string& data) override;
  // Data arrives through the event loop; nothing to wait for here.
  void Pump(int) override {}

 private:
  void ReadyRead();
  void ErrorOccurred(QSerialPort::SerialPortError error);
  void Watch();
  void Lost(const std::string& why);

  static constexpr int kWatchMs = 200;
  QSerialPort m_port;
  QTimer m_watch;  // looks for a hang-up the port does not report
};

// The port factory the IDE's link uses.
link::TPortFactory QtPortFactory();

}  // namespace zarvek::ui
