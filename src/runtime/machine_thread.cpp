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
  // Destroyed on its own thread (a fault of the owner): let the thread go rather than
  // end the process.
  if (m_thread.joinable()) m_thread.detach();
}

void TMachineThread::Resume() {
  std::unique_lock lock(m_mutex);
  if (!m_started) {
    if (TerminateRequested()) return;
    // The start takes the join lock first, as WaitFor does, so that a waiter never sees
    // the thread object half made. Only the first Resume gets here, never on the thread.
    lock.unlock();
    std::lock_guard join(m_joinMutex);
    lock.lock();
    if (m_started || TerminateRequested()) return;
    m_started = true;
    m_suspended = false;
    m_thread = std::thread([this] { Main(); });
    m_threadId = m_thread.get_id();
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

bool TMachineThread::OnThread() const {
  std::lock_guard lock(m_mutex);
  return m_started && m_threadId == std::this_thread::get_id();
}

void TMachineThread::WaitFor() {
  if (OnThread()) return;  // the thread ends once the caller's hook or listener returns
  std::lock_guard join(m_joinMutex);
  if (m_thread.joinable()) m_thread.join();
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

bool TMachineThread::SuspendSelf() {
  return SuspendSelfIf([] { return true; });
}

bool TMachineThread::SuspendSelfIf(const std::function<bool()>& stillWanted) {
  std::unique_lock lock(m_mutex);
  if (TerminateRequested() || !stillWanted()) return false;
  m_suspended = true;
  m_cv.notify_all();
  m_cv.wait(lock, [this] { return !m_suspended || TerminateRequested(); });
  m_suspended = false;
  return !TerminateRequested();
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
