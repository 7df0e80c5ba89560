// Where the link's state machines take the time from for their timers: the steady clock,
// or a clock a test moves by hand.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace zarvek::link {

class TClock {
 public:
  virtual ~TClock() = default;
  virtual int64_t NowMillis() const = 0;
};

class TSteadyClock final : public TClock {
 public:
  int64_t NowMillis() const override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

class TManualClock final : public TClock {
 public:
  int64_t NowMillis() const override { return m_now; }
  void Advance(int64_t millis) { m_now += millis; }

 private:
  int64_t m_now = 0;
};

// A one-shot or repeating timer read against a clock by its owner's loop.
class TLinkTimer {
 public:
  TLinkTimer(const TClock& clock, int64_t intervalMs) : m_clock(clock), m_interval(intervalMs) {}
  void Start() {
    m_enabled = true;
    m_due = m_clock.NowMillis() + m_interval;
  }
  void Stop() { m_enabled = false; }
  bool Enabled() const { return m_enabled; }
  // True once per elapsed interval; the next interval starts from now.
  bool Expired() {
    if (!m_enabled || m_clock.NowMillis() < m_due) return false;
    m_due = m_clock.NowMillis() + m_interval;
    return true;
  }
  int64_t MillisLeft() const { return m_enabled ? std::max<int64_t>(0, m_due - m_clock.NowMillis()) : -1; }

 private:
  const TClock& m_clock;
  int64_t m_interval;
  bool m_enabled = false;
  int64_t m_due = 0;
};

}  // namespace zarvek::link
