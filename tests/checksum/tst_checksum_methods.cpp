#include <QTest>
#include <array>
#include <string>

#include "checksum/checksum_methods.h"
#include "checksum_reference.h"

Q_DECLARE_METATYPE(ChecksumMethod)

namespace {
const std::array<std::uint8_t, 9> DIGITS = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
}

class TestChecksumMethods : public QObject {
    Q_OBJECT
private slots:
    void checkValues_data();
    void checkValues();
    void modbusTrailer();
    void tablesAndTexts();
    void oneByteRanges();
    void lrcOfFullTurnIsZero();
    void computeAgreesWithReference();
};

void TestChecksumMethods::checkValues_data()
{
    QTest::addColumn<ChecksumMethod>("method");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    // Check values over "123456789": the CRC catalogue's CRC-16/MODBUS 0x4B37, CRC-16/UMTS 0xFEE8,
    // CRC-32/JAMCRC 0x340BC6D9 (low 16 bits); BCC, SUM and LRC worked by hand.
    QTest::newRow("BCC") << ChecksumMethod::BCC << 0x31 << QStringLiteral("31");
    QTest::newRow("SUM") << ChecksumMethod::SUM << 0xDD << QStringLiteral("DD");
    QTest::newRow("LRC") << ChecksumMethod::LRC << 0x23 << QStringLiteral("23");
    QTest::newRow("CRC16") << ChecksumMethod::CRC16 << 0x4B37 << QStringLiteral("37 4B");
    QTest::newRow("CRC16S") << ChecksumMethod::CRC16S << 0xFEE8 << QStringLiteral("E8 FE");
    QTest::newRow("CRC32") << ChecksumMethod::CRC32 << 0xC6D9 << QStringLiteral("D9 C6");
}

void TestChecksumMethods::checkValues()
{
    QFETCH(ChecksumMethod, method);
    QFETCH(int, value);
    QFETCH(QString, text);
    const std::uint16_t computed = ComputeChecksum(method, DIGITS, 0, DIGITS.size());
    QCOMPARE(int(computed), value);
    QCOMPARE(QString::fromStdString(FormatChecksum(method, computed)), text);
    QCOMPARE(int(ReferenceChecksum(method, DIGITS, 0, DIGITS.size())), value);
}

void TestChecksumMethods::modbusTrailer()
{
    const std::array<std::uint8_t, 8> frame = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    const ChecksumBytes crc = ComputeCrc16(frame, 0, 6);
    QCOMPARE(crc, (ChecksumBytes{0xC5, 0xCD}));
    QCOMPARE(FormatChecksum(ChecksumMethod::CRC16, ComputeChecksum(ChecksumMethod::CRC16, frame, 0, 6)),
             std::string("C5 CD"));
    // The range is [start, end): the same bytes further into a frame give the same result.
    const std::array<std::uint8_t, 8> shifted = {0xAA, 0xBB, 0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
    QCOMPARE(ComputeCrc16(shifted, 2, 8), crc);
}

void TestChecksumMethods::tablesAndTexts()
{
    const CrcTable crc16 = BuildCrc16Table();
    const CrcTable crc32 = BuildCrc32Table();
    QCOMPARE(crc16[0], 0u);
    QCOMPARE(crc16[1], 0xC0C1u);
    QCOMPARE(crc16[255], 0x4040u);
    QCOMPARE(crc32[1], 0x77073096u);
    QCOMPARE(crc32[255], 0x2D02EF8Du);  // the last entry of the common CRC-32 table
    QCOMPARE(FormatChecksum(ChecksumMethod::BCC, 0x0A), std::string("0A"));
    QCOMPARE(FormatChecksum(ChecksumMethod::CRC16S, 0x0000), std::string("00 00"));
}

void TestChecksumMethods::oneByteRanges()
{
    for (int b = 0; b < 256; ++b) {
        const std::array<std::uint8_t, 1> one = {static_cast<std::uint8_t>(b)};
        QCOMPARE(int(ComputeBcc(one, 0, 1)), b);
        QCOMPARE(int(ComputeSum(one, 0, 1)), b);
        QCOMPARE(int(ComputeLrc(one, 0, 1)), (256 - b) % 256);
    }
}

void TestChecksumMethods::lrcOfFullTurnIsZero()
{
    const std::array<std::uint8_t, 4> frame = {0x80, 0x40, 0x20, 0x20};
    QCOMPARE(int(ComputeSum(frame, 0, 4)), 0);
    QCOMPARE(int(ComputeLrc(frame, 0, 4)), 0);
    QCOMPARE(int(ComputeLrc(frame, 0, 0)), 0);  // nothing summed
}

void TestChecksumMethods::computeAgreesWithReference()
{
    std::array<std::uint8_t, 64> frame{};
    std::uint32_t seed = 12345;
    for (int round = 0; round < 200; ++round) {
        for (std::uint8_t& b : frame) {
            seed = seed * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>(seed >> 16);
        }
        const std::size_t start = seed % 32, end = start + 1 + (seed >> 8) % 31;
        for (ChecksumMethod method : CHECKSUM_METHODS)
            QCOMPARE(ComputeChecksum(method, frame, start, end), ReferenceChecksum(method, frame, start, end));
    }
}

QTEST_APPLESS_MAIN(TestChecksumMethods)
#include "tst_checksum_methods.moc"
