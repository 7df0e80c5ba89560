#include "runtime/time_source.h"

#include <chrono>

#include "runtime/machine_thread.h"

namespace zarvek {

int64_t TRealTimeSource::NowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool TRealTimeSource::SleepMicros(int64_t micros, TStopSignal& stop) {
  if (micros <= 0) return !stop.Raised();
  return stop.WaitFor(micros);
}

bool TVirtualTimeSource::SleepMicros(int64_t micros, TStopSignal& stop) {
  if (stop.Raised()) return false;
  if (micros > 0) Advance(micros);
  return true;
}

}  // namespace zarvek
