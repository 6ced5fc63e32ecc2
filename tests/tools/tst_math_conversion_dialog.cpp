#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "test_support.h"
#include "tools/math_conversion_dialog.h"
#include "tools/script_edit_ctrl.h"

namespace {

const QString initial = QStringLiteral("测试结果为:"), first = QStringLiteral("测试结果为:  1");
const QString runaway = QStringLiteral("脚本运行超过3秒，已中止，请检查公式！");
// Long enough for any formula that ends, short enough not to wait out the real limit.
constexpr std::chrono::milliseconds SHORT_LIMIT{300};

struct Dialog {  // the dialog with its controls found by name
    CMathConversionDialog dialog;
    template <typename T> T* Child(const char* name) { return dialog.findChild<T*>(QLatin1String(name)); }
    CScriptEditCtrl* script = Child<CScriptEditCtrl>("scriptEdit");
    QLineEdit* value = Child<QLineEdit>("valueEdit");
    QLabel* result = Child<QLabel>("resultLabel");
    explicit Dialog(const QString& value) { dialog.SetValue(value), dialog.show(); }
    void Run(const QString& formula) { script->SetText(formula), QTest::mouseClick(Child<QPushButton>("testButton"), Qt::LeftButton); }
};

} // namespace

class TestMathConversionDialog : public QObject {
    Q_OBJECT
    MessageRecorder recorder;
private slots:
    void init() { recorder.Clear(); }

    void evaluate_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("result");  // the result line, or the text of the error box
        QTest::newRow("formula") << "mathdata*2+1" << "12" << "测试结果为:  25";
        QTest::newRow("name inside a word") << "mathdata2" << "12" << "测试结果为:  122";
        QTest::newRow("12.5") << "mathdata" << "12.5" << "测试结果为:  12.5";
        QTest::newRow("empty value") << "mathdata" << "" << "测试结果为:  undefined";
        QTest::newRow("boolean, two lines") << "var x = mathdata\nx > 10" << "12" << "测试结果为:  true";
        QTest::newRow("string") << "\"v=\" + mathdata" << "7" << "测试结果为:  v=7";
        QTest::newRow("object") << "[mathdata, 2]" << "1" << "测试结果为:  1,2";
        QTest::newRow("-5--5") << "mathdata-mathdata" << "-5" << "SyntaxError: Expected token `;'";
        QTest::newRow("unknown name") << "sqrt(mathdata)" << "4" << "ReferenceError: sqrt is not defined";
        QTest::newRow("ANSI text") << "mathdata" << "你好" << "ReferenceError: 你好 is not defined";
        QTest::newRow("the page's -") << "mathdata" << "-" << "SyntaxError: Expected token `numeric literal'";
        QTest::newRow("thrown value") << "throw mathdata" << "5" << "5";
        QTest::newRow("no text form") << "({toString() { throw new Error(\"no text\") }})" << "" << "Error: no text";
        QTest::newRow("runaway loop") << "while(true){}" << "1" << runaway;
        QTest::newRow("runaway text form") << "({toString() { for (;;) {} }})" << "1" << runaway;
    }
    void evaluate()  // after a first result, which an error leaves on the line; then once more
    {
        QFETCH(QString, formula);
        QFETCH(QString, value);
        QFETCH(QString, result);
        Dialog d(value);
        QCOMPARE(d.value->text(), value);
        QCOMPARE(d.result->text(), initial);
        d.Run(QStringLiteral("1"));
        if (result == runaway)
            d.dialog.SetTimeLimit(SHORT_LIMIT);
        d.Run(formula);  // a runaway returns once the watchdog has interrupted the engine
        d.dialog.SetTimeLimit(MATH_SCRIPT_TIME_LIMIT);
        const bool error = !result.startsWith(initial);
        QCOMPARE(d.result->text(), error ? first : result);
        QCOMPARE(recorder.Texts(), error ? QStringList{result} : QStringList());
        for (const MessageRequest& m : recorder.messages)
            QVERIFY(m.icon == MessageIcon::Stop && m.caption == QStringLiteral("数学转换"));
        d.Run(QStringLiteral("\"mathdata\" + 1"));  // the dialog works on
        QCOMPARE(d.result->text(), initial + QStringLiteral("  ") + value + '1');
        if (QTest::currentDataTag() == QByteArray("formula")) {
            d.Run(formula);
            SaveScreenshot(&d.dialog, QStringLiteral("math_conversion_dialog"));
        }
    }

    void keysAndNames()
    {
        Dialog d(QStringLiteral("12"));
        QCOMPARE(d.dialog.windowTitle(), QStringLiteral("数学转换"));
        QCOMPARE(d.Child<QLabel>("hintLabel")->text(), QStringLiteral("mathdata表示为当前数值      支持JScript"));
        QVERIFY(d.Child<QPushButton>("testButton")->isDefault());
        QVERIFY(d.value->isReadOnly());
        for (QWidget* w : {static_cast<QWidget*>(d.script), static_cast<QWidget*>(d.value)}) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
            QVERIFY(accessible && !accessible->text(QAccessible::Name).isEmpty());
        }
        QTest::keyClick(d.script, Qt::Key_Return);  // a line break in the editor, no test
        QCOMPARE(d.result->text(), initial);
        QTest::keyClick(d.value, Qt::Key_Return);  // Enter elsewhere tests
        QCOMPARE(d.result->text(), QStringLiteral("测试结果为:  12"));
        QTest::keyClick(d.script, Qt::Key_Escape);
        QVERIFY(!d.dialog.isVisible());
        QVERIFY(recorder.messages.isEmpty());
    }
};

VELMORRA_UI_TEST_MAIN(TestMathConversionDialog)
#include "tst_math_conversion_dialog.moc"
