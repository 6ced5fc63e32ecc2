#include <QTest>
#include <deque>
#include <random>

#include "checksum/checksum_export.h"
#include "checksum/checksum_sort.h"

Q_DECLARE_METATYPE(ChecksumColumn)

namespace {

// Every method's rows of a frame, in the order a page could have appended them.
std::deque<ChecksumMatch> RowsOf(const std::vector<std::uint8_t>& frame, std::mt19937& random, std::size_t most)
{
    std::vector<ChecksumMatch> rows;
    for (ChecksumMethod method : CHECKSUM_METHODS) {
        const std::vector<ChecksumMatch> found = FindChecksums(method, frame);
        rows.insert(rows.end(), found.begin(), found.end());
    }
    std::shuffle(rows.begin(), rows.end(), random);  // workers interleave
    rows.resize(std::min(rows.size(), most));
    return {rows.begin(), rows.end()};
}

// The reference: a stable sort on the cells as the list shows them, numbers as numbers.
std::vector<std::uint32_t> ByCells(const std::deque<ChecksumMatch>& rows, const std::vector<std::uint8_t>& frame,
                                   ChecksumColumn column, bool descending)
{
    const bool numeric = column == ChecksumColumn::Number || column == ChecksumColumn::Start ||
                         column == ChecksumColumn::End || column == ChecksumColumn::Length;
    std::vector<std::string> cells;
    for (std::size_t k = 0; k < rows.size(); ++k)
        cells.push_back(ChecksumCellText(column, rows[k], k + 1, frame));
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const std::string& x = cells[descending ? b : a];
        const std::string& y = cells[descending ? a : b];
        return numeric ? std::stoull(x) < std::stoull(y) : x < y;
    });
    return order;
}

} // namespace

class TestChecksumSort : public QObject {
    Q_OBJECT
private slots:
    void agreesWithSortingTheCells_data();
    void agreesWithSortingTheCells();
    void rowsArrivingWhileSortedAreMergedIn();
    void copyAndExportLines();
};

void TestChecksumSort::agreesWithSortingTheCells_data()
{
    // Frames over few byte values give many matches and many equal cells.
    QTest::addColumn<ChecksumColumn>("column");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("values");
    for (std::size_t c = 0; c < CHECKSUM_COLUMN_COUNT; ++c) {
        const auto column = static_cast<ChecksumColumn>(c);
        const QByteArray title = ChecksumColumnTitle(column);
        QTest::newRow(title + " random") << column << 64 << 256;
        QTest::newRow(title + " few values") << column << 96 << 3;
        QTest::newRow(title + " zeros") << column << 40 << 1;
        QTest::newRow(title + " beyond the table") << column << 1100 << 2;
    }
}

void TestChecksumSort::agreesWithSortingTheCells()
{
    QFETCH(ChecksumColumn, column);
    QFETCH(int, bytes);
    QFETCH(int, values);
    std::mt19937 random(static_cast<unsigned>(bytes * 31 + values));
    for (int round = 0; round < 4; ++round) {
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(bytes));
        for (auto& b : frame)
            b = static_cast<std::uint8_t>(random() % static_cast<unsigned>(values));
        const std::deque<ChecksumMatch> rows = RowsOf(frame, random, 4000);
        for (bool descending : {false, true}) {
            std::vector<std::uint32_t> order;
            SortChecksumRows(rows, rows.size(), CChecksumRowOrder(frame, column, descending), order);
            QCOMPARE(order, ByCells(rows, frame, column, descending));
        }
    }
}

void TestChecksumSort::rowsArrivingWhileSortedAreMergedIn()
{
    // An analysis still running: the list is sorted, then more rows come, batch by batch.
    std::mt19937 random(5);
    std::vector<std::uint8_t> frame(80);
    for (auto& b : frame)
        b = static_cast<std::uint8_t>(random() % 4);
    const std::deque<ChecksumMatch> rows = RowsOf(frame, random, 6000);
    for (std::size_t c = 0; c < CHECKSUM_COLUMN_COUNT; ++c) {
        const CChecksumRowOrder by(frame, static_cast<ChecksumColumn>(c), c % 2 == 1);
        std::vector<std::uint32_t> order;
        for (std::size_t shown = 0; shown < rows.size();) {
            shown = std::min(rows.size(), shown + 1 + random() % 1500);
            SortChecksumRows(rows, shown, by, order);
            QCOMPARE(order.size(), shown);
        }
        QCOMPARE(order, ByCells(rows, frame, by.Column(), by.Descending()));
    }
}

void TestChecksumSort::copyAndExportLines()
{
    // The Modbus request's CRC16 row, as the clipboard and a CSV file get it.
    const std::vector<std::uint8_t> frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    const ChecksumMatch crc{ChecksumMethod::CRC16, 1, 6, 0xCDC5};
    QCOMPARE(ChecksumTitleLine(TableText::TabSeparated), std::string("序号\t校验方法\t起始位\t结束位\t长度\t校验码\t校验内容\n"));
    QCOMPARE(ChecksumRowLine(crc, 5, frame, TableText::TabSeparated), std::string("5\tCRC16\t1\t6\t6\tC5 CD\t01 03 00 00 00 0A \n"));
    QCOMPARE(ChecksumTitleLine(TableText::Csv), std::string("序号,校验方法,起始位,结束位,长度,校验码,校验内容\r\n"));
    QCOMPARE(ChecksumRowLine(crc, 5, frame, TableText::Csv), std::string("5,CRC16,1,6,6,C5 CD,01 03 00 00 00 0A \r\n"));
}

QTEST_APPLESS_MAIN(TestChecksumSort)
#include "tst_checksum_sort.moc"
