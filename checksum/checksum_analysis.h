#pragma once
// One analysis: a worker thread per method searching a private copy of the frame, with the rows
// queued for whoever shows them.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "checksum/checksum_search.h"

// Test seam: while one of these lives, every worker pauses after each batch of rows it hands over,
// until the last hold is released or its own analysis is cancelled. A test can then act while an
// analysis is certainly still running, whatever the machine's speed.
class CWorkerHold {
public:
    CWorkerHold();
    ~CWorkerHold();
    CWorkerHold(const CWorkerHold&) = delete;
    CWorkerHold& operator=(const CWorkerHold&) = delete;
};

class CChecksumAnalysis {
public:
    // Called on a worker thread, outside the lock: when rows start waiting in an empty queue, and
    // once more when the last worker has ended. It must not block on the analysis.
    using Notify = std::function<void()>;

    /// Copies the frame and starts one worker per method, in the order given.
    CChecksumAnalysis(std::span<const std::uint8_t> frame, std::span<const ChecksumMethod> methods, Notify notify);
    /// Cancels and joins the workers.
    ~CChecksumAnalysis();
    CChecksumAnalysis(const CChecksumAnalysis&) = delete;
    CChecksumAnalysis& operator=(const CChecksumAnalysis&) = delete;

    /// Asks every worker to stop before its next start position; does not wait.
    void Cancel();
    /// Waits for every worker to end.
    void Join();
    bool Cancelled() const { return m_cancel.load(std::memory_order_relaxed); }
    /// True once every worker has ended; rows appended before are then all in the queue.
    bool Finished() const { return m_running.load(std::memory_order_acquire) == 0; }

    /// Moves the waiting rows into `rows` (replacing its contents), in the order they were appended.
    void TakeRows(std::vector<ChecksumMatch>& rows);
    /// Rows appended since the start, taken or not.
    std::uint32_t RowCount() const;
    /// The frame the workers search.
    std::span<const std::uint8_t> Frame() const { return m_frame; }

private:
    void SearchWorker(ChecksumMethod method);
    void AppendResultRows(std::span<const ChecksumMatch> rows);
    void PauseWhileHeld() const;

    const std::vector<std::uint8_t> m_frame;
    const Notify m_notify;
    std::atomic<bool> m_cancel{false};
    std::atomic<std::size_t> m_running{0};

    // Guards the row counter and the queue, so the rows of one method keep their order while the
    // methods interleave.
    mutable std::mutex m_rowLock;
    std::uint32_t m_rowCounter = 0;
    std::vector<ChecksumMatch> m_pending;
    bool m_notified = false;  // a notice for the waiting rows is out and not yet answered

    std::vector<std::thread> m_workers;
};
