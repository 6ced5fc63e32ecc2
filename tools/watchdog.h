#pragma once
// A guard for work that may never end: unless disarmed in time, it calls a function once from a
// thread of its own, which must make the work stop (the math conversion interrupts its engine).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CWatchdog {
public:
    using Expiry = std::function<void()>;

    /// Starts the watch; `onExpiry` runs on the watchdog's thread when `limit` passes undisarmed.
    CWatchdog(std::chrono::milliseconds limit, Expiry onExpiry);
    /// Disarms and joins.
    ~CWatchdog();
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

    /// Stops the watch and waits for the thread: once it returns, `onExpiry` has run completely or
    /// will never run.
    void Disarm();
    /// True once the limit passed and `onExpiry` was called (or is being called).
    bool Expired() const { return m_expired.load(std::memory_order_acquire); }

private:
    void Watch(std::chrono::milliseconds limit);

    const Expiry m_onExpiry;
    // The owner's thread sets m_disarmed (under m_lock) and never clears it; the watchdog's thread
    // sets m_expired only while m_disarmed is still false, then calls m_onExpiry outside the lock.
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_disarmed = false;
    std::atomic<bool> m_expired{false};
    std::thread m_thread;
};
