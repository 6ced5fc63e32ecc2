#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "test_support.h"
#include "tools/math_conversion_dialog.h"
#include "tools/script_edit_ctrl.h"

namespace {

struct Editor {  // the editor as the math conversion dialog configures it
    CMathConversionDialog dialog;
    CScriptEditCtrl* edit = dialog.findChild<CScriptEditCtrl*>(QStringLiteral("scriptEdit"));
    explicit Editor(const QString& text = QString()) { dialog.show(), edit->setFocus(), edit->SetText(text); }

    // One letter per character, lines joined by '\n': p black, c green, m magenta, k blue.
    QString Colours() const
    {
        QStringList lines;
        for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
            QString line(block.length() - 1, QLatin1Char('?'));
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                const QRgb rgb = range.format.foreground().color().rgb();
                const char letter = range.format.fontWeight() > QFont::Normal ? '!' : rgb == qRgb(0, 0, 0) ? 'p'
                                  : rgb == qRgb(0, 128, 0) ? 'c' : rgb == qRgb(255, 0, 255) ? 'm'
                                  : rgb == qRgb(0, 0, 255) ? 'k' : '?';
                line.replace(range.start, range.length, QString(range.length, QLatin1Char(letter)));
            }
            lines.append(line);
        }
        return lines.join('\n');
    }
    QString Text() const { return edit->toPlainText(); }
    int Caret() const { return edit->textCursor().position(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(edit, key, modifiers); }
};

} // namespace

class TestScriptEditCtrl : public QObject {
    Q_OBJECT
    MessageRecorder recorder;
private slots:
    void cleanup() { QVERIFY2(recorder.messages.isEmpty(), "the editor never runs the test"); }

    void opensWithBlueMathdata()
    {
        CMathConversionDialog dialog;
        auto* edit = dialog.findChild<CScriptEditCtrl*>(QStringLiteral("scriptEdit"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("mathdata"));
        QCOMPARE(edit->document()->firstBlock().layout()->formats().size(), 1);
        QCOMPARE(edit->document()->firstBlock().layout()->formats()[0].format.foreground().color(), QColor(0, 0, 255));
        QVERIFY(!edit->document()->isUndoAvailable());
        const QString family = edit->font().family();
        QVERIFY2(family == QStringLiteral("Courier New") || family == QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                 qPrintable(family));
    }

    void typing_data()
    {
        QTest::addColumn<QString>("typed");  // "|" hands the rest over as an input method would
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("colours");
        QTest::newRow("number and comment") << "x = 3.5e2 + 'note" << "x = 3.5e2 + 'note" << "ppppmmmmmpppccccc";
        QTest::newRow("unclosed string") << "\"abc\rx" << "\"abc\nx" << "mmmm\np";
        QTest::newRow("MathData") << "MathData" << "mathdata" << "kkkkkkkk";
        QTest::newRow("Try") << "Try null" << "try null" << "kkkpkkkk";
        QTest::newRow("Chinese") << "\"|你\" '你 你" << "\"你\" '你 你" << "mmmpcccc";
    }
    void typing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, colours);
        Editor e;
        const QStringList parts = typed.split('|');
        QTest::keyClicks(e.edit, parts[0]);
        if (parts.size() > 1) {
            QInputMethodEvent commit;
            commit.setCommitString(parts[1]);
            QApplication::sendEvent(e.edit, &commit);
        }
        QCOMPARE(e.Text(), text);
        QCOMPARE(e.Colours(), colours);
        QCOMPARE(e.Caret(), text.size());
    }

    void correctionKeepsCaretAndUndo()
    {
        Editor e;
        QTest::keyClicks(e.edit, "data");
        e.Key(Qt::Key_Home);
        QTest::keyClicks(e.edit, "MATH");  // completes a keyword in front of the caret's word
        QCOMPARE(e.Text(), QStringLiteral("mathdata"));
        QCOMPARE(e.Caret(), 4);
        QCOMPARE(e.Colours(), QStringLiteral("kkkkkkkk"));
        // No step of its own: one undo takes the typing back with it, and typing on merges.
        QTest::keyClicks(e.edit, " + 1");
        e.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.Text() + e.Colours(), QStringLiteral("datapppp"));
        e.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(e.Text() + e.Colours(), QStringLiteral("math + 1datapppppppmpppp"));

        e.edit->SetText(QStringLiteral("x MATH DATA"));  // Delete joins two words into a keyword
        QTextCursor caret = e.edit->textCursor();
        caret.setPosition(6);
        e.edit->setTextCursor(caret);
        e.Key(Qt::Key_Delete);
        QCOMPARE(e.Text(), QStringLiteral("x mathdata"));
        QCOMPARE(e.Caret(), 6);
        e.edit->undo();
        QCOMPARE(e.Text(), QStringLiteral("x MATH DATA"));
        QVERIFY(!e.edit->document()->isUndoAvailable());
    }

    void tabAndEnterStay()
    {
        Editor e;
        QApplication::setActiveWindow(&e.dialog);
        QTest::keyClicks(e.edit, "a\tb");
        e.Key(Qt::Key_Return);
        e.Key(Qt::Key_Enter, Qt::KeypadModifier);
        e.Key(Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(e.edit, "if");
        QCOMPARE(e.Text(), QStringLiteral("a\tb\n\n\nif"));
        QCOMPARE(e.edit->document()->blockCount(), 4);
        QCOMPARE(QApplication::focusWidget(), e.edit);
        QCOMPARE(e.dialog.findChild<QLabel*>(QStringLiteral("resultLabel"))->text(), QStringLiteral("测试结果为:"));
        e.Key(Qt::Key_Tab, Qt::ControlModifier);  // the keyboard's way out
        QVERIFY(QApplication::focusWidget() != e.edit);
    }

    void multiLinePaste()  // from the line where it starts to the caret's line
    {
        Editor e(QStringLiteral("a\nb\nc"));
        e.Key(Qt::Key_End);
        QApplication::clipboard()->setText(QStringLiteral(" MathData 'x\n\"s\nTRY "));
        e.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.Text(), QStringLiteral("a mathdata 'x\n\"s\ntry \nb\nc"));
        QCOMPARE(e.Colours(), QStringLiteral("ppkkkkkkkkpcc\nmm\nkkkp\np\np"));
        QCOMPARE(e.Caret(), e.edit->document()->findBlockByNumber(2).position() + 4);
        e.edit->undo();
        QCOMPARE(e.Text(), QStringLiteral("a\nb\nc"));
    }
};

VELMORRA_UI_TEST_MAIN(TestScriptEditCtrl)
#include "tst_script_edit_ctrl.moc"
