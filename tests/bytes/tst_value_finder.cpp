#include <QRandomGenerator>
#include <QTest>
#include <bit>
#include <set>

#include "bytes/value_finder.h"
#include "bytes/variable_decoder.h"

namespace {

std::vector<std::uint8_t> RandomFrame(std::size_t size, quint32 seed)
{
    QRandomGenerator random(seed);
    std::vector<std::uint8_t> frame(size);
    for (auto& b : frame)
        b = static_cast<std::uint8_t>(random.generate());
    return frame;
}

// Writes the value's memory image m0 m1 (m2 m3) so that the type reads it back in `order`.
void Plant(std::vector<std::uint8_t>& frame, std::size_t at, VariableType type, int order, std::uint32_t image)
{
    const ByteOrderEntry& entry = ByteOrdersOf(type)[static_cast<std::size_t>(order)];
    for (std::size_t k = 0; k < VariableTypeInfo(type).width; ++k)
        frame[at + entry.valueFrom[k]] = static_cast<std::uint8_t>(image >> (8 * k));
}

QString Hit(const ValueHit& hit)
{
    return QString::fromStdString(DescribeHit(hit)) + QStringLiteral(" x") + QString::number(hit.scale);
}

} // namespace

class TestValueFinder : public QObject {
    Q_OBJECT
private slots:
    void plantedReadingRanksFirst_data();
    void plantedReadingRanksFirst();
    void bcdReading();
    void randomFrameHitsStayWithinTolerance();
    void zeroFrameGivesABoundedRankedList();
    void floatsThatAreNoReadings();
    void valuesPastTheDoubleRange();
    void textsSayWhatTheRowShows_data();
    void textsSayWhatTheRowShows();
};

void TestValueFinder::plantedReadingRanksFirst_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("order");
    QTest::addColumn<quint32>("image");
    QTest::addColumn<double>("reading");
    QTest::addColumn<QString>("first");
    const quint32 f = std::bit_cast<quint32>(230.5f);
    QTest::newRow("FLOAT 0") << int(VariableType::FLOAT) << 0 << f << 230.5 << "第8字节 FLOAT FF1 FF2 FF3 FF4 = 230.5 x0";
    QTest::newRow("FLOAT 1") << int(VariableType::FLOAT) << 1 << f << 230.5 << "第8字节 FLOAT FF4 FF3 FF2 FF1 = 230.5 x0";
    QTest::newRow("FLOAT 2") << int(VariableType::FLOAT) << 2 << f << 230.5 << "第8字节 FLOAT FF2 FF1 FF4 FF3 = 230.5 x0";
    QTest::newRow("FLOAT 3") << int(VariableType::FLOAT) << 3 << f << 230.5 << "第8字节 FLOAT FF3 FF4 FF1 FF2 = 230.5 x0";
    QTest::newRow("UINT x0.1") << int(VariableType::UINT) << 0 << quint32(2305) << 230.5 << "第8字节 UINT FF1 FF2 = 2305×0.1=230.5 x1";
    QTest::newRow("UINT x0.1 swapped") << int(VariableType::UINT) << 1 << quint32(2305) << 230.5 << "第8字节 UINT FF2 FF1 = 2305×0.1=230.5 x1";
    QTest::newRow("negative LONG") << int(VariableType::LONG) << 3 << quint32(-123456) << -123456.0 << "第8字节 LONG FF3 FF4 FF1 FF2 = -123456 x0";
    QTest::newRow("LONG x0.001") << int(VariableType::LONG) << 1 << quint32(-1234567) << -1234.567 << "第8字节 LONG FF4 FF3 FF2 FF1 = -1234567×0.001=-1234.567 x3";
    // The INT inside the sign-extended LONG reads the same; the wider type ranks first.
    QTest::newRow("LONG over an INT") << int(VariableType::LONG) << 3 << quint32(-4321) << -4.321 << "第8字节 LONG FF3 FF4 FF1 FF2 = -4321×0.001=-4.321 x3";
}

void TestValueFinder::plantedReadingRanksFirst()
{
    QFETCH(int, type);
    QFETCH(int, order);
    QFETCH(quint32, image);
    QFETCH(double, reading);
    QFETCH(QString, first);
    std::vector<std::uint8_t> frame = RandomFrame(64, 7);
    Plant(frame, 7, static_cast<VariableType>(type), order, image);
    const FindValueResult found = FindValue(frame, reading, {});
    QVERIFY(!found.hits.empty());
    QCOMPARE(Hit(found.hits[0]), first);

}

void TestValueFinder::bcdReading()
{
    // 02 30 50 is 23050, so 230.5 at scale 0.01; a byte that is no BCD ends the wider numbers.
    std::vector<std::uint8_t> frame = RandomFrame(64, 8);
    const std::uint8_t bcd[] = {0x02, 0x30, 0x50, 0xA0};
    std::copy(std::begin(bcd), std::end(bcd), frame.begin() + 40);
    const FindValueResult found = FindValue(frame, 230.5, {0.001, false});
    QCOMPARE(Hit(found.hits[0]), QStringLiteral("第41字节 BCD = 23050×0.01=230.50 x2"));
    QCOMPARE(found.hits[0].memory, "02 30 50 ");
    QCOMPARE(found.hits[0].valueText, "23050");
}

void TestValueFinder::randomFrameHitsStayWithinTolerance()
{
    const std::vector<std::uint8_t> frame = RandomFrame(512, 99);
    for (const FindTolerance tolerance : {FindTolerance{0.5, false}, FindTolerance{1, true}}) {
        const FindValueResult found = FindValue(frame, 230.5, tolerance);
        const double allowed = tolerance.percent ? 2.305 : 0.5;
        QVERIFY(!found.hits.empty() && found.hits.size() <= MAX_VALUE_HITS && found.total >= found.hits.size());
        for (std::size_t i = 0; i < found.hits.size(); ++i) {
            const ValueHit& hit = found.hits[i];
            QVERIFY2(hit.difference <= allowed * (1 + 1e-6), qPrintable(Hit(hit)));
            QVERIFY(i == 0 || found.hits[i - 1].difference <= hit.difference);
            if (hit.type == VariableType::BCD)
                continue;
            // The hit reads back through the page's decode pass: one variable at its offset.
            ByteOrderOptions options;
            options.index.fill(hit.order);
            const std::vector<VariableRow> row{{hit.type, static_cast<std::int64_t>(hit.width)}};
            const DecodeOutcome decoded = DecodeVariables(frame, hit.offset - 1, hit.offset - 1 + hit.width, options, row);
            QCOMPARE(decoded.rows.at(0).memory, hit.memory);
            QVERIFY(std::fabs(std::stod(decoded.rows[0].value) - hit.value) <= 0.0005 * std::max(1.0, std::fabs(hit.value)));
        }
    }
}

void TestValueFinder::zeroFrameGivesABoundedRankedList()
{
    // Every placement reads 0: one hit per type and offset, the widest first, the list cut.
    const std::vector<std::uint8_t> zeros(512, 0);
    const FindValueResult found = FindValue(zeros, 0, {});
    QCOMPARE(found.hits.size(), MAX_VALUE_HITS);
    // UCHAR, CHAR at 512 offsets; UINT, INT at 511; FLOAT, DWORD, LONG at 509; BCD of 1 to 4 bytes.
    QCOMPARE(found.total, std::size_t(2 * 512 + 2 * 511 + 3 * 509 + 512 + 511 + 510 + 509));
    QStringList firstOffset;
    std::set<std::tuple<std::size_t, int, std::size_t>> placements;
    for (const ValueHit& hit : found.hits) {
        QVERIFY(hit.scale == 0 && hit.order == 0 && hit.width == 4);
        QVERIFY(placements.insert({hit.offset, int(hit.type), hit.width}).second);
        if (hit.offset == 1)
            firstOffset << QString::fromStdString(DescribeHit(hit));
    }
    QCOMPARE(firstOffset, (QStringList{"第1字节 FLOAT FF1 FF2 FF3 FF4 = 0", "第1字节 DWORD FF1 FF2 FF3 FF4 = 0",
                                       "第1字节 LONG FF1 FF2 FF3 FF4 = 0", "第1字节 BCD = 0"}));
}

void TestValueFinder::floatsThatAreNoReadings()
{
    // Under FF1 FF2 FF3 FF4 these bytes are a denormal, an infinity and a NaN.
    const std::vector<std::uint8_t> frame{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x7F, 0x00, 0x00, 0xC0, 0x7F};
    for (double reading : {0.0, 1e38}) {
        const FindValueResult found = FindValue(frame, reading, {1e39, false}, std::span<const double>(DEFAULT_SCALES, 1));
        for (const ValueHit& hit : found.hits)
            QVERIFY2(hit.type != VariableType::FLOAT || hit.value == 0 || std::isnormal(static_cast<float>(hit.value)),
                     qPrintable(Hit(hit)));
    }
    QCOMPARE(FindValue(frame, 1, {0, false}, {}).hits.size(), std::size_t(0));
}

void TestValueFinder::valuesPastTheDoubleRange()
{
    // 3e38 as a float (7F61B1E6 read FF1 FF2 FF3 FF4), times 10, is 3e39: past the float range,
    // its text once read "inf"; it is the double's.
    const std::vector<std::uint8_t> big{0xE6, 0xB1, 0x61, 0x7F};
    const double ten[] = {10};
    FindValueResult found = FindValue(big, 3e39, {0.05, false}, ten);
    QCOMPARE(found.hits.size(), std::size_t(1));
    QCOMPARE(found.hits[0].type, VariableType::FLOAT);
    QCOMPARE(std::stod(found.hits[0].scaledText), found.hits[0].scaled);
    QVERIFY(std::fabs(found.hits[0].scaled / 3e39 - 1) < 1e-7);

    // A tolerance of 1e300 % of 1e308 is past the double range: nothing, not every placement.
    const std::vector<std::uint8_t> frame = RandomFrame(32, 11);
    QCOMPARE(FindValue(frame, 1e308, {1e300, true}).total, std::size_t(0));
    // 1e307 with 50 %: the product alone would overflow, the tolerance does not.
    QVERIFY(FindValue(frame, 1e307, {50, true}).total == 0);
    QVERIFY(FindValue(frame, -1e307, {200, true}).total > 0);
    // A factor that takes the value past the double range makes no hit, even within a huge tolerance.
    const double huge[] = {1e308};
    found = FindValue(std::vector<std::uint8_t>{0x00, 0xE6}, 1e308, {1.7e308, false}, huge);
    for (const ValueHit& hit : found.hits)
        QVERIFY2(std::isfinite(hit.scaled) && std::isfinite(hit.difference), qPrintable(Hit(hit)));
    QVERIFY(found.total > 0);
}

void TestValueFinder::textsSayWhatTheRowShows_data()
{
    // The first hit's value text, copied line and difference; the frame is zero but for the value.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<double>("reading");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("difference");
    QTest::newRow("scaled UINT") << QByteArray::fromHex("6400") << 10.0 << 0.05 << "100×0.1=10.0"
                                 << "第1字节 UINT FF1 FF2 = 100×0.1=10.0" << "0";
    QTest::newRow("scaled exactly in decimals") << QByteArray::fromHex("0000C708") << 224.7 << 0.05 << "2247×0.1=224.7"
                                                << "第3字节 UINT FF1 FF2 = 2247×0.1=224.7" << "0";
    QTest::newRow("a reading with more decimals") << QByteArray::fromHex("0000C708") << 224.75 << 0.1 << "2247×0.1=224.7"
                                                  << "第3字节 UINT FF1 FF2 = 2247×0.1=224.7" << "0.05";
    QTest::newRow("FLOAT") << QByteArray::fromHex("000043666666") << 230.4 << 0.05 << "230.4"
                           << "第3字节 FLOAT FF3 FF4 FF1 FF2 = 230.4" << "0";
    QTest::newRow("FLOAT against a finer reading") << QByteArray::fromHex("000043668000") << 230.49 << 0.05 << "230.5"
                                                   << "第3字节 FLOAT FF3 FF4 FF1 FF2 = 230.5" << "0.01";
    QTest::newRow("unscaled") << QByteArray::fromHex("0000E703") << 999.0 << 0.05 << "999"
                              << "第3字节 UINT FF1 FF2 = 999" << "0";
}

void TestValueFinder::textsSayWhatTheRowShows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(double, reading);
    QFETCH(double, tolerance);
    QFETCH(QString, value);
    QFETCH(QString, line);
    QFETCH(QString, difference);
    const std::vector<std::uint8_t> frame(bytes.begin(), bytes.end());
    const FindValueResult found = FindValue(frame, reading, {tolerance, false});
    QVERIFY(!found.hits.empty());
    QCOMPARE(QString::fromStdString(HitValueText(found.hits[0])), value);
    QCOMPARE(QString::fromStdString(DescribeHit(found.hits[0])), line);
    QCOMPARE(QString::fromStdString(found.hits[0].differenceText), difference);
}

QTEST_APPLESS_MAIN(TestValueFinder)
#include "tst_value_finder.moc"
