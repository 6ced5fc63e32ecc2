#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include "convert/conversion_page.h"
#include "test_support.h"

namespace {

// The page with its controls found by name, as a user would see it.
struct Page {
    Page()
    {
        page.resize(570, 440);
        page.show();
        number = page.findChild<QLineEdit*>(QStringLiteral("numberEdit"));
        array = page.findChild<QLineEdit*>(QStringLiteral("arrayEdit"));
        numberInfo = page.findChild<QLabel*>(QStringLiteral("numberInfoLine"));
        arrayInfo = page.findChild<QLabel*>(QStringLiteral("arrayInfoLine"));
        toArray = page.findChild<QPushButton*>(QStringLiteral("toArrayButton"));
        toNumber = page.findChild<QPushButton*>(QStringLiteral("toNumberButton"));
        types = page.findChild<QButtonGroup*>(QStringLiteral("typeGroup"));
    }

    void Paste(QLineEdit* edit, const QString& text)
    {
        QApplication::clipboard()->setText(text);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    void Choose(int type) { QTest::mouseClick(types->button(type), Qt::LeftButton); }

    CConversionPage page;
    QLineEdit* number;
    QLineEdit* array;
    QLabel* numberInfo;
    QLabel* arrayInfo;
    QPushButton* toArray;
    QPushButton* toNumber;
    QButtonGroup* types;
};

enum Type { Short, UnsignedShort, Long, UnsignedLong, Float, Double };

} // namespace

class TestConversionPage : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void numberToArray_data();
    void numberToArray();
    void arrayToNumber_data();
    void arrayToNumber();
    void emptyNumberAsksForData();
    void typingIsFiltered_data();
    void typingIsFiltered();
    void pastedTextIsChecked_data();
    void pastedTextIsChecked();
    void typeButtonsActOnlyThroughTheArrows();
};

void TestConversionPage::startState()
{
    Page p;
    QVERIFY(p.number && p.array && p.numberInfo && p.arrayInfo && p.toArray && p.toNumber && p.types);
    const QStringList captions{QStringLiteral("短整形"), QStringLiteral("无符号短整形"), QStringLiteral("长整形"),
                               QStringLiteral("无符号长整形"), QStringLiteral("浮点型（7位有效数字）"),
                               QStringLiteral("双精度型（15位有效数字）")};
    QCOMPARE(p.types->buttons().size(), 6);
    for (int id = 0; id < 6; ++id)
        QCOMPARE(p.types->button(id)->text(), captions[id]);
    QCOMPARE(p.types->checkedId(), 0);
    QVERIFY(p.types->exclusive());
    QCOMPARE(p.toArray->text(), QStringLiteral("->"));
    QCOMPARE(p.toNumber->text(), QStringLiteral("<-"));
    QCOMPARE(p.numberInfo->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(p.arrayInfo->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(QAccessible::queryAccessibleInterface(p.number)->text(QAccessible::Name), QStringLiteral("数据"));
    QCOMPARE(QAccessible::queryAccessibleInterface(p.array)->text(QAccessible::Name), QStringLiteral("数组"));

    // No caption is clipped, the longest information-line texts included.
    p.numberInfo->setText(QStringLiteral("输入数据长度异常"));
    p.arrayInfo->setText(QStringLiteral("请输入要转换的数组"));
    for (QWidget* w : p.page.findChildren<QWidget*>()) {
        int needed = 0;
        if (qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w))
            needed = w->sizeHint().width();
        else if (auto* button = qobject_cast<QPushButton*>(w))
            needed = button->fontMetrics().horizontalAdvance(button->text()) +
                     2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        QVERIFY2(needed <= w->width(), qPrintable(w->objectName() + QStringLiteral(" needs %1 px").arg(needed)));
    }
}

void TestConversionPage::numberToArray_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("array");
    QTest::addColumn<QString>("number");  // the number box afterwards
    QTest::addColumn<QString>("info");    // its information line
    const QString ok;
    QTest::newRow("-1 short") << "-1" << int(Short) << "FF FF" << "-1" << ok;
    QTest::newRow("-1 unsigned short") << "-1" << int(UnsignedShort) << "FF FF" << "65535" << ok;
    QTest::newRow("70000 short folds back") << "70000" << int(Short) << "70 11" << "4464" << ok;
    QTest::newRow("-2 long") << "-2" << int(Long) << "FE FF FF FF" << "-2" << ok;
    QTest::newRow("3.14 float") << "3.14" << int(Float) << "C3 F5 48 40" << "3.140000" << ok;
    QTest::newRow("1.5 double") << "1.5" << int(Double) << "00 00 00 00 00 00 F8 3F" << "1.500000" << ok;
    QTest::newRow("1e39 float is infinity") << "1e39" << int(Float) << "00 00 80 7F" << "" << "输入数据非法";
    QTest::newRow("1e57 double prints 65 characters")
        << "1e57" << int(Double) << "13 4D E4 5A 3E 64 C4 4B" << "" << "输入数据长度异常";
    QTest::newRow("1e56 double prints 64 characters")
        << "1e56" << int(Double) << "A9 3D 50 E2 31 50 90 4B"
        << "100000000000000009190283508143378238084034459715684532224.000000" << ok;
    QTest::newRow("+5 long") << "+5" << int(Long) << "05 00 00 00" << "5" << ok;
    QTest::newRow("1,5 unsigned long") << "1,5" << int(UnsignedLong) << "01 00 00 00" << "1" << ok;
    QTest::newRow("1,5 double") << "1,5" << int(Double) << "00 00 00 00 00 00 F0 3F" << "1.000000" << ok;
}

void TestConversionPage::numberToArray()
{
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(QString, array);
    QFETCH(QString, number);
    QFETCH(QString, info);
    MessageRecorder recorder;
    Page p;
    p.Paste(p.number, text);
    QCOMPARE(p.number->text(), text);
    p.Choose(type);
    QTest::mouseClick(p.toArray, Qt::LeftButton);

    QCOMPARE(p.array->text(), array);
    QCOMPARE(p.arrayInfo->text(), QString());
    QCOMPARE(p.number->text(), number);
    QCOMPARE(p.numberInfo->text(), info);
    QVERIFY(recorder.messages.isEmpty());

    // The array box now holds those bytes: back again gives the number box's value.
    if (!number.isEmpty()) {
        p.number->clear();
        QTest::mouseClick(p.toNumber, Qt::LeftButton);
        QCOMPARE(p.number->text(), number);
    }
    if (QTest::currentDataTag() == QByteArray("3.14 float"))
        SaveScreenshot(&p.page, QStringLiteral("conversion_page"));
    if (QTest::currentDataTag() == QByteArray("1e39 float is infinity")) {
        p.arrayInfo->setText(QStringLiteral("请输入要转换的数组"));
        SaveScreenshot(&p.page, QStringLiteral("conversion_page_messages"));
    }
}

void TestConversionPage::arrayToNumber_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("numberInfo");
    QTest::addColumn<QString>("arrayInfo");
    const QString ok;
    const QString askForArray = QStringLiteral("请输入要转换的数组");
    QTest::newRow("FF FF FF FF long") << "FF FF FF FF" << int(Long) << "-1" << ok << ok;
    QTest::newRow("FF FF FF FF unsigned long") << "FF FF FF FF" << int(UnsignedLong) << "4294967295" << ok << ok;
    QTest::newRow("01 double") << "01" << int(Double) << "0.000000" << ok << ok;
    QTest::newRow("34 12 78 56 short") << "34 12 78 56" << int(Short) << "4660" << ok << ok;
    QTest::newRow("lower case, no blanks") << "c3f54840" << int(Float) << "3.140000" << ok << ok;
    QTest::newRow("float infinity") << "00 00 80 7F" << int(Float) << "" << "输入数据非法" << ok;
    QTest::newRow("largest double") << "FF FF FF FF FF FF EF 7F" << int(Double) << "" << "输入数据长度异常" << ok;
    QTest::newRow("empty") << "" << int(Long) << "7" << ok << askForArray;
    QTest::newRow("blanks only") << "   " << int(Long) << "7" << ok << askForArray;
    QTest::newRow("odd length") << "123" << int(Long) << "7" << ok << askForArray;
    QTest::newRow("nine bytes") << "00 11 22 33 44 55 66 77 88" << int(Long) << "7" << ok << askForArray;
    QTest::newRow("bad digit") << "0g" << int(Long) << "7" << ok << askForArray;
}

void TestConversionPage::arrayToNumber()
{
    QFETCH(QString, array);
    QFETCH(int, type);
    QFETCH(QString, number);
    QFETCH(QString, numberInfo);
    QFETCH(QString, arrayInfo);
    MessageRecorder recorder;
    Page p;
    p.number->setFocus();
    QTest::keyClicks(p.number, QStringLiteral("7"));
    if (!array.isEmpty())
        p.Paste(p.array, array);
    QCOMPARE(p.array->text(), array);  // the conversion page never rewrites the array text
    p.Choose(type);
    QTest::mouseClick(p.toNumber, Qt::LeftButton);

    QCOMPARE(p.number->text(), number);
    QCOMPARE(p.numberInfo->text(), numberInfo);
    QCOMPARE(p.arrayInfo->text(), arrayInfo);
    QCOMPARE(p.array->text(), array);
    QVERIFY(recorder.messages.isEmpty());
}

void TestConversionPage::emptyNumberAsksForData()
{
    Page p;
    p.Paste(p.array, QStringLiteral("12 34"));
    QTest::mouseClick(p.toArray, Qt::LeftButton);
    QCOMPARE(p.numberInfo->text(), QStringLiteral("请输入数据"));
    QCOMPARE(p.array->text(), QStringLiteral("12 34"));

    // A legal change clears the request again.
    p.number->setFocus();
    QTest::keyClicks(p.number, QStringLiteral("1"));
    QCOMPARE(p.numberInfo->text(), QString());
}

void TestConversionPage::typingIsFiltered_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("second point discarded") << "1.2.3" << "1.23";
    QTest::newRow("second minus discarded") << "-1e-5" << "-1e5";
    QTest::newRow("second e discarded") << "1e2e3" << "1e23";
    QTest::newRow("e and E counted apart") << "1e2E3" << "1e2E3";
    QTest::newRow("plus, comma and letters discarded") << "+1,5x" << "15";
    QTest::newRow("full-width digit discarded") << "１2" << "2";
}

void TestConversionPage::typingIsFiltered()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Page p;
    p.number->setFocus();
    for (QChar c : typed)  // QTest::keyClicks takes Latin-1 only
        QTest::sendKeyEvent(QTest::Click, p.number, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(p.number->text(), shown);
    QCOMPARE(p.numberInfo->text(), QString());

    // Editing keys still work: backspace, and a point may be typed again once the old one is gone.
    const QString before = p.number->text();
    QTest::keyClick(p.number, Qt::Key_Backspace);
    QCOMPARE(p.number->text(), before.chopped(1));
    p.number->setText(QStringLiteral("1.5"));
    QTest::keyClick(p.number, Qt::Key_Backspace);
    QTest::keyClick(p.number, Qt::Key_Backspace);
    QTest::keyClicks(p.number, QStringLiteral(".25"));
    QCOMPARE(p.number->text(), QStringLiteral("1.25"));
}

void TestConversionPage::pastedTextIsChecked_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("info");
    const QString illegal = QStringLiteral("输入数据非法");
    QTest::newRow("1.2.3") << "1.2.3" << "" << illegal;
    QTest::newRow("two minus signs") << "-1e-5" << "" << illegal;
    QTest::newRow("letter") << "12a" << "" << illegal;
    QTest::newRow("Chinese") << "一" << "" << illegal;
    QTest::newRow("+5") << "+5" << "+5" << "";
    QTest::newRow("1,5") << "1,5" << "1,5" << "";
    QTest::newRow("64 digits and blanks") << QString(32, u'1') + " " + QString(32, u'2') << QString(32, u'1') + " " + QString(32, u'2') << "";
    QTest::newRow("65 digits") << QString(65, u'1') << "" << "输入数据长度异常";
}

void TestConversionPage::pastedTextIsChecked()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(QString, info);
    MessageRecorder recorder;
    Page p;
    p.Paste(p.number, pasted);
    QCOMPARE(p.number->text(), shown);
    QCOMPARE(p.numberInfo->text(), info);
    QVERIFY(recorder.messages.isEmpty());

    // The message stays until the next legal change.
    QTest::keyClick(p.number, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(p.number, QStringLiteral("7"));
    QCOMPARE(p.number->text(), QStringLiteral("7"));
    QCOMPARE(p.numberInfo->text(), QString());
}

void TestConversionPage::typeButtonsActOnlyThroughTheArrows()
{
    Page p;
    p.number->setFocus();
    QTest::keyClicks(p.number, QStringLiteral("-1"));
    QTest::mouseClick(p.toArray, Qt::LeftButton);
    QCOMPARE(p.array->text(), QStringLiteral("FF FF"));

    p.Choose(Double);
    QCOMPARE(p.array->text(), QStringLiteral("FF FF"));
    QCOMPARE(p.number->text(), QStringLiteral("-1"));

    // The type in force is the one checked when an arrow is pressed.
    QTest::mouseClick(p.toNumber, Qt::LeftButton);
    QCOMPARE(p.number->text(), QStringLiteral("0.000000"));  // FF FF 00 00 00 00 00 00, subnormal
    p.Choose(UnsignedShort);
    QTest::mouseClick(p.toNumber, Qt::LeftButton);
    QCOMPARE(p.number->text(), QStringLiteral("65535"));
}

VELMORRA_UI_TEST_MAIN(TestConversionPage)
#include "tst_conversion_page.moc"
