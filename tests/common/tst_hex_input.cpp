#include <QLabel>
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

} // namespace

class TestHexInput : public QObject {
    Q_OBJECT
private slots:
    void typingRewritesNormalForm();
    void errorShowsBoxBeforeLineAndKeepsText_data();
    void errorShowsBoxBeforeLineAndKeepsText();
    void quietOutcomes();
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

VELMORRA_UI_TEST_MAIN(TestHexInput)
#include "tst_hex_input.moc"
