#include <QTest>
#include <atomic>
#include <condition_variable>

#include "identify/identify_analysis.h"
#include "identify/identify_log.h"
#include "tests/identify/identify_logs.h"

namespace {

std::vector<IdentifyFrame> ModbusLog(std::size_t count)
{
    std::mt19937 random(3);
    const CrcParameters modbus{16, 0x8005, 0xFFFF, true, true, 0};
    return MakeLog(count, [&](std::size_t) {
        Bytes frame = RandomBytes(random, 4 + random() % 60);
        AppendValue(frame, ComputeCrcBitwise(modbus, frame), 2, false);
        return frame;
    });
}

// Waits for the analysis's notices without a fixed sleep.
struct Notices {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    void Notify()
    {
        { std::lock_guard lock(mutex); ++count; }
        changed.notify_all();
    }
    bool WaitFor(const CIdentifyAnalysis& analysis)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(120), [&] { return analysis.Finished(); });
    }
};

} // namespace

class TestIdentifyAnalysis : public QObject {
    Q_OBJECT
private slots:
    // A log with a monitor's timestamps, blank lines, a comment and a broken line.
    void readsLogs()
    {
        const IdentifyLog log = ReadIdentifyLog("01 03 00 00 00 0A C5 CD\r\n"
                                                "\n"
                                                "[10:00:01.020] RX: 01 03 02 00 01 79 84\n"
                                                "# COM3 opened\n"
                                                "0103 0G\n"
                                                "010600010003980B",
                                                true);
        QCOMPARE(log.frames.size(), 3u);
        QCOMPARE(log.frames[0].line, 1u);
        QCOMPARE(log.frames[1].line, 3u);
        QCOMPARE(log.frames[1].bytes, (Bytes{0x01, 0x03, 0x02, 0x00, 0x01, 0x79, 0x84}));
        QCOMPARE(log.frames[2].line, 6u);
        QCOMPARE(log.refused.size(), 2u);
        QCOMPARE(log.refused[0].line, 4u);
        QCOMPARE(log.refused[1].line, 5u);
        QCOMPARE(QString::fromStdString(log.refused[1].message), "16进制数据格式错误，请重新确认！");
        QVERIFY(ReadIdentifyLog("", true).frames.empty());
        // Without extracting, a monitor's line is refused whole.
        const IdentifyLog plain = ReadIdentifyLog("[10:00:01.020] RX: 01 03 02 00 01 79 84\n01 02", false);
        QCOMPARE(plain.frames.size(), 1u);
        QCOMPARE(plain.refused.size(), 1u);
    }

    void runsAndHandsOver()
    {
        Notices notices;
        CIdentifyAnalysis analysis(ModbusLog(200), {}, [&] { notices.Notify(); });
        QVERIFY(notices.WaitFor(analysis));
        QCOMPARE(analysis.Progress(), 100u);
        const IdentifyReport report = analysis.TakeReport();
        QVERIFY(!report.cancelled);
        QCOMPARE(report.rules.at(0).held, 200u);
        QVERIFY(analysis.TakeReport().rules.empty());  // handed over once
    }

    // Two workers at once, each solving a CRC outside the catalogue (the solver and the
    // verification's shared tables under ThreadSanitizer).
    void solvesOnTwoWorkers()
    {
        const CrcParameters crcs[] = {{16, 0x8BB7, 0, true, true, 0}, {16, 0x1021, 0x1234, false, false, 0}};
        std::vector<IdentifyFrame> logs[2];
        for (int k = 0; k < 2; ++k) {
            std::mt19937 random(k);
            logs[k] = MakeLog(60, [&](std::size_t) {
                Bytes frame = RandomBytes(random, 6 + random() % 30);
                AppendValue(frame, ComputeCrcBitwise(crcs[k], frame), 2, k == 1);
                return frame;
            });
        }
        Notices notices[2];
        CIdentifyAnalysis first(logs[0], {}, [&] { notices[0].Notify(); });
        CIdentifyAnalysis second(logs[1], {}, [&] { notices[1].Notify(); });
        QVERIFY(notices[0].WaitFor(first));
        QVERIFY(notices[1].WaitFor(second));
        const IdentifyReport reports[] = {first.TakeReport(), second.TakeReport()};
        for (int k = 0; k < 2; ++k) {
            QCOMPARE(reports[k].rules.at(0).rule.model, SOLVED_CRC_MODEL);
            QVERIFY(reports[k].rules.at(0).rule.solved == crcs[k]);
            QCOMPARE(reports[k].rules.at(0).held, 60u);
        }
    }

    // Held at its first notice, cancelled: it ends promptly and says so; destroyed while held:
    // the destructor cancels and joins.
    void cancelsAndJoins()
    {
        {
            const CIdentifyHold hold;
            Notices notices;
            CIdentifyAnalysis analysis(ModbusLog(2000), {}, [&] { notices.Notify(); });
            QVERIFY(!analysis.Finished());
            analysis.Cancel();
            QVERIFY(notices.WaitFor(analysis));
            QVERIFY(analysis.TakeReport().cancelled);
        }
        {
            const CIdentifyHold hold;
            CIdentifyAnalysis analysis(ModbusLog(2000), {}, {});
        }
    }
};

QTEST_APPLESS_MAIN(TestIdentifyAnalysis)
#include "tst_identify_analysis.moc"
