#include <QTest>
#include <random>
#include <tuple>

#include "checksum/checksum_join.h"

using Bytes = std::vector<std::uint8_t>;

// A CRC as its catalogue parameters define it: the shift register, one message bit at a time.
static std::uint32_t ModelCrc(int width, std::uint32_t polynomial, std::uint32_t init, bool reflected,
                              std::span<const std::uint8_t> bytes)
{
    const std::uint32_t top = 1u << (width - 1), mask = width == 32 ? ~0u : (1u << width) - 1;
    std::uint32_t reg = init, out = 0;
    for (std::uint8_t byte : bytes)
        for (int k = 0; k < 8; ++k) {
            const bool feedback = ((reg & top) != 0) != (((byte >> (reflected ? k : 7 - k)) & 1) != 0);
            reg = ((reg << 1) & mask) ^ (feedback ? polynomial : 0);
        }
    for (int b = 0; b < width; ++b)
        out |= ((reg >> b) & 1) << (width - 1 - b);
    return reflected ? out : reg;
}

static std::uint16_t Reference(ChecksumMethod method, std::span<const std::uint8_t> range)
{
    unsigned x = 0, sum = 0;
    for (std::uint8_t b : range)
        x ^= b, sum += b;
    switch (method) {
    case ChecksumMethod::BCC: return std::uint16_t(x);
    case ChecksumMethod::SUM: return std::uint16_t(sum % 256);
    case ChecksumMethod::LRC: return std::uint16_t((256 - sum % 256) % 256);
    case ChecksumMethod::CRC16: return std::uint16_t(ModelCrc(16, 0x8005, 0xFFFF, true, range));
    case ChecksumMethod::CRC16S: return std::uint16_t(ModelCrc(16, 0x8005, 0, false, range));
    case ChecksumMethod::CRC32: return std::uint16_t(ModelCrc(32, 0x04C11DB7, ~0u, true, range));
    }
    return 0;
}

// Every range i..j-1 of minLength bytes or more followed by its checksum (a one-byte method needs
// at least two bytes), slowly.
static std::vector<ChecksumMatch> ReferenceSearch(ChecksumMethod method, std::span<const std::uint8_t> frame,
                                                  std::size_t minLength)
{
    const std::size_t width = method >= ChecksumMethod::CRC16 ? 2 : 1;
    std::vector<ChecksumMatch> matches;
    for (std::size_t i = 0; i < frame.size(); ++i)
        for (std::size_t j = i + std::max(minLength, 3 - width); j + width <= frame.size(); ++j)
            if (const std::uint16_t v = Reference(method, frame.subspan(i, j - i));
                (v & 0xFF) == frame[j] && (width == 1 || v >> 8 == frame[j + 1]))
                matches.push_back({method, std::uint16_t(i + 1), std::uint16_t(j), v});
    return matches;
}

// The matches with the sink's batches kept apart: one batch per start position, in order.
template <typename Search>
static std::vector<ChecksumMatch> Batched(Search search, ChecksumMethod method, const Bytes& frame, std::size_t minLength)
{
    std::vector<ChecksumMatch> matches;
    search(method, frame, [&](std::span<const ChecksumMatch> batch) {
        QVERIFY(!batch.empty() && std::all_of(batch.begin(), batch.end(), [&](auto& m) { return m.start == batch[0].start; }));
        QVERIFY(matches.empty() || matches.back().start < batch[0].start);
        matches.insert(matches.end(), batch.begin(), batch.end());
    }, ChecksumSearchOptions{.minLength = minLength});
    return matches;
}
static std::vector<ChecksumMatch> Walked(ChecksumMethod method, const Bytes& frame, std::size_t minLength)
{
    return Batched(WalkChecksums, method, frame, minLength);
}
static std::vector<ChecksumMatch> Joined(ChecksumMethod method, const Bytes& frame, std::size_t minLength)
{
    return Batched(JoinChecksums, method, frame, minLength);
}

class TestChecksumSearch : public QObject {
    Q_OBJECT
private slots:
    void checkValues()
    {
        // BCC, SUM and LRC worked by hand; CRC16, CRC16S and CRC32 the catalogue check values of
        // CRC-16/MODBUS 4B37, CRC-16/UMTS FEE8 and CRC-32/JAMCRC 340BC6D9 (its low half).
        const Bytes digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
        QStringList found;
        for (ChecksumMethod m : CHECKSUM_METHODS)
            found << QString::fromStdString(FormatChecksum(m, ComputeChecksum(m, digits, 0, digits.size())));
        QCOMPARE(found, (QStringList{"31", "DD", "23", "37 4B", "E8 FE", "D9 C6"}));
    }

    void examples_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("method");  // a method name, or ALL: the methods one after another
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("Modbus CRC16") << QByteArray::fromHex("01 03 00 00 00 0A C5 CD") << "CRC16" << QStringList{"CRC16 1-6 C5 CD 01 03 00 00 00 0A "};
        QTest::newRow("Modbus ALL") << QByteArray::fromHex("01 03 00 00 00 0A C5 CD") << "ALL" << QStringList{"BCC 1-7 CD 01 03 00 00 00 0A C5 ", "BCC 3-4 00 00 00 ", "SUM 3-4 00 00 00 ", "LRC 3-4 00 00 00 ", "CRC16 1-6 C5 CD 01 03 00 00 00 0A ", "CRC16S 3-3 00 00 00 "};
        QTest::newRow("68 frame ALL") << QByteArray::fromHex("68 01 02 03 06 16") << "ALL" << QStringList{"BCC 2-3 03 01 02 ", "SUM 2-3 03 01 02 ", "SUM 2-4 06 01 02 03 "};
        QTest::newRow("zeros BCC") << QByteArray::fromHex("00 00 00 00") << "BCC" << QStringList{"BCC 1-2 00 00 00 ", "BCC 1-3 00 00 00 00 ", "BCC 2-3 00 00 00 "};
        QTest::newRow("zeros CRC16S") << QByteArray::fromHex("00 00 00 00") << "CRC16S" << QStringList{"CRC16S 1-1 00 00 00 ", "CRC16S 1-2 00 00 00 00 ", "CRC16S 2-2 00 00 00 "};
    }

    void examples()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, method);
        QFETCH(QStringList, rows);
        const Bytes bytes(frame.begin(), frame.end());
        QStringList found;
        for (ChecksumMethod m : CHECKSUM_METHODS)
            if (method == QLatin1String("ALL") || method == QLatin1String(ChecksumMethodName(m)))
                for (const ChecksumMatch& r : FindChecksums(m, bytes))
                    found << QStringLiteral("%1 %2-%3 %4 %5").arg(ChecksumMethodName(m)).arg(r.start).arg(r.end)
                                 .arg(QString::fromStdString(FormatChecksum(m, r.value)), QString::fromStdString(FormatMatchContent(r, bytes)));
        QCOMPARE(found, rows);
        // A match that does not fit the frame gives no text rather than reading past it.
        QVERIFY(FormatMatchContent({ChecksumMethod::BCC, 3, 9, 0}, bytes).empty() && FormatMatchContent({ChecksumMethod::BCC, 0, 2, 0}, bytes).empty());
    }

    void agreesWithBruteForce()
    {
        // Degenerate frames reaching past position 255, then thousands of short random ones, half over four
        // symbols so that they match often, with minimum lengths; also one random range of each through
        // ComputeChecksum. The walk, the join and the search that picks between them all agree.
        std::vector<Bytes> frames;
        for (Bytes pattern : {Bytes{0x00}, {0xFF}, {0x00, 0x01}, {0x01, 0xFF}, {0x80, 0x80, 0x00}, {0x12, 0x34, 0x56}})
            for (Bytes& frame = frames.emplace_back(); frame.size() < 300;)
                frame.insert(frame.end(), pattern.begin(), pattern.end());
        std::mt19937 random(7);
        const std::uint8_t symbols[] = {0x00, 0x01, 0xFF, 0x80};
        for (int round = 0; round < 3000; ++round)
            for (std::uint8_t& b : frames.emplace_back(random() % 33))
                b = round % 2 ? std::uint8_t(random()) : symbols[random() % 4];
        for (const Bytes& frame : frames) {
            const std::size_t a = random() % (frame.size() + 1), b = a + random() % (frame.size() - a + 1);
            const std::size_t minLength = frame.size() < 100 && random() % 2 ? 1 + random() % 6 : 1;
            for (ChecksumMethod method : CHECKSUM_METHODS) {
                const std::vector<ChecksumMatch> expected = ReferenceSearch(method, frame, minLength);
                QCOMPARE(FindChecksums(method, frame, {.minLength = minLength}), expected);
                QCOMPARE(Walked(method, frame, minLength), expected);
                if (CanJoin(method))
                    QCOMPARE(Joined(method, frame, minLength), expected);
                QCOMPARE(ComputeChecksum(method, frame, a, b), Reference(method, std::span(frame).subspan(a, b - a)));
            }
        }
    }

    void joinAgreesWithWalkOnLongFrames()
    {
        // Past the page's 512 bytes: random frames over all bytes and over two symbols, and a zero
        // frame whose matches grow with the square of its length, cut by a minimum length.
        std::mt19937 random(65535);
        for (auto [size, symbols, minLength] : {std::tuple{4000, 256, 1}, {3000, 2, 8}, {2500, 1, 2400}}) {
            Bytes frame(size);
            for (std::uint8_t& b : frame)
                b = std::uint8_t(random() % symbols);
            for (ChecksumMethod method : CHECKSUM_METHODS)
                if (CanJoin(method))
                    QCOMPARE(Joined(method, frame, minLength), Walked(method, frame, minLength));
        }
        QVERIFY(!CanJoin(ChecksumMethod::CRC32));
    }

    void hugeMinimumLengths()
    {
        // A minimum length near SIZE_MAX once wrapped the bounds into reading far past the frame, in
        // the join's sort and the CRC32 walk; no range is that long, so nothing is found.
        const Bytes zeros(40, 0);
        for (std::size_t minLength : {SIZE_MAX, SIZE_MAX - 1, SIZE_MAX - 39, std::size_t{40}, std::size_t{41}})
            for (ChecksumMethod method : CHECKSUM_METHODS) {
                QVERIFY(FindChecksums(method, zeros, {.minLength = minLength}).empty());
                QVERIFY(Walked(method, zeros, minLength).empty());
                QVERIFY(Joined(method, zeros, minLength).empty());
            }
        QCOMPARE(FindChecksums(ChecksumMethod::SUM, zeros, {.minLength = 38}).size(), std::size_t{3});
        QVERIFY(!MatchBoundsOf(2, 1, 1).any && !MatchBoundsOf(1, 0, SIZE_MAX).any && MatchBoundsOf(1, 3, 2).any);
    }

    void cancelKeepsWhatWasFound()
    {
        // Stopped at once nothing is found; stopped later, what was found is the start of the whole.
        const Bytes zeros(64, 0);
        std::atomic<bool> cancel{true};
        std::vector<ChecksumMatch> found, all = FindChecksums(ChecksumMethod::SUM, zeros);
        const auto sink = [&](std::span<const ChecksumMatch> batch) {
            found.insert(found.end(), batch.begin(), batch.end());
            cancel = found.size() > 100;
        };
        QVERIFY(!SearchChecksums(ChecksumMethod::SUM, zeros, sink, {.cancel = &cancel}) && found.empty());
        cancel = false;
        QVERIFY(!SearchChecksums(ChecksumMethod::SUM, zeros, sink, {.cancel = &cancel}));
        QVERIFY(found.size() > 100 && found.size() < all.size() && std::equal(found.begin(), found.end(), all.begin()));
    }
};

QTEST_APPLESS_MAIN(TestChecksumSearch)
#include "tst_checksum_search.moc"
