#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "format/string_format_page.h"
#include "test_support.h"

namespace {

// The page as the tab shows it, with its widgets found by name.
struct PageUnderTest {
    PageUnderTest()
    {
        page.resize(667, 455);
        page.show();
        QApplication::setActiveWindow(&page);
        QVERIFY(QTest::qWaitForWindowActive(&page, 30000));
    }
    QPlainTextEdit* Edit(const char* name) { return page.findChild<QPlainTextEdit*>(name); }
    void Click(const char* radio) { QTest::mouseClick(page.findChild<QRadioButton*>(radio), Qt::LeftButton); }
    QStringList Views()
    {
        QStringList texts;
        for (const char* name : {"asciiView", "unicodeView", "decimalView", "bcdView", "view3x3x", "pduView"})
            texts << Edit(name)->toPlainText();
        return texts;
    }
    MessageRecorder recorder;
    CStringFormatPage page;
};

void Select(QPlainTextEdit* edit, int start, int end)
{
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

} // namespace

class TestStringFormatPage : public QObject {
    Q_OBJECT
private slots:
    void typedFramesFillEveryView();
    void failuresClearFiveViews_data();
    void failuresClearFiveViews();
    void selectionsMirror();
};

void TestStringFormatPage::typedFramesFillEveryView()
{
    PageUnderTest p;
    p.Edit("hexEdit")->setFocus();
    QTest::keyClicks(p.Edit("hexEdit"), "31 32 41 00 42");
    QCOMPARE(p.Edit("hexEdit")->toPlainText(), "31 32 41 00 42 ");
    QStringList views{"12AB", "???", "049 050 065 000 066 ", "1F 20 29 00 2A ", "非3X3X编码格式", "非PDU编码格式"};
    QCOMPARE(p.Views(), views);
    SaveScreenshot(&p.page, "string_format_page_frame");
    p.Click("orderLowFirstRadio");  // units 3231 0041 0042; U+3231 is A9 5A in GBK
    views[1] = "㈱AB";
    QCOMPARE(p.Views(), views);
    p.Click("pduReceiveRadio");  // the two groups of buttons are independent, and the order holds for the next frame
    p.Edit("hexEdit")->setPlainText("41004200");
    QCOMPARE(p.Edit("unicodeView")->toPlainText(), "AB");
    p.Edit("hexEdit")->setPlainText("0891682143658709f0040b812143658709f1000831501290035423044f60597d");
    QCOMPARE(p.Edit("pduView")->toPlainText(), "SMSC号码:8612345678900\n回复号码:12345678901\n协议标识:普通GSM类型\n编码方式:UCS2\n"
                                               "服务时间戳:2013-05-21 09:30:45\n信息长度:4\n信息内容:你好");
    SaveScreenshot(&p.page, "string_format_page_pdu");
    p.Click("pduSendRadio");
    QVERIFY(p.Edit("pduView")->toPlainText().startsWith("SMSC号码:8612345678900\n发送号码:"));
    QVERIFY(p.recorder.messages.isEmpty());
}

void TestStringFormatPage::failuresClearFiveViews_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // empty: no message box
    QTest::addColumn<QString>("info");
    QTest::newRow("odd") << "30 31 3" << "" << "16进制数据长度错误，请确认！";
    QTest::newRow("bad digit") << "30 3g" << "16进制数据格式错误，请重新确认！" << "16进制数据格式错误，请重新确认！";
    QTest::newRow("too long") << QString(1026, '3') << "16进制数据长度不能超过512！" << "16进制数据长度不能超过512！";
    QTest::newRow("emptied") << "" << "" << "";
}

void TestStringFormatPage::failuresClearFiveViews()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, info);
    PageUnderTest p;
    p.Edit("hexEdit")->setPlainText("3031");
    p.Edit("hexEdit")->setPlainText(text);
    QCOMPARE(p.recorder.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(p.page.findChild<QLabel*>("infoLine")->text(), info);
    QCOMPARE(p.Edit("hexEdit")->toPlainText(), text);
    QCOMPARE(p.Views(), (QStringList{{}, {}, {}, {}, "01 ", {}}));
}

void TestStringFormatPage::selectionsMirror()
{
    PageUnderTest p;
    QPlainTextEdit* hex = p.Edit("hexEdit");
    QPlainTextEdit* ascii = p.Edit("asciiView");
    hex->setFocus();
    hex->setPlainText("3132414243");
    Select(hex, 6, 11);  // "41 42"
    // The bounds only keep a broken page from hanging.
    QTRY_COMPARE_WITH_TIMEOUT(ascii->textCursor().selectedText(), "AB", 10000);
    QCOMPARE(ascii->textCursor().selectionStart(), 2);
    Select(hex, 3, 5);  // a new selection moves the mirrored one along
    QTRY_COMPARE_WITH_TIMEOUT(ascii->textCursor().selectionStart(), 1, 10000);
    QCOMPARE(ascii->textCursor().selectedText(), "2");
    QTest::keyClick(hex, Qt::Key_Tab);  // into the ASCII view; the focus change drops both selections
    QVERIFY(ascii->hasFocus() && !hex->textCursor().hasSelection() && !ascii->textCursor().hasSelection());
    QTest::keyClick(ascii, Qt::Key_Home);
    QTest::keyClick(ascii, Qt::Key_Right);
    QTest::keyClick(ascii, Qt::Key_Right);
    QTest::keyClick(ascii, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(ascii, Qt::Key_Right, Qt::ShiftModifier);  // "AB", selected from the keyboard
    QTRY_COMPARE_WITH_TIMEOUT(hex->textCursor().selectionStart(), 6, 10000);
    QCOMPARE(hex->textCursor().selectionEnd(), 12);
    QCOMPARE(ascii->textCursor().selectedText(), "AB");  // mirroring into the hex box does not mirror back
    hex->setFocus();
    QVERIFY(!hex->textCursor().hasSelection() && !ascii->textCursor().hasSelection());
    Select(hex, 7, 10);  // "1 4": from a last digit to a first digit
    QCoreApplication::processEvents();
    QVERIFY(!ascii->textCursor().hasSelection());
    hex->setPlainText("4142434445");  // a new frame goes on mirroring into its view
    Select(hex, 3, 8);
    QTRY_COMPARE_WITH_TIMEOUT(ascii->textCursor().selectedText(), "BC", 10000);
    hex->setPlainText("41 4");  // a failed frame empties the view and nothing is mirrored
    Select(hex, 0, 2);
    QCoreApplication::processEvents();
    QVERIFY(ascii->toPlainText().isEmpty() && !ascii->textCursor().hasSelection());
}

VELMORRA_UI_TEST_MAIN(TestStringFormatPage)
#include "tst_string_format_page.moc"
