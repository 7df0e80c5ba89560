// A re-entrant lock that the machine thread may hold across a run of tokens instead of
// taking it around every access: other threads announce that they want it, and the
// machine gives it up at the next token boundary (after writing its state back).
#pragma once

#include <atomic>
#include <cstdint>
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

  // The machine's holder learns that the lock is wanted through this bit of its
  // attention word, which it looks at after every token.
  void SignalWantedTo(std::atomic<uint32_t>* attention, uint32_t bit) {
    m_attention = attention;
    m_attentionBit = bit;
  }

  void lock() {
    m_wanted.fetch_add(1, std::memory_order_acq_rel);
    if (m_attention) m_attention->fetch_or(m_attentionBit, std::memory_order_acq_rel);
    m_mutex.lock();
    m_wanted.fetch_sub(1, std::memory_order_acq_rel);
    m_taken.fetch_add(1, std::memory_order_acq_rel);
  }
  void unlock() { m_mutex.unlock(); }

  // Used by the machine thread for its long holds; it does not count as wanting.
  void LockQuietly() { m_mutex.lock(); }
  bool Wanted() const { return m_wanted.load(std::memory_order_acquire) != 0; }
  // Called after releasing the lock: lets the threads that wait for it at this moment
  // take it before the caller retakes it. Threads that arrive later wait their turn, so a
  // stream of readers cannot hold the machine off.
  void WaitWhileWanted() const {
    const int waiting = m_wanted.load(std::memory_order_acquire);
    const uint64_t takenBefore = m_taken.load(std::memory_order_acquire);
    while (m_wanted.load(std::memory_order_acquire) != 0 &&
           m_taken.load(std::memory_order_acquire) - takenBefore < static_cast<uint64_t>(waiting))
      std::this_thread::yield();
  }

 private:
  std::recursive_mutex m_mutex;
  std::atomic<int> m_wanted{0};
  std::atomic<uint64_t> m_taken{0};
  std::atomic<uint32_t>* m_attention = nullptr;
  uint32_t m_attentionBit = 0;
};

}  // namespace zarvek
