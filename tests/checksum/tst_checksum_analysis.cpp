#include <QTest>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "checksum/checksum_analysis.h"

using namespace std::chrono_literals;

class TestChecksumAnalysis : public QObject {
    Q_OBJECT
private slots:
    void eachMethodKeepsItsOrder_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("noisy zeros") << QByteArray(90, 0) + QByteArray::fromHex("5A01C37F00E2") + QByteArray(100, 0) << false;
        QTest::newRow("nothing to find") << QByteArray(2, 0) << false;
        QTest::newRow("cancelled at once") << QByteArray(512, 0) << true;
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
        CChecksumAnalysis analysis(std::vector<std::uint8_t>(bytes), CHECKSUM_METHODS, notify);
        if (cancel)
            analysis.Cancel();
        const auto started = std::chrono::steady_clock::now();
        std::vector<ChecksumMatch> rows, taken;
        for (bool finished = false; !finished;) {
            std::unique_lock lock(mutex);
            QVERIFY2(wake.wait_for(lock, 30s, [&] { return notices > seen; }), "a notice never came");
            seen = notices;
            lock.unlock();
            finished = analysis.Finished();
            analysis.TakeRows(taken);
            rows.insert(rows.end(), taken.begin(), taken.end());
        }
        QVERIFY(!cancel || std::chrono::steady_clock::now() - started < 2s);
        for (ChecksumMethod method : CHECKSUM_METHODS) {
            std::vector<ChecksumMatch> mine, all = FindChecksums(method, bytes);
            std::copy_if(rows.begin(), rows.end(), std::back_inserter(mine), [&](auto& r) { return r.method == method; });
            QVERIFY(mine.size() <= all.size() && std::equal(mine.begin(), mine.end(), all.begin()));
            QVERIFY(cancel || mine.size() == all.size());
        }
    }

    void destroyWhileRunning()
    {
        // The destructor cancels and joins: no notice may come afterwards.
        const std::vector<std::uint8_t> zeros(512, 0);
        for (int round = 0; round < 5; ++round) {
            std::atomic<int> notices{0};
            auto analysis = std::make_unique<CChecksumAnalysis>(zeros, CHECKSUM_METHODS, [&] { ++notices; });
            std::this_thread::sleep_for(std::chrono::milliseconds(round));
            analysis.reset();
            const int settled = notices.load();
            std::this_thread::sleep_for(5ms);
            QCOMPARE(notices.load(), settled);
        }
    }
};

QTEST_APPLESS_MAIN(TestChecksumAnalysis)
#include "tst_checksum_analysis.moc"
