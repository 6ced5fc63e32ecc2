#include "identify/identify_analysis.h"

#include <condition_variable>

#include "common/thread_start.h"

namespace {

// The holds of CIdentifyHold: `holds` is changed by the holds under `mutex`; a held worker
// waits on `changed`, which the last release and every Cancel wake.
struct Holds {
    std::mutex mutex;
    std::condition_variable changed;
    int holds = 0;
};

Holds& TheHolds()
{
    static Holds holds;
    return holds;
}

} // namespace

CIdentifyHold::CIdentifyHold()
{
    std::lock_guard lock(TheHolds().mutex);
    ++TheHolds().holds;
}

CIdentifyHold::~CIdentifyHold()
{
    {
        std::lock_guard lock(TheHolds().mutex);
        --TheHolds().holds;
    }
    TheHolds().changed.notify_all();
}

CIdentifyAnalysis::CIdentifyAnalysis(std::vector<IdentifyFrame> frames, IdentifyOptions options, Notify notify)
    : m_frames(std::move(frames))
    , m_options(std::move(options))
    , m_notify(std::move(notify))
{
    m_options.cancel = &m_cancel;
    m_options.progress = [this](unsigned percent) {
        m_progress.store(percent, std::memory_order_relaxed);
        PauseWhileHeld();
        if (m_notify)
            m_notify();
    };
    m_worker = std::thread(&CIdentifyAnalysis::Work, this);
}

CIdentifyAnalysis::~CIdentifyAnalysis()
{
    Cancel();
    if (m_worker.joinable())
        m_worker.join();
}

void CIdentifyAnalysis::Cancel()
{
    m_cancel.store(true, std::memory_order_relaxed);
    { std::lock_guard lock(TheHolds().mutex); }  // orders the flag before a held worker's next look
    TheHolds().changed.notify_all();
}

void CIdentifyAnalysis::PauseWhileHeld()
{
    if (m_paused)
        return;
    m_paused = true;
    std::unique_lock lock(TheHolds().mutex);
    TheHolds().changed.wait(lock, [this] { return TheHolds().holds == 0 || Cancelled(); });
}

void CIdentifyAnalysis::Work()
{
    RunThreadStartHook();  // a fault here is reported like one on the main thread
    m_report = IdentifyChecksums(m_frames, m_options);
    m_progress.store(100, std::memory_order_relaxed);
    m_finished.store(true, std::memory_order_release);
    if (m_notify)
        m_notify();
}

IdentifyReport CIdentifyAnalysis::TakeReport()
{
    if (!Finished())
        return {};
    return std::move(m_report);
}
