#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "convert/conversion_page.h"
#include "test_support.h"

enum Type { Short, UnsignedShort, Long, UnsignedLong, Float, Double };
const QString illegal = QStringLiteral("输入数据非法"), tooLong = QStringLiteral("输入数据长度异常"), none;

struct Page {  // the page with its controls found by name, as a user would see it
    CConversionPage page;
    template <typename T> T* Child(const char* name) { return page.findChild<T*>(QLatin1String(name)); }
    QLineEdit *number = Child<QLineEdit>("numberEdit"), *array = Child<QLineEdit>("arrayEdit");
    QLabel *numberInfo = Child<QLabel>("numberInfoLine"), *arrayInfo = Child<QLabel>("arrayInfoLine");
    QPushButton *toArray = Child<QPushButton>("toArrayButton"), *toNumber = Child<QPushButton>("toNumberButton");
    Page() { page.resize(570, 440), page.show(); }
    QString Shown() const { return number->text() + '|' + numberInfo->text(); }

    void Paste(QLineEdit* edit, const QString& text) { QApplication::clipboard()->setText(text), QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); }
    void Convert(QPushButton* arrow, int type)  // a type button alone converts nothing
    {
        const QString before = Shown() + array->text();
        QTest::mouseClick(Child<QButtonGroup>("typeGroup")->button(type), Qt::LeftButton);
        QCOMPARE(Shown() + array->text(), before);
        QTest::mouseClick(arrow, Qt::LeftButton);
    }
};

// What is entered, the type, the array and number boxes afterwards, and the information line's text.
struct Case { QString entered; int type; QString array, number, info; };

Q_DECLARE_METATYPE(Case)

class TestConversionPage : public QObject {
    Q_OBJECT
    MessageRecorder recorder;
private slots:
    void cleanup() { QVERIFY2(recorder.messages.isEmpty(), "no message box, ever"); }

    void numberToArray_data()
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("-1 short") << Case{"-1", Short, "FF FF", "-1", none};
        QTest::newRow("-1 unsigned short") << Case{"-1", UnsignedShort, "FF FF", "65535", none};
        QTest::newRow("70000 short") << Case{"70000", Short, "70 11", "4464", none};
        QTest::newRow("-2 long") << Case{"-2", Long, "FE FF FF FF", "-2", none};
        QTest::newRow("+5 long") << Case{"+5", Long, "05 00 00 00", "5", none};
        QTest::newRow("1,5 unsigned long") << Case{"1,5", UnsignedLong, "01 00 00 00", "1", none};
        QTest::newRow("3.14 float") << Case{"3.14", Float, "C3 F5 48 40", "3.140000", none};
        QTest::newRow("largest float") << Case{"3.4028235677973362e38", Float, "FF FF 7F 7F", "340282346638528859811704183484516925440.000000", none};
        QTest::newRow("1e39 float") << Case{"1e39", Float, "00 00 80 7F", "", illegal};
        QTest::newRow("1.5 double") << Case{"1.5", Double, "00 00 00 00 00 00 F8 3F", "1.500000", none};
        QTest::newRow("1e56 double") << Case{"1e56", Double, "A9 3D 50 E2 31 50 90 4B", "100000000000000009190283508143378238084034459715684532224.000000", none};
        QTest::newRow("1e57 double") << Case{"1e57", Double, "13 4D E4 5A 3E 64 C4 4B", "", tooLong};
        QTest::newRow("empty") << Case{"", Long, "", "", QStringLiteral("请输入数据")};
    }
    void numberToArray()  // and the bytes back again to the same number
    {
        QFETCH(Case, c);
        Page p;
        p.Paste(p.number, c.entered);
        QCOMPARE(p.number->text(), c.entered);
        p.Convert(p.toArray, c.type);
        QCOMPARE(p.array->text(), c.array);
        QCOMPARE(p.Shown(), c.number + '|' + c.info);
        if (QTest::currentDataTag() == QByteArray("3.14 float"))
            SaveScreenshot(&p.page, QStringLiteral("conversion_page"));
        p.number->clear();
        QTest::mouseClick(p.toNumber, Qt::LeftButton);
        QCOMPARE(p.Shown(), c.number + '|' + c.info);
    }

    void arrayToNumber_data()  // info: the array's line once pasted; a refused array leaves the typed 7
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("FF FF FF FF long") << Case{"FF FF FF FF", Long, "", "-1", none};
        QTest::newRow("FF FF FF FF unsigned long") << Case{"FF FF FF FF", UnsignedLong, "", "4294967295", none};
        QTest::newRow("01 double") << Case{"01", Double, "", "0.000000", none};
        QTest::newRow("34 12 78 56 short") << Case{"34 12 78 56", Short, "", "4660", none};
        QTest::newRow("empty") << Case{"", Long, "", "7", none};
        QTest::newRow("odd length") << Case{"123", Long, "", "7", QStringLiteral("数据长度错误")};
        QTest::newRow("nine bytes") << Case{"00 11 22 33 44 55 66 77 88", Long, "", "7", QStringLiteral("数据长度不能超过8")};
        QTest::newRow("bad digit") << Case{"0g", Long, "", "7", QStringLiteral("数据格式错误")};
    }
    void arrayToNumber()
    {
        QFETCH(Case, c);
        Page p;
        QTest::keyClick(p.number, Qt::Key_7);
        p.Paste(p.array, c.entered);
        QCOMPARE(p.arrayInfo->text(), c.info);
        p.Convert(p.toNumber, c.type);
        QCOMPARE(p.Shown(), c.number + '|');
        QCOMPARE(p.arrayInfo->text(), c.number == "7" ? QStringLiteral("请输入要转换的数组") : none);
        QCOMPARE(p.array->text(), c.entered);  // never rewritten
    }

    void numberEntry_data()  // type: 1 when pasted, 0 when typed key by key
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("typed second point") << Case{"1.2.3", 0, "", "1.23", none};
        QTest::newRow("typed second minus") << Case{"-1e-5", 0, "", "-1e5", none};
        QTest::newRow("typed second e, E apart") << Case{"1e2E3e", 0, "", "1e2E3", none};
        QTest::newRow("typed plus, comma, letter, full-width") << Case{"+1,5x１", 0, "", "15", none};
        QTest::newRow("typed point once the old is erased") << Case{"1.5\b\b.25", 0, "", "1.25", none};
        QTest::newRow("pasted 1.2.3") << Case{"1.2.3", 1, "", "", illegal};
        QTest::newRow("pasted Chinese") << Case{"一", 1, "", "", illegal};
        QTest::newRow("pasted 64 digits") << Case{QString(32, u'1') + " " + QString(32, u'2'), 1, "", QString(32, u'1') + " " + QString(32, u'2'), none};
        QTest::newRow("pasted 65 digits") << Case{QString(65, u'1'), 1, "", "", tooLong};
    }
    void numberEntry()  // a refused text is emptied before the message shows, which stays until a legal change
    {
        QFETCH(Case, c);
        Page p;
        p.Paste(p.number, c.type ? c.entered : QString());
        for (QChar k : c.type ? QString() : c.entered)
            QTest::sendKeyEvent(QTest::Click, p.number, k == '\b' ? Qt::Key_Backspace : Qt::Key_unknown, QString(k), Qt::NoModifier);
        QCOMPARE(p.Shown(), c.number + '|' + c.info);
        QTest::keyClick(p.number, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(p.number, Qt::Key_7);
        QCOMPARE(p.Shown(), QStringLiteral("7|"));
    }
};

VELMORRA_UI_TEST_MAIN(TestConversionPage)
#include "tst_conversion_page.moc"
