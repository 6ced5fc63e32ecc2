#include "checksum/checksum_analysis.h"

#include <algorithm>
#include <condition_variable>

#include "common/thread_start.h"

namespace {

// The holds of CWorkerHold. `holds` is changed only by the holds themselves, under `mutex`;
// workers read it under `mutex` and wait on `changed`, which Cancel() and the last release wake.
struct WorkerHolds {
    std::mutex mutex;
    std::condition_variable changed;
    int holds = 0;
    std::atomic<bool> engaged{false};  // holds > 0, read without the lock after every batch
};

WorkerHolds& Holds()
{
    static WorkerHolds holds;
    return holds;
}

} // namespace

CWorkerHold::CWorkerHold()
{
    std::lock_guard lock(Holds().mutex);
    ++Holds().holds;
    Holds().engaged.store(true);
}

CWorkerHold::~CWorkerHold()
{
    {
        std::lock_guard lock(Holds().mutex);
        if (--Holds().holds == 0)
            Holds().engaged.store(false);
    }
    Holds().changed.notify_all();
}

CChecksumAnalysis::CChecksumAnalysis(std::span<const std::uint8_t> frame, std::span<const ChecksumMethod> methods,
                                     Notify notify)
    : m_frame(frame.begin(), frame.end())
    , m_notify(std::move(notify))
    , m_running(methods.size())
{
    m_workers.reserve(methods.size());
    try {
        for (ChecksumMethod method : methods)
            m_workers.emplace_back(&CChecksumAnalysis::SearchWorker, this, method);
    } catch (...) {
        Cancel();
        Join();
        throw;
    }
}

CChecksumAnalysis::~CChecksumAnalysis()
{
    Cancel();
    Join();
}

void CChecksumAnalysis::Cancel()
{
    m_cancel.store(true, std::memory_order_relaxed);
    if (Holds().engaged.load()) {
        // Taking the lock orders the flag before a held worker's next look at it.
        { std::lock_guard lock(Holds().mutex); }
        Holds().changed.notify_all();
    }
}

void CChecksumAnalysis::PauseWhileHeld() const
{
    if (!Holds().engaged.load())
        return;
    std::unique_lock lock(Holds().mutex);
    Holds().changed.wait(lock, [this] { return Holds().holds == 0 || m_cancel.load(std::memory_order_relaxed); });
}

void CChecksumAnalysis::Join()
{
    for (std::thread& worker : m_workers)
        if (worker.joinable())
            worker.join();
}

void CChecksumAnalysis::SearchWorker(ChecksumMethod method)
{
    RunThreadStartHook();  // a fault here is reported like one on the main thread
    SearchChecksums(
        method, m_frame,
        [this](std::span<const ChecksumMatch> rows) {
            AppendResultRows(rows);
            PauseWhileHeld();
        },
        {.cancel = &m_cancel});
    if (m_running.fetch_sub(1, std::memory_order_acq_rel) == 1 && m_notify)
        m_notify();
}

void CChecksumAnalysis::AppendResultRows(std::span<const ChecksumMatch> rows)
{
    bool notify = false;
    {
        std::lock_guard lock(m_rowLock);
        m_pending.insert(m_pending.end(), rows.begin(), rows.end());
        m_rowCounter += static_cast<std::uint32_t>(rows.size());
        notify = !m_noticeOut;
        m_noticeOut = true;
    }
    if (notify && m_notify)
        m_notify();
}

bool CChecksumAnalysis::TakeSlice(std::size_t most, std::vector<ChecksumMatch>& rows)
{
    if (m_takenShown == m_taken.size()) {
        // Read the end before taking: every row appended before it is then in this take.
        m_endTaken = Finished();
        m_taken.clear();
        m_takenShown = 0;
        std::lock_guard lock(m_rowLock);
        m_taken.swap(m_pending);
        m_noticeOut = false;  // rows appended from now on send a notice of their own
    }
    const std::size_t count = std::min(most, m_taken.size() - m_takenShown);
    rows.assign(m_taken.begin() + static_cast<std::ptrdiff_t>(m_takenShown),
                m_taken.begin() + static_cast<std::ptrdiff_t>(m_takenShown + count));
    m_takenShown += count;

    if (m_takenShown < m_taken.size() || (!m_endTaken && Finished())) {
        // Rows of this take are left, or the workers ended while it was handed over and their
        // notice was spent on it.
        if (m_notify)
            m_notify();
        return false;
    }
    if (!m_endTaken)
        return false;  // the workers' next rows or their end bring the next notice
    std::vector<ChecksumMatch>().swap(m_taken);
    m_takenShown = 0;
    return true;
}

std::uint32_t CChecksumAnalysis::RowCount() const
{
    std::lock_guard lock(m_rowLock);
    return m_rowCounter;
}
