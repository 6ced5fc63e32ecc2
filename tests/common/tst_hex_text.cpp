#include <QTest>
#include <cctype>
#include <cstdlib>

#include "common/hex_text.h"

Q_DECLARE_METATYPE(HexParseResult)

class TestHexText : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void parseByteAgreesWithStrtol();
    void format();
};

void TestHexText::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<HexParseResult>("result");
    QTest::addColumn<QByteArray>("normal");  // FormatHexBytes of the parsed bytes
    using R = HexParseResult;
    const QByteArray none;
    QTest::newRow("pairs") << QByteArray("0102") << 512 << R::Ok << QByteArray("01 02 ");
    QTest::newRow("lower case") << QByteArray("0a 0B") << 512 << R::Ok << QByteArray("0A 0B ");
    QTest::newRow("blank inside pair") << QByteArray("1 2") << 512 << R::Ok << QByteArray("12 ");
    QTest::newRow("blanks only") << QByteArray("   ") << 512 << R::Ok << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << 512 << R::Empty << none;
    QTest::newRow("odd") << QByteArray("abc") << 512 << R::OddLength << none;
    QTest::newRow("bad digit") << QByteArray("0g") << 512 << R::BadDigit << none;
    QTest::newRow("prefix 0x") << QByteArray("0x12") << 512 << R::BadDigit << none;
    QTest::newRow("line feed") << QByteArray("01\n02") << 512 << R::OddLength << none;
    QTest::newRow("CR LF") << QByteArray("01\r\n02") << 512 << R::BadDigit << none;
    QTest::newRow("512 bytes") << QByteArray(1024, 'a') << 512 << R::Ok << QByteArray("AA ").repeated(512);
    QTest::newRow("513 bytes") << QByteArray(1026, 'A') << 512 << R::TooLong << none;
    QTest::newRow("odd before limit") << QByteArray(1025, 'A') << 512 << R::OddLength << none;
    QTest::newRow("long bad text") << QByteArray(1026, 'G') << 512 << R::TooLong << none;
    QTest::newRow("8 bytes") << QByteArray("01 02 03 04 05 06 07 08") << 8 << R::Ok << QByteArray("01 02 03 04 05 06 07 08 ");
    QTest::newRow("9 bytes") << QByteArray("010203040506070809") << 8 << R::TooLong << none;
}

void TestHexText::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(int, limit);
    QFETCH(HexParseResult, result);
    QFETCH(QByteArray, normal);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(limit), 0x5A);
    std::size_t count = 99;
    QCOMPARE(ParseHexText(std::string_view(text.constData(), text.size()), buffer, count), result);
    if (result != HexParseResult::Ok) {
        QCOMPARE(count, std::size_t{99});
        return;
    }
    QCOMPARE(QByteArray::fromStdString(FormatHexBytes(std::span(buffer).first(count))), normal);
    QVERIFY(std::all_of(buffer.begin() + count, buffer.end(), [](auto b) { return b == 0; }));  // zero past the count
}

void TestHexText::parseByteAgreesWithStrtol()
{
    for (int h = 0; h < 256; ++h)
        for (int l = 0; l < 256; ++l) {
            const char pair[3] = {char(h), char(l), 0};
            std::uint8_t byte = 0;
            const bool ok = ParseHexByte(pair[0], pair[1], byte);
            QCOMPARE(ok, std::isxdigit(h) && std::isxdigit(l));
            if (ok)
                QCOMPARE(int(byte), int(std::strtol(pair, nullptr, 16)));
        }
}

void TestHexText::format()
{
    const std::vector<std::uint8_t> bytes{0x00, 0xAB, 0x0f, 4, 5, 6, 7, 0xFF};
    QCOMPARE(FormatHexBytes({}), std::string());
    QCOMPARE(FormatHexBytes(std::span(bytes).first(3)), std::string("00 AB 0F "));
    QCOMPARE(FormatHexValue(std::span(bytes).first(1)), std::string("00"));
    QCOMPARE(FormatHexValue(std::span(bytes).first(2)), std::string("00 AB"));
    QCOMPARE(FormatHexValue(bytes), std::string("00 AB 0F 04 05 06 07 FF"));
}

QTEST_APPLESS_MAIN(TestHexText)
#include "tst_hex_text.moc"
