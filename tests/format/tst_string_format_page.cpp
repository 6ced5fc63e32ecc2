#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "format/string_format_page.h"
#include "test_support.h"

namespace {

const char RECEIVE_EXAMPLE[] = "0891682143658709F0040B812143658709F1000831501290035423044F60597D";

// The page as the tab shows it, with its widgets found by name.
struct PageUnderTest {
    PageUnderTest()
    {
        page.resize(667, 455);  // about the rect the tab control gives a page
        page.show();
        QApplication::setActiveWindow(&page);
        if (!QTest::qWaitForWindowActive(&page))
            qWarning("page window not active");
    }
    QPlainTextEdit* Edit(const char* name) { return page.findChild<QPlainTextEdit*>(QLatin1String(name)); }
    QRadioButton* Radio(const char* name) { return page.findChild<QRadioButton*>(QLatin1String(name)); }
    QTimer* Timer(const char* name) { return page.findChild<QTimer*>(QLatin1String(name)); }
    QString Text(const char* name) { return Edit(name)->toPlainText(); }
    QString Info() { return page.findChild<QLabel*>(QStringLiteral("infoLine"))->text(); }
    QStringList Views()
    {
        QStringList texts;
        for (const char* name : {"asciiView", "unicodeView", "decimalView", "bcdView", "view3x3x", "pduView"})
            texts << Text(name);
        return texts;
    }
    void Type(const QString& text)
    {
        QPlainTextEdit* hex = Edit("hexEdit");
        hex->setFocus();
        hex->selectAll();
        QTest::keyClick(hex, Qt::Key_Delete);
        QTest::keyClicks(hex, text);
    }
    static void SelectRange(QPlainTextEdit* edit, int start, int end)
    {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }

    MessageRecorder recorder;
    CStringFormatPage page;
};

} // namespace

class TestStringFormatPage : public QObject {
    Q_OBJECT
private slots:
    void controlsAndStartState();
    void typedFrameFillsEveryView();
    void radioClickReRendersOnlyItsView();
    void receiveExampleDecoded();
    void failuresClearFiveViews_data();
    void failuresClearFiveViews();
    void blanksOnlyIsAnEmptyFrame();
    void hexSelectionMirrorsIntoAscii();
    void asciiSelectionMirrorsIntoHex();
    void gbkBytesShowAsHanzi();
};

void TestStringFormatPage::controlsAndStartState()
{
    PageUnderTest p;
    QCOMPARE(p.page.TemplateId(), 133);
    const struct { const char* view; const char* label; } views[] = {
        {"hexEdit", "16进制数据"},          {"asciiView", "ASCII解析"}, {"unicodeView", "UNICODE解析"},
        {"decimalView", "10进制数据"},      {"bcdView", "BCD解析(16进制表示)"},
        {"view3x3x", "3X3X转换"},           {"pduView", "PDU解析"},
    };
    for (const auto& v : views) {
        QPlainTextEdit* edit = p.Edit(v.view);
        QVERIFY2(edit, v.view);
        QCOMPARE(edit->isReadOnly(), qstrcmp(v.view, "hexEdit") != 0);
        QCOMPARE(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Name), QString::fromUtf8(v.label));
        QVERIFY(edit->toPlainText().isEmpty());
    }
    QCOMPARE(p.Radio("orderHighFirstRadio")->text(), QStringLiteral("FF1FF2"));
    QCOMPARE(p.Radio("orderLowFirstRadio")->text(), QStringLiteral("FF2FF1"));
    QCOMPARE(p.Radio("pduSendRadio")->text(), QStringLiteral("发送解码"));
    QCOMPARE(p.Radio("pduReceiveRadio")->text(), QStringLiteral("接收解码"));
    QVERIFY(p.Radio("orderHighFirstRadio")->isChecked());
    QVERIFY(p.Radio("pduSendRadio")->isChecked());
    // The two groups are independent of each other.
    QTest::mouseClick(p.Radio("pduReceiveRadio"), Qt::LeftButton);
    QVERIFY(p.Radio("orderHighFirstRadio")->isChecked());
    QVERIFY(p.Radio("pduReceiveRadio")->isChecked());
    QCOMPARE(p.Timer("hexToAsciiTimer")->interval(), 200);
    QCOMPARE(p.Timer("asciiToHexTimer")->interval(), 200);
}

void TestStringFormatPage::typedFrameFillsEveryView()
{
    PageUnderTest p;
    p.Type(QStringLiteral("31 32 41 00 42"));
    QCOMPARE(p.Text("hexEdit"), QStringLiteral("31 32 41 00 42 "));
    QCOMPARE(p.Views(), (QStringList{QStringLiteral("12AB"), QStringLiteral("???"), QStringLiteral("049 050 065 000 066 "),
                                     QStringLiteral("1F 20 29 00 2A "), QStringLiteral("非3X3X编码格式"),
                                     QStringLiteral("非PDU编码格式")}));
    QCOMPARE(p.Info(), QString());
    QVERIFY(p.recorder.messages.isEmpty());
    QVERIFY(p.Timer("hexToAsciiTimer")->isActive());
    SaveScreenshot(&p.page, QStringLiteral("string_format_page_frame"));

    p.Type(QStringLiteral("30313939"));
    QCOMPARE(p.Text("view3x3x"), QStringLiteral("01 99 "));
    p.Type(QStringLiteral("0d0A"));  // CR LF is one line break, as in a Windows edit box
    QCOMPARE(p.Edit("asciiView")->document()->blockCount(), 2);
}

void TestStringFormatPage::radioClickReRendersOnlyItsView()
{
    PageUnderTest p;
    p.Type(QStringLiteral("31 32 41 00 42"));
    const QStringList before = p.Views();
    QTest::mouseClick(p.Radio("orderLowFirstRadio"), Qt::LeftButton);
    QStringList expected = before;
    expected[1] = QStringLiteral("㈱AB");  // units 3231 0041 0042; U+3231 is A9 5A in GBK
    QCOMPARE(p.Views(), expected);
    QTest::mouseClick(p.Radio("orderHighFirstRadio"), Qt::LeftButton);
    QCOMPARE(p.Views(), before);

    // The order chosen by the buttons holds for the next frame.
    QTest::mouseClick(p.Radio("orderLowFirstRadio"), Qt::LeftButton);
    p.Type(QStringLiteral("41004200"));
    QCOMPARE(p.Text("unicodeView"), QStringLiteral("AB"));

    // With no frame a direction click leaves the PDU view alone.
    p.Type(QStringLiteral("4"));
    QTest::mouseClick(p.Radio("pduReceiveRadio"), Qt::LeftButton);
    QCOMPARE(p.Text("pduView"), QString());
}

void TestStringFormatPage::receiveExampleDecoded()
{
    PageUnderTest p;
    QTest::mouseClick(p.Radio("pduReceiveRadio"), Qt::LeftButton);
    p.Edit("hexEdit")->setPlainText(QString::fromLatin1(RECEIVE_EXAMPLE).toLower());
    const QStringList lines{QStringLiteral("SMSC号码:8612345678900"), QStringLiteral("回复号码:12345678901"),
                            QStringLiteral("协议标识:普通GSM类型"), QStringLiteral("编码方式:UCS2"),
                            QStringLiteral("服务时间戳:2013-05-21 09:30:45"), QStringLiteral("信息长度:4"),
                            QStringLiteral("信息内容:你好")};
    QCOMPARE(p.Text("pduView").split(QLatin1Char('\n')), lines);
    QCOMPARE(p.Edit("pduView")->document()->blockCount(), 7);
    SaveScreenshot(&p.page, QStringLiteral("string_format_page_pdu"));

    const QString asciiBefore = p.Text("asciiView");
    QTest::mouseClick(p.Radio("pduSendRadio"), Qt::LeftButton);
    QVERIFY(p.Text("pduView").startsWith(QStringLiteral("SMSC号码:8612345678900\n发送号码:")));
    QCOMPARE(p.Text("asciiView"), asciiBefore);
    QTest::mouseClick(p.Radio("pduReceiveRadio"), Qt::LeftButton);
    QCOMPARE(p.Text("pduView").split(QLatin1Char('\n')), lines);
}

void TestStringFormatPage::failuresClearFiveViews_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // empty: no message box
    QTest::addColumn<QString>("info");
    QTest::newRow("odd") << "30 31 3" << "" << "16进制数据长度错误，请确认！";
    QTest::newRow("bad digit") << "30 3g" << "16进制数据格式错误，请重新确认！" << "16进制数据格式错误，请重新确认！";
    QTest::newRow("too long") << QString(1026, QLatin1Char('3')) << "16进制数据长度不能超过512！"
                              << "16进制数据长度不能超过512！";
    QTest::newRow("line break") << "30\n31" << "" << "16进制数据长度错误，请确认！";
    QTest::newRow("emptied") << "" << "" << "";
}

void TestStringFormatPage::failuresClearFiveViews()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, info);
    PageUnderTest p;
    p.Type(QStringLiteral("3031"));
    QCOMPARE(p.Text("view3x3x"), QStringLiteral("01 "));

    p.Edit("hexEdit")->setPlainText(text);
    QCOMPARE(p.recorder.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(p.Info(), info);
    QCOMPARE(p.Text("hexEdit"), text);
    QCOMPARE(p.Views(), (QStringList{{}, {}, {}, {}, QStringLiteral("01 "), {}}));
    QVERIFY(!p.Timer("hexToAsciiTimer")->isActive());
    QVERIFY(!p.Timer("asciiToHexTimer")->isActive());
    if (qstrcmp(QTest::currentDataTag(), "bad digit") == 0)
        SaveScreenshot(&p.page, QStringLiteral("string_format_page_error"));

    // Emptying afterwards keeps the information line as it was.
    p.Edit("hexEdit")->clear();
    QCOMPARE(p.Info(), info);
}

void TestStringFormatPage::blanksOnlyIsAnEmptyFrame()
{
    PageUnderTest p;
    p.Type(QStringLiteral("3031"));
    p.Edit("hexEdit")->setPlainText(QStringLiteral("   "));
    QCOMPARE(p.Views(), (QStringList{{}, {}, {}, {}, {}, QStringLiteral("非PDU编码格式")}));
    QCOMPARE(p.Text("hexEdit"), QString());
}

void TestStringFormatPage::hexSelectionMirrorsIntoAscii()
{
    PageUnderTest p;
    p.Type(QStringLiteral("3132414243"));
    QPlainTextEdit* hex = p.Edit("hexEdit");
    QPlainTextEdit* ascii = p.Edit("asciiView");
    QVERIFY(hex->hasFocus());

    PageUnderTest::SelectRange(hex, 6, 11);  // "41 42"
    QCOMPARE(hex->textCursor().selectedText(), QStringLiteral("41 42"));
    QTRY_COMPARE_WITH_TIMEOUT(ascii->textCursor().selectedText(), QStringLiteral("AB"), 400);
    QCOMPARE(ascii->textCursor().selectionStart(), 2);
    // The mirrored selection is painted as a focused one would be.
    QCOMPARE(ascii->palette().color(QPalette::Inactive, QPalette::Highlight),
             ascii->palette().color(QPalette::Active, QPalette::Highlight));

    PageUnderTest::SelectRange(hex, 4, 7);  // "2 4": from a last digit to a first digit
    QCOMPARE(hex->textCursor().selectedText(), QStringLiteral("2 4"));
    QTest::qWait(450);
    QCOMPARE(ascii->textCursor().selectedText(), QStringLiteral("AB"));  // left as it was
}

void TestStringFormatPage::asciiSelectionMirrorsIntoHex()
{
    PageUnderTest p;
    p.Type(QStringLiteral("3132414243"));
    QPlainTextEdit* hex = p.Edit("hexEdit");
    QPlainTextEdit* ascii = p.Edit("asciiView");
    PageUnderTest::SelectRange(hex, 0, 2);

    QTest::keyClick(hex, Qt::Key_Tab);  // Tab leaves the hex box for the ASCII view
    QVERIFY(ascii->hasFocus());
    QCOMPARE(hex->toPlainText(), QStringLiteral("31 32 41 42 43 "));
    QVERIFY(!hex->textCursor().hasSelection());  // the focus change drops both selections
    QVERIFY(p.Timer("asciiToHexTimer")->isActive());
    QVERIFY(!p.Timer("hexToAsciiTimer")->isActive());

    PageUnderTest::SelectRange(ascii, 2, 4);
    QTRY_COMPARE_WITH_TIMEOUT(hex->textCursor().selectionStart(), 6, 400);
    QCOMPARE(hex->textCursor().selectionEnd(), 12);

    // A selection past the frame's end is clipped to the hex text.
    hex->setFocus();
    QVERIFY(p.Timer("hexToAsciiTimer")->isActive());
    QVERIFY(!p.Timer("asciiToHexTimer")->isActive());
    PageUnderTest::SelectRange(hex, 9, 15);  // "42 43 "
    QTRY_COMPARE_WITH_TIMEOUT(ascii->textCursor().selectedText(), QStringLiteral("BC"), 400);
}

void TestStringFormatPage::gbkBytesShowAsHanzi()
{
    PageUnderTest p;
    p.Type(QStringLiteral("C4 E3 BA C3 FF"));
    QCOMPARE(p.Text("asciiView"), QStringLiteral("你好\uFFFD"));
    QCOMPARE(p.Text("decimalView"), QStringLiteral("196 227 186 195 255 "));
}

VELMORRA_UI_TEST_MAIN(TestStringFormatPage)
#include "tst_string_format_page.moc"
