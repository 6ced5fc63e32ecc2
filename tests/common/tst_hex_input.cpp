#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <array>

#include "common/hex_input.h"
#include "test_support.h"

namespace {

// A page in miniature: one hex box, its information line, and a frame buffer.
struct FramePanel {
    explicit FramePanel(const HexInputProfile& profile)
        : edit(new QPlainTextEdit(&panel))
        , info(new QLabel(&panel))
        , input(edit, info, profile, frame)
    {
        panel.resize(400, 120);
        edit->setGeometry(4, 4, 390, 80);
        info->setGeometry(4, 90, 390, 16);
    }
    QWidget panel;
    std::array<std::uint8_t, MAX_HEX_BYTES> frame{};
    QPlainTextEdit* edit;
    QLabel* info;
    CHexInput input;
};

bool AllZero(const std::array<std::uint8_t, MAX_HEX_BYTES>& frame)
{
    for (std::uint8_t b : frame)
        if (b != 0)
            return false;
    return true;
}

} // namespace

class TestHexInput : public QObject {
    Q_OBJECT
private slots:
    void typingRewritesNormalForm();
    void errorShowsBoxBeforeLineAndKeepsText_data();
    void errorShowsBoxBeforeLineAndKeepsText();
    void oddLengthSpeaksOnlyInTheLine();
    void emptyingKeepsTheLine();
    void blanksOnlyIsAnEmptyFrame();
    void conversionProfileIsQuiet();
};

void TestHexInput::typingRewritesNormalForm()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_CHECKSUM);
    QSignalSpy parsed(&p.input, &CHexInput::Parsed);
    p.panel.show();
    p.edit->setFocus();

    QTest::keyClicks(p.edit, QStringLiteral("0a"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("0A "));
    QCOMPARE(parsed.count(), 2);  // one run per keystroke, none for the write-back
    QTest::keyClicks(p.edit, QStringLiteral("b"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("0A b"));
    QCOMPARE(p.info->text(), QStringLiteral("16进制数据长度错误，请确认！"));
    QTest::keyClicks(p.edit, QStringLiteral("C"));

    QCOMPARE(p.edit->toPlainText(), QStringLiteral("0A BC "));
    QCOMPARE(p.edit->textCursor().position(), 6);
    QCOMPARE(p.info->text(), QString());
    QCOMPARE(p.input.Count(), std::size_t{2});
    QCOMPARE(p.frame[0], std::uint8_t{0x0A});
    QCOMPARE(p.frame[1], std::uint8_t{0xBC});
    QCOMPARE(parsed.count(), 4);
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
    FramePanel p(HEX_PROFILE_CHECKSUM);
    p.edit->setPlainText(QStringLiteral("11 22"));
    QCOMPARE(p.input.Count(), std::size_t{2});

    QString lineWhileShown = QStringLiteral("<not shown>");
    recorder.whileShown = [&](const MessageRequest&) { lineWhileShown = p.info->text(); };
    p.edit->setPlainText(text);

    QCOMPARE(recorder.Texts(), QStringList{message});
    QCOMPARE(recorder.messages[0].icon, MessageIcon::Warning);
    QCOMPARE(recorder.messages[0].caption, QStringLiteral("Velmorra"));
    QCOMPARE(lineWhileShown, QString());  // the box comes first
    QCOMPARE(p.info->text(), message);
    QCOMPARE(p.edit->toPlainText(), text);  // left as typed, to be corrected
    QCOMPARE(p.input.Count(), std::size_t{0});
    QVERIFY(AllZero(p.frame));
}

void TestHexInput::oddLengthSpeaksOnlyInTheLine()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_STRING_FORMAT);
    p.edit->setPlainText(QStringLiteral("01\n02"));
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(p.info->text(), QStringLiteral("16进制数据长度错误，请确认！"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("01\n02"));
    QCOMPARE(p.input.LastResult(), HexParseResult::OddLength);
}

void TestHexInput::emptyingKeepsTheLine()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_BYTE_ANALYSIS);
    p.edit->setPlainText(QStringLiteral("abc"));
    QCOMPARE(p.info->text(), QStringLiteral("数据长度错误，请确认！"));
    p.edit->setPlainText(QStringLiteral("0102"));
    QCOMPARE(p.input.Count(), std::size_t{2});
    p.edit->clear();
    QCOMPARE(p.input.Count(), std::size_t{0});
    QCOMPARE(p.input.LastResult(), HexParseResult::Empty);
    p.edit->setPlainText(QStringLiteral("zz"));
    QCOMPARE(p.info->text(), QStringLiteral("数据格式错误，请重新确认！"));
    p.edit->clear();
    QCOMPARE(p.info->text(), QStringLiteral("数据格式错误，请重新确认！"));
}

void TestHexInput::blanksOnlyIsAnEmptyFrame()
{
    MessageRecorder recorder;
    FramePanel p(HEX_PROFILE_CHECKSUM);
    p.edit->setPlainText(QStringLiteral("0"));
    p.edit->setPlainText(QStringLiteral("   "));
    QCOMPARE(p.input.LastResult(), HexParseResult::Ok);
    QCOMPARE(p.input.Count(), std::size_t{0});
    QCOMPARE(p.edit->toPlainText(), QString());
    QCOMPARE(p.info->text(), QString());
}

void TestHexInput::conversionProfileIsQuiet()
{
    MessageRecorder recorder;
    QWidget panel;
    std::array<std::uint8_t, 8> bytes{};
    auto* edit = new QLineEdit(&panel);
    auto* info = new QLabel(&panel);
    CHexInput input(edit, info, HEX_PROFILE_CONVERSION, bytes);

    QTest::keyClicks(edit, QStringLiteral("0102030405060708"));
    QCOMPARE(edit->text(), QStringLiteral("0102030405060708"));  // never rewritten
    QCOMPARE(input.Count(), std::size_t{8});
    QCOMPARE(bytes[7], std::uint8_t{8});
    QCOMPARE(info->text(), QString());

    QTest::keyClicks(edit, QStringLiteral("09"));
    QCOMPARE(info->text(), QStringLiteral("数据长度不能超过8"));
    QCOMPARE(input.Count(), std::size_t{0});
    QCOMPARE(bytes, (std::array<std::uint8_t, 8>{}));

    edit->setText(QStringLiteral("0g"));
    QCOMPARE(info->text(), QStringLiteral("数据格式错误"));
    edit->setText(QStringLiteral("012"));
    QCOMPARE(info->text(), QStringLiteral("数据长度错误"));
    QVERIFY(recorder.messages.isEmpty());
}

VELMORRA_UI_TEST_MAIN(TestHexInput)
#include "tst_hex_input.moc"
