#include "link/paced_line.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "link/posix_port.h"

namespace zarvek::link {

TPacedLine::~TPacedLine() { Close(); }

int64_t TPacedLine::NowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool TPacedLine::Open(int32_t baud, std::string& error) {
  Close();
  if (baud <= 0) {
    error = "ungültige Geschwindigkeit";
    return false;
  }
  m_byteMicros = (10'000'000 + baud / 2) / baud;
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    error = std::strerror(errno);
    if (master >= 0) ::close(master);
    return false;
  }
  const char* name = ptsname(master);
  const int terminal = name ? ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC) : -1;
  if (terminal < 0) {
    error = std::strerror(errno);
    ::close(master);
    return false;
  }
  // Raw from the start: a terminal in its default mode would echo the board's own
  // bytes back to it before the host has set the line up.
  TLineSettings settings;
  settings.baud = SpeedConstant(baud) != 0 ? baud : 0;
  if (!ApplyLineSettings(terminal, settings, error)) {
    ::close(terminal);
    ::close(master);
    return false;
  }
  m_master = master;
  m_terminal = terminal;
  m_path = name;
  m_rx.clear();
  m_tx.clear();
  m_rxDone = m_txDone = 0;
  return true;
}

void TPacedLine::Close() {
  if (m_master >= 0) ::close(m_master);
  if (m_terminal >= 0) ::close(m_terminal);
  m_master = m_terminal = -1;
  m_rx.clear();
  m_tx.clear();
}

void TPacedLine::SetRate(double baud) {
  if (baud > 0) m_byteMicros = std::max<int64_t>(1, std::llround(10'000'000.0 / baud));
}

void TPacedLine::Send(const std::string& bytes, int64_t pauseMs) {
  if (m_master < 0) return;
  const int64_t earliest = NowMicros() + pauseMs * 1000;
  for (const char c : bytes) {
    const int64_t start = std::max(earliest, m_txDone);
    m_txDone = start + m_byteMicros;
    m_tx.push_back({m_txDone, c});
  }
}

void TPacedLine::ReadArrived(int64_t now) {
  char buffer[1024];
  for (;;) {
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n <= 0) return;
    for (ssize_t k = 0; k < n; ++k) {
      // The host's bytes leave one after the other at the line's speed.
      m_rxDone = std::max(now, m_rxDone) + m_byteMicros;
      m_rx.push_back({m_rxDone, buffer[k]});
    }
  }
}

void TPacedLine::WriteDue(int64_t now) {
  std::string due;
  for (const TTimedByte& b : m_tx) {
    if (b.at > now) break;
    due.push_back(b.byte);
  }
  if (due.empty()) return;
  const ssize_t n = ::write(m_master, due.data(), due.size());
  if (n > 0) {
    m_tx.erase(m_tx.begin(), m_tx.begin() + n);
  } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
    // Nobody reads the line and its buffer is full: a wire keeps nothing either.
    m_tx.erase(m_tx.begin(), m_tx.begin() + static_cast<std::ptrdiff_t>(due.size()));
  }
}

std::string TPacedLine::Pump(int64_t maxWaitMicros) {
  if (m_master < 0) return {};
  int64_t now = NowMicros();
  WriteDue(now);
  int64_t wait = maxWaitMicros;
  if (!m_tx.empty()) wait = std::min(wait, m_tx.front().at - now);
  if (!m_rx.empty()) wait = std::min(wait, m_rx.front().at - now);
  wait = std::max<int64_t>(wait, 0);
  pollfd p{m_master, POLLIN, 0};
  const timespec timeout{static_cast<time_t>(wait / 1'000'000), static_cast<long>(wait % 1'000'000) * 1000};
  if (ppoll(&p, 1, &timeout, nullptr) > 0 && (p.revents & POLLIN)) ReadArrived(NowMicros());
  now = NowMicros();
  WriteDue(now);
  std::string received;
  while (!m_rx.empty() && m_rx.front().at <= now) {
    received.push_back(m_rx.front().byte);
    m_rx.pop_front();
  }
  return received;
}

}  // namespace zarvek::link
