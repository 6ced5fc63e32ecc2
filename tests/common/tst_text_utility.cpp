#include <QTest>
#include <cstdint>
#include <limits>
#include <random>

#include "common/text_utility.h"

using namespace Qt::StringLiterals;

class TestTextUtility : public QObject {
    Q_OBJECT
private slots:
    void decimal();
    void nextUtf8_data();
    void nextUtf8();
    void utf8MatchesQt();
};

void TestTextUtility::decimal()
{
    QCOMPARE(DecimalText(0), "0");
    QCOMPARE(DecimalText(-7), "-7");
    QCOMPARE(DecimalText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    QCOMPARE(DecimalText(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    QCOMPARE(DecimalText(std::uint8_t{255}), "255");
}

void TestTextUtility::nextUtf8_data()
{
    // The byte sequences of RFC 3629's section 3 and its section 10's examples of ill-formed ones.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<uint>>("characters");  // NO_CHARACTER stands for each byte of none
    constexpr uint NONE = NO_CHARACTER;
    QTest::newRow("ascii") << "A\x7F"_ba << QList<uint>{'A', 0x7F};
    QTest::newRow("two, three, four bytes") << "\xC2\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"_ba << QList<uint>{0xA9, 0x4E2D, 0x1F600};
    QTest::newRow("overlong slash") << "\xC0\xAF"_ba << QList<uint>{NONE, NONE};
    QTest::newRow("overlong three") << "\xE0\x80\xAF"_ba << QList<uint>{NONE, NONE, NONE};
    QTest::newRow("surrogate") << "\xED\xA0\x80"_ba << QList<uint>{NONE, NONE, NONE};
    QTest::newRow("beyond U+10FFFF") << "\xF4\x90\x80\x80"_ba << QList<uint>{NONE, NONE, NONE, NONE};
    QTest::newRow("cut off at the end") << "a\xE4\xB8"_ba << QList<uint>{'a', NONE, NONE};
    QTest::newRow("cut off by ascii") << "\xE4z"_ba << QList<uint>{NONE, 'z'};
    QTest::newRow("stray continuation") << "\x80\xBF"_ba << QList<uint>{NONE, NONE};
}

void TestTextUtility::nextUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<uint>, characters);
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    QList<uint> read;
    for (std::size_t k = 0; k < text.size();)
        read << NextUtf8(text, k);
    QCOMPARE(read, characters);
}

void TestTextUtility::utf8MatchesQt()
{
    // Qt's own encoder is the reference: every scalar value, encoded and read back, as Qt has it.
    std::mt19937 random(21);
    std::uniform_int_distribution<char32_t> anyValue(0, 0x10FFFF);
    for (int round = 0; round < 20000; ++round) {
        char32_t c = round < 0x80 ? static_cast<char32_t>(round) : anyValue(random);
        std::string encoded;
        AppendUtf8Character(encoded, c);
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        QCOMPARE(QByteArray::fromStdString(encoded), QString::fromUcs4(&c, 1).toUtf8());
        std::size_t at = 0;
        QCOMPARE(NextUtf8(encoded, at), c);
        QCOMPARE(at, encoded.size());
    }
}

QTEST_APPLESS_MAIN(TestTextUtility)
#include "tst_text_utility.moc"
