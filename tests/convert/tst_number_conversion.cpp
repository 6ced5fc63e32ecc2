#include <QTest>
#include <bit>
#include <cmath>
#include <random>

#include "convert/number_conversion.h"
#include "convert/number_text.h"

struct Reading { QByteArray text; NumberCheck check; qint32 integer; double floating; };
Q_DECLARE_METATYPE(Reading)

class TestNumberConversion : public QObject {
    Q_OBJECT
private slots:
    void reading_data()
    {
        QTest::addColumn<Reading>("r");
        const auto row = [](const QByteArray& text, NumberCheck check, qint32 integer, double floating) {
            QTest::addRow("%.16s (%d)", text.constData(), int(text.size())) << Reading{text, check, integer, floating};
        };
        const NumberCheck ok = NumberCheck::Ok, illegal = NumberCheck::Illegal;
        row("*+,-./0123456789", ok, 0, 0.0);
        row(" -1,5", ok, -1, -1.0);
        row("1.e2", ok, 1, 100.0);
        row("15E-1e", ok, 15, 1.5);
        row("7e-", ok, 7, 7.0);
        row("4294967295", ok, -1, 4294967295.0);
        row("4294967296", ok, 0, 4294967296.0);
        row("-0.00018e312", ok, 0, -INFINITY);
        row("1e99999999999999999999", ok, 1, INFINITY);
        row("1000e-330", ok, 1000, 0.0);
        row("4.9406564584124654e-324", ok, 4, std::numeric_limits<double>::denorm_min());
        row(QByteArray(64, '9') + QByteArray(30, ' '), ok, -1, 1e64);
        row(QByteArray(65, '9'), NumberCheck::TooLong, -1, 1e65);
        row(QByteArray(65, 'x'), NumberCheck::TooLong, 0, 0.0);
        row("1.2.3", illegal, 1, 1.2);
        row("-1e-5", illegal, -1, -1e-5);
        row("1:", illegal, 1, 1.0);
        row("inf", illegal, 0, 0.0);
        row("-nan", illegal, 0, 0.0);
        // A leading zero run longer than any fixed cap of the exponent: the exponent still wins, or loses.
        const QByteArray zeros(100010, '0');
        row("0." + zeros + "1e1000000", NumberCheck::TooLong, 0, INFINITY);
        row("1" + zeros + "e-1000000", NumberCheck::TooLong, 0, 0.0);
        row("0." + zeros + "1e100011", NumberCheck::TooLong, 0, 1.0);
    }
    void reading()
    {
        QFETCH(Reading, r);
        QCOMPARE(CheckNumberText(r.text.toStdString()), r.check);
        QCOMPARE(ReadInteger(r.text.toStdString()), r.integer);
        QCOMPARE(std::bit_cast<quint64>(ReadFloating(r.text.toStdString())), std::bit_cast<quint64>(r.floating));
    }

    void roundTrip()  // random values of each type, ends first: back exactly, or floating to the six decimals shown
    {
        std::mt19937_64 random(20261209);
        const long long low[] = {-32768, 0, -2147483648LL, 0}, high[] = {32767, 65535, 2147483647LL, 4294967295LL};
        for (int i = 0; i < 12000; ++i) {
            const int t = i % 6;
            const std::uint64_t bits = random();
            double value = t == 4 ? double(std::bit_cast<float>(std::uint32_t(bits))) : std::bit_cast<double>(bits);
            if (t < 4) value = double(i < 6 ? low[t] : i < 12 ? high[t] : low[t] + (long long)(bits % (high[t] - low[t] + 1)));
            if (!std::isfinite(value)) continue;
            const QByteArray text = t < 4 ? QByteArray::number(qlonglong(value)) : QByteArray::number(value, 'g', 17);
            const std::uint64_t stored = t < 4 ? std::uint64_t((long long)value) : t == 4 ? std::bit_cast<std::uint32_t>(float(value)) : std::bit_cast<std::uint64_t>(value);
            const NumberConversion forth = ConvertNumberToArray(text.toStdString(), NumberType(t));
            const QByteArray bytes = QByteArray::fromHex(forth.arrayText.c_str());
            QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(&stored), NumberTypeWidth(NumberType(t))));
            const QByteArray back = QByteArray::fromStdString(ConvertArrayToNumber({(const std::uint8_t*)bytes.constData(), std::size_t(bytes.size())}, NumberType(t)));
            QCOMPARE(back, QByteArray::fromStdString(forth.numberText));
            QVERIFY2(t < 4 ? back == text : std::fabs(ReadFloating(back.toStdString()) - value) <= 1e-6, text.constData());
        }
    }
};

QTEST_APPLESS_MAIN(TestNumberConversion)
#include "tst_number_conversion.moc"
