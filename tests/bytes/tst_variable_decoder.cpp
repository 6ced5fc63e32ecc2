#include <QRandomGenerator>
#include <climits>
#include <set>
#include <QTest>

#include "bytes/variable_decoder.h"

namespace {

// "UINT:2,ANSI:4" -> rows; a part without a colon is a type with an empty length.
std::vector<VariableRow> Rows(const QString& text)
{
    std::vector<VariableRow> rows;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList cells = part.split(QLatin1Char(':'));
        rows.push_back(ReadVariableRow(cells.value(0).toStdString(), cells.value(1).toStdString()));
    }
    return rows;
}

// Five digits, the checked index of the UINT, INT, FLOAT, DWORD and LONG groups.
ByteOrderOptions Options(const QString& digits)
{
    ByteOrderOptions options;
    for (int g = 0; g < 5; ++g)
        options.index[g] = digits.at(g).digitValue();
    return options;
}

QStringList Texts(const DecodeOutcome& outcome)
{
    QStringList texts;
    for (const DecodedVariable& row : outcome.rows)
        texts << QString::fromStdString(row.memory) + QLatin1Char('|') + QString::fromStdString(row.value);
    return texts;
}

} // namespace

class TestVariableDecoder : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void passWithoutRowsOrRegion();
    void lengthTexts_data();
    void lengthTexts();
    void readsStayInsideTheWindow();
    void variableBytes();
    void typeRowsHoldTogether();
};

void TestVariableDecoder::decode_data()
{
    QTest::addColumn<QByteArray>("frame");  // the whole region
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("orders");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("stoppedAt");  // -1: every row
    const QByteArray dword = QByteArray::fromHex("12345678");
    QTest::newRow("DWORD 0") << dword << "DWORD:4" << "00303" << QStringList{"12 34 56 78 |2018915346"} << -1;
    QTest::newRow("DWORD 1") << dword << "DWORD:4" << "00013" << QStringList{"78 56 34 12 |873625686"} << -1;
    QTest::newRow("DWORD 2") << dword << "DWORD:4" << "00023" << QStringList{"34 12 78 56 |1450709556"} << -1;
    QTest::newRow("DWORD 3") << dword << "DWORD:4" << "00333" << QStringList{"78 56 34 12 |305419896"} << -1;
    // The tables hold: 00 00 80 3F is 1.0 read as it stands and a denormal fully reversed.
    QTest::newRow("FLOAT 1") << QByteArray::fromHex("803F0000") << "FLOAT:4" << "00133" << QStringList{"00 00 3F 80 |1.000"} << -1;
    QTest::newRow("FLOAT 0") << QByteArray::fromHex("0000803F") << "FLOAT:4" << "00033" << QStringList{"00 00 80 3F |1.000"} << -1;
    QTest::newRow("FLOAT 3") << QByteArray::fromHex("0000803F") << "FLOAT:4" << "00333" << QStringList{"3F 80 00 00 |0.000"} << -1;
    QTest::newRow("FLOAT words") << QByteArray::fromHex("0000807F 000080FF 0000C07F 010000 80") << "FLOAT:4,FLOAT:4,FLOAT:4,FLOAT:4"
                                 << "00033" << QStringList{"00 00 80 7F |inf", "00 00 80 FF |-inf", "00 00 C0 7F |nan", "01 00 00 80 |-0.000"} << -1;
    QTest::newRow("UINT") << QByteArray::fromHex("12341234") << "UINT:2,UINT:2" << "00333"
                          << QStringList{"12 34 |13330", "12 34 |13330"} << -1;
    QTest::newRow("UINT swapped, INT not") << QByteArray::fromHex("1234FFFE") << "UINT:2,INT:2" << "10333"
                                           << QStringList{"34 12 |4660", "FF FE |-257"} << -1;
    QTest::newRow("INT swapped, UINT not") << QByteArray::fromHex("1234FFFE") << "UINT:2,INT:2" << "01333"
                                           << QStringList{"12 34 |13330", "FE FF |-2"} << -1;
    QTest::newRow("UCHAR CHAR") << QByteArray::fromHex("FFFF") << "UCHAR:1,CHAR:1" << "00333" << QStringList{"FF|255", "FF|-1"} << -1;
    QTest::newRow("LONG DWORD") << QByteArray::fromHex("FFFFFFFFFFFFFFFF") << "LONG:4,DWORD:4" << "00000"
                                << QStringList{"FF FF FF FF |-1", "FF FF FF FF |4294967295"} << -1;
    QTest::newRow("ANSI") << QByteArray::fromHex("41420043") << "ANSI:4" << "00333" << QStringList{"41 42 00 43 |ABC"} << -1;
    QTest::newRow("ANSI GBK") << QByteArray::fromHex("C4E3BAC3") << "ANSI:4" << "00333" << QStringList{"C4 E3 BA C3 |\xC4\xE3\xBA\xC3"} << -1;
    QTest::newRow("BCD") << QByteArray::fromHex("1205AB") << "BCD:3" << "00333" << QStringList{"12 05 AB |125ab"} << -1;
    QTest::newRow("ANSI of length 0") << QByteArray::fromHex("07") << "ANSI:0,UCHAR:1" << "00333" << QStringList{"|", "07|7"} << -1;
    QTest::newRow("3 bytes, third row") << QByteArray::fromHex("010203") << "UCHAR:1,UINT:2,UINT:2,UCHAR:1" << "00333"
                                        << QStringList{"01|1", "02 03 |770", "-|-"} << 2;
    QTest::newRow("empty type cell") << QByteArray::fromHex("0102") << ":,UCHAR:1,lower:1,uchar:1" << "00333"
                                     << QStringList{"-|-", "01|1", "-|-", "-|-"} << -1;
    // The fit test reads the length text; the variable still reads its own width.
    QTest::newRow("short length text") << QByteArray::fromHex("0102") << "DWORD:1,UCHAR:1" << "00300"
                                       << QStringList{"01 02 00 00 |513", "-|-"} << 1;
    QTest::newRow("long length text") << QByteArray::fromHex("0102") << "UCHAR:5" << "00333" << QStringList{"-|-"} << 0;
    QTest::newRow("negative length") << QByteArray::fromHex("4142") << "ANSI:-3,ANSI:2" << "00333" << QStringList{"-|-", "41 42 |AB"} << -1;
    QTest::newRow("huge length") << QByteArray::fromHex("4142") << "ANSI:99999999999999999999999,UCHAR:1" << "00333" << QStringList{"-|-"} << 0;
}

void TestVariableDecoder::decode()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, rows);
    QFETCH(QString, orders);
    QFETCH(QStringList, expected);
    QFETCH(int, stoppedAt);
    std::vector<std::uint8_t> page(512, 0xEE);  // bytes past the region are never read
    std::copy(frame.begin(), frame.end(), page.begin() + 5);
    const std::vector<VariableRow> list = Rows(rows);
    const DecodeOutcome outcome = DecodeVariables(page, 5, 5 + static_cast<std::size_t>(frame.size()), Options(orders), list);
    QVERIFY(outcome.ran);
    QCOMPARE(outcome.status, "");
    QCOMPARE(Texts(outcome), expected);
    QCOMPARE(outcome.stoppedAt, stoppedAt < 0 ? list.size() : static_cast<std::size_t>(stoppedAt));
}

void TestVariableDecoder::passWithoutRowsOrRegion()
{
    const std::vector<std::uint8_t> frame{1, 2, 3, 4};
    QVERIFY(!DecodeVariables(frame, 0, 4, {}, {}).ran);
    const DecodeOutcome empty = DecodeVariables(frame, 2, 2, {}, Rows("UCHAR:1"));
    QVERIFY(empty.ran && empty.rows.empty());
    QCOMPARE(empty.status, NO_REGION_TEXT);
}

void TestVariableDecoder::lengthTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("length");
    QTest::newRow("plain") << "4" << qint64(4);
    QTest::newRow("blanks, sign, tail") << " \t+12abc" << qint64(12);
    QTest::newRow("negative") << "-7" << qint64(-7);
    QTest::newRow("no number") << "abc" << qint64(0);
    QTest::newRow("sign alone") << "- 3" << qint64(0);
    QTest::newRow("saturates") << "123456789012345678901234567890" << std::numeric_limits<qint64>::max();
    QTest::newRow("empty") << "" << qint64(0);
}

void TestVariableDecoder::lengthTexts()
{
    QFETCH(QString, text);
    QFETCH(qint64, length);
    QCOMPARE(ReadLengthText(text.toStdString()), length);
}

void TestVariableDecoder::readsStayInsideTheWindow()
{
    // A full 512-byte region ending in a DWORD of length text "1": its three missing bytes read 0.
    std::vector<std::uint8_t> frame(512, 0xFF);
    std::vector<VariableRow> rows(511, ReadVariableRow("UCHAR", "1"));
    rows.push_back(ReadVariableRow("DWORD", "1"));
    const DecodeOutcome full = DecodeVariables(frame, 0, 512, {}, rows);
    QCOMPARE(full.rows.back(), (DecodedVariable{"00 00 00 FF ", "4278190080"}));

    // Any region, any rows: the sanitizer build catches a read outside the window.
    QRandomGenerator random(4711);
    const char* types[] = {"UCHAR", "CHAR", "UINT", "INT", "FLOAT", "DWORD", "LONG", "ANSI", "BCD", "", "X"};
    const char* lengths[] = {"0", "1", "2", "4", "7", "-1", "-600", "513", "99999999999", "", "x"};
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes(random.bounded(1, 520));
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random.generate());
        std::vector<VariableRow> list(random.bounded(1, 12));
        for (auto& row : list)
            row = ReadVariableRow(types[random.bounded(11)], lengths[random.bounded(11)]);
        const std::size_t head = random.bounded(0, 570), tail = random.bounded(0, 570);
        ByteOrderOptions options;
        for (int& index : options.index)
            index = random.bounded(-1, 5);
        const DecodeOutcome outcome = DecodeVariables(bytes, head, tail, options, list);
        QVERIFY(outcome.rows.size() <= list.size() && outcome.stoppedAt <= list.size());
    }

    // Extreme ends: the region is clipped to the frame.
    const std::vector<std::uint8_t> four{0x01, 0x02, 0x03, 0x04};
    const std::vector<VariableRow> dword = Rows("DWORD:4");
    for (const auto& [head, tail] : {std::pair<std::size_t, std::size_t>{0, SIZE_MAX}, {0, 4}, {0, 400}})
        QCOMPARE(Texts(DecodeVariables(four, head, tail, Options("00000"), dword)), QStringList{"01 02 03 04 |67305985"});
    for (const auto& [head, tail] : {std::pair<std::size_t, std::size_t>{SIZE_MAX, 0}, {3, SIZE_MAX}, {SIZE_MAX - 1, SIZE_MAX}})
        QCOMPARE(Texts(DecodeVariables(four, head, tail, {}, dword)), QStringList{"-|-"});
}

void TestVariableDecoder::variableBytes()
{
    // The second variable, after one of length 2, covers bytes 2 to 5 from head 0.
    using Range = std::pair<std::int64_t, std::int64_t>;
    const std::vector<VariableRow> rows = Rows("UINT:2,DWORD:4,ANSI:-9,ANSI:0");
    QCOMPARE(VariableBytes(0, rows, 1), Range(2, 6));
    QCOMPARE(VariableBytes(1, rows, 0), Range(1, 3));
    QCOMPARE(VariableBytes(0, rows, 2), Range(6, -3));   // a negative length of its own
    QCOMPARE(VariableBytes(0, rows, 3), Range(-3, -3));  // after a negative length
    QCOMPARE(VariableBytes(0, rows, 9), Range(-3, -3));  // past the last row: empty, after them all
    const std::int64_t most = std::int64_t{1} << 31;
    QCOMPARE(VariableBytes(0, Rows("ANSI:99999999999999,UCHAR:1"), 1), Range(most, most + 1));
}

void TestVariableDecoder::typeRowsHoldTogether()
{
    // What a new row must get right: its name finds it, its length cell says its width, its byte
    // orders read each of its bytes once, its group leads back to it, and the pass decodes it.
    std::vector<std::uint8_t> frame(16);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(0x11 * (i + 1));
    for (const VariableTypeEntry& entry : VARIABLE_TYPES) {
        const QByteArray name = entry.name;
        QCOMPARE(FindVariableType(entry.name), &entry);
        QVERIFY2(entry.format, name);
        QVERIFY2((entry.numberText != nullptr) == (entry.precision > 0), name);
        if (entry.width)
            QCOMPARE(ReadLengthText(entry.lengthWhenChosen), static_cast<std::int64_t>(entry.width));
        QCOMPARE(entry.order.has_value(), !entry.orders.empty());
        if (entry.order)
            QCOMPARE(GroupType(*entry.order), entry.type);
        for (const ByteOrderEntry& order : entry.orders) {
            std::set<int> read, shown;
            for (std::size_t k = 0; k < entry.width; ++k) {
                read.insert(order.valueFrom[k]);
                shown.insert(order.memoryShows[k]);
            }
            QVERIFY2(read.size() == entry.width && *read.rbegin() < static_cast<int>(entry.width), order.caption);
            QVERIFY2(shown.size() == entry.width && *shown.rbegin() < static_cast<int>(entry.width), order.caption);
        }
        const std::vector<VariableRow> row{{entry.type, static_cast<std::int64_t>(entry.width ? entry.width : 3)}};
        const DecodeOutcome outcome = DecodeVariables(frame, 0, frame.size(), {}, row);
        QVERIFY2(outcome.rows.size() == 1 && outcome.rows[0].value != NOT_DECODED_TEXT, name);
    }
}

QTEST_APPLESS_MAIN(TestVariableDecoder)
#include "tst_variable_decoder.moc"
