#include <QStringList>
#include <QTest>
#include <array>
#include <random>

#include "checksum/checksum_search.h"
#include "checksum_reference.h"
#include "common/hex_text.h"

Q_DECLARE_METATYPE(ChecksumMethod)

namespace {

std::vector<std::uint8_t> Bytes(const char* hex)
{
    std::array<std::uint8_t, MAX_HEX_BYTES> buffer{};
    std::size_t count = 0;
    if (ParseHexText(hex, buffer, count) != HexParseResult::Ok)
        return {};
    return {buffer.begin(), buffer.begin() + static_cast<long>(count)};
}

// "METHOD start-end checksum" per match, the way a row reads.
QStringList Rows(const std::vector<ChecksumMatch>& matches)
{
    QStringList rows;
    for (const ChecksumMatch& m : matches)
        rows << QStringLiteral("%1 %2-%3 %4")
                    .arg(QString::fromLatin1(ChecksumMethodName(m.method)))
                    .arg(m.start)
                    .arg(m.end)
                    .arg(QString::fromStdString(FormatChecksum(m.method, m.value)));
    return rows;
}

// "ALL": each method's rows in its own order, the methods one after another.
QStringList AllRows(const std::vector<std::uint8_t>& frame)
{
    QStringList rows;
    for (ChecksumMethod method : CHECKSUM_METHODS)
        rows << Rows(FindChecksums(method, frame));
    return rows;
}

} // namespace

class TestChecksumSearch : public QObject {
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void contentText();
    void agreesWithBruteForce_data();
    void agreesWithBruteForce();
    void agreesOnThousandsOfRandomFrames();
    void zeroFrameRowCounts();
    void cancelStopsBetweenStarts();
};

void TestChecksumSearch::examples_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("method");  // a method name, or ALL
    QTest::addColumn<QStringList>("rows");

    // The worked examples of the checksum page.
    QTest::newRow("modbus CRC16") << QByteArray("01 03 00 00 00 0A C5 CD") << QStringLiteral("CRC16")
                                  << QStringList{"CRC16 1-6 C5 CD"};
    QTest::newRow("modbus ALL") << QByteArray("01 03 00 00 00 0A C5 CD") << QStringLiteral("ALL")
                                << QStringList{"BCC 1-7 CD", "BCC 3-4 00", "SUM 3-4 00", "LRC 3-4 00",
                                               "CRC16 1-6 C5 CD", "CRC16S 3-3 00 00"};
    QTest::newRow("68 frame ALL") << QByteArray("68 01 02 03 06 16") << QStringLiteral("ALL")
                                  << QStringList{"BCC 2-3 03", "SUM 2-3 03", "SUM 2-4 06"};
    QTest::newRow("zeros BCC") << QByteArray("00 00 00 00") << QStringLiteral("BCC")
                               << QStringList{"BCC 1-2 00", "BCC 1-3 00", "BCC 2-3 00"};
    QTest::newRow("zeros CRC16S") << QByteArray("00 00 00 00") << QStringLiteral("CRC16S")
                                  << QStringList{"CRC16S 1-1 00 00", "CRC16S 1-2 00 00", "CRC16S 2-2 00 00"};
    QTest::newRow("two bytes find nothing") << QByteArray("00 00") << QStringLiteral("ALL") << QStringList{};
    QTest::newRow("one byte finds nothing") << QByteArray("00") << QStringLiteral("ALL") << QStringList{};
    QTest::newRow("empty frame") << QByteArray("") << QStringLiteral("ALL") << QStringList{};
    // Bytes after the checksum are ignored.
    QTest::newRow("trailer inside") << QByteArray("01 03 00 00 00 0A C5 CD 55 AA") << QStringLiteral("CRC16")
                                    << QStringList{"CRC16 1-6 C5 CD"};
    // Only the low 16 bits of the register are compared: a standard CRC-32 trailer
    // ("123456789" + CBF43926 little-endian) is not found, its JAMCRC low half is.
    QTest::newRow("standard CRC-32 not matched")
        << QByteArray("31 32 33 34 35 36 37 38 39 26 39 F4 CB") << QStringLiteral("CRC32") << QStringList{};
    QTest::newRow("JAMCRC low half matched")
        << QByteArray("31 32 33 34 35 36 37 38 39 D9 C6") << QStringLiteral("CRC32")
        << QStringList{"CRC32 1-9 D9 C6"};
}

void TestChecksumSearch::examples()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, method);
    QFETCH(QStringList, rows);
    const std::vector<std::uint8_t> bytes = Bytes(frame.constData());
    if (method == QLatin1String("ALL")) {
        QCOMPARE(AllRows(bytes), rows);
        return;
    }
    for (ChecksumMethod m : CHECKSUM_METHODS)
        if (method == QLatin1String(ChecksumMethodName(m)))
            QCOMPARE(Rows(FindChecksums(m, bytes)), rows);
}

void TestChecksumSearch::contentText()
{
    const std::vector<std::uint8_t> frame = Bytes("01 03 00 00 00 0A C5 CD");
    const std::vector<ChecksumMatch> matches = FindChecksums(ChecksumMethod::CRC16, frame);
    QCOMPARE(matches.size(), std::size_t{1});
    QCOMPARE(FormatMatchContent(matches[0], frame), std::string("01 03 00 00 00 0A "));
    // A match that does not fit the frame gives no text rather than reading past it.
    QCOMPARE(FormatMatchContent({ChecksumMethod::BCC, 3, 9, 0}, frame), std::string());
    QCOMPARE(FormatMatchContent({ChecksumMethod::BCC, 0, 2, 0}, frame), std::string());
}

void TestChecksumSearch::agreesWithBruteForce_data()
{
    QTest::addColumn<QByteArray>("frame");
    auto repeated = [](std::initializer_list<std::uint8_t> pattern, int length) {
        QByteArray bytes;
        while (bytes.size() < length)
            for (std::uint8_t b : pattern)
                if (bytes.size() < length)
                    bytes.append(static_cast<char>(b));
        return bytes;
    };
    QTest::newRow("all 00") << repeated({0x00}, 96);
    QTest::newRow("all FF") << repeated({0xFF}, 96);
    QTest::newRow("00 01") << repeated({0x00, 0x01}, 96);
    QTest::newRow("01 FF") << repeated({0x01, 0xFF}, 95);
    QTest::newRow("80 80 00") << repeated({0x80, 0x80, 0x00}, 96);
    QTest::newRow("12 34 56") << repeated({0x12, 0x34, 0x56}, 90);
    std::mt19937 random(2024);
    QByteArray noise;
    for (int i = 0; i < 160; ++i)
        noise.append(static_cast<char>(random() & 0xFF));
    QTest::newRow("random 160") << noise;
}

void TestChecksumSearch::agreesWithBruteForce()
{
    QFETCH(QByteArray, frame);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                              static_cast<std::size_t>(frame.size()));
    for (ChecksumMethod method : CHECKSUM_METHODS)
        QCOMPARE(FindChecksums(method, bytes), ReferenceSearch(method, bytes));
}

void TestChecksumSearch::agreesOnThousandsOfRandomFrames()
{
    // Short frames over few symbols match often, so every kind of range is exercised.
    std::mt19937 random(7);
    const std::uint8_t symbols[] = {0x00, 0x01, 0xFF, 0x80};
    std::size_t matches = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> frame(random() % 33);
        const bool fewSymbols = round % 2 == 0;
        for (std::uint8_t& b : frame)
            b = fewSymbols ? symbols[random() % 4] : static_cast<std::uint8_t>(random());
        for (ChecksumMethod method : CHECKSUM_METHODS) {
            const std::vector<ChecksumMatch> found = FindChecksums(method, frame);
            QCOMPARE(found, ReferenceSearch(method, frame));
            matches += found.size();
        }
    }
    QVERIFY(matches > 10000);
}

void TestChecksumSearch::zeroFrameRowCounts()
{
    // Every range of at least two bytes before the last byte: 510 * 511 / 2 ranges.
    const std::vector<std::uint8_t> zeros(MAX_HEX_BYTES, 0);
    QCOMPARE(FindChecksums(ChecksumMethod::BCC, zeros).size(), std::size_t{130305});
    QCOMPARE(FindChecksums(ChecksumMethod::SUM, zeros).size(), std::size_t{130305});
    QCOMPARE(FindChecksums(ChecksumMethod::LRC, zeros).size(), std::size_t{130305});
    // Every range of at least one byte that leaves two bytes after it: 511 * 510 / 2.
    QCOMPARE(FindChecksums(ChecksumMethod::CRC16S, zeros).size(), std::size_t{130305});
    QCOMPARE(FindChecksums(ChecksumMethod::BCC, zeros), ReferenceSearch(ChecksumMethod::BCC, zeros));
}

void TestChecksumSearch::cancelStopsBetweenStarts()
{
    const std::vector<std::uint8_t> zeros(64, 0);
    const std::vector<ChecksumMatch> all = FindChecksums(ChecksumMethod::SUM, zeros);

    std::atomic<bool> cancel{true};
    int calls = 0;
    QVERIFY(!SearchChecksums(ChecksumMethod::SUM, zeros, [&](auto) { ++calls; }, &cancel));
    QCOMPARE(calls, 0);

    cancel = false;
    std::vector<ChecksumMatch> found;
    const bool completed = SearchChecksums(
        ChecksumMethod::SUM, zeros,
        [&](std::span<const ChecksumMatch> batch) {
            found.insert(found.end(), batch.begin(), batch.end());
            if (found.size() > 100)
                cancel = true;
        },
        &cancel);
    QVERIFY(!completed);
    QVERIFY(found.size() > 100 && found.size() < all.size());
    QVERIFY(std::equal(found.begin(), found.end(), all.begin()));  // what was found stands as found
}

QTEST_APPLESS_MAIN(TestChecksumSearch)
#include "tst_checksum_search.moc"
