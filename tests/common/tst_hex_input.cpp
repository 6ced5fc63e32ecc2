#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <array>

#include "common/hex_input.h"
#include "test_support.h"

namespace {

// A page in miniature: a hex box, its information line and a frame buffer.
struct FramePanel {
    explicit FramePanel(const HexInputProfile& profile) : input(edit, info, profile, frame) {}
    QWidget panel;
    std::array<std::uint8_t, MAX_HEX_BYTES> frame{};
    QPlainTextEdit* edit = new QPlainTextEdit(&panel);
    QLabel* info = new QLabel(&panel);
    CHexInput input;
};

// The context menu event a right click gives.
void RightClick(QWidget* widget)
{
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestHexInput : public QObject {
    Q_OBJECT
private slots:
    void typingRewritesNormalForm();
    void errorShowsBoxBeforeLineAndKeepsText_data();
    void errorShowsBoxBeforeLineAndKeepsText();
    void quietOutcomes();
    void pasteAndTidy_data();
    void pasteAndTidy();
    void contextMenuOffersItBelowPaste();
    void arrayBoxTidiesToo();
};

void TestHexInput::typingRewritesNormalForm()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_CHECKSUM);
    QSignalSpy parsed(&p.input, &CHexInput::Parsed);
    QTest::keyClicks(p.edit, QStringLiteral("0a"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("0A "));
    QCOMPARE(parsed.count(), 2);  // one run per keystroke, none for the write-back
    QTest::keyClicks(p.edit, QStringLiteral("b"));
    QCOMPARE(p.info->text(), QStringLiteral("16进制数据长度错误，请确认！"));
    QTest::keyClicks(p.edit, QStringLiteral("C"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("0A BC "));
    QCOMPARE(p.edit->textCursor().position(), 6);
    QCOMPARE(p.info->text(), QString());
    QCOMPARE(p.input.Count(), std::size_t{2});
    QCOMPARE(p.frame[1], std::uint8_t{0xBC});
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(p.info->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

void TestHexInput::errorShowsBoxBeforeLineAndKeepsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("bad digit") << QStringLiteral("01 0g") << QStringLiteral("16进制数据格式错误，请重新确认！");
    QTest::newRow("too long") << QString(1026, QLatin1Char('1')) << QStringLiteral("16进制数据长度不能超过512！");
    QTest::newRow("wide char") << QStringLiteral("01中2") << QStringLiteral("16进制数据格式错误，请重新确认！");
}

void TestHexInput::errorShowsBoxBeforeLineAndKeepsText()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_STRING_FORMAT);
    p.edit->setPlainText(QStringLiteral("11 22"));
    QString lineWhileShown = QStringLiteral("<no box>");
    recorder.whileShown = [&](const MessageRequest&) { lineWhileShown = p.info->text(); };
    p.edit->setPlainText(text);
    QCOMPARE(recorder.Texts(), QStringList{message});
    QCOMPARE(recorder.messages[0].caption, QStringLiteral("Velmorra"));
    QCOMPARE(lineWhileShown, QString());  // the box comes first, then the line
    QCOMPARE(p.info->text(), message);
    QCOMPARE(p.edit->toPlainText(), text);  // left as typed, to be corrected
    QCOMPARE(p.input.Count(), std::size_t{0});
    QCOMPARE(p.frame[0], std::uint8_t{0});
}

void TestHexInput::quietOutcomes()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_BYTE_ANALYSIS);
    p.edit->setPlainText(QStringLiteral("01\n02"));
    QCOMPARE(p.info->text(), QStringLiteral("数据长度错误，请确认！"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("01\n02"));
    p.edit->clear();  // emptying keeps the line
    QCOMPARE(p.input.LastResult(), HexParseResult::Empty);
    QCOMPARE(p.info->text(), QStringLiteral("数据长度错误，请确认！"));
    p.edit->setPlainText(QStringLiteral("   "));  // blanks only: an accepted empty frame
    QCOMPARE(p.input.LastResult(), HexParseResult::Ok);
    QCOMPARE(p.edit->toPlainText(), QString());
    QCOMPARE(p.info->text(), QString());
    QVERIFY(recorder.messages.isEmpty());
}

void TestHexInput::pasteAndTidy_data()
{
    // What capture tools and source code give, pasted with Ctrl+Shift+V into the checksum box.
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("info");
    QTest::newRow("0x, commas") << QStringLiteral("0x01, 0x02") << QStringLiteral("01 02 ") << QString();
    QTest::newRow("0x, blanks") << QStringLiteral("0x01 0x02") << QStringLiteral("01 02 ") << QString();
    QTest::newRow("braces") << QStringLiteral("{0x01,0x02}") << QStringLiteral("01 02 ") << QString();
    QTest::newRow("escapes") << QStringLiteral("\\x01\\x02") << QStringLiteral("01 02 ") << QString();
    QTest::newRow("dashes") << QStringLiteral("01-02-03") << QStringLiteral("01 02 03 ") << QString();
    QTest::newRow("colons") << QStringLiteral("01:02:03") << QStringLiteral("01 02 03 ") << QString();
    QTest::newRow("unspaced") << QStringLiteral("0102030A") << QStringLiteral("01 02 03 0A ") << QString();
    QTest::newRow("several lines") << QStringLiteral("const uint8_t f[] = {\n  0x01, 0x03, 0x00, 0x00,\r\n  0x00, 0x0A, 0xC5, 0xCD };\n")
                                   << QStringLiteral("01 03 00 00 00 0A C5 CD ") << QString();
    QTest::newRow("log with time stamps") << QStringLiteral("10:00:01.123 TX: 01 03\n10:00:01.130 TX: 00 0A")
                                          << QStringLiteral("01 03 00 0A ") << QString();
    QTest::newRow("Chinese label") << QStringLiteral(u"发送数据：68 AA 16") << QStringLiteral("68 AA 16 ") << QString();
    QTest::newRow("no frame: as it is") << QStringLiteral("hello") << QStringLiteral("hello")
                                        << QStringLiteral("16进制数据长度错误，请确认！");
}

void TestHexInput::pasteAndTidy()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, box);
    QFETCH(QString, info);
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_CHECKSUM);
    p.panel.show();
    p.edit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&p.panel));
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(p.edit, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(p.edit->toPlainText(), box);
    QCOMPARE(p.info->text(), info);
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);  // the clipboard keeps what it had


    // The ordinary paste stays as it was: the text as it is, for the grammar to judge.
    if (QTest::currentDataTag() == QByteArrayLiteral("0x, commas")) {
        p.edit->clear();
        QTest::keyClick(p.edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p.edit->toPlainText(), clipboard);
        QCOMPARE(p.info->text(), QStringLiteral("16进制数据长度错误，请确认！"));
    }
}

void TestHexInput::contextMenuOffersItBelowPaste()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_STRING_FORMAT);
    p.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.panel));
    p.edit->setPlainText(QStringLiteral("AA "));
    p.edit->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(QStringLiteral("[0xA5, 0x40]"));
    RightClick(p.edit->viewport());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    const auto paste = std::find_if(actions.begin(), actions.end(),
                                    [](QAction* a) { return a->objectName() == QLatin1String("edit-paste"); });
    QVERIFY(paste != actions.end() && paste + 1 != actions.end());
    QCOMPARE(paste[1]->text(), QStringLiteral("粘贴并整理"));
    QVERIFY(paste[1]->isEnabled());
    QCOMPARE(paste[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    SaveScreenshot(menu, QStringLiteral("hex_box_context_menu"));
    paste[1]->trigger();
    menu->close();
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("AA A5 40 "));

    // A box that takes no input offers nothing to paste.
    p.edit->setReadOnly(true);
    RightClick(p.edit->viewport());
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> readOnly = menu->actions();
    QVERIFY(std::any_of(readOnly.begin(), readOnly.end(), [](QAction* a) { return a->text() == QStringLiteral("粘贴并整理") && !a->isEnabled(); }));
    menu->close();
    QVERIFY(p.input.PasteTidiedAction()->isEnabled());  // greyed for that menu only
    QVERIFY(recorder.messages.isEmpty());
}

void TestHexInput::arrayBoxTidiesToo()
{
    // The conversion page's array box, a one-line box without the rewrite.
    QWidget panel;
    std::array<std::uint8_t, 8> bytes{};
    auto* edit = new QLineEdit(&panel);
    auto* info = new QLabel(&panel);
    CHexInput input(edit, info, HEX_PROFILE_CONVERSION, bytes);
    QGuiApplication::clipboard()->setText(QStringLiteral("{0xC3, 0xF5, 0x48, 0x40}"));
    input.PasteTidied();
    QCOMPARE(edit->text(), QStringLiteral("C3 F5 48 40 "));
    QCOMPARE(input.Count(), std::size_t{4});
    QCOMPARE(bytes[0], std::uint8_t{0xC3});
}

VELMORRA_UI_TEST_MAIN(TestHexInput)
#include "tst_hex_input.moc"
