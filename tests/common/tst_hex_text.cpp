#include <QTest>
#include <array>
#include <cctype>
#include <string>

#include "common/hex_input_profile.h"
#include "common/hex_text.h"

Q_DECLARE_METATYPE(HexParseResult)

class TestHexText : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void parseByteAgreesWithReference();
    void badDigitStopsAtItsPair();
    void format();
    void profileTexts_data();
    void profileTexts();
};

void TestHexText::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<HexParseResult>("result");
    QTest::addColumn<QByteArray>("normal");  // FormatHexBytes of the bytes on Ok

    const auto ok = HexParseResult::Ok;
    QTest::newRow("pairs") << QByteArray("0102") << 512 << ok << QByteArray("01 02 ");
    QTest::newRow("lower case") << QByteArray("0a 0B") << 512 << ok << QByteArray("0A 0B ");
    QTest::newRow("mixed case") << QByteArray("0A0b") << 512 << ok << QByteArray("0A 0B ");
    QTest::newRow("blank inside pair") << QByteArray("1 2") << 512 << ok << QByteArray("12 ");
    QTest::newRow("leading trailing blanks") << QByteArray("  ff  FF ") << 512 << ok << QByteArray("FF FF ");
    QTest::newRow("blanks only") << QByteArray("   ") << 512 << ok << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << 512 << HexParseResult::Empty << QByteArray();
    QTest::newRow("odd") << QByteArray("abc") << 512 << HexParseResult::OddLength << QByteArray();
    QTest::newRow("bad digit") << QByteArray("0g") << 512 << HexParseResult::BadDigit << QByteArray();
    QTest::newRow("prefix 0x") << QByteArray("0x12") << 512 << HexParseResult::BadDigit << QByteArray();
    QTest::newRow("bad char leaves odd") << QByteArray("12 g") << 512 << HexParseResult::OddLength << QByteArray();
    QTest::newRow("line feed") << QByteArray("01\n02") << 512 << HexParseResult::OddLength << QByteArray();
    QTest::newRow("CR LF") << QByteArray("01\r\n02") << 512 << HexParseResult::BadDigit << QByteArray();
    QTest::newRow("tab") << QByteArray("01\t2") << 512 << HexParseResult::BadDigit << QByteArray();

    const QByteArray d1024(1024, 'A');
    QTest::newRow("512 bytes") << d1024 << 512 << ok << QByteArray(FormatHexBytes(std::vector<std::uint8_t>(512, 0xAA)).c_str());
    QTest::newRow("513 bytes") << QByteArray(1026, 'A') << 512 << HexParseResult::TooLong << QByteArray();
    QTest::newRow("odd before limit") << QByteArray(1025, 'A') << 512 << HexParseResult::OddLength << QByteArray();
    QTest::newRow("bad digit past limit") << QByteArray(1025, 'G') + "G" << 512 << HexParseResult::TooLong << QByteArray();
    QTest::newRow("8 bytes") << QByteArray("01 02 03 04 05 06 07 08") << 8 << ok << QByteArray("01 02 03 04 05 06 07 08 ");
    QTest::newRow("9 bytes") << QByteArray("010203040506070809") << 8 << HexParseResult::TooLong << QByteArray();
}

void TestHexText::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(int, limit);
    QFETCH(HexParseResult, result);
    QFETCH(QByteArray, normal);

    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(limit), 0x5A);
    std::size_t count = 12345;
    const HexParseResult got = ParseHexText(std::string_view(text.constData(), text.size()), buffer, count);
    QCOMPARE(got, result);
    if (result == HexParseResult::Ok) {
        QCOMPARE(QByteArray(FormatHexBytes(std::span(buffer).first(count)).c_str()), normal);
        for (std::size_t i = count; i < buffer.size(); ++i)
            QCOMPARE(buffer[i], std::uint8_t{0});  // pages rely on the zero fill past the count
    } else {
        QCOMPARE(count, std::size_t{12345});
    }
}

void TestHexText::parseByteAgreesWithReference()
{
    for (int h = 0; h < 256; ++h) {
        for (int l = 0; l < 256; ++l) {
            const char hc = static_cast<char>(h);
            const char lc = static_cast<char>(l);
            std::uint8_t byte = 0;
            const bool ok = ParseHexByte(hc, lc, byte);
            const bool expectOk = std::isxdigit(h) && std::isxdigit(l);
            QCOMPARE(ok, expectOk);
            if (ok) {
                const char pair[3] = {hc, lc, 0};
                QCOMPARE(int(byte), int(std::strtol(pair, nullptr, 16)));
            }
        }
    }
}

void TestHexText::badDigitStopsAtItsPair()
{
    std::array<std::uint8_t, 8> buffer{};
    buffer.fill(0x77);
    std::size_t count = 0;
    QCOMPARE(ParseHexText("11 22 3Z 44", buffer, count), HexParseResult::BadDigit);
    QCOMPARE(buffer[2], std::uint8_t{0});
    QCOMPARE(buffer[3], std::uint8_t{0});  // nothing is stored past the bad pair
}

void TestHexText::format()
{
    QCOMPARE(FormatHexBytes({}), std::string());
    const std::array<std::uint8_t, 3> three{0x00, 0xAB, 0x0f};
    QCOMPARE(FormatHexBytes(three), std::string("00 AB 0F "));
    QCOMPARE(FormatHexValue(std::span(three).first(1)), std::string("00"));
    QCOMPARE(FormatHexValue(std::span(three).first(2)), std::string("00 AB"));
    const std::array<std::uint8_t, 8> eight{1, 2, 3, 4, 5, 6, 7, 0xFF};
    QCOMPARE(FormatHexValue(eight), std::string("01 02 03 04 05 06 07 FF"));
    QCOMPARE(FormatHexValue(std::span(eight).first(4)), std::string("01 02 03 04"));
}

void TestHexText::profileTexts_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<HexParseResult>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("checksum odd") << 0 << HexParseResult::OddLength << QStringLiteral("16进制数据长度错误，请确认！");
    QTest::newRow("checksum long") << 0 << HexParseResult::TooLong << QStringLiteral("16进制数据长度不能超过512！");
    QTest::newRow("checksum bad") << 0 << HexParseResult::BadDigit << QStringLiteral("16进制数据格式错误，请重新确认！");
    QTest::newRow("bytes odd") << 1 << HexParseResult::OddLength << QStringLiteral("数据长度错误，请确认！");
    QTest::newRow("bytes long") << 1 << HexParseResult::TooLong << QStringLiteral("数据长度不能超过512！");
    QTest::newRow("bytes bad") << 1 << HexParseResult::BadDigit << QStringLiteral("数据格式错误，请重新确认！");
    QTest::newRow("format bad") << 2 << HexParseResult::BadDigit << QStringLiteral("16进制数据格式错误，请重新确认！");
    QTest::newRow("conversion odd") << 3 << HexParseResult::OddLength << QStringLiteral("数据长度错误");
    QTest::newRow("conversion long") << 3 << HexParseResult::TooLong << QStringLiteral("数据长度不能超过8");
    QTest::newRow("conversion bad") << 3 << HexParseResult::BadDigit << QStringLiteral("数据格式错误");
}

void TestHexText::profileTexts()
{
    QFETCH(int, page);
    QFETCH(HexParseResult, result);
    QFETCH(QString, text);
    const HexInputProfile* profiles[] = {&HEX_PROFILE_CHECKSUM, &HEX_PROFILE_BYTE_ANALYSIS, &HEX_PROFILE_STRING_FORMAT,
                                         &HEX_PROFILE_CONVERSION};
    QCOMPARE(QString::fromUtf8(HexErrorText(*profiles[page], result)), text);
    QCOMPARE(profiles[page]->limit, page == 3 ? std::size_t{8} : MAX_HEX_BYTES);
    QCOMPARE(profiles[page]->messageBoxOnError, page != 3);
    QCOMPARE(profiles[page]->rewriteNormalForm, page != 3);
}

QTEST_APPLESS_MAIN(TestHexText)
#include "tst_hex_text.moc"
