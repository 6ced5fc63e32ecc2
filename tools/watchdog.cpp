#include "tools/watchdog.h"

CWatchdog::CWatchdog(std::chrono::milliseconds limit, Expiry onExpiry)
    : m_onExpiry(std::move(onExpiry))
    , m_thread(&CWatchdog::Watch, this, limit)
{
}

CWatchdog::~CWatchdog()
{
    Disarm();
}

void CWatchdog::Disarm()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_disarmed = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CWatchdog::Watch(std::chrono::milliseconds limit)
{
    {
        std::unique_lock<std::mutex> guard(m_lock);
        if (m_wake.wait_for(guard, limit, [this] { return m_disarmed; }))
            return;
        m_expired.store(true, std::memory_order_release);
    }
    m_onExpiry();
}
