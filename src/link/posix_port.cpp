#include "link/posix_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zarvek::link {

namespace {

std::string Reason(int err) { return std::strerror(err); }

}  // namespace

unsigned SpeedConstant(int32_t baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
#ifdef B460800
    case 460800: return B460800;
#endif
    default: return 0;
  }
}

bool ApplyLineSettings(int fd, const TLineSettings& s, std::string& error) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) {
    error = Reason(errno);
    return false;
  }
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  // Closing must not drop the modem lines: a board may take that as a reset.
  t.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
#ifdef CRTSCTS
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
  switch (s.dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
  }
  if (s.stopBits == TStopBit::sbONE) t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
  else t.c_cflag |= CSTOPB;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (s.baud != 0) {
    // "Auto" reaches the port as speed 0; the device then keeps the speed it has.
    const unsigned speed = SpeedConstant(s.baud);
    if (speed == 0) {
      error = "die Geschwindigkeit " + std::to_string(s.baud) + " Baud gibt es nicht";
      return false;
    }
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
  }
  termios withParity = t;
  withParity.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
  if (s.parity == TParity::ptODD) withParity.c_cflag |= PARENB | PARODD;
  if (s.parity == TParity::ptEVEN) withParity.c_cflag |= PARENB;
#ifdef CMSPAR
  if (s.parity == TParity::ptMARK) withParity.c_cflag |= PARENB | PARODD | CMSPAR;
  if (s.parity == TParity::ptSPACE) withParity.c_cflag |= PARENB | CMSPAR;
#endif
  if (tcsetattr(fd, TCSANOW, &withParity) == 0) return true;
  // Pseudo-terminals may refuse a parity setting; the rest still counts.
  if (tcsetattr(fd, TCSANOW, &t) == 0) return true;
  error = Reason(errno);
  return false;
}

TPosixPort::~TPosixPort() { Close(); }

bool TPosixPort::Open(const std::string& name, const TLineSettings& settings, std::string& error) {
  Close();
  const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = Reason(errno);
    return false;
  }
  if (!isatty(fd)) {
    ::close(fd);
    error = "kein serielles Gerät";
    return false;
  }
  // No second program on the same port; a device that cannot be locked still works.
  (void)ioctl(fd, TIOCEXCL);
  if (!ApplyLineSettings(fd, settings, error)) {
    ::close(fd);
    return false;
  }
  // The device opens with DTR raised by the system; drop DTR and RTS at once, as the
  // board expects of a freshly opened port. Pseudo-terminals have no modem lines.
  int lines = TIOCM_DTR | TIOCM_RTS;
  (void)ioctl(fd, TIOCMBIC, &lines);
  tcflush(fd, TCIOFLUSH);
  m_fd = fd;
  m_pending.clear();
  return true;
}

void TPosixPort::Close() {
  if (m_fd < 0) return;
  (void)ioctl(m_fd, TIOCNXCL);
  ::close(m_fd);
  m_fd = -1;
  m_pending.clear();
}

void TPosixPort::Write(const std::string& data) {
  if (m_fd < 0) return;
  m_pending += data;
  Flush();
}

void TPosixPort::Flush() {
  while (m_fd >= 0 && !m_pending.empty()) {
    const ssize_t n = ::write(m_fd, m_pending.data(), m_pending.size());
    if (n > 0) {
      m_pending.erase(0, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    Lost(Reason(n < 0 ? errno : EIO));
    return;
  }
}

void TPosixPort::Pump(int timeoutMs) {
  if (m_fd < 0) return;
  pollfd p{m_fd, static_cast<short>(POLLIN | (m_pending.empty() ? 0 : POLLOUT)), 0};
  const int ready = ::poll(&p, 1, timeoutMs);
  if (ready <= 0) return;
  if (p.revents & POLLOUT) Flush();
  if (m_fd < 0) return;
  std::string chunk;
  int failure = 0;
  if (p.revents & POLLIN) {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
      if (n > 0) {
        chunk.append(buffer, static_cast<size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      // A terminal without a minimum count reads 0 when nothing is waiting.
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) failure = errno;
      break;
    }
  }
  // What did arrive still counts, also when the other end is gone now.
  if (!chunk.empty() && onData) onData(chunk);
  if (m_fd < 0) return;
  if (failure != 0) Lost(Reason(failure));
  else if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) Lost("Gerät getrennt");
}

void TPosixPort::Lost(const std::string& why) {
  Close();
  if (onLost) onLost(why);
}

}  // namespace zarvek::link
