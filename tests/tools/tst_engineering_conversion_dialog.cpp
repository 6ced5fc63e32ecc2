#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "test_support.h"
#include "tools/engineering_conversion_dialog.h"

namespace {

const QString incomplete = QStringLiteral("工程转换参数需设置完整！"), reversed = QStringLiteral("上下限数据设置有误，请检查！");
const char* const BOXES[] = {"adLowEdit", "adHighEdit", "outLowEdit", "outHighEdit", "rangeLowEdit", "rangeHighEdit", "testDataEdit"};

struct Dialog {  // the dialog with its controls found by name
    CEngineeringConversionDialog dialog;
    QLineEdit* Box(int i) { return dialog.findChild<QLineEdit*>(QLatin1String(BOXES[i])); }
    QLabel* result = dialog.findChild<QLabel*>(QStringLiteral("resultLabel"));
    explicit Dialog(const QString& value) { dialog.SetValue(value), dialog.show(); }

    void Test(const QStringList& limits)  // types the six limits, then Enter in the last box
    {
        for (int i = 0; i < 6; ++i)
            Box(i)->clear(), QTest::keyClicks(Box(i), limits[i]);
        QTest::keyClick(Box(5), Qt::Key_Return);
    }
};

} // namespace

class TestEngineeringConversionDialog : public QObject {
    Q_OBJECT
    MessageRecorder recorder;
private slots:
    void init() { recorder.Clear(); }

    void test_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("limits");  // AD low, AD high, output low, high, range low, high
        QTest::addColumn<QString>("result");      // or the message, the line then keeping 50.0122
        const QStringList ad{"0", "4095", "4", "20", "0", "100"};
        const QString equal = QStringLiteral("测试结果: 上下限相等，无法换算"), beyond = QStringLiteral("测试结果: 超出数值范围");
        QTest::newRow("2048") << "2048" << ad << "测试结果: 50.0122";
        QTest::newRow("4095") << "4095" << ad << "测试结果: 100.0000";
        QTest::newRow("0") << "0" << ad << "测试结果: 0.0000";
        QTest::newRow("27648") << "13824" << QStringList{"0", "27648", "4", "20", "-50", "150"} << "测试结果: 50.0000";
        QTest::newRow("no clamping") << "-100" << ad << "测试结果: -2.4420";
        QTest::newRow("12abc and abc") << " 6.0 mA" << QStringList{"abc", "12abc", "+4", "2e1x", "0", "1E2"} << "测试结果: 50.0000";
        QTest::newRow("blank is no empty box") << "12" << QStringList{" ", "12", "4", "20", "0", "100"} << "测试结果: 100.0000";
        QTest::newRow("empty value reads 0") << "" << ad << "测试结果: 0.0000";
        QTest::newRow("the page's -") << "-" << ad << "测试结果: 0.0000";
        QTest::newRow("equal AD limits") << "5" << QStringList{"5", "5", "4", "20", "0", "100"} << equal;
        QTest::newRow("equal output limits") << "5" << QStringList{"0", "10", "4", "4", "0", "100"} << equal;
        QTest::newRow("equal range limits") << "5" << QStringList{"0", "10", "4", "20", "7", "7"} << "测试结果: 7.0000";
        QTest::newRow("limit beyond float") << "5" << QStringList{"0", "1e39", "4", "20", "0", "100"} << beyond;
        QTest::newRow("k1 beyond float") << "5" << QStringList{"0", "1e-30", "0", "1e30", "0", "100"} << beyond;
        QTest::newRow("value beyond double") << "1e999" << ad << beyond;
        for (int empty = 0; empty < 6; ++empty) {
            QStringList limits = ad;
            limits[empty].clear();
            QTest::newRow(BOXES[empty]) << "1" << limits << incomplete;
        }
        QTest::newRow("AD reversed") << "1" << QStringList{"4095", "0", "4", "20", "0", "100"} << reversed;
        QTest::newRow("output reversed") << "1" << QStringList{"0", "4095", "20", "4", "0", "100"} << reversed;
        QTest::newRow("range reversed") << "1" << QStringList{"0", "4095", "4", "20", "100", "0"} << reversed;
        QTest::newRow("reversed before equal") << "1" << QStringList{"5", "5", "20", "4", "0", "100"} << reversed;
    }
    void test()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, limits);
        QFETCH(QString, result);
        Dialog d(QStringLiteral("2048"));
        QCOMPARE(d.result->text(), QStringLiteral("测试结果:"));
        d.Test({"0", "4095", "4", "20", "0", "100"});
        d.dialog.SetValue(value);
        QCOMPARE(d.Box(6)->text(), value);
        d.Test(limits);
        const bool refused = result == incomplete || result == reversed;
        QCOMPARE(d.result->text(), refused ? QStringLiteral("测试结果: 50.0122") : result);
        QCOMPARE(recorder.Texts(), refused ? QStringList{result} : QStringList());
        for (const MessageRequest& m : recorder.messages)
            QVERIFY(m.caption == QStringLiteral("工程转换") && m.icon == MessageIcon::Warning);
        QVERIFY(d.dialog.isVisible());
        if (QTest::currentDataTag() == QByteArray("2048"))
            SaveScreenshot(&d.dialog, QStringLiteral("engineering_conversion_dialog"));
    }

    void keysAndNames()
    {
        Dialog d(QStringLiteral("1"));
        QCOMPARE(d.dialog.windowTitle(), QStringLiteral("工程转换"));
        for (int i = 0; i < 7; ++i) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(d.Box(i));
            QVERIFY2(accessible && accessible->text(QAccessible::Name).endsWith(':'), BOXES[i]);
        }
        QVERIFY(d.Box(6)->isReadOnly());
        QTest::keyClick(d.Box(6), Qt::Key_Return);  // Enter runs the test from any box
        QCOMPARE(recorder.Texts(), QStringList{incomplete});
        QTest::keyClick(d.Box(0), Qt::Key_Escape);
        QVERIFY(!d.dialog.isVisible());
    }
};

VELMORRA_UI_TEST_MAIN(TestEngineeringConversionDialog)
#include "tst_engineering_conversion_dialog.moc"
