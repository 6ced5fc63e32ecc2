#include <QTest>
#include <random>

#include "checksum/checksum_methods.h"
#include "common/capture_notation.h"
#include "common/hex_text.h"

Q_DECLARE_METATYPE(CaptureReading)

namespace {

std::string Frame(const QByteArray& line, CaptureReading reading)
{
    return FormatHexBytes(FindCaptureFrame(std::string_view(line.constData(), std::size_t(line.size())), reading));
}

} // namespace

class TestCaptureNotation : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void realCapturesCarryTheirChecksum_data();
    void realCapturesCarryTheirChecksum();
    void pastedTexts_data();
    void pastedTexts();
    void anyTextGivesTheGrammarOrNothing();
};

void TestCaptureNotation::lines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<CaptureReading>("reading");
    QTest::addColumn<QByteArray>("frame");  // the hex grammar; empty: no frame
    const auto log = CaptureReading::Log;
    const auto paste = CaptureReading::Paste;
    const QByteArray none;
    const QByteArray modbus = "01 03 00 00 00 0A C5 CD ";

    // The notations, each alone and in a log line.
    QTest::newRow("spaced pairs") << QByteArray("01 03 00 00 00 0A C5 CD") << log << modbus;
    QTest::newRow("unspaced") << QByteArray("TX: 01030000000AC5CD") << log << modbus;
    QTest::newRow("0x and commas") << QByteArray("0x01,0x03,0x00,0x00,0x00,0x0A,0xC5,0xCD") << log << modbus;
    QTest::newRow("0x and blanks") << QByteArray("0x01 0x03 0x00 0x00 0x00 0x0a 0xc5 0xcd") << paste << modbus;
    QTest::newRow("C array") << QByteArray("uint8_t req[8] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};") << paste << modbus;
    QTest::newRow("brackets") << QByteArray("[0xA5, 0x40, 0x01]") << log << QByteArray("A5 40 01 ");
    QTest::newRow("one digit after 0x") << QByteArray("send: 0x1 0x3 0x0 0xa") << log << QByteArray("01 03 00 0A ");
    QTest::newRow("escapes") << QByteArray("b'\\x01\\x03\\x00\\x00\\x00\\x0a\\xc5\\xcd'") << log << modbus;
    QTest::newRow("dashes") << QByteArray("01-03-00-00-00-0A-C5-CD") << paste << modbus;
    QTest::newRow("colons") << QByteArray("01:03:00:00:00:0A:C5:CD") << log << modbus;
    QTest::newRow("equals glued") << QByteArray("write data =68 AA 01 16") << log << QByteArray("68 AA 01 16 ");
    QTest::newRow("colon glued") << QByteArray("RX:68 AA 01 16") << log << QByteArray("68 AA 01 16 ");
    QTest::newRow("Chinese label glued") << QByteArray("\xE5\x8F\x91\xE9\x80\x81""68 AA") << log << QByteArray("68 AA ");
    QTest::newRow("groups of four") << QByteArray("11 03 006B 0003 7687") << log << QByteArray("11 03 00 6B 00 03 76 87 ");

    // What is not a frame.
    QTest::newRow("time stamp with fraction") << QByteArray("10:00:01.123") << paste << none;
    QTest::newRow("time stamp, comma fraction") << QByteArray("10:00:01,123 RX") << log << none;
    QTest::newRow("time in a log") << QByteArray("[10:00:01] port opened") << log << none;
    QTest::newRow("time stamp before the frame") << QByteArray("10:00:01.12 TX 01 02") << log << QByteArray("01 02 ");
    QTest::newRow("lone time pasted is bytes") << QByteArray("01:02:03") << paste << QByteArray("01 02 03 ");
    QTest::newRow("time beside a frame pasted") << QByteArray("[12:30:45] 68 16") << paste << QByteArray("68 16 ");
    QTest::newRow("byte chain is no time") << QByteArray("12:34:56:78") << log << QByteArray("12 34 56 78 ");
    QTest::newRow("date") << QByteArray("2024-05-01 2024/05/01 01.05.2024") << log << none;
    QTest::newRow("decimal numbers") << QByteArray("# COM3 9600 8N1 opened, 3.14 -12 x1") << log << none;
    QTest::newRow("a number pasted is bytes") << QByteArray("9600") << paste << QByteArray("96 00 ");
    QTest::newRow("words") << QByteArray("-- port closed -- data added") << log << none;
    QTest::newRow("signed") << QByteArray("offset -0A") << log << none;
    QTest::newRow("odd digits") << QByteArray("0 1 2 ABC") << log << none;
    QTest::newRow("empty") << QByteArray("") << log << none;

    // The longest run wins, the first of equally long ones.
    QTest::newRow("longest") << QByteArray("ID 01 02 len=0x08 data=0x01 0x02 0x03") << log << QByteArray("01 02 03 ");
    QTest::newRow("first of equals") << QByteArray("AA BB | CC DD") << log << QByteArray("AA BB ");
    QTest::newRow("mixed notations break") << QByteArray("0x01 02 03") << log << QByteArray("02 03 ");

    // Hex dumps: the offset is no part of the frame.
    QTest::newRow("hexdump -C") << QByteArray("00000000  01 03 00 00 00 0a c5 cd  |........|") << log << modbus;
    QTest::newRow("xxd") << QByteArray("00000000: 0103 0000 000a c5cd  ........") << log << modbus;
    QTest::newRow("short last line") << QByteArray("00000010  68 16") << log << QByteArray("68 16 ");
}

void TestCaptureNotation::lines()
{
    QFETCH(QByteArray, line);
    QFETCH(CaptureReading, reading);
    QFETCH(QByteArray, frame);
    QCOMPARE(QByteArray::fromStdString(Frame(line, reading)), frame);
}

void TestCaptureNotation::realCapturesCarryTheirChecksum_data()
{
    // Lines as posted in public threads; each frame ends in its CRC-16/MODBUS, low byte first, so
    // a byte lost or gained on the way would show.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("bytes");
    // pymodbus debug log, home-assistant/core issue #115489
    QTest::newRow("pymodbus send") << QByteArray("2024-04-13 15:04:44.511 DEBUG (MainThread) [pymodbus.logging] send: 0x1 0x3 0x0 0x6c 0x0 0x1 0x44 0x17") << 8;
    QTest::newRow("pymodbus recv") << QByteArray("2024-04-13 15:04:44.541 DEBUG (MainThread) [pymodbus.logging] recv: 0x1 0x3 0x2 0x0 0x19 0x79 0x8e old_data:  addr=None") << 7;
    // ESPHome uart_debug, syssi/esphome-seplos-bms issue #123
    QTest::newRow("ESPHome uart_debug") << QByteArray("[20:13:08][D][uart_debug:114]: >>> 00:04:10:00:00:0E:74:DF") << 8;
    // Tasmota SML dump, arendst/Tasmota issue #9644
    QTest::newRow("Tasmota dump") << QByteArray("22:05:01 : f7 03 04 00 64 00 01 ec 23 ") << 9;
    // An SDM630's answer as an oscilloscope showed it, arendst/Tasmota issue #13224
    QTest::newRow("oscilloscope") << QByteArray("Response: 0x( 01 04 04 43 60 25 88 F4 E8)  --> 224.146606445 Volt") << 9;
    // simplymodbus.ca's FC03 example, quoted in arendst/Tasmota issue #8440
    QTest::newRow("register groups") << QByteArray("11 03 006B 0003 7687") << 8;
}

void TestCaptureNotation::realCapturesCarryTheirChecksum()
{
    QFETCH(QByteArray, line);
    QFETCH(int, bytes);
    const std::vector<std::uint8_t> frame = FindCaptureFrame(line.toStdString(), CaptureReading::Log);
    QCOMPARE(int(frame.size()), bytes);
    const ChecksumBytes crc = ComputeCrc16(frame, 0, frame.size() - 2);
    QCOMPARE(crc.low, frame[frame.size() - 2]);
    QCOMPARE(crc.high, frame[frame.size() - 1]);
}

void TestCaptureNotation::pastedTexts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("tidy");
    const QByteArray modbus = "01 03 00 00 00 0A C5 CD ";
    QTest::newRow("C array over lines") << QByteArray("static const uint8_t frame[] = {\r\n    0x01, 0x03, 0x00, 0x00,\r\n    0x00, 0x0A, 0xC5, 0xCD\r\n};\r\n") << modbus;
    QTest::newRow("hex dump") << QByteArray("00000000  01 03 00 00 00 0a  |......|\n00000006  c5 cd  |..|\n") << modbus;
    QTest::newRow("log") << QByteArray("[10:00:01.123] TX: 01 03 00 00\n[10:00:01.130] TX: 00 0A C5 CD\n") << modbus;
    QTest::newRow("grammar already") << QByteArray("01 03 00 00 00 0a c5 cd") << modbus;
    QTest::newRow("nothing") << QByteArray("hello\nworld") << QByteArray();
    QTest::newRow("single digits") << QByteArray("1 2") << QByteArray();
}

void TestCaptureNotation::pastedTexts()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, tidy);
    QCOMPARE(QByteArray::fromStdString(TidyCaptureText(text.toStdString())), tidy);
}

void TestCaptureNotation::anyTextGivesTheGrammarOrNothing()
{
    // Whatever the line, the answer is pairs with blanks that the hex grammar takes, and every
    // byte it names is written in the line.
    std::mt19937 random(18);
    const char alphabet[] = "0123456789abcdefABCDEFxX \t,;:-=.[]{}()\\'\"|?_gG\xE5";
    for (int round = 0; round < 20000; ++round) {
        std::string line(random() % 40, ' ');
        for (char& c : line)
            c = alphabet[random() % (sizeof alphabet - 1)];
        for (CaptureReading reading : {CaptureReading::Log, CaptureReading::Paste}) {
            const std::vector<std::uint8_t> bytes = FindCaptureFrame(line, reading);
            const std::string text = FormatHexBytes(bytes);
            std::vector<std::uint8_t> parsed(bytes.size() + 1);
            std::size_t count = 0;
            if (!bytes.empty()) {
                QCOMPARE(ParseHexText(text, parsed, count), HexParseResult::Ok);
                QCOMPARE(count, bytes.size());
            }
            std::size_t digits = 0;
            for (char c : line)
                digits += HexDigitValue(c) >= 0;
            QVERIFY2(bytes.size() <= digits, line.c_str());
        }
    }
    QCOMPARE(QByteArray(CaptureTextOf(CaptureText::NoHexData)), QByteArray("没有找到16进制数据"));
}

QTEST_APPLESS_MAIN(TestCaptureNotation)
#include "tst_capture_notation.moc"
