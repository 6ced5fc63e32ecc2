#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QUrl>

#include "app/main_dialog.h"
#include "app/page_tab_ctrl.h"
#include "identify/identify_analysis.h"
#include "identify/identify_dialog.h"
#include "test_support.h"
#include "tests/identify/identify_logs.h"

namespace {

// A monitor's log of frames 7E, payload, CRC-16/XMODEM high byte first, 0D.
QString XmodemLog(int frames)
{
    std::mt19937 random(1021);
    const CrcParameters xmodem{16, 0x1021, 0, false, false, 0};
    QString log;
    for (int k = 0; k < frames; ++k) {
        const Bytes payload = RandomBytes(random, 3 + random() % 20);
        Bytes frame{0x7E};
        frame.insert(frame.end(), payload.begin(), payload.end());
        AppendValue(frame, ComputeCrcBitwise(xmodem, payload), 2, true);
        frame.push_back(0x0D);
        log += QStringLiteral("[12:00:%1] RX: ").arg(k % 60, 2, 10, QChar('0')) +
               QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' ').toUpper() + "\n";
    }
    return log;
}

// The same monitor's log of a device whose CRC is outside the catalogue: 0x1021 started at
// 0x1234; line 3's frame lost a byte.
QString SolvedLog(int frames)
{
    std::mt19937 random(0x1234);
    const CrcParameters crc{16, 0x1021, 0x1234, false, false, 0};
    QString log;
    for (int k = 0; k < frames; ++k) {
        const Bytes payload = RandomBytes(random, 6 + random() % 12);
        Bytes frame{0x7E};
        frame.insert(frame.end(), payload.begin(), payload.end());
        AppendValue(frame, ComputeCrcBitwise(crc, payload), 2, true);
        frame.push_back(0x0D);
        if (k == 2)
            frame.erase(frame.begin() + 4);
        log += QStringLiteral("[12:00:%1] RX: ").arg(k % 60, 2, 10, QChar('0')) +
               QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' ').toUpper() + "\n";
    }
    return log;
}

struct Dialog {
    std::unique_ptr<CIdentifyDialog> dialog = std::make_unique<CIdentifyDialog>();
    QPlainTextEdit* log = dialog->findChild<QPlainTextEdit*>("logEdit");
    QPushButton* identify = dialog->findChild<QPushButton*>("identifyButton");
    QPushButton* stop = dialog->findChild<QPushButton*>("stopButton");
    QProgressBar* progress = dialog->findChild<QProgressBar*>("progressBar");
    QLabel* info = dialog->findChild<QLabel*>("infoLine");
    QListWidget* results = dialog->findChild<QListWidget*>("resultList");
    QSpinBox* frameSpin = dialog->findChild<QSpinBox*>("frameSpin");
    QTextEdit* frameView = dialog->findChild<QTextEdit*>("frameView");
    Dialog() { dialog->show(); }

    bool Identify()
    {
        QSignalSpy finished(dialog.get(), &CIdentifyDialog::Finished);
        QTest::mouseClick(identify, Qt::LeftButton);
        return finished.count() > 0 || finished.wait(120000);
    }
};

} // namespace

class TestIdentifyDialog : public QObject {
    Q_OBJECT
private slots:
    void accessibleNames()
    {
        Dialog d;
        for (QWidget* widget : std::initializer_list<QWidget*>{d.log, d.results, d.frameSpin, d.frameView, d.progress})
            QVERIFY2(!widget->accessibleName().isEmpty() || !widget->objectName().isEmpty(), qPrintable(widget->objectName()));
        QCOMPARE(d.results->accessibleName(), d.dialog->findChild<QLabel*>("resultLabel")->text());
        QCOMPARE(d.dialog->findChild<QLabel*>("logLabel")->buddy(), d.log);
        QCOMPARE(d.dialog->findChild<QLabel*>("frameLabel")->buddy(), d.frameSpin);
        QVERIFY(!d.frameView->accessibleName().isEmpty());
    }

    // A pasted log with a refused line: the ranked rules in words, the log as typed, the
    // refused line named; the selected rule marks its range and value in the frame shown.
    void identifiesAndMarks()
    {
        Dialog d;
        d.log->setPlainText(XmodemLog(60));
        d.log->moveCursor(QTextCursor::End);
        QTest::keyClicks(d.log, "[12:01:00] RX: 7G");
        const QString typed = d.log->toPlainText();
        QVERIFY(d.Identify());
        QCOMPARE(d.log->toPlainText(), typed);
        QVERIFY2(d.info->text().startsWith("第 61 行: 16进制数据长度错误，请确认！\n共 60 帧（60 种不同），"),
                 qPrintable(d.info->text()));
        QCOMPARE(d.results->item(0)->text(), "1. CRC-16/XMODEM（高字节在前），第2字节 至 倒数第4字节，其后1字节结束符；60/60 帧");
        QCOMPARE(d.results->currentRow(), 0);
        QCOMPARE(d.frameSpin->value(), 1);
        const QString html = d.frameView->toHtml();
        // 7E unmarked, the payload green, the two value bytes orange, 0D unmarked.
        QCOMPARE(html.count("background-color:#c8f0c8"), int(XmodemLog(1).split(' ').size() - 6));
        QCOMPARE(html.count("background-color:#ffc890"), 2);
        QVERIFY(!d.progress->isVisible());
        SaveScreenshot(d.dialog.get(), "identify_dialog");
    }

    // A solved CRC shows and marks like any other rule.
    void solvedRule()
    {
        Dialog d;
        d.log->setPlainText(SolvedLog(40));
        QVERIFY(d.Identify());
        QCOMPARE(d.results->item(0)->text(),
                 "1. CRC-16（多项式 0x1021，初始值 0x1234，输入不反转，输出不反转，结果异或值 0x0000）（高字节在前），"
                 "第2字节 至 倒数第4字节，其后1字节结束符；39/40 帧；不成立：第3行");
        QCOMPARE(d.results->currentRow(), 0);
        const QString html = d.frameView->toHtml();
        const int length = SolvedLog(1).section(": ", 1).trimmed().split(' ').size();
        QCOMPARE(html.count("background-color:#c8f0c8"), length - 4);
        QCOMPARE(html.count("background-color:#ffc890"), 2);
        SaveScreenshot(d.dialog.get(), "identify_dialog_solved");
    }

    // Held at its first notice: the stop button is live while it runs and ends it.
    void stops()
    {
        Dialog d;
        d.log->setPlainText(XmodemLog(600));
        QSignalSpy finished(d.dialog.get(), &CIdentifyDialog::Finished);
        {
            const CIdentifyHold hold;
            QTest::mouseClick(d.identify, Qt::LeftButton);
            QVERIFY(d.dialog->Running());
            QVERIFY(d.stop->isEnabled());
            QVERIFY(!d.identify->isEnabled());
            QVERIFY(d.progress->isVisible());
            SaveScreenshot(d.dialog.get(), "identify_dialog_running");
            QTest::mouseClick(d.stop, Qt::LeftButton);
            QVERIFY(!d.stop->isEnabled());
        }
        QVERIFY(finished.count() > 0 || finished.wait(120000));
        QCOMPARE(d.info->text(), "已停止");
        QVERIFY(d.identify->isEnabled());
        QVERIFY(d.results->count() == 0);
    }

    // Not extracting: a typo is refused, not read around.
    void plainLines()
    {
        Dialog d;
        d.dialog->findChild<QCheckBox*>("extractCheck")->setChecked(false);
        d.log->setPlainText("01 03 00 00 00 0A C5 CD\n01 03 02 00 01 79 84\n01 06 00 01 00 03 98 0B\n7E 0G\n");
        QVERIFY(d.Identify());
        QVERIFY2(d.info->text().startsWith("第 4 行: 16进制数据格式错误，请重新确认！\n共 3 帧"), qPrintable(d.info->text()));
        QCOMPARE(d.results->item(0)->text(), "1. CRC-16/MODBUS（低字节在前），第1字节 至 倒数第3字节；3/3 帧");
    }

    void emptyLogAndFiles()
    {
        MessageRecorder recorder;
        Dialog d;
        QTest::mouseClick(d.identify, Qt::LeftButton);
        QCOMPARE(recorder.Texts(), QStringList{"请输入要识别的帧记录（每行一帧）！"});

        // A file dropped on the log replaces it; one that cannot be read says so.
        QTemporaryDir dir;
        const QString path = dir.filePath("capture.log");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(XmodemLog(5).toLatin1());
        file.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(d.log->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(d.log->viewport(), &drop);
        QCOMPARE(d.log->toPlainText(), XmodemLog(5));
        recorder.Clear();
        QVERIFY(!d.dialog->LoadFile(dir.filePath("missing.log")));
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY(recorder.messages[0].text.startsWith("无法打开文件 "));
        QCOMPARE(d.log->toPlainText(), XmodemLog(5));
    }

    // The checksum page's "多帧识别…" opens the dialog with the page's frame; every press adds it.
    void fromTheChecksumPage()
    {
        CMainDialog window;
        window.show();
        window.TabPages()->SelectPage(2);
        QWidget* page = reinterpret_cast<QWidget*>(window.TabPages()->Page(2));
        auto* edit = page->findChild<QPlainTextEdit*>("hexEdit");
        auto* button = page->findChild<QPushButton*>("identifyButton");
        QVERIFY(edit && button);
        QVERIFY(page->findChild<QPushButton*>("analyseButton")->isVisible());
        QTest::keyClicks(edit, "01 03 00 00 00 0A C5 CD");
        SaveScreenshot(page, "checksum_page_identify_button");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(window.IdentifyDialog());
        QVERIFY(window.IdentifyDialog()->isVisible());
        auto* log = window.IdentifyDialog()->findChild<QPlainTextEdit*>("logEdit");
        QCOMPARE(log->toPlainText(), "01 03 00 00 00 0A C5 CD");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(log->toPlainText(), "01 03 00 00 00 0A C5 CD\n01 03 00 00 00 0A C5 CD");
    }
};

VELMORRA_UI_TEST_MAIN(TestIdentifyDialog)
#include "tst_identify_dialog.moc"
