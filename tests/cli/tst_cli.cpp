#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <random>

#include "tests/support/modbus_frame.h"
#include "tests/support/text_table_check.h"

namespace {

struct Run {
    int status = -1;  // the exit code; -1 for a crash
    QString out, err;
};

// The program speaks the locale's language: each run gets a fixed one, the C locale (Chinese)
// unless a test names others, as "LC_MESSAGES=en_GB.UTF-8".
Run Cli(const QStringList& args, const QByteArray& input = {}, const QStringList& locale = {"LC_ALL=C"})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(name);
    for (const QString& setting : locale)
        environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORRA_CLI), args);
    if (!process.waitForStarted(30000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        process.kill();
    Run run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    return run;
}

QStringList Lines(const QString& text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QJsonArray Json(const Run& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "not JSON:" << error.errorString() << run.out.left(200);
    return document.array();
}

// A serial monitor's log of Modbus RTU requests (8 bytes) and, unless only requests, responses
// (7 to 23 bytes).
QByteArray ModbusLog(int frames, bool requestsOnly)
{
    std::mt19937 random(485);
    QByteArray log = "# COM3 9600 8N1 opened\n";
    for (int k = 0; k < frames; ++k) {
        const bool request = requestsOnly || k % 2 == 0;
        const std::vector<std::uint8_t> frame = ModbusFrame(random, request);
        log += QStringLiteral("[10:%1:%2.%3] %4: ").arg(k / 60, 2, 10, QChar('0')).arg(k % 60, 2, 10, QChar('0'))
                   .arg(k * 37 % 1000, 3, 10, QChar('0')).arg(request ? "TX" : "RX").toLatin1();
        log += QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' ').toUpper() + "\r\n";
    }
    return log;
}

const QString MODBUS = QStringLiteral("01 03 00 00 00 0A C5 CD");

// ModemManager, src/tests/test-sms-part-3gpp.c, test_pdu_multipart: two parts, reference 0x4C;
// in a modem's listing (AT+CMGL) with the second part first.
const QByteArray SMS_LISTING =
    "AT+CMGL=4\r\n+CMGL: 2,1,,50\r\n07912160130320F6440B916171056429F5000021405291651569320500034C0202E9E8301D44479741F0B09C3E0785E56590BCCC0ED3CB6410FD0D7ABBCBA0B0FB4D4797E52E10\r\n"
    "+CMGL: 1,1,,159\r\n07912160130320F5440B916171056429F5000021405291650569A00500034C0201A9E8F41C949E83C2207B599E07B1DFEE33885E9ED341E4F23C7D7697C920FA1B54C697E5E3F4BC0C6AD7D9F434081E96D341E3303C2C4EB3D3F4BC0B94A483E6E8779D4D06CDD1EF3BA80E0785E7A0B7BB0C6A97E7F3F0B9CC02B9DF7450780EA2DFDF2C50780EA2A3CBA0BA9B5C96B3F369F71954768FDFE4B4FB0C9297E1F2F2BCECA6CF41\r\n"
    "OK\r\n";

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void checksumRows_data()
    {
        // The checksum page's rows, methods one after another for ALL, as CSV under the page's titles.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("Modbus CRC16") << QStringList{"--method", "CRC16", MODBUS} << QStringList{"1,1,CRC16,1,6,6,C5 CD,01 03 00 00 00 0A "};
        QTest::newRow("Modbus ALL") << QStringList{MODBUS} << QStringList{"1,1,BCC,1,7,7,CD,01 03 00 00 00 0A C5 ", "1,2,BCC,3,4,2,00,00 00 ", "1,3,SUM,3,4,2,00,00 00 ", "1,4,LRC,3,4,2,00,00 00 ", "1,5,CRC16,1,6,6,C5 CD,01 03 00 00 00 0A ", "1,6,CRC16S,3,3,1,00 00,00 "};
        QTest::newRow("68 frame ALL, two frames") << QStringList{"680102030616", "00 00 00 00", "--method=SUM"} << QStringList{"1,1,SUM,2,3,2,03,01 02 ", "1,2,SUM,2,4,3,06,01 02 03 ", "2,1,SUM,1,2,2,00,00 00 ", "2,2,SUM,1,3,3,00,00 00 00 ", "2,3,SUM,2,3,2,00,00 00 "};
        QTest::newRow("zeros CRC16S") << QStringList{"--method", "CRC16S", "0 0 0 0 0 0 0 0"} << QStringList{"1,1,CRC16S,1,1,1,00 00,00 ", "1,2,CRC16S,1,2,2,00 00,00 00 ", "1,3,CRC16S,2,2,1,00 00,00 "};
        QTest::newRow("min length") << QStringList{"--method", "BCC", "--min-length", "3", "00000000"} << QStringList{"1,1,BCC,1,3,3,00,00 00 00 "};
    }
    void checksumRows()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, rows);
        const Run run = Cli(QStringList{"checksum", "--format", "csv"} + args);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(Lines(run.out), QStringList{"行,序号,校验方法,起始位,结束位,长度,校验码,校验内容"} + rows);
        QVERIFY(run.out.endsWith("\r\n"));
    }

    void textAndJson()
    {
        // Text: aligned columns under the page's titles; JSON: an object per frame with its rows.
        Run run = Cli({"checksum", "--method", "CRC16", MODBUS});
        QCOMPARE(run.out, QStringLiteral("  序号  校验方法  起始位  结束位  长度  校验码  校验内容\n"
                                         "     1  CRC16          1       6     6  C5 CD   01 03 00 00 00 0A \n"));
        run = Cli({"checksum", "--format", "json", MODBUS, "00"});
        QCOMPARE(run.status, 0);
        const QJsonArray frames = Json(run);
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].toObject()[u"frame"].toString(), MODBUS + ' ');
        QCOMPARE(frames[0].toObject()[u"rows"].toArray().size(), 6);
        QCOMPARE(frames[0].toObject()[u"rows"].toArray()[4].toObject(), QJsonObject({{"number", 5}, {"method", "CRC16"}, {"start", 1}, {"end", 6}, {"length", 6}, {"checksum", "C5 CD"}, {"content", "01 03 00 00 00 0A "}}));
        QCOMPARE(frames[1].toObject()[u"rows"].toArray().size(), 0);
    }

    void views()
    {
        // The string formatting page's views; control bytes reach JSON exactly, a terminal as pictures.
        Run run = Cli({"render", "--format", "json", "31 32 41 00 42", "30313939", "1B 5B 32 4A 0D 0A"});
        const QJsonArray frames = Json(run);
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].toObject(), QJsonObject({{"line", 1}, {"frame", "31 32 41 00 42 "}, {"ascii", "12AB"}, {"unicode_ff1ff2", "???"},
                                                    {"unicode_ff2ff1", "㈱AB"}, {"decimal", "049 050 065 000 066 "}, {"bcd", "1F 20 29 00 2A "}, {"3x3x", "非3X3X编码格式"}}));
        QCOMPARE(frames[1].toObject()[u"3x3x"].toString(), "01 99 ");
        QCOMPARE(frames[2].toObject()[u"ascii"].toString(), "\x1b[2J\r\n");
        run = Cli({"render", "1B 5B 32 4A 0D 0A"});
        QVERIFY(run.out.startsWith("ASCII解析            ␛[2J\n"));

        const QString receive = QStringLiteral("0891682143658709F0040B812143658709F1000831501290035423044F60597D");
        run = Cli({"pdu", "--receive", receive});
        QCOMPARE(run.out, QStringLiteral("SMSC号码:8612345678900\n回复号码:12345678901\n协议标识:普通GSM类型\n编码方式:UCS2\n"
                                         "服务时间戳:2013-05-21 09:30:45\n信息长度:4\n信息内容:你好\n"));
        run = Cli({"pdu", "--format", "json", "0891682143658709F011000B812143658709F10000A705E8329BFD06", receive, "0791"});
        QCOMPARE(Json(run)[0].toObject()[u"pdu"].toString(), QStringLiteral("SMSC号码:8612345678900\r\n发送号码:12345678901\r\n协议标识:普通GSM类型\r\n"
                                                                "编码方式:7-bit\r\n有效期:24小时\r\n信息长度:5\r\n信息内容:hello"));
        QVERIFY(Json(run)[1].toObject()[u"pdu"].toString().startsWith(QStringLiteral("SMSC号码:8612345678900\r\n发送号码:")));
        QCOMPARE(Json(run)[2].toObject()[u"pdu"].toString(), QStringLiteral("非PDU编码格式"));
    }

    void convert_data()
    {
        // The conversion page's texts and checks: the number box after the conversion and the array.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("err");
        QTest::newRow("numbers") << QStringList{"--type", "short", "-1", "70000", "+5"} << QStringList{"1,-1,-1,FF FF", "2,70000,4464,70 11", "3,+5,5,05 00"} << "";
        QTest::newRow("unsigned") << QStringList{"--type=ushort", "-1"} << QStringList{"1,-1,65535,FF FF"} << "";
        QTest::newRow("float and refusals") << QStringList{"--type", "float", "3.14", "1e39", "1.2.3", QString(65, '1')} << QStringList{"1,3.14,3.140000,C3 F5 48 40", "2,1e39,,00 00 80 7F"} << "第 2 行: 输入数据非法\n第 3 行: 输入数据非法\n第 4 行: 输入数据长度异常\n";
        QTest::newRow("bytes") << QStringList{"--type", "ulong", "--bytes", "FF FF FF FF", "01", "123", "00 11 22 33 44 55 66 77 88", "0g", ""} << QStringList{"1,FF FF FF FF,4294967295,FF FF FF FF", "2,01,1,01"} << "第 3 行: 数据长度错误\n第 4 行: 数据长度不能超过8\n第 5 行: 数据格式错误\n第 6 行: 请输入要转换的数组\n";
        QTest::newRow("double bytes") << QStringList{"--type", "double", "--bytes", "01"} << QStringList{"1,01,0.000000,01"} << "";
    }
    void convert()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, rows);
        QFETCH(QString, err);
        const Run run = Cli(QStringList{"convert", "--format", "csv"} + args);
        QCOMPARE(Lines(run.out), QStringList{"行,输入,数据,数组"} + rows);
        QCOMPARE(run.err, err);
        QCOMPARE(run.status, err.isEmpty() ? 0 : 1);
    }

    void badInput()
    {
        // Each refused line gets the page's message and the others go on; nothing crashes.
        QTemporaryDir dir;
        QFile lines(dir.filePath("lines.txt"));
        QVERIFY(lines.open(QIODevice::WriteOnly));
        lines.write((MODBUS + "\n01 0\r\n0g\n" + QString("00").repeated(513) + "\n\n  \n01 02 0３\n" + MODBUS).toUtf8());
        lines.close();
        Run run = Cli({"checksum", "--method", "CRC16", "--format", "csv", "--file", lines.fileName()});
        QCOMPARE(run.status, 1);
        QCOMPARE(Lines(run.err), (QStringList{"第 2 行: 16进制数据长度错误，请确认！", "第 3 行: 16进制数据格式错误，请重新确认！",
                                              "第 4 行: 16进制数据长度不能超过512！", "第 5 行: 请输入要分析校验的数据！",
                                              "第 6 行: 请输入要分析校验的数据！", "第 7 行: 16进制数据格式错误，请重新确认！"}));
        QCOMPARE(Lines(run.out).mid(1), (QStringList{"1,1,CRC16,1,6,6,C5 CD,01 03 00 00 00 0A ", "8,1,CRC16,1,6,6,C5 CD,01 03 00 00 00 0A "}));

        // A raised limit takes the long line and states itself when passed.
        run = Cli({"checksum", "--limit", "600", "--method", "BCC", "--min-length", "512", "--format", "csv", "-"},
                  QString("00").repeated(513).toLatin1() + "\n" + QString("00").repeated(601).toLatin1());
        QCOMPARE(Lines(run.out).mid(1), QStringList{"1,1,BCC,1,512,512,00," + QString("00 ").repeated(512)});
        QCOMPARE(run.err, "第 2 行: 16进制数据长度不能超过600！\n");

        // Any bytes at all, as from a binary file: every line refused or read, exit status 1.
        std::mt19937 random(1);
        QByteArray binary;
        for (int k = 0; k < 20000; ++k)
            binary += char(k % 97 == 0 ? '\n' : random() % 4 == 0 ? '\0' : char(random()));
        for (const char* command : {"checksum", "render", "pdu"}) {
            run = Cli({command, "-"}, binary);
            QCOMPARE(run.status, 1);
            QVERIFY(Lines(run.err).size() > 150);
            QVERIFY(Lines(run.err).filter(QRegularExpression("^第 \\d+ 行: (16进制数据(长度错误，请确认|格式错误，请重新确认)！|请输入要分析校验的数据！|请输入数据)$")).size() == Lines(run.err).size());
        }
        run = Cli({"checksum", dir.filePath("missing.txt"), "--file", dir.filePath("missing.txt")});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains(QStringLiteral("无法读取文件")) && !run.err.contains(QStringLiteral("是一个文件")));
    }

    void extractFromLogs()
    {
        // Time stamps, direction markers, tabs and counts around the frame; a line without one is refused.
        const QByteArray log = "[10:00:01.123] TX: 01 03 00 00 00 0A C5 CD\n"
                               "10:00:01.200 RX 6 bytes: 68 01 02 03 06 16\n"
                               "-- port closed --\n"
                               "2024-05-01\t10:00:02\tTX\t01\t03 00 00 00 0A C5 CD\t(ok)\n";
        const Run run = Cli({"checksum", "--extract", "--method", "CRC16", "--format", "json"}, log);
        QCOMPARE(run.err, QStringLiteral("第 3 行: 没有找到16进制数据\n"));
        QCOMPARE(run.status, 1);
        const QJsonArray frames = Json(run);
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[1].toObject()[u"frame"].toString(), "68 01 02 03 06 16 ");
        QCOMPARE(frames[2].toObject()[u"line"].toInt(), 4);
        QCOMPARE(frames[2].toObject()[u"rows"], frames[0].toObject()[u"rows"]);
    }

    void consensusOnLogs()
    {
        // The protocol's rule ranks first; frames of one length report it once.
        Run run = Cli({"checksum", "--consensus", "--extract", "--format", "json"}, ModbusLog(400, false));
        QCOMPARE(run.err, QStringLiteral("第 1 行: 没有找到16进制数据\n"));  // the port's header line
        QCOMPARE(run.status, 1);
        QCOMPARE(Json(run).size(), 1);
        QCOMPARE(Json(run)[0].toObject(), QJsonObject({{"number", 1}, {"rule", "CRC16, 第1字节 至 倒数第3字节"}, {"method", "CRC16"}, {"start", 1},
                                                        {"end", 3}, {"end_from", "last"}, {"frames", 400}, {"share", 100}}));
        run = Cli({"checksum", "--consensus", "--extract", "--min-share", "50"}, ModbusLog(300, true));
        QCOMPARE(Lines(run.out), (QStringList{"共 300 帧，1 条规则在至少 50% 的帧中成立", "序号  规则                           成立帧数  占比(%)",
                                              "   1  CRC16, 第1字节 至 倒数第3字节       300      100"}));
    }

    void decodeAndFind()
    {
        // The byte analysis page's decode pass, one line per variable, rows after a misfit empty.
        Run run = Cli({"decode", "--format", "csv", "--vars", "DWORD,FLOAT,ANSI:3,UINT", "--order", "DWORD=1,FLOAT=0",
                       "12 34 56 78 00 00 80 3F C4 E3 41", "01 02"});
        QCOMPARE(run.status, 0);
        QCOMPARE(Lines(run.out), (QStringList{"行,序号,数据类型,长度,内存块信息,数值", "1,1,DWORD,4,78 56 34 12 ,873625686",
                                              "1,2,FLOAT,4,00 00 80 3F ,1.000", QStringLiteral("1,3,ANSI,3,C4 E3 41 ,你A"), "1,4,UINT,2,-,-",
                                              "2,1,DWORD,4,-,-", "2,2,FLOAT,4,,", "2,3,ANSI,3,,", "2,4,UINT,2,,"}));
        run = Cli({"decode", "--vars", "UCHAR", "--region", "3:2", "01 02"});
        QVERIFY(run.out.contains(QStringLiteral("\n请选择解析区域！\n")));
        run = Cli({"decode", "--vars", "BCD:2", "--region", "2:9", "--format", "json", "01 12 05"});
        QCOMPARE(Json(run)[0].toObject()[u"rows"].toArray()[0].toObject(),
                 QJsonObject({{"number", 1}, {"type", "BCD"}, {"length", 2}, {"memory", "12 05 "}, {"value", "125"}}));

        // The value finder: the same hits as the page's dialog, the plainest first.
        run = Cli({"find", "--format", "csv", "--value", "230.5", "--tolerance", "1%", "01 02 03 04 05 06 07 43 66 80 00 09 05 00", "0g"});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, QStringLiteral("第 2 行: 数据格式错误，请重新确认！\n"));
        const QStringList hits = Lines(run.out);
        QCOMPARE(hits.value(1), "1,1,8,FLOAT,FF3 FF4 FF1 FF2,00 80 66 43 ,230.5,230.5,0");
        QCOMPARE(hits.value(2), "1,2,11,UINT,FF1 FF2,00 09 ,2304,230.4,0.1");
        run = Cli({"find", "--value", "0", "--scales", "1", std::string(1024, '0').c_str()});
        QVERIFY(run.out.contains(QStringLiteral("共找到 5615 处，显示前 200 处")));
    }

    void edgesOfNumbers()
    {
        // A FLOAT near its largest value scaled past the float range once printed "scaled": inf.
        Run run = Cli({"find", "--value", "3e39", "--scales", "10", "--format", "json", "E6 B1 61 7F"});
        QCOMPARE(run.status, 0);
        const QJsonObject hit = Json(run)[0].toObject()[u"rows"].toArray()[0].toObject();
        QCOMPARE(hit[u"type"].toString(), "FLOAT");
        QVERIFY(std::fabs(hit[u"scaled"].toDouble() / 3e39 - 1) < 1e-7);
        // A length given as "01" once went into JSON as it was typed.
        run = Cli({"decode", "--vars", "UCHAR:01", "--format", "json", "00"});
        QCOMPARE(Json(run)[0].toObject()[u"rows"].toArray()[0].toObject()[u"length"], QJsonValue(1));
        // The largest end once wrapped to 0 and was refused as before the start.
        run = Cli({"decode", "--vars", "UCHAR", "--format", "csv", "--region", "2:18446744073709551615", "01 02"});
        QCOMPARE(run.err, QString());
        QCOMPARE(Lines(run.out).value(1), "1,1,UCHAR,1,02,2");
    }

    void extractNotations_data()
    {
        // The same Modbus request as capture tools and source code write it; each line refused
        // when it holds no frame, and a time stamp is never one.
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("frame");
        const QString modbus = MODBUS + ' ';
        QTest::newRow("unspaced") << QByteArray("TX: 01030000000AC5CD") << modbus;
        QTest::newRow("0x, commas") << QByteArray("10:00:01.123 write 0x01,0x03,0x00,0x00,0x00,0x0A,0xC5,0xCD") << modbus;
        QTest::newRow("brackets") << QByteArray("req = [0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD]") << modbus;
        QTest::newRow("equals glued") << QByteArray("write data =01 03 00 00 00 0A C5 CD") << modbus;
        QTest::newRow("colon glued") << QByteArray("[10:00:01] TX:01 03 00 00 00 0A C5 CD") << modbus;
        QTest::newRow("escapes") << QByteArray("sent b'\\x01\\x03\\x00\\x00\\x00\\x0a\\xc5\\xcd'") << modbus;
        QTest::newRow("colons") << QByteArray("[10:00:01][D][uart_debug:114]: >>> 01:03:00:00:00:0A:C5:CD") << modbus;
        QTest::newRow("dashes") << QByteArray("2024-05-01 10:00:01 01-03-00-00-00-0A-C5-CD") << modbus;
        QTest::newRow("time stamp only") << QByteArray("10:00:01.123 RX timeout") << QString();
    }
    void extractNotations()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, frame);
        const Run run = Cli({"checksum", "--extract", "--method", "CRC16", "--format", "json"}, line + "\n");
        if (frame.isEmpty()) {
            QCOMPARE(run.status, 1);
            QCOMPARE(run.err, QStringLiteral("第 1 行: 没有找到16进制数据\n"));
            QCOMPARE(Json(run).size(), 0);
            return;
        }
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(Json(run)[0].toObject()[u"frame"].toString(), frame);
        QCOMPARE(Json(run)[0].toObject()[u"rows"].toArray().size(), 1);
    }

    void unquotedBytes()
    {
        // Arguments that are each one byte are one frame; a quoted frame among them is not a byte.
        Run run = Cli({"checksum", "--method", "CRC16", "--format", "csv", "01", "03", "00", "00", "00", "0A", "C5", "CD"});
        QCOMPARE(run.status, 0);
        QCOMPARE(Lines(run.out).mid(1), QStringList{"1,1,CRC16,1,6,6,C5 CD,01 03 00 00 00 0A "});
        run = Cli({"checksum", "--method", "SUM", "--format", "csv", "68 01 02 03 06 16", "00", "00", "00"});
        QCOMPARE(Lines(run.out).mid(1), (QStringList{"1,1,SUM,2,3,2,03,01 02 ", "1,2,SUM,2,4,3,06,01 02 03 "}));
        QCOMPARE(run.err, QString());  // four frames, the three bytes alone too short for a match
        run = Cli({"convert", "--type", "float", "--bytes", "--format", "csv", "C3", "F5", "48", "40"});
        QCOMPARE(Lines(run.out), (QStringList{"行,输入,数据,数组", "1,C3 F5 48 40,3.140000,C3 F5 48 40"}));
        const Run help = Cli({"checksum", "--help"});
        QVERIFY(help.out.contains(QStringLiteral("参数都只是一个字节时合为一帧")));
    }

    void namesInAnyCase_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("canonical");
        QTest::newRow("method") << QStringList{"checksum", "--method", "crc16", MODBUS} << QStringList{"checksum", "--method", "CRC16", MODBUS};
        QTest::newRow("all") << QStringList{"checksum", "--method", "all", MODBUS} << QStringList{"checksum", MODBUS};
        QTest::newRow("variables and orders") << QStringList{"decode", "--vars", "float,Uint:2", "--order", "float=0,uint=1", "00 00 80 3F 12 34"}
                                              << QStringList{"decode", "--vars", "FLOAT,UINT:2", "--order", "FLOAT=0,UINT=1", "00 00 80 3F 12 34"};
        QTest::newRow("convert type") << QStringList{"convert", "--type", "FLOAT", "3.14"} << QStringList{"convert", "--type", "float", "3.14"};
    }
    void namesInAnyCase()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, canonical);
        const Run run = Cli(typed);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, Cli(canonical).out);
    }

    void sharesAreRounded()
    {
        // 8 of 9 requests carry their CRC: 88.9 %, not the 88.8 a cut would show.
        std::mt19937 random(9);
        QByteArray frames;
        for (int k = 0; k < 9; ++k) {
            std::vector<std::uint8_t> frame = ModbusFrame(random, true);
            if (k == 4)
                frame.back() ^= 0xFF;
            frames += QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' ') + "\n";
        }
        const Run run = Cli({"checksum", "--consensus", "--method", "CRC16", "--min-share", "50", "--format", "csv"}, frames);
        QCOMPARE(Lines(run.out).value(1), QStringLiteral("1,\"CRC16, 第1字节 至 倒数第3字节\",CRC16,1,3,last,8,88.9"));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("err");  // its first line
        QTest::newRow("no subcommand") << QStringList{} << "velmorra-cli 1.01：在命令行上分析通信帧";
        QTest::newRow("unknown subcommand") << QStringList{"crc"} << "velmorra-cli: 未知子命令 crc";
        QTest::newRow("unknown option") << QStringList{"render", "--order", "1"} << "velmorra-cli render: 未知选项 --order";
        QTest::newRow("missing value") << QStringList{"checksum", "01", "--method"} << "velmorra-cli checksum: 选项 --method 缺少值";
        QTest::newRow("bad method") << QStringList{"checksum", "--method", "crc17", "01"} << "velmorra-cli checksum: 未知的校验方法 crc17（应为 ALL、BCC、SUM、LRC、CRC16、CRC16S 或 CRC32）";
        QTest::newRow("share alone") << QStringList{"checksum", "--min-share", "50", "01"} << "velmorra-cli checksum: --min-share 只能与 --consensus 一起使用";
        QTest::newRow("share zero") << QStringList{"checksum", "--consensus", "--min-share", "0", "01"} << "velmorra-cli checksum: --min-share 的值应为大于 0、不超过 100 的百分数：0";
        QTest::newRow("limit") << QStringList{"pdu", "--limit", "65536", "01"} << "velmorra-cli pdu: 选项 --limit 的值应为 1 至 65535 的整数：65536";
        QTest::newRow("both directions") << QStringList{"pdu", "--send", "--receive", "01"} << "velmorra-cli pdu: --send 与 --receive 只能选一个";
        QTest::newRow("no type") << QStringList{"convert", "1"} << "velmorra-cli convert: 缺少 --type（short、ushort、long、ulong、float 或 double）";
        QTest::newRow("format") << QStringList{"convert", "--type", "short", "--format", "xml", "1"} << "velmorra-cli convert: 未知的输出格式 xml（应为 text、csv 或 json）";
        QTest::newRow("no variables") << QStringList{"decode", "01"} << "velmorra-cli decode: 缺少 --vars（如 UCHAR,UINT,FLOAT,ANSI:5）";
        QTest::newRow("unknown type") << QStringList{"decode", "--vars", "UCHAR,uint8", "01"} << "velmorra-cli decode: 未知的变量 uint8（类型为 UCHAR、CHAR、UINT、INT、FLOAT、DWORD、LONG、ANSI 或 BCD，可带 :长度）";
        QTest::newRow("order out of range") << QStringList{"decode", "--vars", "UINT", "--order", "UINT=2", "01"} << "velmorra-cli decode: --order UINT 的序号应为 0 至 1";
        QTest::newRow("order of a type without") << QStringList{"decode", "--vars", "UINT", "--order", "BCD=0", "01"} << "velmorra-cli decode: --order 的 BCD=0 应为 类型=序号，类型为 UINT、INT、FLOAT、DWORD 或 LONG";
        QTest::newRow("region") << QStringList{"decode", "--vars", "UINT", "--region", "0:4", "01"} << "velmorra-cli decode: --region 的起始字节应从 1 数起，且不大于结束字节：0:4";
        QTest::newRow("reading") << QStringList{"find", "--value", "23O.5", "01"} << "velmorra-cli find: --value：输入数据非法";
        QTest::newRow("no reading") << QStringList{"find", "01"} << "velmorra-cli find: 缺少 --value（要查找的读数）";
        QTest::newRow("negative tolerance") << QStringList{"find", "--value", "230.5", "--tolerance", "-1", "01"} << "velmorra-cli find: --tolerance 的值不能为负：-1";
        QTest::newRow("negative percent") << QStringList{"find", "--value", "230.5", "--tolerance=-0.5%", "01"} << "velmorra-cli find: --tolerance 的值不能为负：-0.5%";
    }
    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        const Run run = Cli(args);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QString());
        QCOMPARE(Lines(run.err).value(0), err);
    }

    void help()
    {
        // Every subcommand of the table, each with its own help; nothing in it that does not run.
        const Run run = Cli({"--help"});
        QCOMPARE(run.status, 0);
        const QStringList listed = Lines(run.out).filter(QRegularExpression("^  [a-z]+  ")).replaceInStrings(QRegularExpression("^  ([a-z]+) .*"), "\\1");
        QCOMPARE(listed, (QStringList{"checksum", "pdu", "render", "convert", "decode", "find", "identify"}));
        for (const QString& command : listed) {
            const Run help = Cli({command, "--help"});
            QCOMPARE(help.status, 0);
            QVERIFY(help.out.startsWith("用法：velmorra-cli " + command + ' '));
            QVERIFY(help.out.contains("--format 格式"));
        }
        QCOMPARE(Cli({"--version"}).out, "velmorra-cli 1.01\n");
    }

    void english_data()
    {
        // Everything the program says, for each subcommand: help, usage errors, refusals, and the
        // README's examples as text and CSV. The frames' own data is chosen to show no CJK
        // character in any view (UNICODE views of most byte pairs do).
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("help") << QStringList{"--help"} << QByteArray();
        QTest::newRow("no arguments") << QStringList{} << QByteArray();
        QTest::newRow("unknown subcommand") << QStringList{"crc"} << QByteArray();
        for (const char* command : {"checksum", "pdu", "render", "convert", "decode", "find", "identify"})
            QTest::addRow("%s --help", command) << QStringList{command, "--help"} << QByteArray();
        const QList<QStringList> usage{
            {"render", "--order", "1"}, {"checksum", "01", "--method"}, {"checksum", "--consensus=1"},
            {"checksum", "--method", "crc17", "01"}, {"checksum", "--min-share", "50", "01"},
            {"checksum", "--consensus", "--min-share", "0", "01"}, {"pdu", "--limit", "65536", "01"},
            {"pdu", "--send", "--receive", "01"}, {"pdu", "--full", "--send", "01"}, {"pdu", "--full", "--join", "--format", "csv", "01"},
            {"convert", "1"}, {"convert", "--type", "int", "1"}, {"convert", "--type", "short", "--format", "xml", "1"},
            {"decode", "01"}, {"decode", "--vars", "UCHAR,uint8", "01"}, {"decode", "--vars", "UINT:x", "01"},
            {"decode", "--vars", "UINT", "--order", "UINT=2", "01"}, {"decode", "--vars", "UINT", "--order", "UINT=a", "01"},
            {"decode", "--vars", "UINT", "--order", "BCD=0", "01"}, {"decode", "--vars", "UINT", "--region", "1", "01"},
            {"decode", "--vars", "UINT", "--region", "a:2", "01"}, {"decode", "--vars", "UINT", "--region", "1:b", "01"},
            {"decode", "--vars", "UINT", "--region", "0:4", "01"}, {"find", "--value", "23O.5", "01"}, {"find", "01"},
            {"find", "--value", "230.5", "--tolerance", "-1", "01"}, {"identify", "--min-share", "200", "01"},
            {"identify", "--top", "0", "01"}};
        for (const QStringList& args : usage)
            QTest::addRow("usage: %s", qPrintable(args.join(' '))) << args << QByteArray();
        const QByteArray badLines = "01 0\n0g\n" + QByteArray(1026, '0') + "\n\n";
        for (const char* command : {"checksum", "render", "pdu", "identify"})
            QTest::addRow("refusals: %s", command) << QStringList{command, "-"} << badLines;
        QTest::newRow("refusals: pdu --full") << QStringList{"pdu", "--full", "-"} << badLines;
        QTest::newRow("refusals: decode") << QStringList{"decode", "--vars", "UINT", "-"} << badLines;
        QTest::newRow("refusals: find") << QStringList{"find", "--value", "1", "-"} << badLines;
        QTest::newRow("refusals: convert") << QStringList{"convert", "--type", "float", "x", "", QString(65, '1'), "1e39"} << QByteArray();
        QTest::newRow("refusals: convert --bytes") << QStringList{"convert", "--type", "float", "--bytes", "0", "0g", "00 11 22 33 44 55 66 77 88"} << QByteArray();
        QTest::newRow("refusals: extract") << QStringList{"checksum", "--extract", "-"} << QByteArray("-- port closed --\n");
        QTest::newRow("refusals: no file") << QStringList{"checksum", "--file", "/nonexistent/capture.log"} << QByteArray();
        QTest::newRow("refusals: a file as a frame") << QStringList{"checksum", QStringLiteral(VELMORRA_CLI)} << QByteArray();
        QTest::newRow("region empty") << QStringList{"decode", "--vars", "UCHAR", "--region", "3:2", "01 02"} << QByteArray();
        for (const char* format : {"text", "csv"}) {
            QTest::addRow("consensus, %s", format) << QStringList{"checksum", "--consensus", "--extract", "--format", format} << ModbusLog(40, true);
            QTest::addRow("consensus by share, %s", format) << QStringList{"checksum", "--consensus", "--min-share", "50", "--extract", "--format", format} << ModbusLog(40, false);
            QTest::addRow("identify, %s", format) << QStringList{"identify", "--extract", "--top", "1", "--format", format} << ModbusLog(40, true);
            QTest::addRow("identify, classes, %s", format) << QStringList{"identify", "--extract", "--format", format} << ModbusLog(40, false);
            QTest::addRow("checksum, %s", format) << QStringList{"checksum", "--method", "CRC16", "--format", format, MODBUS, "68 01 02 03 06 16"} << QByteArray();
            QTest::addRow("find, %s", format) << QStringList{"find", "--value", "230.5", "--format", format, "01 02 03 04 05 06 07 43 66 80 00 09"} << QByteArray();
            QTest::addRow("find nothing, %s", format) << QStringList{"find", "--value", "7", "--format", format, "00 00"} << QByteArray();
            QTest::addRow("find many, %s", format) << QStringList{"find", "--value", "0", "--format", format, QString(200, '0')} << QByteArray();
            QTest::addRow("decode, %s", format) << QStringList{"decode", "--vars", "FLOAT,UINT,BCD:2", "--order", "FLOAT=3", "--format", format, "01 02 03 04 05 06 07 43 66 80 00 09"} << QByteArray();
            QTest::addRow("pdu --full, %s", format) << QStringList{"pdu", "--full", "--extract", "--format", format} << SMS_LISTING;
            QTest::addRow("pdu --join, %s", format) << QStringList{"pdu", "--join", "--extract", "--format", format} << SMS_LISTING;
            QTest::addRow("pdu, %s", format) << QStringList{"pdu", "--format", format, "0891682143658709F011000B812143658709F10000A705E8329BFD06", "0791"} << QByteArray();
            QTest::addRow("render, %s", format) << QStringList{"render", "--format", format, "21 22 23 24"} << QByteArray();
            QTest::addRow("convert, %s", format) << QStringList{"convert", "--type", "float", "--format", format, "3.14"} << QByteArray();
        }
    }
    void english()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        const Run chinese = Cli(args, input);
        QVERIFY(!chinese.out.isEmpty() || !chinese.err.isEmpty());
        // The same run in English, by the option (before the subcommand) or by the locale; the same
        // exit status.
        for (const Run& run : {Cli(QStringList{"--lang", "en"} + args, input), Cli(args, input, {"LC_ALL=en_US.UTF-8"})}) {
            QCOMPARE(run.status, chinese.status);
            QVERIFY2(!HasCjk(run.out), qPrintable(run.out.left(3000)));
            QVERIFY2(!HasCjk(run.err), qPrintable(run.err));
            QCOMPARE(run.out.isEmpty(), chinese.out.isEmpty());
        }
        // Chinese asked for in an English locale is the Chinese of the C locale, byte for byte.
        const Run asked = Cli(QStringList{"--lang", "zh"} + args, input, {"LC_ALL=en_US.UTF-8"});
        QCOMPARE(asked.status, chinese.status);
        QCOMPARE(asked.out, chinese.out);
        QCOMPARE(asked.err, chinese.err);
    }

    void languageChoice_data()
    {
        // --lang anywhere before "--", the last one counting; otherwise the locale in POSIX order.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("locale");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("first");  // the first line of standard output, or else of standard error
        const QStringList checksum{"checksum", "--method", "CRC16", MODBUS};
        const QString english = "   No.  Method  Start  End  Length  Checksum  Covered bytes";
        const QString chinese = QStringLiteral("  序号  校验方法  起始位  结束位  长度  校验码  校验内容");
        QTest::newRow("after the subcommand") << checksum + QStringList{"--lang", "en"} << QStringList{"LC_ALL=C"} << 0 << english;
        QTest::newRow("with =") << QStringList{"--lang=en"} + checksum << QStringList{"LC_ALL=C"} << 0 << english;
        QTest::newRow("any case") << checksum + QStringList{"--lang", "EN"} << QStringList{"LC_ALL=C"} << 0 << english;
        QTest::newRow("the last one") << QStringList{"--lang", "en"} + checksum + QStringList{"--lang=zh"} << QStringList{"LC_ALL=C"} << 0 << chinese;
        QTest::newRow("over the locale") << checksum + QStringList{"--lang", "zh"} << QStringList{"LC_ALL=en_GB.UTF-8"} << 0 << chinese;
        QTest::newRow("LC_ALL first") << checksum << QStringList{"LC_ALL=zh_CN.UTF-8", "LANG=en_US.UTF-8"} << 0 << chinese;
        QTest::newRow("LC_MESSAGES") << checksum << QStringList{"LC_MESSAGES=en_GB.UTF-8", "LANG=zh_CN.UTF-8"} << 0 << english;
        QTest::newRow("LANG") << checksum << QStringList{"LANG=en_US.UTF-8"} << 0 << english;
        QTest::newRow("another locale") << checksum << QStringList{"LANG=de_DE.UTF-8"} << 0 << chinese;
        QTest::newRow("no locale") << checksum << QStringList{} << 0 << chinese;
        QTest::newRow("after --, a frame") << QStringList{"checksum", "--", "--lang=en"} << QStringList{"LC_ALL=C"} << 1
                                           << QStringLiteral("第 1 行: 16进制数据长度错误，请确认！");
        QTest::newRow("unknown") << QStringList{"--lang", "fr", "checksum", MODBUS} << QStringList{"LC_ALL=C"} << 2
                                 << QStringLiteral("velmorra-cli: 未知的语言 fr（应为 en 或 zh）");
        QTest::newRow("unknown, in English") << checksum + QStringList{"--lang=xx"} << QStringList{"LC_ALL=en_US.UTF-8"} << 2
                                             << "velmorra-cli: unknown language xx (use en or zh)";
        QTest::newRow("no value") << QStringList{"--lang"} << QStringList{"LC_ALL=C"} << 2 << QStringLiteral("velmorra-cli: 选项 --lang 缺少值");
        QTest::newRow("no value after") << QStringList{"render", "01", "--lang"} << QStringList{"LC_ALL=C"} << 2
                                        << QStringLiteral("velmorra-cli render: 选项 --lang 缺少值");
        QTest::newRow("version") << QStringList{"--lang", "en", "--version"} << QStringList{"LC_ALL=C"} << 0 << "velmorra-cli 1.01";
    }
    void languageChoice()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, locale);
        QFETCH(int, status);
        QFETCH(QString, first);
        const Run run = Cli(args, {}, locale);
        QCOMPARE(run.status, status);
        QCOMPARE(Lines(run.out.isEmpty() ? run.err : run.out).value(0), first);
    }
};

QTEST_APPLESS_MAIN(TestCli)
#include "tst_cli.moc"
