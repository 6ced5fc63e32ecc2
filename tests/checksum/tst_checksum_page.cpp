#include <QClipboard>
#include <QComboBox>
#include <QLabel>
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
