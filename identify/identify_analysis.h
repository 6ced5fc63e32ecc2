#pragma once
// One identification on a worker thread, for the window: a private copy of the frames, progress,
// cancellation, and the report handed over once.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "identify/checksum_identify.h"

// Test seam: while one lives, a worker pauses at its first progress notice until the hold ends
// or its analysis is cancelled, so a test can act while an analysis certainly still runs.
class CIdentifyHold {
public:
    CIdentifyHold();
    ~CIdentifyHold();
    CIdentifyHold(const CIdentifyHold&) = delete;
    CIdentifyHold& operator=(const CIdentifyHold&) = delete;
};

class CIdentifyAnalysis {
public:
    // Called on the worker, outside every lock, when the progress has grown and once after the
    // report is ready. It must not block on the analysis.
    using Notify = std::function<void()>;

    /// Starts the worker on its own copy of the frames.
    CIdentifyAnalysis(std::vector<IdentifyFrame> frames, IdentifyOptions options, Notify notify);
    /// Cancels and joins the worker.
    ~CIdentifyAnalysis();
    CIdentifyAnalysis(const CIdentifyAnalysis&) = delete;
    CIdentifyAnalysis& operator=(const CIdentifyAnalysis&) = delete;

    /// Asks the worker to stop soon; does not wait.
    void Cancel();
    bool Cancelled() const { return m_cancel.load(std::memory_order_relaxed); }
    /// True once the report is ready (also after a cancel).
    bool Finished() const { return m_finished.load(std::memory_order_acquire); }
    /// 0 to 100.
    unsigned Progress() const { return m_progress.load(std::memory_order_relaxed); }
    /// The report, once Finished; moved out, so the first call has it.
    IdentifyReport TakeReport();

private:
    void Work();
    void PauseWhileHeld();

    // The protocol between the two threads, owned here. The worker alone writes m_report, then
    // sets m_finished (release); the other thread reads m_report only after it has seen
    // m_finished (acquire), and the worker never touches it again. m_progress is written by the
    // worker only; m_cancel is set by the other thread only and read by the worker. Notices
    // batch: one per percent of progress at most, and one at the end. The destructor cancels
    // and joins, so the worker never outlives the object.
    const std::vector<IdentifyFrame> m_frames;
    IdentifyOptions m_options;
    const Notify m_notify;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{false};
    std::atomic<unsigned> m_progress{0};
    bool m_paused = false;  // worker only: the hold has been waited for once
    IdentifyReport m_report;
    std::thread m_worker;
};
