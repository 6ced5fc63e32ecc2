#include <QTest>
#include <cmath>

#include "tools/engineering_conversion.h"
#include "tools/mathdata.h"

class TestValueTools : public QObject {
    Q_OBJECT
private slots:
    void engineeringConvert_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("rangeHigh");
        QTest::addColumn<double>("z");
        // AD 0..4095, output 4..20, range 0..rangeHigh; limits, k1 and k2 as floats, the rest double.
        QTest::newRow("mid scale") << 2048.0 << 100.0 << 50.01221001221;
        // 16777217 is 16777216 as a float, and 16/4095 as a float makes 4095 miss 20 mA: all in
        // double gives 16777217, with k1 in double 16777216.
        QTest::newRow("32-bit k1 and limit") << 4095.0 << 16777217.0 << 16777216.99951;
    }
    void engineeringConvert()
    {
        QFETCH(double, x);
        QFETCH(double, rangeHigh);
        QFETCH(double, z);
        const double got = EngineeringConvert(0, 4095, 4, 20, 0, static_cast<float>(rangeHigh), x);
        QVERIFY2(std::abs(got - z) < 1e-4, qPrintable(QString::number(got, 'f', 6)));
    }

    void longNumberTexts()
    {
        // The dialog's boxes cap no length: a leading zero run longer than any fixed cap on the
        // exponent still reads as written. These once read 0 (a range 0 to 0) and -inf.
        const std::string zeros(100010, '0');
        EngineeringTexts texts{"0", "4095", "4", "20", "0", "0." + zeros + "1e1000000", "2048"};
        QCOMPARE(RunEngineeringTest(texts).outcome, EngineeringOutcome::OutOfRange);
        texts.rangeHigh = "100";
        texts.adLow = "-1" + zeros + "e-1000000";
        const EngineeringResult result = RunEngineeringTest(texts);
        QCOMPARE(result.outcome, EngineeringOutcome::Converted);
        QCOMPARE(result.valueText, std::string("50.0122"));
    }

    void substituteMathdata_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expression");
        QTest::newRow("inside a longer word") << "mathdata2" << "12" << "122";
        QTest::newRow("twice, value as it stands") << "mathdata-mathdata" << "-5" << "-5--5";
        QTest::newRow("case-sensitive") << "MathData+mathdata" << "1" << "MathData+1";
        QTest::newRow("value not searched again") << "mathdatamathdata" << "mathdat" << "mathdatmathdat";
        QTest::newRow("no overlap") << "mathdatathdata" << "x" << "xthdata";
        QTest::newRow("empty value") << "mathdata" << "" << "";
        QTest::newRow("ANSI value") << "'mathdata' + 1" << "你好" << "'你好' + 1";
    }
    void substituteMathdata()
    {
        QFETCH(QString, script);
        QFETCH(QString, value);
        QFETCH(QString, expression);
        QCOMPARE(QString::fromStdString(SubstituteMathdata(script.toStdString(), value.toStdString())), expression);
    }
};

QTEST_APPLESS_MAIN(TestValueTools)
#include "tst_value_tools.moc"
