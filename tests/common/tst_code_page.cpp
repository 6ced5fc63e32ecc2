#include <QTest>
#include <random>
#include <thread>
#include <vector>

#include "common/code_page.h"

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void convert_data();
    void convert();
    void randomInputNeverLosesTheRest();
    void convertsOnManyThreadsAtOnce();
};

// Codes from the GBK (CP936) chart. A row is written to GBK unless it holds U+FFFD, and read back too when `both`.
void TestCodePage::convert_data()
{
    QTest::addColumn<QString>("wide");
    QTest::addColumn<QByteArray>("narrow");
    QTest::addColumn<bool>("both");
    const QChar bad(0xFFFD);
    QTest::newRow("ascii and controls") << QStringLiteral("Ab1 \r\n\x01") << QByteArray("Ab1 \r\n\x01") << true;
    QTest::newRow("hanzi") << QStringLiteral("你好") << QByteArray("\xC4\xE3\xBA\xC3") << true;
    QTest::newRow("zero unit kept") << QString(QChar(0)) + 'A' << QByteArray("\0A", 2) << true;
    QTest::newRow("euro is 80") << QStringLiteral("€") << QByteArray("\x80") << false;
    QTest::newRow("no GBK code") << QString(QChar(0x3132)) << QByteArray("?") << false;
    QTest::newRow("lone surrogates") << QString(QChar(0xDC00)) + 'a' + QChar(0xD800) << QByteArray("?a?") << false;
    QTest::newRow("pair, unit by unit") << QString::fromUcs4(U"\U0001F600") << QByteArray("??") << false;
    QTest::newRow("cut off at the end") << 'A' + QString(bad) << QByteArray("A\xC4") << false;
    QTest::newRow("FF then text") << bad + QStringLiteral("AB") << QByteArray("\xFF" "AB") << false;
    QTest::newRow("lead byte, bad trail") << bad + QStringLiteral("\n你") << QByteArray("\x81\n\xC4\xE3") << false;
}

void TestCodePage::convert()
{
    QFETCH(QString, wide);
    QFETCH(QByteArray, narrow);
    QFETCH(bool, both);
    if (both || !wide.contains(QChar(0xFFFD)))
        QCOMPARE(QByteArray::fromStdString(WideToNarrow(wide.toStdU16String())), narrow);
    if (both || wide.contains(QChar(0xFFFD)))
        QCOMPARE(QString::fromStdU16String(NarrowToWide(narrow.toStdString())), wide);
}

void TestCodePage::randomInputNeverLosesTheRest()
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 2000; ++round) {
        std::string narrow(random() % 1101, '\0');
        std::u16string units(random() % 1101, u'\0');
        for (char& c : narrow)
            c = static_cast<char>(random());
        for (char16_t& u : units)
            u = static_cast<char16_t>(random());
        const std::u16string wide = NarrowToWide(narrow + "\n12");  // no GBK trail byte lies below 0x40
        QVERIFY(wide.size() <= narrow.size() + 3 && wide.ends_with(u"\n12"));
        const std::size_t back = WideToNarrow(units).size();
        QVERIFY(back >= units.size() && back <= 2 * units.size());
    }
}

void TestCodePage::convertsOnManyThreadsAtOnce()
{
    const std::u16string wide = u"串格式化 PDU 你好 " + std::u16string(1, char16_t(0xD800));
    const std::string narrow = WideToNarrow(wide);
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i)
                failures[t] += WideToNarrow(wide) != narrow || NarrowToWide(narrow) != wide.substr(0, wide.size() - 1) + u"?";
        });
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(failures, std::vector<int>(4, 0));
}

QTEST_APPLESS_MAIN(TestCodePage)
#include "tst_code_page.moc"
