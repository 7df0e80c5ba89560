// A re-entrant lock that the machine thread may hold across a run of tokens instead of
// taking it around every access: other threads announce that they want it, and the
// machine gives it up at the next token boundary (after writing its state back).
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZARVEK_TSAN 1
#endif
#elif defined(__SANITIZE_THREAD__)
#define ZARVEK_TSAN 1
#endif
#ifdef ZARVEK_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace zarvek {

class TMachineLock {
 public:
  TMachineLock() = default;
  TMachineLock(const TMachineLock&) = delete;
  TMachineLock& operator=(const TMachineLock&) = delete;
#ifdef ZARVEK_TSAN
  // The standard library never destroys the native mutex, so ThreadSanitizer would keep
  // the lock order of a dead machine for the next object at the same address.
  ~TMachineLock() { __tsan_mutex_destroy(&m_mutex, 0); }
#endif

  void lock() {
    m_wanted.fetch_add(1, std::memory_order_acq_rel);
    m_mutex.lock();
    m_wanted.fetch_sub(1, std::memory_order_acq_rel);
  }
  void unlock() { m_mutex.unlock(); }

  // Used by the machine thread for its long holds; it does not count as wanting.
  void LockQuietly() { m_mutex.lock(); }
  bool Wanted() const { return m_wanted.load(std::memory_order_relaxed) != 0; }
  // Lets every thread that waits for the lock take it before the caller retakes it.
  void WaitWhileWanted() const {
    while (m_wanted.load(std::memory_order_acquire) != 0) std::this_thread::yield();
  }

 private:
  std::recursive_mutex m_mutex;
  std::atomic<int> m_wanted{0};
};

}  // namespace zarvek
