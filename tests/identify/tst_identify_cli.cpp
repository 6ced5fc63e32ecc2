#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include "tests/identify/identify_logs.h"

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

Run Cli(const QStringList& args, const QByteArray& input = {})
{
    QProcess process;
    // The C locale: the program's Chinese, whatever the machine's locale.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_MESSAGES", "LANG"})
        environment.remove(name);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORRA_CLI), args);
    if (!process.waitForStarted(30000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// A serial monitor's log: a timestamp, a direction and the frame in hex pairs; 7E, the payload,
// its CRC-16/XMODEM high byte first and 0D.
QByteArray XmodemLog(int frames)
{
    std::mt19937 random(1021);
    const CrcParameters xmodem{16, 0x1021, 0, false, false, 0};
    QByteArray log = "# capture\n";
    for (int k = 0; k < frames; ++k) {
        const Bytes payload = RandomBytes(random, 3 + random() % 30);
        Bytes frame{0x7E};
        frame.insert(frame.end(), payload.begin(), payload.end());
        AppendValue(frame, ComputeCrcBitwise(xmodem, payload), 2, true);
        frame.push_back(0x0D);
        log += QStringLiteral("[12:00:%1] RX: ").arg(k % 60, 2, 10, QChar('0')).toLatin1() +
               QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' ').toUpper() + "\n";
    }
    return log;
}

} // namespace

class TestIdentifyCli : public QObject {
    Q_OBJECT
private slots:
    void textFromALog()
    {
        // The log's header line holds no frame: it is refused, and the frames go on.
        const Run run = Cli({"identify", "--extract", "--top", "1"}, XmodemLog(300));
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, QStringLiteral("第 1 行: 没有找到16进制数据\n"));
        QCOMPARE(run.out, QString("共 300 帧（300 种不同），1 条规则\n"
                                  "   1  CRC-16/XMODEM（高字节在前），第2字节 至 倒数第4字节，其后1字节结束符；300/300 帧\n"));
    }

    // Exactly the keys of a rule, and their values.
    void json()
    {
        const Run run = Cli({"identify", "--extract", "--format", "json", "--top", "2"}, XmodemLog(40));
        QCOMPARE(run.status, 1);  // the header line
        const QJsonArray rules = QJsonDocument::fromJson(run.out.toUtf8()).array();
        QVERIFY(!rules.isEmpty());
        const QJsonObject first = rules[0].toObject();
        QStringList keys = first.keys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"class", "encoding", "end", "failing", "frames", "held", "method", "model", "order",
                                    "parameters", "rank", "start", "structural", "trailer"}));
        QCOMPARE(first["rank"].toInt(), 1);
        QCOMPARE(first["model"].toString(), "CRC-16/XMODEM");
        QVERIFY(first["method"].isNull());
        const QJsonObject parameters = first["parameters"].toObject();
        QCOMPARE(parameters["width"].toInt(), 16);
        QCOMPARE(parameters["poly"].toInt(), 0x1021);
        QCOMPARE(parameters["refin"].toBool(), false);
        QCOMPARE(first["start"].toInt(), 2);
        QCOMPARE(first["end"].toObject()["position"].toInt(), 4);
        QCOMPARE(first["end"].toObject()["from"].toString(), "last");
        QCOMPARE(first["trailer"].toInt(), 1);
        QCOMPARE(first["order"].toString(), "high-first");
        QCOMPARE(first["encoding"].toString(), "binary");
        QCOMPARE(first["structural"].toBool(), false);
        QCOMPARE(first["held"].toInt(), 40);
        QCOMPARE(first["frames"].toInt(), 40);
        QCOMPARE(first["failing"].toArray().size(), 0);
        QVERIFY(first["class"].isNull());
    }

    // A page method is named; a refused line is reported and the others go on; the failing
    // frame's line is the log's line.
    void methodRefusalsAndFailing()
    {
        const QByteArray log = "01 03 00 00 00 0A C5 CD\n"
                               "01 03 02 00 01 79 84\n"
                               "01 0G\n"
                               "01 06 00 01 00 03 98 0B\n"
                               "01 03 00 00 00 0A C5 CE\n";
        const Run run = Cli({"identify", "--format", "json"}, log);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, QString("第 3 行: 16进制数据格式错误，请重新确认！\n"));
        const QJsonObject first = QJsonDocument::fromJson(run.out.toUtf8()).array()[0].toObject();
        QCOMPARE(first["model"].toString(), "CRC-16/MODBUS");
        QCOMPARE(first["method"].toString(), "CRC16");
        QCOMPARE(first["held"].toInt(), 3);
        QCOMPARE(first["failing"].toArray(), QJsonArray{5});
        const Run text = Cli({"identify", "--top", "1"}, log);
        QVERIFY(text.out.contains("CRC-16/MODBUS（低字节在前），第1字节 至 倒数第3字节；3/4 帧；不成立：第5行\n"));
    }

    // A CRC outside the catalogue: solved with no option, reported by its parameters in words
    // and in JSON under its family name.
    void unknownCrc()
    {
        std::mt19937 random(0x8BB7);
        const CrcParameters crc{16, 0x8BB7, 0, true, true, 0};
        QByteArray log;
        for (int k = 0; k < 60; ++k) {
            Bytes frame = RandomBytes(random, 6 + random() % 30);
            AppendValue(frame, ComputeCrcBitwise(crc, frame), 2, false);
            log += QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' ') + "\n";
        }
        const Run text = Cli({"identify", "--top", "1"}, log);
        QCOMPARE(text.status, 0);
        QCOMPARE(text.out, QString("共 60 帧（60 种不同），1 条规则\n"
                                   "   1  CRC-16（多项式 0x8BB7，初始值 0x0000，输入反转，输出反转，结果异或值 0x0000）"
                                   "（低字节在前），第1字节 至 倒数第3字节；60/60 帧\n"));
        const Run json = Cli({"identify", "--format", "json", "--top", "1"}, log);
        const QJsonObject first = QJsonDocument::fromJson(json.out.toUtf8()).array()[0].toObject();
        QCOMPARE(first["model"].toString(), "CRC-16");
        QVERIFY(first["method"].isNull());
        QCOMPARE(first["parameters"].toObject(),
                 (QJsonObject{{"width", 16}, {"poly", 0x8BB7}, {"init", 0}, {"refin", true}, {"refout", true},
                              {"xorout", 0}, {"init_known", true}}));
        QCOMPARE(first["held"].toInt(), 60);
        QVERIFY(Cli({"identify", "--help"}).out.contains("未知的 CRC"));
    }

    void messagesAndUsage()
    {
        QCOMPARE(Cli({"identify"}, "01 02 03\n01 02 03\n").out,
                 QString("共 2 帧（1 种不同），0 条规则\n各帧都相同或只有一帧：无法把校验规则与巧合区分开\n"));
        QCOMPARE(Cli({"identify"}, "01 02 03 04\n05 06 07 09\n").out,
                 QString("共 2 帧（2 种不同），0 条规则\n没有在至少 50% 的帧中成立的校验规则\n"));
        QCOMPARE(Cli({"identify", "--min-share", "0"}).status, 2);
        QCOMPARE(Cli({"identify", "--top", "x"}).status, 2);
        QCOMPARE(Cli({"identify", "--format", "csv", "01 03 00 00 00 0A C5 CD"}).status, 0);
    }
};

QTEST_GUILESS_MAIN(TestIdentifyCli)
#include "tst_identify_cli.moc"
