#include <QTest>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <random>

#include "checksum/checksum_analysis.h"
#include "checksum_reference.h"

namespace {

// Stands in for the user-interface thread: notices wake it, it takes the rows, as the page does.
class RowCollector {
public:
    CChecksumAnalysis::Notify Notice()
    {
        return [this] {
            std::lock_guard lock(m_mutex);
            ++m_notices;
            m_wake.notify_one();
        };
    }

    // Takes rows until the analysis has ended; false if that took longer than `limit`.
    bool Drain(CChecksumAnalysis& analysis, std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::vector<ChecksumMatch> taken;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait_until(lock, deadline, [&] { return m_notices > m_seen; });
                m_seen = m_notices;
            }
            const bool finished = analysis.Finished();
            analysis.TakeRows(taken);
            rows.insert(rows.end(), taken.begin(), taken.end());
            if (finished)
                return true;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
        }
    }

    std::vector<ChecksumMatch> rows;

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_notices = 0;
    int m_seen = 0;
};

std::map<ChecksumMethod, std::vector<ChecksumMatch>> ByMethod(const std::vector<ChecksumMatch>& rows)
{
    std::map<ChecksumMethod, std::vector<ChecksumMatch>> split;
    for (const ChecksumMatch& row : rows)
        split[row.method].push_back(row);
    return split;
}

} // namespace

class TestChecksumAnalysis : public QObject {
    Q_OBJECT
private slots:
    void allMethodsInterleaveInOrder();
    void searchesItsOwnCopy();
    void emptyResultStillEnds();
    void cancelEndsPromptlyKeepingAPrefix();
    void destroyWhileRunning();
};

void TestChecksumAnalysis::allMethodsInterleaveInOrder()
{
    // Zeros with some noise: many rows from every method but CRC16 and CRC32.
    std::vector<std::uint8_t> frame(200, 0);
    std::mt19937 random(5);
    for (int k = 0; k < 10; ++k)
        frame[random() % frame.size()] = static_cast<std::uint8_t>(random());

    RowCollector collector;
    CChecksumAnalysis analysis(frame, CHECKSUM_METHODS, collector.Notice());
    QVERIFY(collector.Drain(analysis, std::chrono::seconds(60)));
    analysis.Join();

    QCOMPARE(analysis.RowCount(), static_cast<std::uint32_t>(collector.rows.size()));
    auto split = ByMethod(collector.rows);
    for (ChecksumMethod method : CHECKSUM_METHODS)
        QCOMPARE(split[method], FindChecksums(method, frame));  // each method in its own order
}

void TestChecksumAnalysis::searchesItsOwnCopy()
{
    std::vector<std::uint8_t> frame = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    RowCollector collector;
    const ChecksumMethod crc16[] = {ChecksumMethod::CRC16};
    CChecksumAnalysis analysis(frame, crc16, collector.Notice());
    frame.assign(frame.size(), 0xEE);  // the user edits the frame while the worker runs
    QVERIFY(collector.Drain(analysis, std::chrono::seconds(10)));
    QCOMPARE(collector.rows, (std::vector<ChecksumMatch>{{ChecksumMethod::CRC16, 1, 6, 0xCDC5}}));
    QCOMPARE(analysis.Frame()[6], std::uint8_t{0xC5});
}

void TestChecksumAnalysis::emptyResultStillEnds()
{
    const std::vector<std::uint8_t> frame = {0x00, 0x00};
    RowCollector collector;
    CChecksumAnalysis analysis(frame, CHECKSUM_METHODS, collector.Notice());
    QVERIFY(collector.Drain(analysis, std::chrono::seconds(10)));
    QVERIFY(collector.rows.empty());
    QCOMPARE(analysis.RowCount(), 0u);
}

void TestChecksumAnalysis::cancelEndsPromptlyKeepingAPrefix()
{
    const std::vector<std::uint8_t> zeros(512, 0);
    RowCollector collector;
    CChecksumAnalysis analysis(zeros, CHECKSUM_METHODS, collector.Notice());
    analysis.Cancel();
    const auto before = std::chrono::steady_clock::now();
    QVERIFY(collector.Drain(analysis, std::chrono::seconds(10)));
    analysis.Join();
    QVERIFY(std::chrono::steady_clock::now() - before < std::chrono::seconds(2));
    QVERIFY(analysis.Cancelled());

    // Whatever was found before the stop is exactly the start of the full result.
    for (auto& [method, rows] : ByMethod(collector.rows)) {
        const std::vector<ChecksumMatch> all = FindChecksums(method, zeros);
        QVERIFY(rows.size() <= all.size());
        QVERIFY(std::equal(rows.begin(), rows.end(), all.begin()));
    }
}

void TestChecksumAnalysis::destroyWhileRunning()
{
    const std::vector<std::uint8_t> zeros(512, 0);
    for (int round = 0; round < 5; ++round) {
        std::atomic<int> notices{0};
        auto analysis = std::make_unique<CChecksumAnalysis>(zeros, CHECKSUM_METHODS, [&] { ++notices; });
        std::this_thread::sleep_for(std::chrono::milliseconds(round));
        analysis.reset();  // cancels and joins; nothing may run on afterwards
        const int settled = notices.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        QCOMPARE(notices.load(), settled);
    }
}

QTEST_APPLESS_MAIN(TestChecksumAnalysis)
#include "tst_checksum_analysis.moc"
