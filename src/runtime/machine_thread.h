// A small thread layer with the semantics the token machine needs: created suspended,
// suspended only by itself, resumed and asked to terminate from other threads, run at
// below-normal priority.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace zarvek {

// A flag that, once raised, ends every wait on it early. Sleeps of the machine wait on
// it so that stopping a simulation does not have to sit out a long PAUSE.
class TStopSignal {
 public:
  void Raise();
  bool Raised() const { return m_raised.load(std::memory_order_acquire); }
  // Waits up to the given time; false when the signal ended the wait early.
  bool WaitFor(int64_t micros);

 private:
  std::atomic<bool> m_raised{false};
  std::mutex m_mutex;
  std::condition_variable m_cv;
};

class TMachineThread {
 public:
  explicit TMachineThread(std::function<void()> body) : m_body(std::move(body)) {}
  ~TMachineThread();
  TMachineThread(const TMachineThread&) = delete;
  TMachineThread& operator=(const TMachineThread&) = delete;

  // From any thread. The first Resume starts the thread; later ones wake it when it has
  // suspended itself and do nothing while it runs. After Terminate nothing starts.
  void Resume();
  // Asks the body to end; wakes a suspended or sleeping thread so that it can see it.
  void Terminate();
  bool TerminateRequested() const { return m_stop.Raised(); }
  TStopSignal& StopSignal() { return m_stop; }
  // Waits until the body has returned (does nothing when the thread never started). Any
  // number of threads may wait at once; on the thread itself it returns at once.
  void WaitFor();
  bool OnThread() const;
  // Waits until the thread is suspended or finished (for observers such as tests).
  void WaitUntilIdle();
  bool Suspended() const;
  bool Finished() const;

  // On the thread itself: suspend until resumed or terminated; true when resumed. The
  // conditional form checks its condition under the thread's lock, so that a Resume given
  // between the decision to suspend and the suspension itself is not lost.
  bool SuspendSelf();
  bool SuspendSelfIf(const std::function<bool()>& stillWanted);

 private:
  void Main();

  std::function<void()> m_body;
  TStopSignal m_stop;
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_started = false;
  bool m_suspended = true;  // created suspended
  bool m_finished = false;
  std::thread::id m_threadId;  // under m_mutex
  // Guards m_thread against two threads joining it; never taken on the thread itself.
  std::mutex m_joinMutex;
  std::thread m_thread;
};

// Lowers the calling thread's scheduling priority one step below normal, where the
// platform allows it.
void LowerCurrentThreadPriority();

}  // namespace zarvek
