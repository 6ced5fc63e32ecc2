#include <QTest>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/code_page.h"

namespace {

QByteArray Bytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

QString Text(const std::u16string& s)
{
    return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string Units(const QString& s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
}

} // namespace

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void wideToNarrow_data();
    void wideToNarrow();
    void narrowToWide_data();
    void narrowToWide();
    void everyDoubleByteCharacterComesBack();
    void randomBytesNeverLoseTheRest();
    void convertsOnManyThreadsAtOnce();
};

// Code points from the GBK (CP936) code chart.
void TestCodePage::wideToNarrow_data()
{
    QTest::addColumn<QString>("wide");
    QTest::addColumn<QByteArray>("narrow");
    QTest::newRow("ascii") << QStringLiteral("Ab1 ") << QByteArray("Ab1 ");
    QTest::newRow("hanzi") << QStringLiteral("你好") << QByteArray("\xC4\xE3\xBA\xC3");
    QTest::newRow("euro is 80") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("hangul jamo") << QString(QChar(0x3132)) << QByteArray("?");
    QTest::newRow("lone high surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") << QByteArray("a?b");
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC00)) << QByteArray("?");
    QTest::newRow("pair, unit by unit") << QString::fromUcs4(U"\U0001F600") << QByteArray("??");
    QTest::newRow("zero unit") << QString(QChar(0)) + QStringLiteral("A") << QByteArray("\0A", 2);
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCodePage::wideToNarrow()
{
    QFETCH(QString, wide);
    QFETCH(QByteArray, narrow);
    QCOMPARE(Bytes(WideToNarrow(Units(wide))), narrow);
}

void TestCodePage::narrowToWide_data()
{
    QTest::addColumn<QByteArray>("narrow");
    QTest::addColumn<QString>("wide");
    const QChar bad(0xFFFD);
    QTest::newRow("hanzi") << QByteArray("\xC4\xE3\xBA\xC3") << QStringLiteral("你好");
    QTest::newRow("control bytes kept") << QByteArray("1\r\n2\x01") << QStringLiteral("1\r\n2\x01");
    QTest::newRow("cut off at the end") << QByteArray("A\xC4") << QStringLiteral("A") + bad;
    QTest::newRow("FF then text") << QByteArray("\xFF" "AB") << bad + QStringLiteral("AB");
    QTest::newRow("lead byte, bad trail") << QByteArray("\x81\n\xC4\xE3") << bad + QStringLiteral("\n你");
    QTest::newRow("zero byte kept") << QByteArray("A\0B", 3) << QStringLiteral("A") + QChar(0) + QStringLiteral("B");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestCodePage::narrowToWide()
{
    QFETCH(QByteArray, narrow);
    QFETCH(QString, wide);
    QCOMPARE(Text(NarrowToWide(std::string_view(narrow.constData(), static_cast<std::size_t>(narrow.size())))), wide);
}

void TestCodePage::everyDoubleByteCharacterComesBack()
{
    // Every double-byte code that decodes to a character encodes back to the same two bytes.
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string narrow{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string wide = NarrowToWide(narrow);
            if (wide.size() != 1 || wide[0] == 0xFFFD || (wide[0] >= 0xE000 && wide[0] <= 0xF8FF))
                continue;  // unassigned, or a private-use code with more than one home
            ++characters;
            if (WideToNarrow(wide) != narrow)
                QFAIL(qPrintable(QStringLiteral("%1 %2").arg(lead, 0, 16).arg(trail, 0, 16)));
        }
    }
    QVERIFY(characters > 21000);
}

void TestCodePage::randomBytesNeverLoseTheRest()
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 2000; ++round) {
        std::string narrow(random() % 1101, '\0');
        for (char& c : narrow)
            c = static_cast<char>(random());
        narrow += "\n12";  // no GBK trail byte lies below 0x40, so these three always survive
        const std::u16string wide = NarrowToWide(narrow);
        QVERIFY(wide.size() <= narrow.size());
        QVERIFY(wide.ends_with(u"\n12"));
        std::u16string units(random() % 1101, u'\0');
        for (char16_t& u : units)
            u = static_cast<char16_t>(random());
        const std::string back = WideToNarrow(units);
        QVERIFY(back.size() >= units.size() && back.size() <= 2 * units.size());
    }
}

void TestCodePage::convertsOnManyThreadsAtOnce()
{
    const std::u16string wide = u"串格式化 PDU 你好 " + std::u16string(1, char16_t(0xD800));
    const std::string narrow = WideToNarrow(wide);
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i)
                if (WideToNarrow(wide) != narrow || NarrowToWide(narrow) != wide.substr(0, wide.size() - 1) + u"?")
                    ++failures[static_cast<std::size_t>(t)];
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(failures, std::vector<int>(4, 0));
}

QTEST_APPLESS_MAIN(TestCodePage)
#include "tst_code_page.moc"
