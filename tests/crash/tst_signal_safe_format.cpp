#include <QTest>
#include <climits>
#include <cstdio>
#include <cstring>

#include "crash/signal_safe_format.h"

#pragma GCC diagnostic ignored "-Wformat-truncation"  // cutting texts short is what two cases test

// Formats both ways and hands back (ours, the C library's) for one comparison.
#define BOTH(capacity, ...)                                                                  \
    [&] {                                                                                    \
        char ours[capacity + 1], theirs[capacity + 1];                                       \
        std::memset(ours, '#', sizeof ours);                                                 \
        std::memset(theirs, '#', sizeof theirs);                                             \
        const std::size_t n = SignalSafeFormat(ours, capacity, __VA_ARGS__);                 \
        const int m = std::snprintf(theirs, capacity, __VA_ARGS__);                          \
        return std::pair{QByteArray(ours, capacity + 1) + QByteArray::number(qulonglong(n)), \
                         QByteArray(theirs, capacity + 1) + QByteArray::number(m)};          \
    }()

class TestSignalSafeFormat : public QObject {
    Q_OBJECT
private slots:
    void matchesTheCLibrary();
};

void TestSignalSafeFormat::matchesTheCLibrary()
{
    // The texts the crash handler builds, and the conversions' corners.
    const auto cases = {
        BOTH(128, "%s_%02d%02d%02d_%02d%02d%02d.dmp", "Velmorra", 2013, 3, 3, 9, 5, 7),
        BOTH(128, "%s%s%s_%02d%02d%02d_%02d%02d%02d.dmp", "/tmp/work", "/", "velmorra", 1999, 12, 31, 23, 59, 59),
        BOTH(200, "Tessik通讯数据分析辅助工具 遇到未知错误，错误原因：%s 错误代码：%d", "DBGHELP.DLL LoadLibrary is Error", 2),
        BOTH(64, "%d %d %d %d", 0, -1, INT_MAX, INT_MIN),
        BOTH(64, "%ld %lu %u", LONG_MIN, ULONG_MAX, UINT_MAX),
        BOTH(64, "%x %X %lx %08x", 0xBEEFu, 0xBEEFu, 0xFFFFFFFFFFul, 0x1Fu),
        BOTH(64, "[%5d] [%-5d] [%05d] [%-8s] [%8s]", -42, 7, -42, "ab", "cd"),
        BOTH(64, "%c%c 100%% %s", 'o', 'k', static_cast<const char*>("")),
        BOTH(64, "%p", reinterpret_cast<void*>(0x10)),
        // Cut short: the text stops one byte early for its terminator, the length is the whole.
        BOTH(8, "%s", "0123456789"),
        BOTH(1, "%d", 12345),
    };
    int row = 0;
    for (const auto& [ours, theirs] : cases) {
        QVERIFY2(ours == theirs, qPrintable(QStringLiteral("case %1: %2 vs %3").arg(row).arg(QString::fromUtf8(ours), QString::fromUtf8(theirs))));
        ++row;
    }
    char untouched = '#';
    QCOMPARE(SignalSafeFormat(&untouched, 0, "%s", "abc"), std::size_t{3});
    QCOMPARE(untouched, '#');
}

QTEST_APPLESS_MAIN(TestSignalSafeFormat)
#include "tst_signal_safe_format.moc"
