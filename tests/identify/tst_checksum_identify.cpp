#include <QTest>

#include "tests/identify/identify_logs.h"
#include "identify/identify_texts.h"

namespace {

const ChecksumModel& Model(const char* name)
{
    return ChecksumModels()[*FindChecksumModel(name)];
}

QStringList Top(const IdentifyReport& report, int count = 1)
{
    QStringList texts;
    for (const IdentifiedRule& rule : report.rules)
        if (texts.size() < count)
            texts << QString::fromStdString(IdentifiedRuleText(rule));
    return texts;
}

QString First(const std::vector<IdentifyFrame>& log)
{
    const IdentifyReport report = IdentifyChecksums(log);
    return report.rules.empty() ? QString() : QString::fromStdString(IdentifiedRuleText(report.rules[0]));
}

// Payloads of 4 to 40 bytes.
Bytes Payload(std::mt19937& random)
{
    return RandomBytes(random, 4 + random() % 37);
}

} // namespace

class TestChecksumIdentify : public QObject {
    Q_OBJECT
private slots:
    // Every catalogue CRC in both orders at the end of frames of varied lengths: found, with no
    // preparation, as the first rule.
    void catalogueAtTheEnd_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("highFirst");
        const auto models = ChecksumModels();
        for (std::size_t k = 0; k < models.size(); ++k) {
            if (models[k].family != ModelFamily::Crc)
                continue;
            QTest::newRow(models[k].name) << int(k) << false;
            if (models[k].width > 8)
                QTest::newRow((std::string(models[k].name) + " high first").c_str()) << int(k) << true;
        }
    }
    void catalogueAtTheEnd()
    {
        QFETCH(int, row);
        QFETCH(bool, highFirst);
        const ChecksumModel& model = ChecksumModels()[row];
        std::mt19937 random(row * 2 + highFirst);
        const auto log = MakeLog(24, [&](std::size_t) {
            Bytes frame = Payload(random);
            AppendValue(frame, ComputeCrcBitwise(model.crc, frame), model.width / 8, highFirst);
            return frame;
        });
        const unsigned bytes = model.width / 8;
        const QString order = bytes == 1 ? QString() : highFirst ? "（高字节在前）" : "（低字节在前）";
        QCOMPARE(First(log), QString("%1%2，第1字节 至 倒数第%3字节；24/24 帧").arg(model.name, order).arg(bytes + 1));
    }
};

QTEST_APPLESS_MAIN(TestChecksumIdentify)
#include "tst_checksum_identify.moc"
