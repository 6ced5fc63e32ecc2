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

// The owner hears of rows through notices and answers each, on its own thread, with TakeSlice.
// The invariant: until TakeSlice has reported the end, a notice is on its way whenever rows wait
// or the end is untold. A worker sends one when its rows arrive in an empty queue; TakeSlice sends
// one itself when it leaves rows of its take, or the end, for the next turn; and the last worker's
// end always sends one, so an owner that stopped answering (after a cancel) still hears of it.
// The owner therefore never polls, and a notice with nothing new costs one empty slice.
class CChecksumAnalysis {
public:
    // Called outside the lock, on a worker thread or inside TakeSlice. It must neither block on
    // the analysis nor call back into it: it only tells the owner to take a slice.
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

    /// The owner's answer to a notice: up to `most` of the rows not yet handed over, in the order
    /// they were appended, into `rows` (replacing its contents). True once every worker has ended
    /// and every row has been handed over.
    bool TakeSlice(std::size_t most, std::vector<ChecksumMatch>& rows);
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
    bool m_noticeOut = false;  // a notice for the waiting rows is out and they are not yet taken

    // The owner's side, touched only by TakeSlice: the last take and how much of it went out.
    std::vector<ChecksumMatch> m_taken;
    std::size_t m_takenShown = 0;
    bool m_endTaken = false;  // every worker had ended when m_taken was taken

    std::vector<std::thread> m_workers;
};
