// Where the token machine takes "now" from and how it sleeps: real time in the IDE,
// virtual time in tests and the command-line tool (a sleep then advances the clock and
// costs no wall time).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace zarvek {

class TStopSignal;

class TTimeSource {
 public:
  virtual ~TTimeSource() = default;
  // Monotonic time in microseconds; only differences are meaningful.
  virtual int64_t NowMicros() = 0;
  // Sleeps; false when the stop signal ended the sleep early.
  virtual bool SleepMicros(int64_t micros, TStopSignal& stop) = 0;
};

class TRealTimeSource final : public TTimeSource {
 public:
  int64_t NowMicros() override;
  bool SleepMicros(int64_t micros, TStopSignal& stop) override;
};

class TVirtualTimeSource final : public TTimeSource {
 public:
  int64_t NowMicros() override { return m_now.load(std::memory_order_acquire); }
  bool SleepMicros(int64_t micros, TStopSignal& stop) override;
  void Advance(int64_t micros) { m_now.fetch_add(micros, std::memory_order_acq_rel); }

 private:
  std::atomic<int64_t> m_now{0};
};

}  // namespace zarvek
