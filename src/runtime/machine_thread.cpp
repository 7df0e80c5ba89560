#include "runtime/machine_thread.h"

#include <cerrno>
#include <chrono>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace zarvek {

void TStopSignal::Raise() {
  {
    std::lock_guard lock(m_mutex);
    m_raised.store(true, std::memory_order_release);
  }
  m_cv.notify_all();
}

bool TStopSignal::WaitFor(int64_t micros) {
  std::unique_lock lock(m_mutex);
  return !m_cv.wait_for(lock, std::chrono::microseconds(micros), [this] { return Raised(); });
}

TMachineThread::~TMachineThread() {
  Terminate();
  WaitFor();
}

void TMachineThread::Resume() {
  std::lock_guard lock(m_mutex);
  if (!m_started) {
    m_started = true;
    m_suspended = false;
    m_thread = std::thread([this] { Main(); });
    return;
  }
  if (m_suspended && !m_finished) {
    m_suspended = false;
    m_cv.notify_all();
  }
}

void TMachineThread::Terminate() {
  m_stop.Raise();
  std::lock_guard lock(m_mutex);
  m_cv.notify_all();
}

void TMachineThread::WaitFor() {
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void TMachineThread::WaitUntilIdle() {
  std::unique_lock lock(m_mutex);
  m_cv.wait(lock, [this] { return m_suspended || m_finished; });
}

bool TMachineThread::Suspended() const {
  std::lock_guard lock(m_mutex);
  return m_suspended;
}

bool TMachineThread::Finished() const {
  std::lock_guard lock(m_mutex);
  return m_finished;
}

void TMachineThread::SuspendSelf() {
  SuspendSelfIf([] { return true; });
}

void TMachineThread::SuspendSelfIf(const std::function<bool()>& stillWanted) {
  std::unique_lock lock(m_mutex);
  if (TerminateRequested() || !stillWanted()) return;
  m_suspended = true;
  m_cv.notify_all();
  m_cv.wait(lock, [this] { return !m_suspended || TerminateRequested(); });
  m_suspended = false;
}

void TMachineThread::Main() {
  LowerCurrentThreadPriority();
  m_body();
  std::lock_guard lock(m_mutex);
  m_finished = true;
  m_cv.notify_all();
}

void LowerCurrentThreadPriority() {
#if defined(_WIN32)
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#elif defined(__linux__)
  // On Linux the nice value is per thread when addressed by thread id.
  const id_t tid = static_cast<id_t>(syscall(SYS_gettid));
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, tid);
  if (errno == 0) setpriority(PRIO_PROCESS, tid, current + 2);
#endif
}

}  // namespace zarvek
