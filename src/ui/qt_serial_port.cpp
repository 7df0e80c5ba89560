#include "ui/qt_serial_port.h"

#include "ui/qt_text.h"

#ifdef Q_OS_UNIX
#include <poll.h>
#include <termios.h>
#endif

namespace zarvek::ui {

namespace {

QSerialPort::Parity ToQt(link::TParity p) {
  switch (p) {
    case link::TParity::ptODD: return QSerialPort::OddParity;
    case link::TParity::ptEVEN: return QSerialPort::EvenParity;
    case link::TParity::ptMARK: return QSerialPort::MarkParity;
    case link::TParity::ptSPACE: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
  }
}

QSerialPort::StopBits ToQt(link::TStopBit s) {
  switch (s) {
    case link::TStopBit::sbONE5: return QSerialPort::OneAndHalfStop;
    case link::TStopBit::snTWO: return QSerialPort::TwoStop;
    default: return QSerialPort::OneStop;
  }
}

QSerialPort::DataBits ToQtDataBits(uint8_t bits) {
  switch (bits) {
    case 5: return QSerialPort::Data5;
    case 6: return QSerialPort::Data6;
    case 7: return QSerialPort::Data7;
    default: return QSerialPort::Data8;
  }
}

}  // namespace

TQtSerialPort::TQtSerialPort() {
  connect(&m_port, &QSerialPort::readyRead, this, [this] { ReadyRead(); });
  connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { ErrorOccurred(e); });
  m_watch.setInterval(kWatchMs);
  connect(&m_watch, &QTimer::timeout, this, [this] { Watch(); });
}

TQtSerialPort::~TQtSerialPort() {
  // Closing from the destructor must not report a loss to an owner that is going away.
  onLost = nullptr;
  onData = nullptr;
  Close();
}

bool TQtSerialPort::Open(const std::string& name, const link::TLineSettings& settings, std::string& error) {
  Close();
  m_port.setPortName(FromUtf8(name));
  // The line format is set before opening, so that the device gets it with the open; a
  // board must not see DTR raised, which many take for a reset.
  if (settings.baud != 0) m_port.setBaudRate(settings.baud);
  m_port.setDataBits(ToQtDataBits(settings.dataBits));
  m_port.setParity(ToQt(settings.parity));
  m_port.setStopBits(ToQt(settings.stopBits));
  m_port.setFlowControl(QSerialPort::NoFlowControl);
  m_port.setReadBufferSize(0);
  if (!m_port.open(QIODevice::ReadWrite)) {
    error = ToUtf8(m_port.errorString());
    m_port.clearError();
    return false;
  }
#ifdef Q_OS_UNIX
  // Closing must not drop the modem lines either: a board may take that as a reset.
  termios t{};
  if (tcgetattr(m_port.handle(), &t) == 0 && (t.c_cflag & HUPCL)) {
    t.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    (void)tcsetattr(m_port.handle(), TCSANOW, &t);
  }
#endif
  // Pseudo-terminals have no modem lines and may refuse parity; neither is fatal.
  m_port.setDataTerminalReady(false);
  m_port.setRequestToSend(false);
  if (settings.baud != 0 && m_port.baudRate() != settings.baud) m_port.setBaudRate(settings.baud);
  m_port.clear();
  m_port.clearError();
  m_watch.start();
  return true;
}

void TQtSerialPort::Close() {
  m_watch.stop();
  if (m_port.isOpen()) m_port.close();
  m_port.clearError();
}

void TQtSerialPort::Watch() {
#ifdef Q_OS_UNIX
  // Qt Serial Port does not report a pseudo-terminal whose other end has closed (nor
  // always a device unplugged): the descriptor then signals a hang-up.
  if (!m_port.isOpen()) return;
  pollfd p{m_port.handle(), POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0 || !(p.revents & (POLLHUP | POLLERR | POLLNVAL))) return;
  Lost("Gerät getrennt");
#endif
}

void TQtSerialPort::Lost(const std::string& why) {
  // Bytes that arrived before the loss still count.
  ReadyRead();
  if (!m_port.isOpen()) return;
  Close();
  if (onLost) onLost(why);
}

void TQtSerialPort::Write(const std::string& data) {
  if (!m_port.isOpen() || data.empty()) return;
  m_port.write(data.data(), static_cast<qint64>(data.size()));
}

void TQtSerialPort::ReadyRead() {
  const QByteArray bytes = m_port.readAll();
  if (!bytes.isEmpty() && onData) onData(bytes.toStdString());
}

void TQtSerialPort::ErrorOccurred(QSerialPort::SerialPortError e) {
  // Only a device that went away ends the connection; a refused line setting, parity or
  // modem-line call (pseudo-terminals refuse those) is no reason to stop.
  if (e != QSerialPort::ResourceError || !m_port.isOpen()) return;
  Lost(ToUtf8(m_port.errorString()));
}

link::TPortFactory QtPortFactory() {
  return [] { return std::make_unique<TQtSerialPort>(); };
}

}  // namespace zarvek::ui

// Compiled here rather than with the other moc files: the core headers must come before Qt's.
#include "moc_qt_serial_port.cpp"
