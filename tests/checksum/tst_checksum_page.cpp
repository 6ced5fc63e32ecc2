#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <memory>

#include "checksum/checksum_page.h"
#include "test_support.h"

namespace {

struct PageUnderTest {
    PageUnderTest()
        : page(std::make_unique<CChecksumPage>())
    {
        page->resize(667, 468);  // the rectangle the main window gives its pages
        page->show();
        edit = page->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"));
        info = page->findChild<QLabel*>(QStringLiteral("infoLine"));
        methods = page->findChild<QComboBox*>(QStringLiteral("methodCombo"));
        analyse = page->findChild<QPushButton*>(QStringLiteral("analyseButton"));
        stop = page->findChild<QPushButton*>(QStringLiteral("stopButton"));
        list = page->findChild<QTableView*>(QStringLiteral("resultList"));
        progress = page->findChild<QLabel*>(QStringLiteral("progressLabel"));
    }

    void Paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        edit->setFocus();
        QTest::keySequence(edit, QKeySequence::Paste);
    }

    bool Run(const QString& method)
    {
        QSignalSpy finished(page.get(), &CChecksumPage::AnalysisFinished);
        methods->setCurrentText(method);
        QTest::mouseClick(analyse, Qt::LeftButton);
        return finished.count() > 0 || finished.wait(60000);
    }

    QString Cell(int row, int column) const { return list->model()->index(row, column).data().toString(); }
    QStringList Row(int row) const
    {
        QStringList cells;
        for (int c = 0; c < list->model()->columnCount(); ++c)
            cells << Cell(row, c);
        return cells;
    }
    int Rows() const { return list->model()->rowCount(); }

    std::unique_ptr<CChecksumPage> page;
    QPlainTextEdit* edit;
    QLabel* info;
    QComboBox* methods;
    QPushButton* analyse;
    QPushButton* stop;
    QTableView* list;
    QLabel* progress;
};

// What a user's double-click delivers: a press and release, then the second press as a double-click.
void DoubleClick(QTableView* list, QPoint at)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

const QString ZEROS = QStringLiteral("00 ").repeated(512);

} // namespace

class TestChecksumPage : public QObject {
    Q_OBJECT
private slots:
    void controls();
    void modbusWithCrc16();
    void modbusWithAll();
    void doubleClickCopiesContent();
    void refusals();
    void numbersRunPast65535();
    void stopAndCloseWhileZeroFrameRuns();
    void newAnalysisDropsTheEarlierRows();
};

void TestChecksumPage::controls()
{
    PageUnderTest p;
    QVERIFY(p.edit && p.info && p.methods && p.analyse && p.stop && p.list && p.progress);
    QCOMPARE(p.page->TemplateId(), 129);
    QCOMPARE(p.analyse->text(), QStringLiteral("校验分析"));
    QCOMPARE(p.stop->text(), QStringLiteral("停止分析"));
    QCOMPARE(p.page->findChild<QLabel*>(QStringLiteral("hintLabel"))->text(), QStringLiteral("双击列表复制校验内容"));
    QCOMPARE(p.page->findChild<QLabel*>(QStringLiteral("hexLabel"))->buddy(), p.edit);
    QCOMPARE(p.page->findChild<QLabel*>(QStringLiteral("methodLabel"))->buddy(), p.methods);

    QStringList items;
    for (int i = 0; i < p.methods->count(); ++i)
        items << p.methods->itemText(i);
    QCOMPARE(items, (QStringList{"ALL", "BCC", "SUM", "LRC", "CRC16", "CRC16S", "CRC32"}));
    QCOMPARE(p.methods->currentText(), QStringLiteral("ALL"));
    QVERIFY(!p.methods->isEditable());

    const QStringList headers{"序号", "校验方法", "起始位", "结束位", "长度", "校验码", "校验内容"};
    const int widths[] = {45, 70, 55, 55, 45, 60, 300};
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment alignments[] = {left, Qt::AlignCenter, Qt::AlignCenter, Qt::AlignCenter,
                                        Qt::AlignCenter, Qt::AlignCenter, left};
    QCOMPARE(p.list->model()->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        QCOMPARE(p.list->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(p.list->columnWidth(c), widths[c]);
        QCOMPARE(Qt::Alignment(p.list->model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt()),
                 alignments[c]);
    }
    QCOMPARE(p.list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(p.list->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(p.list->showGrid());
    QVERIFY(!p.list->isSortingEnabled());
    QVERIFY(!p.list->accessibleName().isEmpty());
    SaveScreenshot(p.page.get(), QStringLiteral("checksum_page"));
}

void TestChecksumPage::modbusWithCrc16()
{
    MessageRecorder recorder;
    PageUnderTest p;
    p.Paste(QStringLiteral("01 03 00 00 00 0A C5 CD"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("01 03 00 00 00 0A C5 CD "));
    QVERIFY(p.Run(QStringLiteral("CRC16")));
    QCOMPARE(p.Rows(), 1);
    QCOMPARE(p.Row(0), (QStringList{"1", "CRC16", "1", "6", "6", "C5 CD", "01 03 00 00 00 0A "}));
    QCOMPARE(Qt::Alignment(p.list->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt()), Qt::AlignCenter);
    QVERIFY(recorder.messages.isEmpty());
    QVERIFY(!p.page->Analysing());
    QVERIFY(!p.stop->isEnabled());
}

void TestChecksumPage::modbusWithAll()
{
    PageUnderTest p;
    p.Paste(QStringLiteral("01 03 00 00 00 0A C5 CD"));
    QVERIFY(p.Run(QStringLiteral("ALL")));
    QStringList rows, numbers;
    for (int r = 0; r < p.Rows(); ++r) {
        numbers << p.Cell(r, 0);
        rows << p.Row(r).mid(1).join(QLatin1Char('|'));
    }
    QCOMPARE(numbers, (QStringList{"1", "2", "3", "4", "5", "6"}));
    rows.sort();
    QCOMPARE(rows, (QStringList{"BCC|1|7|7|CD|01 03 00 00 00 0A C5 ", "BCC|3|4|2|00|00 00 ",
                                "CRC16S|3|3|1|00 00|00 ", "CRC16|1|6|6|C5 CD|01 03 00 00 00 0A ",
                                "LRC|3|4|2|00|00 00 ", "SUM|3|4|2|00|00 00 "}));
    SaveScreenshot(p.page.get(), QStringLiteral("checksum_page_modbus_all"));
}

void TestChecksumPage::doubleClickCopiesContent()
{
    MessageRecorder recorder;
    PageUnderTest p;
    p.Paste(QStringLiteral("68 01 02 03 06 16"));
    QVERIFY(p.Run(QStringLiteral("SUM")));
    QCOMPARE(p.Rows(), 2);
    QGuiApplication::clipboard()->clear();

    // Below the last row with nothing selected: nothing happens.
    const QPoint empty(20, p.list->viewport()->height() - 10);
    DoubleClick(p.list, empty);
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());

    const QRect second = p.list->visualRect(p.list->model()->index(1, 3));
    QString clipboardWhileShown;
    recorder.whileShown = [&](const MessageRequest&) { clipboardWhileShown = QGuiApplication::clipboard()->text(); };
    DoubleClick(p.list, second.center());
    QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("校验内容已复制到剪贴板！")});
    QCOMPARE(recorder.messages[0].caption, QStringLiteral("Velmorra"));
    QCOMPARE(clipboardWhileShown, QStringLiteral("01 02 03 "));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("01 02 03 "));

    // The first press below the rows clears the selection, as in any list: nothing more is copied.
    DoubleClick(p.list, empty);
    QCOMPARE(recorder.messages.size(), 1);
}

void TestChecksumPage::refusals()
{
    MessageRecorder recorder;
    PageUnderTest p;
    QTest::mouseClick(p.analyse, Qt::LeftButton);
    QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("请输入要分析校验的数据！")});

    // A refused text leaves no data behind; the earlier rows stay.
    p.Paste(QStringLiteral("01 03 00 00 00 0A C5 CD"));
    QVERIFY(p.Run(QStringLiteral("CRC16")));
    recorder.Clear();
    p.edit->setPlainText(QStringLiteral("01 0g"));
    recorder.Clear();
    QTest::mouseClick(p.analyse, Qt::LeftButton);
    QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("请输入要分析校验的数据！")});
    QCOMPARE(p.Rows(), 1);
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("01 0g"));

    p.edit->setPlainText(QStringLiteral("01 03 00 00 00 0A C5 CD"));
    p.methods->setCurrentIndex(-1);
    recorder.Clear();
    QTest::mouseClick(p.analyse, Qt::LeftButton);
    QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("请选择校验方式！")});
    QVERIFY(!p.page->Analysing());
}

void TestChecksumPage::numbersRunPast65535()
{
    PageUnderTest p;
    p.edit->setPlainText(ZEROS);
    QVERIFY(p.Run(QStringLiteral("SUM")));
    QCOMPARE(p.Rows(), 130305);
    // Start 151 holds rows 65326 to 65685, ranges ending at 152 to 511.
    QCOMPARE(p.Row(65535), (QStringList{"65536", "SUM", "151", "362", "212", "00", QStringLiteral("00 ").repeated(212)}));
    QCOMPARE(p.Cell(130304, 0), QStringLiteral("130305"));
    QCOMPARE(p.Row(130304).mid(1, 5), (QStringList{"SUM", "510", "511", "2", "00"}));
    QCOMPARE(p.progress->text(), QStringLiteral("分析完成，共 130305 条"));
}

void TestChecksumPage::stopAndCloseWhileZeroFrameRuns()
{
    MessageRecorder recorder;
    PageUnderTest p;
    p.edit->setPlainText(ZEROS);
    p.methods->setCurrentText(QStringLiteral("ALL"));
    QSignalSpy finished(p.page.get(), &CChecksumPage::AnalysisFinished);
    QTest::mouseClick(p.analyse, Qt::LeftButton);
    QVERIFY(p.page->Analysing());
    QVERIFY(p.stop->isEnabled());
    QVERIFY(p.progress->text().startsWith(QStringLiteral("正在分析")));
    QTest::mouseClick(p.stop, Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    QVERIFY(!p.page->Analysing());
    QVERIFY(p.progress->text().startsWith(QStringLiteral("已停止")));
    const int kept = p.Rows();
    QVERIFY(kept <= 521220);  // all six methods over 512 zero bytes, had it run to its end
    for (int r = 0; r < kept; r += 997)
        QCOMPARE(p.Cell(r, 0), QString::number(r + 1));
    QTest::qWait(50);
    QCOMPARE(p.Rows(), kept);  // nothing arrives after the end

    // Close while the workers run: the page cancels and joins them.
    QTest::mouseClick(p.analyse, Qt::LeftButton);
    QTRY_VERIFY(p.Rows() > 0);
    QVERIFY(p.page->Analysing());
    QElapsedTimer closing;
    closing.start();
    p.page.reset();
    QVERIFY(closing.elapsed() < 2000);
    QTest::qWait(20);  // any notice still queued must find no page to touch
    QVERIFY(recorder.messages.isEmpty());
}

void TestChecksumPage::newAnalysisDropsTheEarlierRows()
{
    PageUnderTest p;
    p.edit->setPlainText(ZEROS);
    p.methods->setCurrentText(QStringLiteral("ALL"));
    QTest::mouseClick(p.analyse, Qt::LeftButton);
    QTRY_VERIFY(p.Rows() > 0);
    SaveScreenshot(p.page.get(), QStringLiteral("checksum_page_running"));

    p.edit->setPlainText(QStringLiteral("01 03 00 00 00 0A C5 CD"));
    QVERIFY(p.Run(QStringLiteral("CRC16")));
    QTest::qWait(50);  // let every late notice of the first analysis arrive
    QCOMPARE(p.Rows(), 1);
    QCOMPARE(p.Row(0), (QStringList{"1", "CRC16", "1", "6", "6", "C5 CD", "01 03 00 00 00 0A "}));
}

VELMORRA_UI_TEST_MAIN(TestChecksumPage)
#include "tst_checksum_page.moc"
