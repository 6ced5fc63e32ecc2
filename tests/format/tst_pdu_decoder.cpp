#include <QTest>
#include <random>
#include <vector>

#include "common/code_page.h"
#include "format/pdu_decoder.h"

namespace {

QString Shown(const std::string& narrow)
{
    const std::u16string wide = NarrowToWide(narrow);
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

QStringList Lines(const std::string& narrow)
{
    return Shown(narrow).split(QStringLiteral("\r\n"));
}

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

// Reference packing, bit by bit, least significant bit first.
std::vector<std::uint8_t> PackSeptets(const std::vector<std::uint8_t>& septets)
{
    std::vector<std::uint8_t> octets((7 * septets.size() + 7) / 8);
    for (std::size_t bit = 0; bit < 7 * septets.size(); ++bit)
        if (septets[bit / 7] >> (bit % 7) & 1)
            octets[bit / 8] |= static_cast<std::uint8_t>(1 << (bit % 8));
    return octets;
}

const char SEND_EXAMPLE[] = "0891682143658709F011000B812143658709F10000A705E8329BFD06";
const char RECEIVE_EXAMPLE[] = "0891682143658709F0040B812143658709F1000831501290035423044F60597D";
const char CENTRE[] = "0891682143658709F0";

// A send PDU around the example's addresses with the given fields (two hex digits each).
std::string SendPdu(const char* protocol, const char* coding, const char* validity, const std::string& userData)
{
    return std::string(CENTRE) + "11000B812143658709F1" + protocol + coding + validity + userData;
}

// Runs a decoder on an exact-size heap copy, so that a read past the end is caught.
std::string Decode(const std::string& text, int direction)
{
    const std::vector<char> exact(text.begin(), text.end());
    const std::string_view view(exact.data(), exact.size());
    return direction == PDU_DIRECTION_RECEIVE ? DecodeReceivePdu(view) : DecodeSendPdu(view);
}

} // namespace

class TestPduDecoder : public QObject {
    Q_OBJECT
private slots:
    void buildingBlocks();
    void unpackSeptetsMatchesBitByBit();
    void sendExample();
    void receiveExample();
    void validityPeriod_data();
    void validityPeriod();
    void codingAndProtocol_data();
    void codingAndProtocol();
    void content_data();
    void content();
    void pageRefusesOtherTexts();
    void truncatedTextsReadZeros();
    void randomTextsStayInBounds();
};

void TestPduDecoder::buildingBlocks()
{
    QCOMPARE(HexTextToBytes("0A1bFF7"), (std::vector<std::uint8_t>{0x0A, 0x1B, 0xFF}));
    QCOMPARE(SwapSemiOctets("2143658709F1"), std::string("12345678901"));  // 11 digits in 6 octets
    QCOMPARE(SwapSemiOctets("21F3658709F1"), std::string("123F5678901"));  // only the last F is filler
    QCOMPARE(SwapSemiOctets("683108"), std::string("861380"));
    QCOMPARE(SwapSemiOctets(""), std::string());
    // The GSM 03.38 packing example: nine octets carry ten septets.
    const std::vector<std::uint8_t> packed = HexTextToBytes("E8329BFD4697D9EC37");
    const std::vector<std::uint8_t> septets = UnpackSeptets(packed);
    QCOMPARE(std::string(septets.begin(), septets.end()), std::string("hellohello"));
    QCOMPARE(Ucs2ToNarrow(HexTextToBytes("4F60597D")), std::string("\xC4\xE3\xBA\xC3"));
    QCOMPARE(Ucs2ToNarrow(HexTextToBytes("004100")), std::string("A"));  // an odd last byte is no unit
}

void TestPduDecoder::unpackSeptetsMatchesBitByBit()
{
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> septets(random() % 300);
        for (std::uint8_t& s : septets)
            s = static_cast<std::uint8_t>(random() % 128);
        const std::vector<std::uint8_t> octets = PackSeptets(septets);
        std::vector<std::uint8_t> unpacked = UnpackSeptets(octets);
        QCOMPARE(unpacked.size(), octets.size() + octets.size() / 7);
        unpacked.resize(septets.size());  // drop the septet of fill bits
        QCOMPARE(unpacked, septets);
    }
}

void TestPduDecoder::sendExample()
{
    QCOMPARE(Lines(DecodeSendPdu(SEND_EXAMPLE)),
             (QStringList{QStringLiteral("SMSC号码:8612345678900"), QStringLiteral("发送号码:12345678901"),
                          QStringLiteral("协议标识:普通GSM类型"), QStringLiteral("编码方式:7-bit"),
                          QStringLiteral("有效期:24小时"), QStringLiteral("信息长度:5"), QStringLiteral("信息内容:hello")}));
}

void TestPduDecoder::receiveExample()
{
    const std::string decoded = DecodeReceivePdu(RECEIVE_EXAMPLE);
    QCOMPARE(Lines(decoded),
             (QStringList{QStringLiteral("SMSC号码:8612345678900"), QStringLiteral("回复号码:12345678901"),
                          QStringLiteral("协议标识:普通GSM类型"), QStringLiteral("编码方式:UCS2"),
                          QStringLiteral("服务时间戳:2013-05-21 09:30:45"), QStringLiteral("信息长度:4"),
                          QStringLiteral("信息内容:你好")}));
    QVERIFY(decoded.ends_with("\xC4\xE3\xBA\xC3"));  // GBK bytes, no line end after the content
}

void TestPduDecoder::validityPeriod_data()
{
    QTest::addColumn<QString>("octet");
    QTest::addColumn<QString>("line");
    const struct { const char* octet; const char* text; } rows[] = {
        {"00", "5分钟"},  {"8F", "720分钟"}, {"90", "12小时"}, {"91", "13小时"}, {"92", "13小时"},
        {"A7", "24小时"}, {"A8", "2天"},     {"C4", "30天"},   {"C5", "5周"},    {"FF", "63周"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.octet) << QString::fromLatin1(row.octet) << QStringLiteral("有效期:") + QString::fromUtf8(row.text);
}

void TestPduDecoder::validityPeriod()
{
    QFETCH(QString, octet);
    QFETCH(QString, line);
    QCOMPARE(Lines(DecodeSendPdu(SendPdu("00", "00", qPrintable(octet), "05E8329BFD06"))).value(4), line);
}

void TestPduDecoder::codingAndProtocol_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QString>("coding");
    QTest::addColumn<QString>("protocolLine");
    QTest::addColumn<QString>("codingLine");
    const QString plain = QStringLiteral("协议标识:普通GSM类型");
    const QString unknown = QStringLiteral("协议标识:未识别");
    QTest::newRow("00 00") << "00" << "00" << plain << "编码方式:7-bit";
    QTest::newRow("00 08") << "00" << "08" << plain << "编码方式:UCS2";
    QTest::newRow("00 04") << "00" << "04" << plain << "编码方式:8-bit";
    QTest::newRow("00 10") << "00" << "10" << plain << "编码方式:8-bit";
    QTest::newRow("00 18") << "00" << "18" << plain << "编码方式:8-bit";
    QTest::newRow("01 00") << "01" << "00" << unknown << "编码方式:7-bit";
    QTest::newRow("7F 08") << "7F" << "08" << unknown << "编码方式:UCS2";
}

void TestPduDecoder::codingAndProtocol()
{
    QFETCH(QString, protocol);
    QFETCH(QString, coding);
    QFETCH(QString, protocolLine);
    QFETCH(QString, codingLine);
    const QStringList send = Lines(DecodeSendPdu(SendPdu(qPrintable(protocol), qPrintable(coding), "A7", "00")));
    QCOMPARE(send.value(2), protocolLine);
    QCOMPARE(send.value(3), codingLine);
    const std::string receive =
        std::string(CENTRE) + "040B812143658709F1" + qPrintable(protocol) + qPrintable(coding) + "3150129003542300";
    QCOMPARE(Lines(DecodeReceivePdu(receive)).value(2), protocolLine);
    QCOMPARE(Lines(DecodeReceivePdu(receive)).value(3), codingLine);
}

void TestPduDecoder::content_data()
{
    QTest::addColumn<QString>("coding");
    QTest::addColumn<QString>("userData");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("content");

    const std::vector<std::uint8_t> a200(200, 'a');
    const std::vector<std::uint8_t> x200(200, 'x');
    std::vector<std::uint8_t> hanzi80, hanzi81;
    for (int i = 0; i < 81; ++i) {
        (i < 80 ? hanzi80 : hanzi81).insert((i < 80 ? hanzi80 : hanzi81).end(), {0x4F, 0x60});
    }
    hanzi81.insert(hanzi81.begin(), hanzi80.begin(), hanzi80.end());

    QTest::newRow("7-bit, first septet 0") << "00" << "0500000000" << "5" << "";
    QTest::newRow("7-bit, ten septets") << "00" << "0AE8329BFD4697D9EC37" << "10" << "hellohello";
    QTest::newRow("7-bit, 200 shown in full") << "00" << QString::fromStdString("C8" + Hex(PackSeptets(a200))) << "200"
                                               << QString(200, QLatin1Char('a'));
    QTest::newRow("8-bit stops at zero") << "04" << "05414200434400" << "5" << "AB";
    QTest::newRow("8-bit GBK bytes") << "04" << "04C4E3BAC3" << "4" << QStringLiteral("你好");
    QTest::newRow("8-bit, 200 shown in full") << "04" << QString::fromStdString("C8" + Hex(x200)) << "200"
                                              << QString(200, QLatin1Char('x'));
    QTest::newRow("UCS2 stops at zero unit") << "08" << "0600410000004200" << "6" << "A";
    QTest::newRow("UCS2, 160 bytes fit") << "08" << QString::fromStdString("A0" + Hex(hanzi80)) << "160"
                                         << QString(80, QChar(0x4F60));
    QTest::newRow("UCS2, 162 bytes do not") << "08" << QString::fromStdString("A2" + Hex(hanzi81)) << "162" << "";
}

void TestPduDecoder::content()
{
    QFETCH(QString, coding);
    QFETCH(QString, userData);
    QFETCH(QString, length);
    QFETCH(QString, content);
    const QStringList lines = Lines(Decode(SendPdu("00", qPrintable(coding), "A7", userData.toStdString()), 0));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[5], QStringLiteral("信息长度:") + length);
    QCOMPARE(lines[6], QStringLiteral("信息内容:") + content);
}

void TestPduDecoder::pageRefusesOtherTexts()
{
    const QString refused = QStringLiteral("非PDU编码格式");
    QCOMPARE(Shown(DecodePdu("0881682143658709F0", PDU_DIRECTION_SEND)), refused);
    QCOMPARE(Shown(DecodePdu("0791682143658709F0", PDU_DIRECTION_RECEIVE)), refused);
    QCOMPARE(Shown(DecodePdu("08", PDU_DIRECTION_SEND)), refused);
    QCOMPARE(Shown(DecodePdu("", PDU_DIRECTION_SEND)), refused);
    QCOMPARE(DecodePdu(SEND_EXAMPLE, PDU_DIRECTION_SEND), DecodeSendPdu(SEND_EXAMPLE));
    QCOMPARE(DecodePdu(RECEIVE_EXAMPLE, PDU_DIRECTION_RECEIVE), DecodeReceivePdu(RECEIVE_EXAMPLE));
    QVERIFY(DecodePdu(RECEIVE_EXAMPLE, PDU_DIRECTION_SEND) != DecodeReceivePdu(RECEIVE_EXAMPLE));
}

void TestPduDecoder::truncatedTextsReadZeros()
{
    // Every prefix decodes as if the missing characters were "0".
    for (int direction : {PDU_DIRECTION_SEND, PDU_DIRECTION_RECEIVE}) {
        const std::string full = direction == PDU_DIRECTION_SEND ? SEND_EXAMPLE : RECEIVE_EXAMPLE;
        for (std::size_t n = 0; n <= full.size(); ++n) {
            std::string padded = full.substr(0, n);
            padded.resize(600, '0');
            QCOMPARE(Decode(full.substr(0, n), direction), Decode(padded, direction));
            QCOMPARE(Lines(Decode(full.substr(0, n), direction)).size(), 7);
        }
    }
    QCOMPARE(Lines(DecodeReceivePdu("0891")).value(4), QStringLiteral("服务时间戳:2000-00-00 00:00:00"));
    QCOMPARE(Lines(DecodeSendPdu("0891")).value(0), QStringLiteral("SMSC号码:") + QString(14, QLatin1Char('0')));
    // A centre length of 00 announces 254 digits.
    QCOMPARE(Lines(DecodeSendPdu("0091")).value(0).size(), 7 + 254);
}

void TestPduDecoder::randomTextsStayInBounds()
{
    std::mt19937 random(1291);
    static const char hex[] = "0123456789ABCDEF";
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 1101, '\0');
        const bool anyBytes = round % 4 == 0;
        for (char& c : text)
            c = anyBytes ? static_cast<char>(random()) : hex[random() % 16];
        if (round % 2 && text.size() >= 3)
            text.replace(0, 3, "089");
        for (int direction : {PDU_DIRECTION_SEND, PDU_DIRECTION_RECEIVE}) {
            const QStringList lines = Lines(Decode(text, direction));
            QVERIFY(lines.size() >= 7);  // an 8-bit content may carry CR LF of its own
        }
        const std::vector<std::uint8_t> bytes = HexTextToBytes(text);
        UnpackSeptets(bytes);
        Ucs2ToNarrow(bytes);
        SwapSemiOctets(text);
        DecodePdu(text, round % 2);
    }
}

QTEST_APPLESS_MAIN(TestPduDecoder)
#include "tst_pdu_decoder.moc"
