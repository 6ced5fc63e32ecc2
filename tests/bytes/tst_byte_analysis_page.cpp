#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include "bytes/byte_analysis_page.h"
#include "bytes/find_value_dialog.h"
#include "common/editable_list_ctrl.h"
#include "test_support.h"

namespace {

enum { NUMBER, TYPE, LENGTH, MEMORY, VALUE };

// The page as the tab shows it, its controls found by name.
struct Page {
    Page()
    {
        page.resize(570, 440);
        page.show();
        QApplication::setActiveWindow(&page);
    }
    template <typename T> T* Child(const char* name) { return page.findChild<T*>(QLatin1String(name)); }
    void Click(const char* button) { QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton); }
    QAbstractButton* Order(int group, int index) { return Child<QButtonGroup>(qPrintable(QStringLiteral("orderGroup%1").arg(group)))->button(index); }
    void Enter(const QString& hex) { edit->setPlainText(hex); }
    // Adds rows of "TYPE:length" through the add button and the cells the editors write.
    void Define(const QString& variables)
    {
        for (const QString& variable : variables.split(QLatin1Char(','))) {
            Click("addButton");
            const int row = list->rowCount() - 1;
            list->SetCellText(row, TYPE, variable.section(QLatin1Char(':'), 0, 0));
            list->SetCellText(row, LENGTH, variable.section(QLatin1Char(':'), 1, 1));
        }
    }
    QString Row(int row) const
    {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column)
            cells << list->CellText(row, column);
        return cells.join(QLatin1Char('|'));
    }
    QStringList Decoded() const
    {
        QStringList rows;
        for (int row = 0; row < list->rowCount(); ++row)
            rows << list->CellText(row, MEMORY) + QLatin1Char('|') + list->CellText(row, VALUE);
        return rows;
    }
    QString Selection() const
    {
        const QTextCursor cursor = edit->textCursor();
        return QStringLiteral("%1-%2").arg(cursor.selectionStart()).arg(cursor.selectionEnd());
    }
    QPoint Cell(int row, int column) const { return list->visualItemRect(list->item(row, column)).center(); }
    void Press(int row, int column, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, Cell(row, column));
    }

    MessageRecorder recorder;
    CByteAnalysisPage page;
    QPlainTextEdit* edit = Child<QPlainTextEdit>("hexEdit");
    QLabel* status = Child<QLabel>("infoLine");
    CEditableListCtrl* list = Child<CEditableListCtrl>("variableList");
};

const QString ATRIGHT = QStringLiteral("已右移到尾部！"), ATLEFT = QStringLiteral("已左移到首部！"),
              LOCKFIRST = QStringLiteral("请首先锁定数据！"), NOREGION = QStringLiteral("请选择解析区域！");

} // namespace

class TestByteAnalysisPage : public QObject {
    Q_OBJECT
private slots:
    void lockAndRegionMoves();
    void listCommands();
    void byteOrderButtonsRedecodeTheirType();
    void clickedVariableMarksItsBytes();
    void typeDropDownResetsTheLength();
    void refusalsAndKeys();
    void conversionsReceiveTheValue();
    void findValueMarksAndApplies();
    void findValueCopiesWhatTheRowSays();
    void everyControlHasAName();
};

void TestByteAnalysisPage::lockAndRegionMoves()
{
    Page p;
    p.Click("lockButton");
    QCOMPARE(p.recorder.Texts(), QStringList{QStringLiteral("输入数据不符合要求，无法锁定数据！")});
    QVERIFY(p.edit->isEnabled());
    p.Enter(QStringLiteral("12 3"));
    p.Click("lockButton");
    p.Click("headRightButton");
    QCOMPARE(p.recorder.Texts().mid(1), (QStringList{QStringLiteral("输入数据不符合要求，无法锁定数据！"), LOCKFIRST}));
    QVERIFY(!p.page.Locked() && p.edit->isEnabled());

    p.recorder.Clear();
    p.Enter(QStringLiteral("12345678"));
    p.Define(QStringLiteral("UCHAR:1"));
    p.Click("lockButton");
    QVERIFY(p.page.Locked() && !p.edit->isEnabled() && !p.Child<QPushButton>("lockButton")->isEnabled());
    QCOMPARE(p.Selection(), QStringLiteral("0-12"));
    QCOMPARE(p.list->CellText(0, VALUE), QString());  // locking decodes nothing
    p.Click("tailRightButton");
    QCOMPARE(p.recorder.Texts(), QStringList{ATRIGHT});
    for (int move = 1; move <= 4; ++move) {
        p.Click("headRightButton");
        QCOMPARE(p.page.Head(), 3 * move);
        QCOMPARE(p.Selection(), QStringLiteral("%1-12").arg(3 * move));
    }
    QCOMPARE(p.status->text(), NOREGION);
    QCOMPARE(p.list->CellText(0, VALUE), QStringLiteral("120"));  // 78, from the third move
    p.Click("headRightButton");
    p.Click("tailLeftButton");
    QCOMPARE(p.recorder.Texts(), (QStringList{ATRIGHT, ATRIGHT, ATLEFT}));
    p.Click("headLeftButton");
    QCOMPARE(p.list->CellText(0, VALUE), QStringLiteral("120"));
    QVERIFY(p.status->text().isEmpty());

    p.Click("unlockButton");
    QVERIFY(!p.page.Locked() && p.edit->isEnabled() && !p.edit->textCursor().hasSelection());
    QCOMPARE(p.page.Head(), 9);  // the region stays for the next refresh
    p.Click("headLeftButton");
    QCOMPARE(p.recorder.Texts().last(), LOCKFIRST);
}

void TestByteAnalysisPage::listCommands()
{
    Page p;
    p.Click("removeButton");
    QCOMPARE(p.recorder.Texts(), QStringList{QStringLiteral("请选择要移除的变量类型！")});
    p.Define(QStringLiteral("UCHAR:1,UINT:2,FLOAT:4"));
    QCOMPARE(p.Row(2), QStringLiteral("3|FLOAT|4||"));
    p.list->selectRow(1);
    p.Click("removeButton");
    QCOMPARE(p.Row(0) + ',' + p.Row(1), QStringLiteral("1|UCHAR|1||,2|FLOAT|4||"));

    p.Enter(QStringLiteral("01 02 03 04 05"));
    p.Click("lockButton");
    p.Click("refreshButton");
    QCOMPARE(p.Decoded(), (QStringList{"01|1", "05 04 03 02 |0.000"}));
    p.list->selectRow(0);
    p.Click("upButton");
    p.list->selectRow(1);
    p.Click("downButton");
    QCOMPARE(p.Row(0), QStringLiteral("1|UCHAR|1|01|1"));
    p.Click("upButton");  // the definitions swap, the selection stays on the second row, and it decodes again
    QCOMPARE(p.Row(0), QStringLiteral("1|FLOAT|4|04 03 02 01 |0.000"));
    QCOMPARE(p.Row(1), QStringLiteral("2|UCHAR|1|05|5"));
    QCOMPARE(p.list->FirstSelectedRow(), 1);
    QCOMPARE(p.recorder.Texts().size(), 1);

    // Registrations belong to positions: after removing the last of three rows and adding one,
    // the new row's cells open their editors as before.
    p.Define(QStringLiteral("BCD:1"));
    p.list->selectRow(2);
    p.Click("removeButton");
    p.Click("addButton");
    p.Press(2, TYPE);
    QVERIFY(qobject_cast<QComboBox*>(p.list->ActiveEditor()));
}

void TestByteAnalysisPage::byteOrderButtonsRedecodeTheirType()
{
    Page p;
    p.Enter(QStringLiteral("12 34 FF FE"));
    p.Define(QStringLiteral("UINT:2,INT:2"));
    p.Click("lockButton");
    p.Click("refreshButton");
    QCOMPARE(p.Decoded(), (QStringList{"12 34 |13330", "FF FE |-257"}));
    QTest::mouseClick(p.Order(0, 1), Qt::LeftButton);
    QCOMPARE(p.Decoded(), (QStringList{"34 12 |4660", "FF FE |-257"}));
    QTest::mouseClick(p.Order(1, 1), Qt::LeftButton);
    QCOMPARE(p.Decoded(), (QStringList{"34 12 |4660", "FE FF |-2"}));
    // No row of the type: the choice waits for the next pass.
    p.list->SetCellText(0, VALUE, QStringLiteral("kept"));
    QTest::mouseClick(p.Order(2, 0), Qt::LeftButton);
    QCOMPARE(p.list->CellText(0, VALUE), QStringLiteral("kept"));

    p.Click("unlockButton");
    p.Enter(QStringLiteral("12 34 56 78 00 00 80 3F"));
    p.list->SetCellText(0, TYPE, QStringLiteral("DWORD"));
    p.list->SetCellText(0, LENGTH, QStringLiteral("4"));
    p.list->SetCellText(1, TYPE, QStringLiteral("FLOAT"));
    p.list->SetCellText(1, LENGTH, QStringLiteral("4"));
    p.Click("lockButton");
    const QString dwords[] = {"12 34 56 78 |2018915346", "78 56 34 12 |873625686", "34 12 78 56 |1450709556", "78 56 34 12 |305419896"};
    for (int order = 0; order < 4; ++order) {
        QTest::mouseClick(p.Order(3, order), Qt::LeftButton);
        QCOMPARE(p.Decoded().at(0), dwords[order]);
    }
    QCOMPARE(p.Decoded().at(1), QStringLiteral("00 00 80 3F |1.000"));  // FLOAT reads as it stands: index 0 from above
    QTest::mouseClick(p.Order(2, 3), Qt::LeftButton);
    QCOMPARE(p.Decoded().at(1), QStringLiteral("3F 80 00 00 |0.000"));

    p.list->SetCellText(0, TYPE, QStringLiteral("ANSI"));
    p.Click("unlockButton");
    p.Enter(QStringLiteral("C4 E3 BA C3 00 41"));
    p.list->SetCellText(0, LENGTH, QStringLiteral("6"));
    p.list->SetCellText(1, TYPE, QString());
    p.Click("lockButton");
    p.Click("refreshButton");
    QCOMPARE(p.Decoded(), (QStringList{QStringLiteral("C4 E3 BA C3 00 41 |你好A"), "-|-"}));
}

void TestByteAnalysisPage::clickedVariableMarksItsBytes()
{
    Page p;
    p.Enter(QStringLiteral("01 02 03 04 05 06 07"));
    p.Define(QStringLiteral("UINT:2,DWORD:4"));
    p.Press(1, NUMBER);
    QCOMPARE(p.Selection(), QStringLiteral("6-17"));  // characters 6 to 16, the last blank left out
    p.Click("lockButton");
    p.Click("headRightButton");
    p.Press(0, MEMORY);
    QCOMPARE(p.Selection(), QStringLiteral("3-8"));
    QCOMPARE(p.page.Head(), 3);
    SaveScreenshot(&p.page, QStringLiteral("byte_analysis_page_variable"));

    // Past the frame the mark ends with the text; moved back before it, it starts with the text.
    p.list->SetCellText(1, LENGTH, QStringLiteral("9"));
    p.Press(1, NUMBER);
    QCOMPARE(p.Selection(), QStringLiteral("9-21"));
    p.list->SetCellText(0, LENGTH, QStringLiteral("-2"));
    p.Press(1, NUMBER);
    QCOMPARE(p.Selection(), QStringLiteral("0-21"));
}

void TestByteAnalysisPage::typeDropDownResetsTheLength()
{
    Page p;
    p.Click("addButton");
    p.Press(0, TYPE);
    auto* combo = qobject_cast<QComboBox*>(p.list->ActiveEditor());
    QVERIFY(combo);
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    QCOMPARE(entries, (QStringList{"UCHAR", "CHAR", "UINT", "INT", "FLOAT", "DWORD", "LONG", "ANSI", "BCD"}));
    combo->setCurrentIndex(7);
    QTest::keyClick(combo, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(p.Row(0), QStringLiteral("1|ANSI|1||"), 10000);

    p.Press(0, LENGTH);
    auto* edit = qobject_cast<QLineEdit*>(p.list->ActiveEditor());
    QVERIFY(edit);
    QTest::keyClicks(edit, QStringLiteral("10"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(p.Row(0), QStringLiteral("1|ANSI|10||"), 10000);

    p.Press(0, TYPE);  // closed again, even by Escape: the length goes back to the type's own
    combo = qobject_cast<QComboBox*>(p.list->ActiveEditor());
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), QStringLiteral("ANSI"));
    QTest::keyClick(combo, Qt::Key_Escape);
    QTRY_COMPARE_WITH_TIMEOUT(p.Row(0), QStringLiteral("1|ANSI|1||"), 10000);
}

void TestByteAnalysisPage::refusalsAndKeys()
{
    Page p;
    p.Enter(QStringLiteral("0g"));
    QCOMPARE(p.recorder.Texts(), QStringList{QStringLiteral("数据格式错误，请重新确认！")});
    QCOMPARE(p.status->text(), QStringLiteral("数据格式错误，请重新确认！"));
    QCOMPARE(p.edit->toPlainText(), QStringLiteral("0g"));
    p.Enter(QStringLiteral("123"));
    QCOMPARE(p.status->text(), QStringLiteral("数据长度错误，请确认！"));
    p.Enter(QStringLiteral("00").repeated(513));
    QCOMPARE(p.recorder.Texts().last(), QStringLiteral("数据长度不能超过512！"));

    p.recorder.Clear();
    p.Click("engineeringButton");
    p.Click("mathButton");
    p.Click("findButton");
    QCOMPARE(p.recorder.Texts(), (QStringList{QStringLiteral("请选择要进行工程转换的数值！"), QStringLiteral("请选择要进行数学转换的数值！"),
                                              QStringLiteral("请先输入16进制数据！")}));

    // Enter and Escape outside an editor neither close nor change anything.
    p.Enter(QStringLiteral("01"));
    p.Define(QStringLiteral("UCHAR:1"));
    p.list->setFocus();
    QTest::keyClick(p.list, Qt::Key_Return);
    QTest::keyClick(p.list, Qt::Key_Escape);
    QVERIFY(p.page.isVisible() && !p.list->ActiveEditor());
    QCOMPARE(p.Row(0), QStringLiteral("1|UCHAR|1||"));
}

void TestByteAnalysisPage::conversionsReceiveTheValue()
{
    Page p;
    p.Enter(QStringLiteral("0C"));
    p.Define(QStringLiteral("UCHAR:1,nothing:1"));
    p.Click("lockButton");
    p.Click("refreshButton");
    const QStringList before{p.Row(0), p.Row(1)};
    QStringList seen;
    for (int row : {0, 1}) {
        for (const char* button : {"engineeringButton", "mathButton"}) {
            QTimer::singleShot(0, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                QVERIFY(dialog);
                const auto close = qScopeGuard([dialog] { static_cast<QDialog*>(dialog)->reject(); });
                const auto* value = dialog->findChild<QLineEdit*>(QStringLiteral("testDataEdit")) ? dialog->findChild<QLineEdit*>(QStringLiteral("testDataEdit"))
                                                                                            : dialog->findChild<QLineEdit*>(QStringLiteral("valueEdit"));
                seen << dialog->windowTitle() + QLatin1Char('=') + value->text();
            });
            p.list->selectRow(row);
            p.Click(button);
        }
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("工程转换=12"), QStringLiteral("数学转换=12"), QStringLiteral("工程转换=-"), QStringLiteral("数学转换=-")}));
    QCOMPARE((QStringList{p.Row(0), p.Row(1)}), before);
    QVERIFY(p.recorder.messages.isEmpty());
}

void TestByteAnalysisPage::findValueMarksAndApplies()
{
    Page p;
    // 230.5 as FLOAT FF3 FF4 FF1 FF2 at the eighth byte, after seven other bytes.
    p.Enter(QStringLiteral("01 02 03 04 05 06 07 43 66 80 00 09"));
    p.Define(QStringLiteral("UCHAR:1,UCHAR:1,UCHAR:1,UCHAR:1,UCHAR:1,UCHAR:1,UCHAR:1,FLOAT:4"));
    QTest::mouseClick(p.Order(2, 0), Qt::LeftButton);
    p.Click("lockButton");
    p.Click("refreshButton");
    QCOMPARE(p.list->CellText(7, VALUE), QStringLiteral("0.000"));

    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CFindValueDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto close = qScopeGuard([dialog] { dialog->reject(); });
        auto* reading = dialog->findChild<QLineEdit*>(QStringLiteral("readingEdit"));
        auto* hits = dialog->findChild<QTableWidget*>(QStringLiteral("hitList"));
        QTest::keyClicks(reading, QStringLiteral("230.5"));
        QVERIFY(hits->rowCount() >= 1);
        QCOMPARE(hits->item(0, 1)->text() + ' ' + hits->item(0, 2)->text() + ' ' + hits->item(0, 3)->text(),
                 QStringLiteral("8 FLOAT FF3 FF4 FF1 FF2"));
        SaveScreenshot(dialog, QStringLiteral("find_value_dialog"));
        hits->selectRow(0);
        QCOMPARE(p.Selection(), QStringLiteral("21-32"));  // its four bytes marked in the hex box
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("applyButton")), Qt::LeftButton);
        QVERIFY(p.Order(2, 3)->isChecked());
        QCOMPARE(p.list->CellText(7, VALUE), QStringLiteral("230.500"));
        const QPoint at = hits->visualItemRect(hits->item(0, 2)).center();
        QTest::mouseClick(hits->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(hits->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("第8字节 FLOAT FF3 FF4 FF1 FF2 = 230.5"));
        QTest::keyClicks(reading, QStringLiteral("x"));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("infoLine"))->text(), QStringLiteral("输入数据非法"));
        QCOMPARE(reading->text(), QStringLiteral("230.5x"));
        checked = true;
    });
    p.Click("findButton");
    QVERIFY(checked);
    QCOMPARE(p.page.Head(), 0);  // neither the region nor the list changed
    QCOMPARE(p.page.Tail(), 36);
    QCOMPARE(p.list->rowCount(), 8);
}

void TestByteAnalysisPage::findValueCopiesWhatTheRowSays()
{
    // 100 read as 10.0 at the scale 0.1: the copied line keeps the scale the row shows, and the
    // difference is the shown value's, 0.
    Page p;
    p.Enter(QStringLiteral("64 00 C7 08"));
    QStringList lines, rows;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CFindValueDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto close = qScopeGuard([dialog] { dialog->reject(); });
        auto* hits = dialog->findChild<QTableWidget*>(QStringLiteral("hitList"));
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("readingEdit")), QStringLiteral("224.7"));
        for (int row = 0; row < hits->rowCount(); ++row) {
            const QPoint at = hits->visualItemRect(hits->item(row, 1)).center();
            QTest::mouseClick(hits->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(hits->viewport(), Qt::LeftButton, {}, at);
            lines << QGuiApplication::clipboard()->text();
            QString order = hits->item(row, 3)->text();
            rows << QStringLiteral("第%1字节 %2%3 = %4 (%5)")
                        .arg(hits->item(row, 1)->text(), hits->item(row, 2)->text(),
                             order.isEmpty() ? QString() : QLatin1Char(' ') + order, hits->item(row, 5)->text(),
                             hits->item(row, 6)->text());
        }
    });
    p.Click("findButton");
    QVERIFY(!lines.isEmpty());
    QCOMPARE(rows.first(), QStringLiteral("第3字节 UINT FF1 FF2 = 2247×0.1=224.7 (0)"));
    for (int k = 0; k < lines.size(); ++k)
        QCOMPARE(lines[k] + rows[k].mid(rows[k].lastIndexOf(QLatin1String(" ("))), rows[k]);
}

void TestByteAnalysisPage::everyControlHasAName()
{
    // The page as a user leaves it: a locked frame, its region marked, five variables decoded.
    Page p;
    p.Enter(QStringLiteral("12 34 41 48 00 00 00 01 E2 40 41 42 43 20 26 FF"));
    p.Define(QStringLiteral("UINT:2,FLOAT:4,DWORD:4,ANSI:3,BCD:2"));
    p.Click("lockButton");
    p.Click("tailLeftButton");
    p.list->selectRow(1);
    QCOMPARE(p.Decoded(), (QStringList{"12 34 |13330", "00 00 48 41 |12.500", "40 E2 01 00 |123456", "41 42 43 |ABC", "20 26 |2026"}));
    QCOMPARE(p.Selection(), QStringLiteral("0-45"));
    SaveScreenshot(&p.page, QStringLiteral("byte_analysis_page"));
    QVERIFY(p.recorder.messages.isEmpty());

    const QList<QLabel*> labels = p.page.findChildren<QLabel*>();
    for (QWidget* control : p.page.findChildren<QWidget*>()) {
        if ((!qobject_cast<QPlainTextEdit*>(control) && !qobject_cast<QLineEdit*>(control) &&
             !qobject_cast<QAbstractItemView*>(control)) ||
            qobject_cast<QHeaderView*>(control) || !control->isVisibleTo(&p.page))
            continue;
        const bool buddied = std::any_of(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == control; });
        QVERIFY2(buddied || !control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
}

VELMORRA_UI_TEST_MAIN(TestByteAnalysisPage)
#include "tst_byte_analysis_page.moc"
