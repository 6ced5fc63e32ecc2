#include <QTest>
#include <random>

#include "checksum/checksum_consensus.h"
#include "tests/support/modbus_frame.h"

using Bytes = std::vector<std::uint8_t>;

// Frames of a second protocol: a header AA 55, the payload, the payload's SUM and a fixed trailer 0D.
static Bytes TrailerFrame(std::mt19937& random)
{
    Bytes frame{0xAA, 0x55};
    for (std::size_t k = 2 + random() % 18; k > 0; --k)
        frame.push_back(std::uint8_t(random()));
    frame.insert(frame.end(), {ComputeSum(frame, 2, frame.size()), 0x0D});
    return frame;
}

static QStringList Ranked(const CChecksumConsensus& consensus, double share, int count)
{
    QStringList rules;
    for (const ChecksumRuleCount& rule : consensus.Rules(share))
        if (rules.size() < count)
            rules << QStringLiteral("%1 %2").arg(QString::fromStdString(ChecksumRuleText(rule.rule))).arg(rule.frames);
    return rules;
}

class TestChecksumConsensus : public QObject {
    Q_OBJECT
private slots:
    void protocolsRankTheirRuleFirst()
    {
        std::mt19937 random(645);
        CChecksumConsensus modbus(CHECKSUM_METHODS), trailer(CHECKSUM_METHODS), requests(CHECKSUM_METHODS);
        for (int k = 0; k < 300; ++k) {
            modbus.AddFrame(ModbusFrame(random, k % 2));
            trailer.AddFrame(TrailerFrame(random));
            requests.AddFrame(ModbusFrame(random, true));
        }
        QCOMPARE(modbus.FrameCount(), 300u);
        QCOMPARE(Ranked(modbus, 100, 3), QStringList{"CRC16, 第1字节 至 倒数第3字节 300"});
        QCOMPARE(Ranked(trailer, 100, 3), QStringList{"SUM, 第3字节 至 倒数第3字节 300"});
        // Requests are all 8 bytes long: "up to byte 6" is the same rule, reported once.
        QCOMPARE(Ranked(requests, 100, 3), QStringList{"CRC16, 第1字节 至 倒数第3字节 300"});
        // Below the rule every frame holds, the requests' fixed length of the mixed log comes next.
        QCOMPARE(Ranked(modbus, 40, 2), (QStringList{"CRC16, 第1字节 至 倒数第3字节 300", "CRC16, 第1字节 至 第6字节 150"}));
    }

    void sharesLengthsAndTwins()
    {
        // Two of three frames hold the SUM of bytes 1-2 at byte 3: 66.7 % is more than they hold,
        // 66.6 % is not.
        CChecksumConsensus consensus(CHECKSUM_METHODS);
        for (Bytes frame : {Bytes{1, 2, 3, 9}, Bytes{4, 5, 9, 9, 7}, Bytes{2, 2, 5, 8, 0x10}})
            consensus.AddFrame(frame);
        QVERIFY(!Ranked(consensus, 66.7, 50).contains("SUM, 第1字节 至 第2字节 2"));
        QVERIFY(Ranked(consensus, 66.6, 50).contains("SUM, 第1字节 至 第2字节 2"));

        // Ranges under three bytes (1 2 -> 3) do not count; equal counts rank the longer range first.
        CChecksumConsensus longer(std::array{ChecksumMethod::SUM}, 3);
        for (Bytes frame : {Bytes{1, 2, 3, 6, 9}, Bytes{5, 1, 2, 4, 12, 9}})
            longer.AddFrame(frame);
        QCOMPARE(Ranked(longer, 100, 9), QStringList{"SUM, 第1字节 至 倒数第3字节 2"});
        QCOMPARE(Ranked(longer, 50, 9),
                 (QStringList{"SUM, 第1字节 至 倒数第3字节 2", "SUM, 第1字节 至 第4字节 1", "SUM, 第1字节 至 第3字节 1"}));
        QVERIFY(CChecksumConsensus(CHECKSUM_METHODS).Rules().empty());
    }
};

QTEST_APPLESS_MAIN(TestChecksumConsensus)
#include "tst_checksum_consensus.moc"
