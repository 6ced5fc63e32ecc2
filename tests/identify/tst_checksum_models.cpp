#include <QTest>
#include <random>
#include <thread>

#include "identify/checksum_models.h"
#include "identify/crc_engine.h"

using Bytes = std::vector<std::uint8_t>;

static const Bytes CHECK_INPUT{'1', '2', '3', '4', '5', '6', '7', '8', '9'};

class TestChecksumModels : public QObject {
    Q_OBJECT
private slots:
    // Every catalogue model's check value over "123456789" as the CRC RevEng catalogue of
    // parametrised CRC algorithms lists it, by the table engine and by the bit-by-bit
    // definition; the other rows' values are their own definitions' (tested below).
    void checkValues_data()
    {
        QTest::addColumn<int>("row");
        const auto models = ChecksumModels();
        for (std::size_t k = 0; k < models.size(); ++k)
            QTest::newRow(models[k].name) << int(k);
    }
    void checkValues()
    {
        QFETCH(int, row);
        const ChecksumModel& model = ChecksumModels()[row];
        QCOMPARE(ComputeModel(model, CHECK_INPUT), model.check);
        if (model.family == ModelFamily::Crc) {
            QCOMPARE(ComputeCrcBitwise(model.crc, CHECK_INPUT), model.check);
            QCOMPARE(ComputeCatalogueCrc(model.crc, CHECK_INPUT), model.check);
        }
        QCOMPARE(FindChecksumModel(model.name), std::optional<std::size_t>(row));
    }

    void catalogueIsComplete()
    {
        // The catalogue's byte-wide entries: 20 CRC-8, 31 CRC-16, 8 CRC-24 and 12 CRC-32.
        std::map<unsigned, int> widths;
        for (const ChecksumModel& model : ChecksumModels())
            if (model.family == ModelFamily::Crc)
                ++widths[model.width];
        QCOMPARE(widths, (std::map<unsigned, int>{{8, 20}, {16, 31}, {24, 8}, {32, 12}}));
    }

    // Published values of the sums: Fletcher-16 of "abcde", "abcdef", "abcdefgh" (Wikipedia,
    // "Fletcher's checksum", test vectors); Adler-32 of "Wikipedia" (Wikipedia, "Adler-32",
    // example); the UBX checksum of a real frame, UBX-CFG-PRT poll B5 62 06 00 00 00 06 18
    // (u-blox 8 / M8 receiver description, UBX checksum section example poll).
    void publishedValues_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("value");
        QTest::newRow("fletcher16 abcde") << "FLETCHER-16" << QByteArray("abcde") << 0xC8F0u;
        QTest::newRow("fletcher16 abcdef") << "FLETCHER-16" << QByteArray("abcdef") << 0x2057u;
        QTest::newRow("fletcher16 abcdefgh") << "FLETCHER-16" << QByteArray("abcdefgh") << 0x0627u;
        QTest::newRow("adler32 Wikipedia") << "ADLER-32" << QByteArray("Wikipedia") << 0x11E60398u;
        QTest::newRow("ubx cfg-prt poll") << "FLETCHER-8" << QByteArray::fromHex("06000000") << 0x1806u;
    }
    void publishedValues()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, bytes);
        QFETCH(uint, value);
        const auto row = FindChecksumModel(model.toStdString());
        QVERIFY(row);
        const Bytes data(bytes.begin(), bytes.end());
        QCOMPARE(ComputeModel(ChecksumModels()[*row], data), value);
    }

    // The table engine against the bit-by-bit definition on random parameters and data, and its
    // inverse shift and register mapping.
    void engineMatchesDefinition()
    {
        std::mt19937 random(16);
        for (int round = 0; round < 400; ++round) {
            const unsigned width = 8 * (1 + random() % 4);
            const std::uint32_t mask = CrcMask(width);
            CrcParameters p{width, (std::uint32_t(random()) & mask) | 1, std::uint32_t(random()) & mask,
                            bool(random() % 2), bool(random() % 2), std::uint32_t(random()) & mask};
            const CCrcEngine engine(p);
            Bytes data(random() % 40);
            for (auto& b : data)
                b = std::uint8_t(random());
            QCOMPARE(engine.Compute(data), ComputeCrcBitwise(p, data));
            const std::uint32_t reg = std::uint32_t(random()) & mask;
            QCOMPARE(engine.Unshift(engine.Step(reg, 0)), reg);
            QCOMPARE(engine.RegisterOf(engine.Result(reg)), reg);
        }
    }

    // CRCs of other parameters (solved ones) compute through a cache of engines that a long
    // session, or a fuzz campaign, fills with one engine per parameter set: it is bounded, and
    // emptied while other threads compute. Two threads over more parameter sets than it keeps,
    // each set twice, against the definition.
    void cacheOfSolvedCrcs()
    {
        const auto run = [](unsigned seed, int& wrong) {
            std::mt19937 random(seed);
            const Bytes data{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
            std::vector<CrcParameters> seen;
            for (int round = 0; round < 700; ++round) {
                const unsigned width = 8 * (1 + random() % 4);
                const std::uint32_t mask = CrcMask(width);
                const CrcParameters p = round % 3 == 2 && !seen.empty()
                                            ? seen[random() % seen.size()]
                                            : CrcParameters{width, (std::uint32_t(random()) & mask) | 1, std::uint32_t(random()) & mask,
                                                            bool(random() % 2), bool(random() % 2), std::uint32_t(random()) & mask};
                seen.push_back(p);
                wrong += ComputeCatalogueCrc(p, data) != ComputeCrcBitwise(p, data);
            }
        };
        int wrong[2] = {0, 0};
        std::thread other(run, 1u, std::ref(wrong[1]));
        run(2u, wrong[0]);
        other.join();
        QCOMPARE(wrong[0] + wrong[1], 0);
    }

    // The six page methods are rows too, computing through the page's registers.
    void pageMethodsAreModels()
    {
        const Bytes frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
        const auto value = [&](const char* name) {
            return ComputeModel(ChecksumModels()[*FindChecksumModel(name)], frame);
        };
        QCOMPARE(value("CRC-16/MODBUS"), 0xCDC5u);  // the frame's trailer C5 CD, low byte first
        QCOMPARE(value("CRC-16/UMTS"), std::uint32_t(ComputeChecksum(ChecksumMethod::CRC16S, frame, 0, 6)));
        QCOMPARE(value("CRC32-LOW16"), std::uint32_t(ComputeChecksum(ChecksumMethod::CRC32, frame, 0, 6)));
        QCOMPARE(value("SUM8"), std::uint32_t(ComputeSum(frame, 0, 6)));
        QCOMPARE(value("XOR8"), std::uint32_t(ComputeBcc(frame, 0, 6)));
        QVERIFY(!FindChecksumModel("CRC-16/NONE"));
    }
};

QTEST_APPLESS_MAIN(TestChecksumModels)
#include "tst_checksum_models.moc"
