#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Run {
    int status = -1;  // the exit code; -1 for a crash
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

QStringList Lines(const QString& text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QJsonDocument Json(const Run& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "not JSON:" << error.errorString() << run.out.left(200);
    return document;
}

QJsonObject Field(const QJsonArray& fields, const QString& key)
{
    for (const QJsonValue& field : fields)
        if (field.toObject()[u"key"].toString() == key)
            return field.toObject();
    return {};
}

// oFono, unit/test-sms.c: alnum_sender.
const QString ALPHANUMERIC = QStringLiteral("0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9");
// ModemManager, src/tests/test-sms-part-3gpp.c, test_pdu_multipart: two parts, reference 0x4C.
const QByteArray PART_1 = "07912160130320F5440B916171056429F5000021405291650569A00500034C0201A9E8F41C949E83C2207B599E07B1DFEE33885E9ED341E4F23C7D7697C920FA1B54C697E5E3F4BC0C6AD7D9F434081E96D341E3303C2C4EB3D3F4BC0B94A483E6E8779D4D06CDD1EF3BA80E0785E7A0B7BB0C6A97E7F3F0B9CC02B9DF7450780EA2DFDF2C50780EA2A3CBA0BA9B5C96B3F369F71954768FDFE4B4FB0C9297E1F2F2BCECA6CF41";
const QByteArray PART_2 = "07912160130320F6440B916171056429F5000021405291651569320500034C0202E9E8301D44479741F0B09C3E0785E56590BCCC0ED3CB6410FD0D7ABBCBA0B0FB4D4797E52E10";

} // namespace

class TestSmsCli : public QObject {
    Q_OBJECT
private slots:
    void fullText()
    {
        // Every field with its bytes, in words; the described view stays the default.
        Run run = Cli({"pdu", "--full", ALPHANUMERIC});
        QCOMPARE(run.status, 0);
        const QStringList lines = Lines(run.out);
        QCOMPARE(lines.value(0), "PDU 形式: 以短信中心地址开头（长度吻合）");
        QVERIFY(lines.contains("发送方地址 TP-OA [第 10–18 字节]: sipgate（字母数字地址）"));
        QVERIFY(lines.contains("服务中心时间戳 TP-SCTS [第 21–27 字节]: 2008-08-13 12:07:22，时区 UTC+01:00（+4 刻钟）"));
        QCOMPARE(lines.last(), "  短信内容 [第 29–35 字节]: Testmail");
        QCOMPARE(Cli({"pdu", ALPHANUMERIC}).out, "非PDU编码格式\n");

        // A message's control characters (UCS2 holds any) reach a terminal as pictures.
        run = Cli({"pdu", "--full", "0001000B915121551532F4000808001B005B0032004A"});
        QVERIFY(run.out.contains(QStringLiteral("短信内容 [第 15–22 字节]: ␛[2J\n")));
    }

    void fullJsonAndCsv()
    {
        Run run = Cli({"pdu", "--full", "--format", "json", ALPHANUMERIC, "0011000B916407281553F80000AA0AE8329B"});
        QCOMPARE(run.status, 0);
        const QJsonArray pdus = Json(run).array();
        QCOMPARE(pdus.size(), 2);
        const QJsonObject first = pdus[0].toObject();
        QCOMPARE(first[u"type"].toString(), "SMS-DELIVER");
        QCOMPARE(first[u"address"].toString(), "sipgate");
        QCOMPARE(first[u"text"].toString(), "Testmail");
        QCOMPARE(first[u"lengths_fit"].toBool(), true);
        const QJsonObject originator = Field(first[u"fields"].toArray(), "originator");
        QCOMPARE(originator[u"offset"].toInt(), 9);
        QCOMPARE(originator[u"length"].toInt(), 9);
        QCOMPARE(Field(originator[u"fields"].toArray(), "type_of_address")[u"value"].toInt(), 0xD0);
        const QJsonObject firstOctet = Field(first[u"fields"].toArray(), "first_octet");
        QCOMPARE(Field(firstOctet[u"fields"].toArray(), "more_messages_to_send")[u"value"].toBool(), false);
        QCOMPARE(Field(firstOctet[u"fields"].toArray(), "message_type")[u"value"].toString(), "SMS-DELIVER");

        // Cut short: what is there, what is missing, and why.
        const QJsonObject cut = pdus[1].toObject();
        QCOMPARE(cut[u"lengths_fit"].toBool(), false);
        QCOMPARE(cut[u"problems"].toArray()[0].toString(), "用户数据 TP-UD 不完整：应有 9 字节，只有 3 字节");
        QCOMPARE(Field(cut[u"fields"].toArray(), "user_data")[u"state"].toString(), "truncated");
        QCOMPARE(Field(cut[u"fields"].toArray(), "validity_period")[u"value"].toInt(), 345600);

        run = Cli({"pdu", "--full", "--format", "csv", ALPHANUMERIC});
        const QStringList rows = Lines(run.out);
        QCOMPARE(rows.value(0), "行,字段,名称,偏移,长度,状态,值,说明");
        QVERIFY(rows.contains("1,originator.number,号码,11,7,decoded,sipgate,sipgate"));
        QVERIFY(rows.contains(QStringLiteral("1,smsc,短信中心地址,0,8,decoded,+447785016005,+447785016005（国际号码）")));
    }

    void joinFromModemListing()
    {
        // A modem's listing (AT+CMGL) with the parts out of order and a line of another kind between.
        const QByteArray listing = "AT+CMGL=4\r\n+CMGL: 2,1,,50\r\n" + PART_2 + "\r\n+CMGL: 1,1,,159\r\n" + PART_1 +
                                   "\r\n+CMGL: 3,1,,35\r\n" + ALPHANUMERIC.toLatin1() + "\r\nOK\r\n";
        Run run = Cli({"pdu", "--join", "--extract", "-"}, listing);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = Lines(run.out);
        QCOMPARE(lines.value(0), "消息 1: SMS-DELIVER，发送方 +16175046925，长短信，参考号 0x4C，共 2 部分");
        QCOMPARE(lines.value(1), "  第 1 部分: 第 5 行");
        QCOMPARE(lines.value(2), "  第 2 部分: 第 3 行");
        QCOMPARE(lines.value(3), "  内容: This is a very long test designed to exercise multi part capability. It should show up as one message, "
                                 "not as two, as the underlying encoding represents that the parts are related to one another. ");
        QCOMPARE(lines.value(5), "消息 2: SMS-DELIVER，发送方 sipgate，单条短信");

        // Without its first part: named missing, marked in the text.
        run = Cli({"pdu", "--join", "--format", "json", PART_2});
        const QJsonObject message = Json(run).array()[0].toObject();
        QCOMPARE(message[u"missing"].toArray(), QJsonArray({1}));
        QCOMPARE(message[u"lines"].toArray(), QJsonArray({QJsonValue(), 1}));
        QVERIFY(message[u"text"].toString().startsWith("［缺第 1 部分］that the parts"));

        // Both: the PDUs and the messages in one document.
        run = Cli({"pdu", "--full", "--join", "--format", "json", PART_1, PART_2});
        QCOMPARE(Json(run).object()[u"pdus"].toArray().size(), 2);
        QCOMPARE(Json(run).object()[u"messages"].toArray().size(), 1);
    }

    void refusalsAndUsage()
    {
        // A line that is no hex gets the page's message; the others go on.
        Run run = Cli({"pdu", "--full", "-"}, ALPHANUMERIC.toLatin1() + "\n0G\n123\n");
        QCOMPARE(run.status, 1);
        QCOMPARE(Lines(run.err), (QStringList{"第 2 行: 16进制数据格式错误，请重新确认！", "第 3 行: 16进制数据长度错误，请确认！"}));
        QVERIFY(run.out.contains("第 1 行: 07 91 44"));

        run = Cli({"pdu", "--full", "--send", ALPHANUMERIC});
        QCOMPARE(run.status, 2);
        QCOMPARE(Lines(run.err).value(0), "velmorra-cli pdu: --full、--join 与 --send、--receive 不能同时使用");
        run = Cli({"pdu", "--full", "--join", "--format", "csv", ALPHANUMERIC});
        QCOMPARE(run.status, 2);
        QVERIFY(Cli({"pdu", "--help"}).out.contains("--join"));
    }
};

QTEST_APPLESS_MAIN(TestSmsCli)
#include "tst_sms_cli.moc"
