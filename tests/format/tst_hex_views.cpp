#include <QTest>
#include <random>
#include <vector>

#include "common/code_page.h"
#include "common/hex_text.h"
#include "format/hex_views.h"

namespace {

std::vector<std::uint8_t> Frame(const char* hex)
{
    std::vector<std::uint8_t> buffer(MAX_HEX_BYTES);
    std::size_t count = 0;
    if (ParseHexText(hex, buffer, count) != HexParseResult::Ok)
        qFatal("bad test frame %s", hex);
    buffer.resize(count);
    return buffer;
}

QString Shown(const std::string& narrow)
{
    const std::u16string wide = NarrowToWide(narrow);
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

} // namespace

class TestHexViews : public QObject {
    Q_OBJECT
private slots:
    void textViews_data();
    void textViews();
    void unicode_data();
    void unicode();
    void bcdValue_data();
    void bcdValue();
    void threeXThreeX_data();
    void threeXThreeX();
    void randomFramesStayInBounds();
};

void TestHexViews::textViews_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("ascii");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("bcd");
    QTest::newRow("zero byte vanishes") << "31 32 41 00 42" << "12AB" << "049 050 065 000 066 " << "1F 20 29 00 2A ";
    QTest::newRow("single FF") << "FF" << QStringLiteral("\uFFFD") << "255 " << "69 ";
    QTest::newRow("GBK pair is one character") << "C4 E3 BA C3" << QStringLiteral("你好") << "196 227 186 195 "
                                               << "00 00 00 00 ";
    QTest::newRow("CR LF passes through") << "41 0D 0A 42" << "A\r\nB" << "065 013 010 066 " << "29 0D 0A 2A ";
    QTest::newRow("blanks only") << "" << "" << "" << "";
}

void TestHexViews::textViews()
{
    QFETCH(QString, hex);
    QFETCH(QString, ascii);
    QFETCH(QString, decimal);
    QFETCH(QString, bcd);
    const std::vector<std::uint8_t> frame = Frame(qPrintable(hex + QLatin1Char(' ')));
    QCOMPARE(Shown(RenderAscii(frame)), ascii);
    QCOMPARE(QString::fromStdString(RenderDecimal(frame)), decimal);
    QCOMPARE(QString::fromStdString(RenderBcd(frame)), bcd);
}

void TestHexViews::unicode_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("text");
    // 0x4100, 0x4200 and 0x3132 have no GBK code and show as the code page's "?".
    QTest::newRow("41 00 42 00 low first") << "41 00 42 00" << BYTE_ORDER_LOW_FIRST << "AB";
    QTest::newRow("41 00 42 00 high first") << "41 00 42 00" << BYTE_ORDER_HIGH_FIRST << "??";
    QTest::newRow("00 41 high first") << "00 41" << BYTE_ORDER_HIGH_FIRST << "A";
    QTest::newRow("00 41 low first") << "00 41" << BYTE_ORDER_LOW_FIRST << "?";
    QTest::newRow("odd last byte pairs with zero") << "00 41 42" << BYTE_ORDER_HIGH_FIRST << "A?";
    QTest::newRow("odd last byte, low first") << "41 00 42" << BYTE_ORDER_LOW_FIRST << "AB";
    QTest::newRow("leading zero unit, high first") << "00 00 41 00" << BYTE_ORDER_HIGH_FIRST << "";
    QTest::newRow("leading zero unit, low first") << "00 00 00 41" << BYTE_ORDER_LOW_FIRST << "";
    QTest::newRow("zero unit ends the text") << "00 41 00 00 00 42" << BYTE_ORDER_HIGH_FIRST << "A";
    QTest::newRow("hanzi") << "4F 60 59 7D" << BYTE_ORDER_HIGH_FIRST << QStringLiteral("你好");
    QTest::newRow("hanzi low first") << "60 4F 7D 59" << BYTE_ORDER_LOW_FIRST << QStringLiteral("你好");
    QTest::newRow("surrogate pair, unit by unit") << "D8 3D DE 00" << BYTE_ORDER_HIGH_FIRST << "??";
    QTest::newRow("31 32 41 00 42") << "31 32 41 00 42" << BYTE_ORDER_HIGH_FIRST << "???";
    QTest::newRow("no bytes") << "" << BYTE_ORDER_HIGH_FIRST << "";
}

void TestHexViews::unicode()
{
    QFETCH(QString, hex);
    QFETCH(int, order);
    QFETCH(QString, text);
    QCOMPARE(Shown(RenderUnicode(Frame(qPrintable(hex + QLatin1Char(' '))), order)), text);
}

void TestHexViews::bcdValue_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("value");
    QTest::newRow("00") << 0x00 << 0;
    QTest::newRow("25 digits") << 0x25 << 25;
    QTest::newRow("0A carries") << 0x0A << 10;
    QTest::newRow("2A carries") << 0x2A << 30;
    QTest::newRow("99") << 0x99 << 99;
    QTest::newRow("9A carries into a letter") << 0x9A << 0;
    QTest::newRow("A5 starts with a letter") << 0xA5 << 0;
    QTest::newRow("F5") << 0xF5 << 0;
    QTest::newRow("FA carries past FF") << 0xFA << 100;
    QTest::newRow("FF") << 0xFF << 105;
}

void TestHexViews::bcdValue()
{
    QFETCH(int, byte);
    QFETCH(int, value);
    QCOMPARE(int(BcdValue(static_cast<std::uint8_t>(byte))), value);
}

void TestHexViews::threeXThreeX_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("text");
    const QString refused = QStringLiteral("非3X3X编码格式");
    QTest::newRow("30 31 39 39") << "30 31 39 39" << "01 99 ";
    QTest::newRow("31 32") << "31 32" << "12 ";
    QTest::newRow("letters 3A 3F") << "3A 3F 3F 30" << "AF F0 ";
    QTest::newRow("odd count and 41") << "31 32 41 00 42" << refused;
    QTest::newRow("odd count") << "31 32 33" << refused;
    QTest::newRow("2F below") << "2F 30" << refused;
    QTest::newRow("40 above") << "30 40" << refused;
    QTest::newRow("no bytes") << "" << "";
}

void TestHexViews::threeXThreeX()
{
    QFETCH(QString, hex);
    QFETCH(QString, text);
    QCOMPARE(Shown(Render3x3x(Frame(qPrintable(hex + QLatin1Char(' '))))), text);
}

void TestHexViews::randomFramesStayInBounds()
{
    // Exact-size heap copies, so the sanitizers see any read past the last byte.
    std::mt19937 random(133);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> frame(random() % 1101);  // past the page's 512, to be safe
        for (std::uint8_t& b : frame)
            b = static_cast<std::uint8_t>(round % 3 == 0 ? 0x30 + random() % 16 : random());
        QVERIFY(RenderAscii(frame).size() <= frame.size());
        QCOMPARE(RenderDecimal(frame).size(), 4 * frame.size());
        QCOMPARE(RenderBcd(frame).size(), 3 * frame.size());
        QVERIFY(RenderUnicode(frame, round % 2).size() <= frame.size() + 1);
        Render3x3x(frame);
    }
}

QTEST_APPLESS_MAIN(TestHexViews)
#include "tst_hex_views.moc"
