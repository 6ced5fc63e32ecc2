#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <optional>

#include "checksum/checksum_analysis.h"
#include "checksum/checksum_page.h"
#include "test_support.h"

const QString MODBUS = QStringLiteral("01 03 00 00 00 0A C5 CD"), ZEROS = QStringLiteral("00 ").repeated(512);

struct Page {
    std::unique_ptr<CChecksumPage> page = std::make_unique<CChecksumPage>();
    QPlainTextEdit* edit = page->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"));
    QComboBox* methods = page->findChild<QComboBox*>(QStringLiteral("methodCombo"));
    QPushButton* analyse = page->findChild<QPushButton*>(QStringLiteral("analyseButton"));
    QPushButton* stop = page->findChild<QPushButton*>(QStringLiteral("stopButton"));
    QTableView* list = page->findChild<QTableView*>(QStringLiteral("resultList"));
    QLabel* progress = page->findChild<QLabel*>(QStringLiteral("progressLabel"));
    Page() { page->resize(667, 468); page->show(); }

    // Starts an analysis and, unless told not to, waits for its end.
    bool Run(const QString& text, const QString& method, bool wait = true)
    {
        QSignalSpy finished(page.get(), &CChecksumPage::AnalysisFinished);
        edit->setPlainText(text);
        methods->setCurrentText(method);
        QTest::mouseClick(analyse, Qt::LeftButton);
        return !wait || finished.count() > 0 || finished.wait(60000);
    }
    int Rows() const { return list->model()->rowCount(); }
    QStringList Row(int row) const
    {
        QStringList cells;
        for (int c = 0; c < list->model()->columnCount(); ++c)
            cells << list->model()->index(row, c).data().toString();
        return cells;
    }
    // A click on a column title, as a user sorts.
    void ClickTitle(int column)
    {
        QHeaderView* header = list->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    QStringList Column(int column) const
    {
        QStringList cells;
        for (int row = 0; row < Rows(); ++row)
            cells << list->model()->index(row, column).data().toString();
        return cells;
    }
    // The hex box's marks: "first-last" characters of each.
    QStringList Marks() const
    {
        QStringList marks;
        for (const QTextEdit::ExtraSelection& mark : edit->extraSelections())
            marks << QStringLiteral("%1-%2").arg(mark.cursor.selectionStart()).arg(mark.cursor.selectionEnd());
        return marks;
    }
    // The list's context menu, its entries' texts, and the entry `text` chosen.
    QStringList ContextMenu(const QString& choose = QString())
    {
        const QPoint at(10, 10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return {};
        QStringList texts;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            texts << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
            if (action->text() == choose)
                chosen = action;
        }
        menu->close();
        if (chosen)
            chosen->trigger();
        return texts;
    }
    // A user's double-click: press and release, then the second press arrives as a double-click.
    void DoubleClick(QPoint at)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }
};

const QStringList MODBUS_ROW{"1", "CRC16", "1", "6", "6", "C5 CD", "01 03 00 00 00 0A "};

class TestChecksumPage : public QObject {
    Q_OBJECT
private slots:
    void modbusRowRefusalsAndCopy()
    {
        // Refused input stays as typed with the earlier rows; a double-click copies the selected row.
        MessageRecorder recorder;
        Page p;
        const QString noData = QStringLiteral("请输入要分析校验的数据！");
        p.Run(QString(), QStringLiteral("ALL"), false);
        QCOMPARE(recorder.Texts(), QStringList{noData});
        QVERIFY(p.Run(MODBUS, QStringLiteral("CRC16")));
        QCOMPARE(p.Rows(), 1);
        QCOMPARE(p.Row(0), MODBUS_ROW);
        SaveScreenshot(p.page.get(), QStringLiteral("checksum_page"));

        p.Run(QStringLiteral("01 0g"), QStringLiteral("CRC16"), false);
        QCOMPARE(recorder.Texts().last(), noData);
        QCOMPARE(p.edit->toPlainText(), QStringLiteral("01 0g"));
        QCOMPARE(p.Rows(), 1);
        p.edit->setPlainText(MODBUS);
        p.methods->setCurrentIndex(-1);
        QTest::mouseClick(p.analyse, Qt::LeftButton);
        QCOMPARE(recorder.Texts().last(), QStringLiteral("请选择校验方式！"));
        QVERIFY(!p.page->Analysing());

        QVERIFY(p.Run(QStringLiteral("68 01 02 03 06 16"), QStringLiteral("SUM")));
        recorder.Clear();
        p.DoubleClick(QPoint(20, p.list->viewport()->height() - 10));
        QVERIFY(recorder.messages.isEmpty());
        QString whileShown;
        recorder.whileShown = [&](const MessageRequest&) { whileShown = QGuiApplication::clipboard()->text(); };
        p.DoubleClick(p.list->visualRect(p.list->model()->index(1, 3)).center());
        QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("校验内容已复制到剪贴板！")});
        QCOMPARE(whileShown, QStringLiteral("01 02 03 "));
        QCOMPARE(p.Row(1)[6], whileShown);
    }

    void sortMarkCopyAndExport()
    {
        MessageRecorder recorder;
        Page p;
        QVERIFY(p.Run(MODBUS, QStringLiteral("ALL")));
        QCOMPARE(p.Column(0), (QStringList{"1", "2", "3", "4", "5", "6"}));  // as the rows came
        const QStringList cameAs = p.Column(1);

        // Each title sorts, rising, then falling; every row keeps its number.
        p.ClickTitle(2);
        QCOMPARE(p.Column(2), (QStringList{"1", "1", "3", "3", "3", "3"}));
        p.ClickTitle(2);
        QCOMPARE(p.Column(2), (QStringList{"3", "3", "3", "3", "1", "1"}));
        p.ClickTitle(1);
        QCOMPARE(p.Column(1), (QStringList{"BCC", "BCC", "CRC16", "CRC16S", "LRC", "SUM"}));
        p.ClickTitle(5);
        QCOMPARE(p.Column(5), (QStringList{"00", "00", "00", "00 00", "C5 CD", "CD"}));
        p.ClickTitle(0);
        QCOMPARE(p.Column(0), (QStringList{"1", "2", "3", "4", "5", "6"}));
        QCOMPARE(p.Column(1), cameAs);
        p.ClickTitle(4);
        p.ClickTitle(4);  // the longest ranges first: BCC 1-7, then CRC16 1-6
        QCOMPARE(p.Row(1).mid(1), MODBUS_ROW.mid(1));

        // The selected row's range and its checksum are marked in the hex box.
        p.list->selectRow(1);
        QCOMPARE(p.Marks(), (QStringList{"0-17", "18-23"}));  // 01 03 00 00 00 0A, then C5 CD
        SaveScreenshot(p.page.get(), QStringLiteral("checksum_page_row_marked"));
        p.list->selectRow(0);  // BCC 1-7: its one checksum byte
        QCOMPARE(p.Marks(), (QStringList{"0-20", "21-23"}));

        // Copied as tab-separated text under the titles, in the list's order; no box.
        QCOMPARE(p.ContextMenu(QStringLiteral("复制选中行")), (QStringList{"复制选中行", "复制全部行", "导出CSV…"}));
        const QString titles = QStringLiteral("序号\t校验方法\t起始位\t结束位\t长度\t校验码\t校验内容\n");
        QCOMPARE(QGuiApplication::clipboard()->text(), titles + p.Row(0).join('\t') + '\n');
        p.list->selectionModel()->select(p.list->model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        p.ContextMenu(QStringLiteral("复制选中行"));
        QCOMPARE(QGuiApplication::clipboard()->text(), titles + p.Row(0).join('\t') + '\n' + p.Row(3).join('\t') + '\n');
        p.ContextMenu(QStringLiteral("复制全部行"));
        QString all = titles;
        for (int row = 0; row < p.Rows(); ++row)
            all += p.Row(row).join('\t') + '\n';
        QCOMPARE(QGuiApplication::clipboard()->text(), all);
        QCOMPARE(p.progress->text(), QStringLiteral("已复制 6 行到剪贴板"));

        // Exported through the file dialog as CSV: the titles, then every row in the list's order.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("modbus.csv"));
        const auto answerDialog = [](const QString& file) {
            QTimer::singleShot(0, [file] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->selectFile(file);
                static_cast<QDialog*>(dialog)->accept();
            });
        };
        answerDialog(path);
        p.ContextMenu(QStringLiteral("导出CSV…"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString csv = QStringLiteral("\uFEFF序号,校验方法,起始位,结束位,长度,校验码,校验内容\r\n");
        for (int row = 0; row < p.Rows(); ++row)
            csv += p.Row(row).join(',') + QStringLiteral("\r\n");
        QCOMPARE(file.readAll(), csv.toUtf8());  // UTF-8 with its mark, for spreadsheets
        QVERIFY(p.progress->text().startsWith(QStringLiteral("已导出 6 行到 ")));
        answerDialog(dir.filePath(QStringLiteral("missing/folder.csv")));
        p.ContextMenu(QStringLiteral("导出CSV…"));
        QVERIFY2(p.progress->text().startsWith(QStringLiteral("无法写入 ")), qPrintable(p.progress->text()));
        QVERIFY(recorder.messages.isEmpty());

        // Another frame in the box: nothing of it is marked.
        p.edit->setPlainText(QStringLiteral("01 02 03"));
        QCOMPARE(p.Marks(), QStringList());
        p.edit->setPlainText(MODBUS);
        QCOMPARE(p.Marks(), (QStringList{"0-20", "21-23"}));

        // A new analysis shows its rows as they come again, an empty list offers nothing to copy.
        QVERIFY(p.Run(QStringLiteral("01 02"), QStringLiteral("ALL")));
        QCOMPARE(p.list->horizontalHeader()->sortIndicatorSection(), -1);
        QCOMPARE(p.ContextMenu(), (QStringList{"复制选中行 (off)", "复制全部行 (off)", "导出CSV… (off)"}));
    }

    void doubleClickKeepsTheNumbersInView()
    {
        // The content column reaches past the list's right edge; a double-click there copies
        // without scrolling the list sideways.
        MessageRecorder recorder;
        Page p;
        QVERIFY(p.Run(QStringLiteral("00 ").repeated(200), QStringLiteral("BCC")));
        const QModelIndex content = p.list->model()->index(3, 6);
        const QRect cell = p.list->visualRect(content);
        QVERIFY(cell.right() > p.list->viewport()->width());
        p.DoubleClick(QPoint(cell.left() + 20, cell.center().y()));
        QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("校验内容已复制到剪贴板！")});
        QCOMPARE(p.list->horizontalScrollBar()->value(), 0);
        // The longest range's bytes, cut in the cell, are whole in its tool tip, 16 bytes a line.
        p.ClickTitle(4);
        p.ClickTitle(4);
        const QRect longest = p.list->visualRect(p.list->model()->index(0, 6));
        const QPoint at(longest.left() + 20, longest.center().y());
        QHelpEvent help(QEvent::ToolTip, at, p.list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(p.list->viewport(), &help);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 30000);
        QCOMPARE(QToolTip::text().split('\n').first(), QStringLiteral("00 ").repeated(16).trimmed());
        QCOMPARE(QString(QToolTip::text()).replace('\n', ' ') + ' ', p.Row(0)[6]);
        QCOMPARE(p.Row(0)[4], QStringLiteral("199"));  // bytes 1 to 199, their BCC the 200th
    }

    void sortedWhileRowsArrive()
    {
        // Sorted while the workers still send rows: each batch is merged into its places.
        MessageRecorder recorder;
        Page p;
        std::optional<CWorkerHold> hold(std::in_place);
        QSignalSpy finished(p.page.get(), &CChecksumPage::AnalysisFinished);
        p.Run(QStringLiteral("00 ").repeated(160), QStringLiteral("ALL"), false);
        QTRY_VERIFY_WITH_TIMEOUT(p.Rows() > 0, 30000);
        p.ClickTitle(4);
        p.ClickTitle(4);
        QVERIFY(p.page->Analysing());
        hold.reset();
        QVERIFY(finished.count() > 0 || finished.wait(60000));
        const QStringList lengths = p.Column(4);
        qsizetype all = 0;
        for (ChecksumMethod method : CHECKSUM_METHODS)
            all += qsizetype(FindChecksums(method, std::vector<std::uint8_t>(160, 0)).size());
        QCOMPARE(lengths.size(), all);
        for (qsizetype k = 1; k < lengths.size(); ++k)
            QVERIFY2(lengths[k - 1].toInt() >= lengths[k].toInt(), qPrintable(QString::number(k)));
        QStringList numbers = p.Column(0);
        std::sort(numbers.begin(), numbers.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
        QCOMPARE(numbers.first(), QStringLiteral("1"));
        QCOMPARE(numbers.last(), QString::number(lengths.size()));  // every row once
        QVERIFY(recorder.messages.isEmpty());
    }

    void zeroFrameNumbersStopRestartAndClose()
    {
        // Stopped, a restarted and a closed analysis leave no row, notice or worker behind.
        MessageRecorder recorder;
        Page p;
        QVERIFY(p.Run(ZEROS, QStringLiteral("SUM")));
        QCOMPARE(p.Rows(), 130305);
        QCOMPARE(p.Row(65535), (QStringList{"65536", "SUM", "151", "362", "212", "00", QStringLiteral("00 ").repeated(212)}));
        QCOMPARE(p.Row(130304).mid(0, 6), (QStringList{"130305", "SUM", "510", "511", "2", "00"}));
        QCOMPARE(p.progress->text(), QStringLiteral("分析完成，共 130305 条"));
        // Six digits: the number column widens to show them whole.
        QVERIFY(p.list->columnWidth(0) > p.list->fontMetrics().horizontalAdvance(QStringLiteral("130305")));
        p.ClickTitle(4);
        p.ClickTitle(4);
        QCOMPARE(p.Row(0).mid(0, 5), (QStringList{"510", "SUM", "1", "511", "511"}));
        p.ClickTitle(6);
        QCOMPARE(p.Row(0).mid(0, 5), (QStringList{"1", "SUM", "1", "2", "2"}));
        p.ClickTitle(0);

        // Held workers keep the analysis running, however fast the machine, until it is cancelled.
        std::optional<CWorkerHold> hold(std::in_place);
        QSignalSpy finished(p.page.get(), &CChecksumPage::AnalysisFinished);
        p.Run(ZEROS, QStringLiteral("ALL"), false);
        QTRY_VERIFY_WITH_TIMEOUT(p.Rows() > 0, 30000);
        QVERIFY(p.page->Analysing() && p.stop->isEnabled());
        SaveScreenshot(p.page.get(), QStringLiteral("checksum_page_running"));
        QTest::mouseClick(p.stop, Qt::LeftButton);
        QVERIFY(finished.wait(30000));
        QVERIFY(p.progress->text().startsWith(QStringLiteral("已停止")));
        const int kept = p.Rows();
        QVERIFY(kept < 521220);
        QCoreApplication::processEvents();  // the workers are joined; no notice is left to add rows
        QCOMPARE(p.Rows(), kept);

        // A new analysis drops the rows and notices of one still running.
        p.Run(ZEROS, QStringLiteral("ALL"), false);
        QTRY_VERIFY_WITH_TIMEOUT(p.Rows() > 0, 30000);
        hold.reset();
        QVERIFY(p.Run(MODBUS, QStringLiteral("CRC16")));
        QCoreApplication::processEvents();
        QCOMPARE(p.Rows(), 1);
        QCOMPARE(p.Row(0), MODBUS_ROW);

        // Closing the page while it analyses cancels and joins its workers; no notice reaches it later.
        hold.emplace();
        p.Run(ZEROS, QStringLiteral("ALL"), false);
        QTRY_VERIFY_WITH_TIMEOUT(p.Rows() > 0, 30000);
        QVERIFY(p.page->Analysing());
        p.page.reset();
        QCoreApplication::processEvents();
        QVERIFY(recorder.messages.isEmpty());
    }
};

VELMORRA_UI_TEST_MAIN(TestChecksumPage)
#include "tst_checksum_page.moc"
