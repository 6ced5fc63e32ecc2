#include <QTest>
#include <random>
#include <vector>

#include "common/code_page.h"
#include "format/pdu_decoder.h"

namespace {

const char SEND_EXAMPLE[] = "0891682143658709F011000B812143658709F10000A705E8329BFD06";
const char RECEIVE_EXAMPLE[] = "0891682143658709F0040B812143658709F1000831501290035423044F60597D";

// Decodes an exact-size heap copy, so that a read past the end is caught; lines joined by "\n".
QString Decode(const std::string& text, PduDirection direction)
{
    const std::vector<char> exact(text.begin(), text.end());
    const std::u16string wide = NarrowToWide(DecodePdu(std::string_view(exact.data(), exact.size()), direction));
    return QString::fromUtf16(wide.data(), qsizetype(wide.size())).replace("\r\n", "\n");
}

// Reference packing, bit by bit, least significant bit first.
QByteArray PackSeptets(const std::vector<std::uint8_t>& septets)
{
    QByteArray octets(qsizetype(7 * septets.size() + 7) / 8, '\0');
    for (std::size_t bit = 0; bit < 7 * septets.size(); ++bit)
        octets[bit / 8] = char(octets[bit / 8] | (septets[bit / 7] >> (bit % 7) & 1) << (bit % 8));
    return octets;
}

} // namespace

class TestPduDecoder : public QObject {
    Q_OBJECT
private slots:
    void examples();
    void fields_data();
    void fields();
    void randomTextsReadAsIfPaddedWithZeros();
};

void TestPduDecoder::examples()
{
    QCOMPARE(Decode(SEND_EXAMPLE, PduDirection::Send), "SMSC号码:8612345678900\n发送号码:12345678901\n协议标识:普通GSM类型\n"
                                                       "编码方式:7-bit\n有效期:24小时\n信息长度:5\n信息内容:hello");
    QCOMPARE(Decode(RECEIVE_EXAMPLE, PduDirection::Receive), "SMSC号码:8612345678900\n回复号码:12345678901\n协议标识:普通GSM类型\n"
                                                             "编码方式:UCS2\n服务时间戳:2013-05-21 09:30:45\n信息长度:4\n信息内容:你好");
    QVERIFY(DecodeReceivePdu(RECEIVE_EXAMPLE).ends_with("\xC4\xE3\xBA\xC3"));  // GBK, no line end after it
    for (const char* text : {"0881682143658709F0", "0791682143658709F0", "08", ""})
        QCOMPARE(Decode(text, PduDirection::Receive), "非PDU编码格式");
}

// `fields` follows the example's addresses: protocol, coding, validity (send) or time stamp (receive), user data.
void TestPduDecoder::fields_data()
{
    QTest::addColumn<QByteArray>("pdu");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");  // that line and the ones after it
    const auto row = [](const char* tag, bool receive, const QByteArray& fields, int line, const QString& expected) {
        QTest::newRow(tag) << (receive ? "0891682143658709F0040B812143658709F1" : "0891682143658709F011000B812143658709F1") + fields << line << expected;
    };
    const char* const validity[][2] = {{"00", "5分钟"}, {"8F", "720分钟"}, {"90", "12小时"}, {"91", "13小时"}, {"92", "13小时"},
                                       {"A7", "24小时"}, {"A8", "2天"}, {"C4", "30天"}, {"C5", "5周"}, {"FF", "63周"}};
    for (const auto& [octet, text] : validity)
        row(octet, false, QByteArray("0000") + octet + "00", 4, QStringLiteral("有效期:") + QString::fromUtf8(text) + "\n信息长度:0\n信息内容:");
    row("protocol 01, coding 04", false, "0104A700", 2, "协议标识:未识别\n编码方式:8-bit");
    row("coding 10", false, "0010A700", 2, "协议标识:普通GSM类型\n编码方式:8-bit");
    row("receive, protocol 7F", true, "7F00315012900354230400", 2, "协议标识:未识别\n编码方式:7-bit");
    row("7-bit, first septet 0", false, "0000A70500000000", 5, "信息长度:5\n信息内容:");
    row("7-bit, 200 in full", false, "0000A7C8" + PackSeptets(std::vector<std::uint8_t>(200, 'a')).toHex(), 6, "信息内容:" + QString(200, 'a'));
    row("8-bit stops at zero", false, "0004A705414200434400", 5, "信息长度:5\n信息内容:AB");
    row("8-bit, 200 in full", false, "0004A7C8" + QByteArray(200, 'x').toHex(), 6, "信息内容:" + QString(200, 'x'));
    row("UCS2 stops at zero unit", false, "0008A70600410000004200", 3, "编码方式:UCS2\n有效期:24小时\n信息长度:6\n信息内容:A");
    row("UCS2, 160 bytes fit", false, "0008A7A0" + QByteArray("4F60").repeated(80), 5, "信息长度:160\n信息内容:" + QString(80, QChar(0x4F60)));
    row("UCS2, 162 bytes do not", false, "0008A7A2" + QByteArray("4F60").repeated(81), 5, "信息长度:162\n信息内容:");
}

void TestPduDecoder::fields()
{
    QFETCH(QByteArray, pdu);
    QFETCH(int, line);
    QFETCH(QString, expected);
    // The first octet after the centre is 11 in the send rows and 04 in the receive rows.
    const QStringList lines = Decode(pdu.toStdString(), pdu[19] == '4' ? PduDirection::Receive : PduDirection::Send).split('\n');
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.mid(line, expected.count('\n') + 1).join('\n'), expected);
}

void TestPduDecoder::randomTextsReadAsIfPaddedWithZeros()
{
    // No field reaches past 1,100 characters, so zeros after the text must change nothing.
    std::mt19937 random(1291);
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 1101, '\0');
        for (char& c : text)
            c = round % 4 == 0 ? static_cast<char>(random()) : "0123456789ABCDEF"[random() % 16];
        if (round % 4 == 1)
            text = std::string(round % 8 == 1 ? SEND_EXAMPLE : RECEIVE_EXAMPLE).substr(0, random() % 70);
        else if (round % 4 != 2 && text.size() >= 3)
            text.replace(0, 3, "089");
        for (PduDirection direction : {PduDirection::Send, PduDirection::Receive})
            QCOMPARE(Decode(text, direction), Decode(text + std::string(1100, '0'), direction));
        std::vector<std::uint8_t> septets(random() % 300), bytes(text.begin(), text.end());
        for (std::uint8_t& s : septets)
            s = static_cast<std::uint8_t>(random() % 128);
        const QByteArray packed = PackSeptets(septets);
        std::vector<std::uint8_t> unpacked = UnpackSeptets(std::vector<std::uint8_t>(packed.begin(), packed.end()));
        QCOMPARE(unpacked.size(), std::size_t(packed.size() + packed.size() / 7));
        unpacked.resize(septets.size());  // drop the septet of fill bits
        QCOMPARE(unpacked, septets);
        QVERIFY(UnpackSeptets(bytes).size() == bytes.size() + bytes.size() / 7 && Ucs2ToNarrow(bytes).size() <= 160);
    }
}

QTEST_APPLESS_MAIN(TestPduDecoder)
#include "tst_pdu_decoder.moc"
