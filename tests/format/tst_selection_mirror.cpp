#include <QTest>

#include "format/selection_mirror.h"

class TestSelectionMirror : public QObject {
    Q_OBJECT
private slots:
    void hexToAscii_data();
    void hexToAscii();
    void asciiToHex();
};

// The hex box holds "31 32 41 42 43 ": byte i starts at 3i.
void TestSelectionMirror::hexToAscii_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("asciiStart");  // -1: nothing is mirrored
    QTest::addColumn<int>("asciiEnd");
    QTest::newRow("41 42") << 6 << "41 42" << 2 << 4;
    QTest::newRow("one byte") << 0 << "31" << 0 << 1;
    QTest::newRow("with trailing blank") << 6 << "41 42 " << 2 << 4;
    QTest::newRow("1 4 starts on a last digit") << 7 << "1 4" << -1 << -1;
    QTest::newRow("ends on a first digit") << 6 << "41 4" << -1 << -1;
    QTest::newRow("32 4 ends on a first digit") << 3 << "32 41 4" << -1 << -1;
    QTest::newRow("inner digits") << 4 << "2 41 4" << -1 << -1;
    QTest::newRow("single digit") << 9 << "4" << 3 << 3;
    QTest::newRow("single blank") << 2 << " " << 0 << 0;
    QTest::newRow("odd digit count rounds down") << 6 << "41 42 4" << -1 << -1;
    QTest::newRow("second half of a byte onward") << 10 << "2 43" << -1 << -1;
}

void TestSelectionMirror::hexToAscii()
{
    QFETCH(int, start);
    QFETCH(QString, selected);
    QFETCH(int, asciiStart);
    QFETCH(int, asciiEnd);
    const QByteArray text = selected.toLatin1();
    const std::optional<TextRange> range = HexSelectionToAscii(static_cast<std::size_t>(start), text.toStdString());
    QCOMPARE(range.has_value(), asciiStart >= 0);
    if (range) {
        QCOMPARE(int(range->start), asciiStart);
        QCOMPARE(int(range->end), asciiEnd);
    }
}

void TestSelectionMirror::asciiToHex()
{
    const TextRange hex = AsciiSelectionToHex({2, 4});
    QCOMPARE(int(hex.start), 6);
    QCOMPARE(int(hex.end), 12);
}

QTEST_APPLESS_MAIN(TestSelectionMirror)
#include "tst_selection_mirror.moc"
