#include <QTest>
#include <atomic>
#include <future>

#include "tools/watchdog.h"

using namespace std::chrono_literals;

class TestWatchdog : public QObject {
    Q_OBJECT
private slots:
    void expiresOnce()
    {
        std::promise<void> fired;
        std::atomic<int> calls{0};
        CWatchdog watchdog(20ms, [&] { if (calls++ == 0) fired.set_value(); });
        // Stands for work that ends only when the watchdog stops it.
        QCOMPARE(fired.get_future().wait_for(30s), std::future_status::ready);
        watchdog.Disarm();
        QVERIFY(watchdog.Expired());
        QCOMPARE(calls.load(), 1);
    }

    void disarmedInTime()  // Disarm wakes the wait instead of sitting the hour out
    {
        std::atomic<int> calls{0};
        {
            CWatchdog watchdog(1h, [&] { ++calls; });
            watchdog.Disarm();
            QVERIFY(!watchdog.Expired());
        }
        { CWatchdog dropped(1h, [&] { ++calls; }); }  // the destructor disarms too
        QCOMPARE(calls.load(), 0);
    }
};

QTEST_APPLESS_MAIN(TestWatchdog)
#include "tst_watchdog.moc"
