#include <QTest>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "common/hex_text.h"
#include "convert/number_conversion.h"
#include "convert/number_text.h"

Q_DECLARE_METATYPE(NumberCheck)
Q_DECLARE_METATYPE(NumberType)

namespace {

QByteArray Q(const std::string& s)
{
    return QByteArray::fromStdString(s);
}

// Array text back to the page's 8-byte buffer, as the array box would store it.
std::array<std::uint8_t, 8> Bytes(const std::string& arrayText)
{
    std::array<std::uint8_t, 8> bytes{};
    std::size_t count = 0;
    if (ParseHexText(arrayText, bytes, count) != HexParseResult::Ok)
        qFatal("array text not accepted: %s", arrayText.c_str());
    return bytes;
}

} // namespace

class TestNumberConversion : public QObject {
    Q_OBJECT
private slots:
    void keyFilter_data();
    void keyFilter();
    void numberCheck_data();
    void numberCheck();
    void integerReading_data();
    void integerReading();
    void floatingReading_data();
    void floatingReading();
    void roundToFloatAtTheEdges();
    void numberToArray_data();
    void numberToArray();
    void arrayToNumber_data();
    void arrayToNumber();
    void roundTripIntegers();
    void roundTripFloatingTypes();
};

void TestNumberConversion::keyFilter_data()
{
    QTest::addColumn<uint>("typed");
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << uint('7') << QByteArray("1.5e-3") << true;
    QTest::newRow("first point") << uint('.') << QByteArray("12") << true;
    QTest::newRow("second point") << uint('.') << QByteArray("1.2") << false;
    QTest::newRow("second minus") << uint('-') << QByteArray("-1e") << false;
    QTest::newRow("second e") << uint('e') << QByteArray("1e5") << false;
    QTest::newRow("E beside e") << uint('E') << QByteArray("1e5") << true;
    QTest::newRow("second E") << uint('E') << QByteArray("1E") << false;
    QTest::newRow("backspace") << uint('\b') << QByteArray("1.") << true;
    QTest::newRow("plus") << uint('+') << QByteArray("") << false;
    QTest::newRow("comma") << uint(',') << QByteArray("1") << false;
    QTest::newRow("letter") << uint('x') << QByteArray("") << false;
    QTest::newRow("full-width digit") << uint(0xFF11) << QByteArray("") << false;
}

void TestNumberConversion::keyFilter()
{
    QFETCH(uint, typed);
    QFETCH(QByteArray, current);
    QFETCH(bool, accepted);
    QCOMPARE(AcceptNumberKey(char32_t(typed), current.toStdString()), accepted);
}

void TestNumberConversion::numberCheck_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<NumberCheck>("expected");
    QTest::newRow("empty") << QByteArray("") << NumberCheck::Ok;
    QTest::newRow("all of * + , - . / and digits") << QByteArray("*+,-./0123456789") << NumberCheck::Ok;
    QTest::newRow("e and E once each") << QByteArray("1e5E") << NumberCheck::Ok;
    QTest::newRow("repeated plus") << QByteArray("++5,,5") << NumberCheck::Ok;
    QTest::newRow("two points") << QByteArray("1.2.3") << NumberCheck::Illegal;
    QTest::newRow("two minus") << QByteArray("-1e-5") << NumberCheck::Illegal;
    QTest::newRow("two e") << QByteArray("1e2e") << NumberCheck::Illegal;
    QTest::newRow("letter") << QByteArray("12a") << NumberCheck::Illegal;
    QTest::newRow("colon just past the digits") << QByteArray("1:") << NumberCheck::Illegal;
    QTest::newRow("parenthesis just before *") << QByteArray(")") << NumberCheck::Illegal;
    QTest::newRow("tab") << QByteArray("1\t2") << NumberCheck::Illegal;
    QTest::newRow("inf") << QByteArray("inf") << NumberCheck::Illegal;
    QTest::newRow("-nan") << QByteArray("-nan") << NumberCheck::Illegal;
    QTest::newRow("high byte") << QByteArray("1\xE9") << NumberCheck::Illegal;
    QTest::newRow("64 digits") << QByteArray(64, '9') << NumberCheck::Ok;
    QTest::newRow("64 digits and blanks") << QByteArray(64, '9') + QByteArray(30, ' ') << NumberCheck::Ok;
    QTest::newRow("65 digits") << QByteArray(65, '9') << NumberCheck::TooLong;
    QTest::newRow("length before legality") << QByteArray(65, 'x') << NumberCheck::TooLong;
}

void TestNumberConversion::numberCheck()
{
    QFETCH(QByteArray, text);
    QFETCH(NumberCheck, expected);
    QCOMPARE(CheckNumberText(text.toStdString()), expected);
}

void TestNumberConversion::integerReading_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("plain") << QByteArray("70000") << 70000;
    QTest::newRow("negative") << QByteArray("-2") << -2;
    QTest::newRow("plus") << QByteArray("+5") << 5;
    QTest::newRow("leading blanks") << QByteArray("  \t12") << 12;
    QTest::newRow("stops at comma") << QByteArray("1,5") << 1;
    QTest::newRow("stops at point") << QByteArray("3.99") << 3;
    QTest::newRow("stops at e") << QByteArray("1e5") << 1;
    QTest::newRow("no digits") << QByteArray("-") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("sign twice") << QByteArray("+-5") << 0;
    QTest::newRow("2^31 wraps") << QByteArray("2147483648") << std::numeric_limits<qint32>::min();
    QTest::newRow("-2^31") << QByteArray("-2147483648") << std::numeric_limits<qint32>::min();
    QTest::newRow("2^32-1 is -1") << QByteArray("4294967295") << -1;
    QTest::newRow("2^32 is 0") << QByteArray("4294967296") << 0;
    QTest::newRow("-(2^32+1)") << QByteArray("-4294967297") << -1;
    // 10^20 mod 2^32 = 1661992960
    QTest::newRow("10^20") << QByteArray("100000000000000000000") << 1661992960;
    QTest::newRow("64 nines") << QByteArray(64, '9') << -1;  // 10^64 - 1 = -1 mod 2^32, as 10^64 = 0 mod 2^32
}

void TestNumberConversion::integerReading()
{
    QFETCH(QByteArray, text);
    QFETCH(qint32, expected);
    QCOMPARE(ReadInteger(text.toStdString()), expected);
}

void TestNumberConversion::floatingReading_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("plain") << QByteArray("3.14") << 3.14;
    QTest::newRow("plus") << QByteArray("+5") << 5.0;
    QTest::newRow("leading blank") << QByteArray(" -1.5") << -1.5;
    QTest::newRow("comma ends it") << QByteArray("1,5") << 1.0;
    QTest::newRow("point first") << QByteArray(".5") << 0.5;
    QTest::newRow("point last") << QByteArray("2.") << 2.0;
    QTest::newRow("point and exponent") << QByteArray("1.e2") << 100.0;
    QTest::newRow("E") << QByteArray("15E-1") << 1.5;
    QTest::newRow("exponent without digits") << QByteArray("7e") << 7.0;
    QTest::newRow("exponent sign without digits") << QByteArray("7e-") << 7.0;
    QTest::newRow("second point ends it") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("lone point") << QByteArray(".") << 0.0;
    QTest::newRow("point then exponent") << QByteArray(".e5") << 0.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("no inf") << QByteArray("inf") << 0.0;
    QTest::newRow("no nan") << QByteArray("nan") << 0.0;
    QTest::newRow("no hex") << QByteArray("0x10") << 0.0;
    QTest::newRow("1e56") << QByteArray("1e56") << 1e56;
    QTest::newRow("overflow") << QByteArray("1e309") << inf;
    QTest::newRow("negative overflow") << QByteArray("-1e400") << -inf;
    QTest::newRow("long mantissa overflow") << QByteArray("0.00018e312") << inf;
    QTest::newRow("underflow") << QByteArray("1e-400") << 0.0;
    QTest::newRow("small mantissa underflow") << QByteArray("1000e-330") << 0.0;
    QTest::newRow("huge exponent") << QByteArray("1e99999999999999999999") << inf;
    QTest::newRow("zero with huge exponent") << QByteArray("0e99999") << 0.0;
    QTest::newRow("subnormal") << QByteArray("4.9406564584124654e-324") << std::numeric_limits<double>::denorm_min();
}

void TestNumberConversion::floatingReading()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double value = ReadFloating(text.toStdString());
    QCOMPARE(std::bit_cast<quint64>(value), std::bit_cast<quint64>(expected));
}

void TestNumberConversion::roundToFloatAtTheEdges()
{
    const float max = std::numeric_limits<float>::max();
    const float inf = std::numeric_limits<float>::infinity();
    QCOMPARE(RoundToFloat(3.14), 3.14f);
    QCOMPARE(RoundToFloat(double(max)), max);
    // Just below the halfway point to 2^128 still rounds to FLT_MAX; the halfway point rounds to even, up.
    QCOMPARE(RoundToFloat(std::nextafter(0x1.ffffffp127, 0.0)), max);
    QCOMPARE(RoundToFloat(0x1.ffffffp127), inf);
    QCOMPARE(RoundToFloat(-0x1.ffffffp127), -inf);
    QCOMPARE(RoundToFloat(1e39), inf);
    QCOMPARE(RoundToFloat(-1e300), -inf);
    QCOMPARE(RoundToFloat(std::numeric_limits<double>::infinity()), inf);
    QVERIFY(std::isnan(RoundToFloat(std::numeric_limits<double>::quiet_NaN())));
    QCOMPARE(RoundToFloat(1e-50), 0.0f);
}

void TestNumberConversion::numberToArray_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<NumberType>("type");
    QTest::addColumn<QByteArray>("array");
    QTest::addColumn<QByteArray>("number");
    QTest::newRow("40000 short is negative") << QByteArray("40000") << NumberType::Short << QByteArray("40 9C") << QByteArray("-25536");
    QTest::newRow("-2 unsigned long") << QByteArray("-2") << NumberType::UnsignedLong << QByteArray("FE FF FF FF") << QByteArray("4294967294");
    QTest::newRow("0x12345678 long") << QByteArray("305419896") << NumberType::Long << QByteArray("78 56 34 12") << QByteArray("305419896");
    // IEEE 754 encodings: -0.0f = 0x80000000, 3.14 = 0x40091EB851EB851F, -inf (single) = 0xFF800000.
    QTest::newRow("-0 float") << QByteArray("-0") << NumberType::Float << QByteArray("00 00 00 80") << QByteArray("-0.000000");
    QTest::newRow("-1e39 float") << QByteArray("-1e39") << NumberType::Float << QByteArray("00 00 80 FF") << QByteArray("-inf");
    QTest::newRow("3.14 double") << QByteArray("3.14") << NumberType::Double << QByteArray("1F 85 EB 51 B8 1E 09 40") << QByteArray("3.140000");
    QTest::newRow("1e309 double") << QByteArray("1e309") << NumberType::Double << QByteArray("00 00 00 00 00 00 F0 7F") << QByteArray("inf");
}

void TestNumberConversion::numberToArray()
{
    QFETCH(QByteArray, text);
    QFETCH(NumberType, type);
    QFETCH(QByteArray, array);
    QFETCH(QByteArray, number);
    const NumberConversion result = ConvertNumberToArray(text.toStdString(), type);
    QCOMPARE(Q(result.arrayText), array);
    QCOMPARE(Q(result.numberText), number);
}

void TestNumberConversion::arrayToNumber_data()
{
    QTest::addColumn<QByteArray>("array");
    QTest::addColumn<NumberType>("type");
    QTest::addColumn<QByteArray>("number");
    QTest::newRow("FF FF unsigned short") << QByteArray("FF FF") << NumberType::UnsignedShort << QByteArray("65535");
    QTest::newRow("one byte as long") << QByteArray("FF") << NumberType::Long << QByteArray("255");
    QTest::newRow("float infinity") << QByteArray("00 00 80 7F") << NumberType::Float << QByteArray("inf");
    QTest::newRow("float NaN") << QByteArray("01 00 C0 7F") << NumberType::Float << QByteArray("nan");
    QTest::newRow("double NaN, sign set") << QByteArray("00 00 00 00 00 00 F8 FF") << NumberType::Double << QByteArray("-nan");
    QTest::newRow("largest float") << QByteArray("FF FF 7F 7F") << NumberType::Float
                                   << QByteArray("340282346638528859811704183484516925440.000000");
}

void TestNumberConversion::arrayToNumber()
{
    QFETCH(QByteArray, array);
    QFETCH(NumberType, type);
    QFETCH(QByteArray, number);
    QCOMPARE(Q(ConvertArrayToNumber(Bytes(array.toStdString()), type)), number);
}

void TestNumberConversion::roundTripIntegers()
{
    std::mt19937_64 random(20261209);
    struct Range {
        NumberType type;
        long long low, high;
    };
    const Range ranges[] = {{NumberType::Short, -32768, 32767},
                            {NumberType::UnsignedShort, 0, 65535},
                            {NumberType::Long, -2147483648LL, 2147483647LL},
                            {NumberType::UnsignedLong, 0, 2147483647LL}};  // above that the reading wraps to negative
    for (const Range& range : ranges) {
        std::uniform_int_distribution<long long> pick(range.low, range.high);
        for (int i = 0; i < 2000; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, "%lld", i < 2 ? (i ? range.high : range.low) : pick(random));
            const NumberConversion forth = ConvertNumberToArray(text, range.type);
            QCOMPARE(Q(forth.numberText), QByteArray(text));
            QCOMPARE(Q(ConvertArrayToNumber(Bytes(forth.arrayText), range.type)), QByteArray(text));
        }
    }
}

void TestNumberConversion::roundTripFloatingTypes()
{
    std::mt19937_64 random(4048);
    for (int i = 0; i < 4000; ++i) {
        const bool single = i % 2 == 0;
        const std::uint64_t bits = random();
        const double value = single ? double(std::bit_cast<float>(std::uint32_t(bits))) : std::bit_cast<double>(bits);
        if (!std::isfinite(value))
            continue;
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", value);  // enough digits to name the value exactly
        const NumberType type = single ? NumberType::Float : NumberType::Double;

        const NumberConversion forth = ConvertNumberToArray(text, type);
        const auto bytes = Bytes(forth.arrayText);
        const std::uint64_t stored = single ? std::uint64_t(std::bit_cast<std::uint32_t>(float(value)))
                                            : std::bit_cast<std::uint64_t>(value);
        for (int b = 0; b < (single ? 4 : 8); ++b)
            QCOMPARE(bytes[b], std::uint8_t(stored >> (8 * b)));

        const std::string back = ConvertArrayToNumber(bytes, type);
        QCOMPARE(Q(back), Q(forth.numberText));
        // Six decimals: the printed value is within half a millionth of the stored one.
        const double printed = ReadFloating(back);
        QVERIFY2(std::fabs(printed - value) <= 1e-6, text);
    }
}

QTEST_APPLESS_MAIN(TestNumberConversion)
#include "tst_number_conversion.moc"
