#include <QTest>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "checksum/checksum_analysis.h"
#include "common/thread_start.h"

using namespace std::chrono_literals;

namespace {

std::mutex g_startedLock;
std::set<std::thread::id> g_started;

void RecordThreadStart()
{
    std::lock_guard lock(g_startedLock);
    g_started.insert(std::this_thread::get_id());
}

} // namespace

class TestChecksumAnalysis : public QObject {
    Q_OBJECT
private slots:
    void eachMethodKeepsItsOrder_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("noisy zeros") << QByteArray(90, 0) + QByteArray::fromHex("5A01C37F00E2") + QByteArray(100, 0) << false;
        QTest::newRow("nothing to find") << QByteArray(2, 0) << false;
        QTest::newRow("cancelled while held") << QByteArray(512, 0) << true;
    }

    void eachMethodKeepsItsOrder()
    {
        // As on the page, each notice wakes the taker; the workers search a copy of a frame gone at once.
        QFETCH(QByteArray, frame);
        QFETCH(bool, cancel);
        const std::vector<std::uint8_t> bytes(frame.begin(), frame.end());
        std::mutex mutex;
        std::condition_variable wake;
        int notices = 0, seen = 0;
        const auto notify = [&] { std::lock_guard lock(mutex); ++notices; wake.notify_one(); };
        // Held, every worker hands over the rows of its first start position and waits there; the
        // cancel then ends each one before its next start position (or before its first).
        std::optional<CWorkerHold> hold;
        if (cancel)
            hold.emplace();
        CChecksumAnalysis analysis(std::vector<std::uint8_t>(bytes), CHECKSUM_METHODS, notify);
        std::vector<ChecksumMatch> rows, taken;
        for (bool finished = false; !finished;) {
            std::unique_lock lock(mutex);
            QVERIFY2(wake.wait_for(lock, 60s, [&] { return notices > seen; }), "a notice never came");
            seen = notices;
            lock.unlock();
            finished = analysis.TakeSlice(SIZE_MAX, taken);
            rows.insert(rows.end(), taken.begin(), taken.end());
            if (cancel)
                analysis.Cancel();
        }
        QVERIFY(!rows.empty() || frame.size() < 3);
        for (ChecksumMethod method : CHECKSUM_METHODS) {
            std::vector<ChecksumMatch> mine, all = FindChecksums(method, bytes);
            std::copy_if(rows.begin(), rows.end(), std::back_inserter(mine), [&](auto& r) { return r.method == method; });
            QVERIFY(mine.size() <= all.size() && std::equal(mine.begin(), mine.end(), all.begin()));
            if (cancel)
                QVERIFY(std::all_of(mine.begin(), mine.end(), [](auto& r) { return r.start == 1; }));
            else
                QCOMPARE(mine.size(), all.size());
        }
    }

    void destroyWhileRunning()
    {
        // The destructor cancels and joins, held workers included: no notice may come afterwards.
        const std::vector<std::uint8_t> zeros(512, 0);
        for (bool held : {false, true}) {
            std::optional<CWorkerHold> hold;
            if (held)
                hold.emplace();
            std::mutex mutex;
            std::condition_variable wake;
            int notices = 0, late = 0;
            bool destroyed = false;
            // A worker outliving the analysis would also touch these after their scope, which the
            // sanitizer builds report.
            auto analysis = std::make_unique<CChecksumAnalysis>(zeros, CHECKSUM_METHODS, [&] {
                std::lock_guard lock(mutex);
                ++notices;
                late += destroyed;
                wake.notify_one();
            });
            if (held) {
                std::unique_lock lock(mutex);
                QVERIFY(wake.wait_for(lock, 60s, [&] { return notices > 0; }));
                QVERIFY(!analysis->Finished());
            }
            analysis.reset();
            std::lock_guard lock(mutex);
            destroyed = true;
            QCOMPARE(late, 0);
        }
    }

    void everyWorkerRunsTheStartHook()
    {
        // The program's crash handler gives each worker its signal stack through the hook.
        SetThreadStartHook(&RecordThreadStart);
        {
            CChecksumAnalysis analysis(std::vector<std::uint8_t>(64, 0x5A), CHECKSUM_METHODS, {});
            analysis.Join();
        }
        SetThreadStartHook(nullptr);
        std::lock_guard lock(g_startedLock);
        QCOMPARE(g_started.size(), std::size(CHECKSUM_METHODS));
        QVERIFY(!g_started.contains(std::this_thread::get_id()));
    }
};

QTEST_APPLESS_MAIN(TestChecksumAnalysis)
#include "tst_checksum_analysis.moc"
