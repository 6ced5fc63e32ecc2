#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include "common/editable_list_ctrl.h"
#include "common/list_combo_editor.h"
#include "common/list_edit_editor.h"
#include "test_support.h"

namespace {

const QStringList TYPES = {"UCHAR", "CHAR", "UINT", "INT", "FLOAT", "DWORD", "LONG", "ANSI", "BCD"};

// The list as the byte page sets it up, in a dialog with a default button and another field.
struct ListDialog {
    ListDialog()
    {
        dialog.resize(420, 260);
        list->setGeometry(5, 5, 400, 150);
        other->setGeometry(5, 165, 100, 22);
        ok->setGeometry(320, 200, 80, 26);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++okClicks; });
        const char* headers[] = {"序号", "数据类型", "长度", "内存块信息", "数值"};
        const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignCenter, Qt::AlignCenter, Qt::AlignCenter, Qt::AlignRight};
        const int widths[] = {45, 100, 45, 220, 130};
        for (int c = 0; c < 5; ++c)
            list->InsertColumn(c, QString::fromUtf8(headers[c]), alignments[c], widths[c]);
        list->verticalHeader()->setDefaultSectionSize(18);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->SetPerCellEditing(true);
        list->SetReadOnlyColumn(0, true);
        for (int r = 0; r < 3; ++r)
            AddRow();
        QObject::connect(list, &CEditableListCtrl::CellPressed, [this](int r, int c) {
            log << QStringLiteral("press %1 %2 first=%3").arg(r).arg(c).arg(list->FirstSelectedRow());
        });
        QObject::connect(list, &CEditableListCtrl::WM_LISTEDIT_FILLCHOICES, [this](int c, QStringList* out) {
            log << QStringLiteral("fill %1").arg(c);
            *out = choices;
        });
        QObject::connect(list, &CEditableListCtrl::WM_LISTEDIT_ENDEDIT, [this](int r, int c, const QString& text) {
            log << QStringLiteral("end %1 %2 '%3' cell='%4'").arg(r).arg(c).arg(text, list->CellText(r, c));
        });
        QObject::connect(list, &CEditableListCtrl::WM_LISTEDIT_CLOSED, [this](int r, int c) {
            log << QStringLiteral("closed %1 %2 open=%3").arg(r).arg(c).arg(list->ActiveEditor() != nullptr);
        });
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        [&] { QVERIFY(QTest::qWaitForWindowActive(&dialog, 30000)); }();
    }
    void AddRow()
    {
        const int n = list->rowCount();
        list->insertRow(n);
        list->SetCellText(n, 0, QString::number(n + 1));
        list->SetCellEditor(n, 1, CellEditorKind::Combo);
        list->SetCellEditor(n, 2, CellEditorKind::Edit);
    }
    QPoint Centre(int row, int column) const { return list->visualRect(list->model()->index(row, column)).center(); }
    void Click(int row, int column, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, Centre(row, column));
    }
    QString EditorClass() const { return list->ActiveEditor() ? list->ActiveEditor()->metaObject()->className() : QString(); }
    QList<int> SelectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // Before the dialog: its destruction ends an open edit, whose notices are logged.
    int okClicks = 0;
    QStringList choices = TYPES;
    QStringList log;
    QDialog dialog;
    CEditableListCtrl* list = new CEditableListCtrl(&dialog);
    QLineEdit* other = new QLineEdit(&dialog);
    QPushButton* ok = new QPushButton(QStringLiteral("确定"), &dialog);
};

QString EditorClassOf(const CEditableListCtrl* list)
{
    return list->ActiveEditor() ? QString::fromLatin1(list->ActiveEditor()->metaObject()->className()) : QString();
}

} // namespace

class TestEditableListCtrl : public QObject {
    Q_OBJECT
private slots:
    void editEndsWithWriteThenNotices_data();
    void editEndsWithWriteThenNotices();
    void pressSelects_data();
    void pressSelects();
    void registryAndWidthChooseTheEditor_data();
    void registryAndWidthChooseTheEditor();
    void editorKindFollowsItsRow_data();
    void editorKindFollowsItsRow();
    void editWritesIntoItsRowWhenRowsMove();
    void cellScrolledIntoView_data();
    void cellScrolledIntoView();
    void dropDownListShowsTenAndCommitsOnClose_data();
    void dropDownListShowsTenAndCommitsOnClose();
    void editBoxDropsCharactersNotAllowed();
    void keysOpenTheEditorAsAClickDoes_data();
    void keysOpenTheEditorAsAClickDoes();
    void cutTextShowsWholeAsTip();
};

void TestEditableListCtrl::editEndsWithWriteThenNotices_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("expected");
    QTest::newRow("drop-down Enter") << 1 << "FLOAT" << "d" << "Enter" << "DWORD";
    QTest::newRow("drop-down Escape over FLOAT") << 1 << "FLOAT" << "d" << "Escape" << "FLOAT";
    QTest::newRow("drop-down Escape over empty") << 1 << "" << "d" << "Escape" << "";
    QTest::newRow("drop-down, empty preselects nothing") << 1 << "" << "" << "Enter" << "";
    QTest::newRow("drop-down, prefix, case ignored") << 1 << "fL" << "" << "Enter" << "FLOAT";
    QTest::newRow("drop-down, first of several") << 1 << "u" << "" << "Enter" << "UCHAR";
    QTest::newRow("drop-down, longer prefix") << 1 << "UIN" << "" << "Enter" << "UINT";
    QTest::newRow("drop-down, no entry matches") << 1 << "FLOATS" << "" << "click elsewhere" << "";
    QTest::newRow("drop-down list closed unchosen") << 1 << "xyz" << "" << "list closed" << "";
    QTest::newRow("drop-down Escape in the list") << 1 << "FLOAT" << "" << "Escape in list" << "FLOAT";
    QTest::newRow("edit Enter") << 2 << "4" << "12" << "Enter" << "12";
    QTest::newRow("edit Escape") << 2 << "4" << "12" << "Escape" << "4";
    QTest::newRow("edit Enter to the list") << 2 << "4" << "12" << "Enter to list" << "12";
    QTest::newRow("edit, click elsewhere") << 2 << "4" << "7" << "click elsewhere" << "7";
    QTest::newRow("edit, scroll bar") << 2 << "" << "7" << "scroll bar" << "7";
}

void TestEditableListCtrl::editEndsWithWriteThenNotices()
{
    QFETCH(int, column);
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, ending);
    QFETCH(QString, expected);
    ListDialog d;
    const int row = 1;
    if (!start.isEmpty())
        d.list->SetCellText(row, column, start);
    d.Click(row, column);
    QWidget* editor = d.list->ActiveEditor();
    QVERIFY(editor);
    QCOMPARE(QApplication::focusWidget(), editor);
    QCOMPARE(editor->geometry(), d.list->visualRect(d.list->model()->index(row, column)));
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        QVERIFY(!combo->view()->isVisible());  // never opened by itself
    QTest::keyClicks(editor, typed);
    QCOMPARE(d.list->CellText(row, column), start);  // the cell changes only on commit

    if (ending == "Enter" || ending == "Escape")
        QTest::keyClick(editor, ending == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
    else if (ending == "Enter to list")
        QTest::keyClick(d.list, Qt::Key_Return);
    else if (ending == "click elsewhere")
        QTest::mouseClick(d.other, Qt::LeftButton);
    else if (ending == "scroll bar")
        QTest::mouseClick(d.list->horizontalScrollBar(), Qt::LeftButton);
    else {
        auto* combo = qobject_cast<QComboBox*>(editor);
        combo->showPopup();
        QTRY_VERIFY_WITH_TIMEOUT(combo->view()->isVisible(), 10000);
        if (ending == "list closed")
            combo->hidePopup();
        else
            QTest::keyClick(combo->view(), Qt::Key_Escape);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!d.list->ActiveEditor(), 10000);

    const QString closed = column == 1 ? QStringLiteral("closed 1 1 open=0") : QStringLiteral("closed 0 0 open=0");
    QStringList log = {QStringLiteral("press 1 %1 first=1").arg(column)};
    if (column == 1)
        log << QStringLiteral("fill 1");
    log << QStringLiteral("end 1 %1 '%2' cell='%2'").arg(column).arg(expected) << closed;
    QCOMPARE(d.log, log);
    QCOMPARE(d.list->CellText(row, column), expected);
    QCOMPARE(d.list->item(row, column)->textAlignment(), int(Qt::AlignCenter));
    QCOMPARE(d.okClicks, 0);
    QVERIFY(d.dialog.isVisible());
    if (ending == "Enter" || ending == "Escape")
        QCOMPARE(QApplication::focusWidget(), d.list);
}

void TestEditableListCtrl::pressSelects_data()
{
    QTest::addColumn<bool>("allSelected");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("editor");
    const Qt::KeyboardModifiers none;
    QTest::newRow("Shift") << false << Qt::KeyboardModifiers(Qt::ShiftModifier) << "cell" << QList<int>{0, 1, 2} << "";
    QTest::newRow("Ctrl") << false << Qt::KeyboardModifiers(Qt::ControlModifier) << "cell" << QList<int>{0, 2} << "";
    QTest::newRow("plain inside a selection") << true << none << "cell" << QList<int>{2} << "CListComboEditor";
    QTest::newRow("below the last row") << false << none << "below" << QList<int>{0} << "";
    QTest::newRow("right of the last column") << true << none << "right" << QList<int>{0, 1, 2} << "";
}

void TestEditableListCtrl::pressSelects()
{
    QFETCH(bool, allSelected);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, where);
    QFETCH(QList<int>, rows);
    QFETCH(QString, editor);
    ListDialog d;
    d.list->setColumnWidth(3, 60);
    d.Click(0, 0);  // the read-only column: selects, opens nothing
    QCOMPARE(d.EditorClass(), QString());
    if (allSelected)
        d.list->selectAll();
    d.log.clear();
    QPoint point = d.Centre(2, 1);
    if (where == "below")
        point.ry() += 36;
    else if (where == "right")
        point.rx() = d.list->horizontalHeader()->length() + 5;
    QTest::mouseClick(d.list->viewport(), Qt::LeftButton, modifiers, point);
    QCOMPARE(d.SelectedRows(), rows);
    // The selection is final when the owner hears of the press; outside the cells it hears nothing.
    QCOMPARE(d.log.value(0), where == "cell" ? QStringLiteral("press 2 1 first=%1").arg(rows[0]) : QString());
    QCOMPARE(d.list->currentRow(), where == "cell" ? 2 : 0);
    QCOMPARE(d.EditorClass(), editor);
}

void TestEditableListCtrl::registryAndWidthChooseTheEditor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("editor");
    QTest::newRow("drop-down, 9 px") << 0 << 1 << 9 << "";
    QTest::newRow("drop-down, 10 px") << 0 << 1 << 10 << "CListComboEditor";
    QTest::newRow("edit box, 9 px") << 0 << 2 << 9 << "CListEditEditor";
    QTest::newRow("first record wins") << 0 << 3 << 60 << "CListEditEditor";
    QTest::newRow("first record, none, wins") << 0 << 4 << 60 << "";
    QTest::newRow("read-only column") << 0 << 0 << 45 << "";
    QTest::newRow("row removed and added unregistered: no drop-down") << 2 << 1 << 100 << "";
    QTest::newRow("row removed and added unregistered: no edit box") << 2 << 2 << 45 << "";
    QTest::newRow("position never registered") << 3 << 1 << 100 << "";
}

void TestEditableListCtrl::registryAndWidthChooseTheEditor()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, width);
    QFETCH(QString, editor);
    ListDialog d;
    d.list->SetCellEditor(0, 3, CellEditorKind::Edit);
    d.list->SetCellEditor(0, 3, CellEditorKind::Combo);
    d.list->SetCellEditor(0, 4, CellEditorKind::None);
    d.list->SetCellEditor(0, 4, CellEditorKind::Edit);
    d.list->SetCellEditor(0, 0, CellEditorKind::Edit);
    // Remove the last of three rows, then add rows without registering: the kinds went with the row.
    d.list->removeRow(2);
    d.list->insertRow(2);
    d.list->insertRow(3);
    d.list->setColumnWidth(3, 60);
    d.list->setColumnWidth(column, width);
    d.Click(row, column);
    QCOMPARE(d.EditorClass(), editor);
    QCOMPARE(d.log.contains(QStringLiteral("fill 1")), column == 1 && row < 2);  // asked even when it stays shut
}

void TestEditableListCtrl::editorKindFollowsItsRow_data()
{
    QTest::addColumn<bool>("insert");  // a row inserted above row 1, else row 0 removed
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("editor");
    QTest::newRow("inserted above: the moved row keeps its edit box") << true << 2 << 3 << "CListEditEditor";
    QTest::newRow("inserted above: the moved row keeps its drop-down") << true << 2 << 1 << "CListComboEditor";
    QTest::newRow("inserted above: the new row has none") << true << 0 << 1 << "";
    QTest::newRow("inserted above: the position left has none") << true << 1 << 3 << "";
    QTest::newRow("removed above: the moved row keeps its edit box") << false << 0 << 3 << "CListEditEditor";
    QTest::newRow("removed above: the position left has none") << false << 1 << 3 << "";
}

void TestEditableListCtrl::editorKindFollowsItsRow()
{
    QFETCH(bool, insert);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, editor);
    ListDialog d;
    d.list->setColumnWidth(3, 60);
    d.list->SetCellEditor(1, 3, CellEditorKind::Edit);
    if (insert)
        d.list->insertRow(0);
    else
        d.list->removeRow(0);
    d.Click(row, column);
    QCOMPARE(d.EditorClass(), editor);
}

void TestEditableListCtrl::editWritesIntoItsRowWhenRowsMove()
{
    ListDialog d;
    d.Click(1, 2);
    QWidget* editor = d.list->ActiveEditor();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("12"));
    d.list->insertRow(0);  // the owner adds a row above while the edit is open
    d.log.clear();
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!d.list->ActiveEditor(), 10000);
    QCOMPARE(d.list->CellText(2, 2), QStringLiteral("12"));
    QCOMPARE(d.list->CellText(1, 2), QString());
    QCOMPARE(d.log, (QStringList{"end 2 2 '12' cell='12'", "closed 0 0 open=0"}));
}

void TestEditableListCtrl::cellScrolledIntoView_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("scrolled");
    QTest::addColumn<QString>("edge");
    QTest::newRow("right end past the client") << 3 << 0 << "right";
    QTest::newRow("left edge before the client") << 1 << 60 << "left";
    QTest::newRow("inside: no scroll") << 2 << 0 << "none";
}

void TestEditableListCtrl::cellScrolledIntoView()
{
    QFETCH(int, column);
    QFETCH(int, scrolled);
    QFETCH(QString, edge);
    ListDialog d;
    d.list->resize(300, 150);
    d.list->SetCellEditor(0, 3, CellEditorKind::Edit);
    d.list->horizontalScrollBar()->setValue(scrolled);
    d.Click(0, column);
    QWidget* editor = d.list->ActiveEditor();
    QVERIFY(editor);
    const QRect cell = d.list->visualRect(d.list->model()->index(0, column));
    QCOMPARE(editor->geometry(), cell);
    if (edge == "right")
        QCOMPARE(cell.left() + cell.width(), d.list->viewport()->width());
    else if (edge == "left")
        QCOMPARE(cell.left(), 0);
    else
        QCOMPARE(d.list->horizontalScrollBar()->value(), scrolled);
}

void TestEditableListCtrl::dropDownListShowsTenAndCommitsOnClose_data()
{
    QTest::addColumn<int>("entries");
    QTest::newRow("nine type names") << 9;
    QTest::newRow("twelve") << 12;
}

void TestEditableListCtrl::dropDownListShowsTenAndCommitsOnClose()
{
    QFETCH(int, entries);
    ListDialog d;
    while (d.choices.size() < entries)
        d.choices << QStringLiteral("E%1").arg(d.choices.size());
    d.list->SetCellText(0, 1, QStringLiteral("FLOAT"));
    d.Click(0, 1);
    auto* combo = qobject_cast<QComboBox*>(d.list->ActiveEditor());
    QVERIFY(combo);
    combo->showPopup();
    QAbstractItemView* popup = combo->view();
    QTRY_VERIFY_WITH_TIMEOUT(popup->isVisible(), 10000);
    QVERIFY(popup->window()->geometry().top() >= combo->mapToGlobal(QPoint(0, combo->height())).y() - 1);  // below the cell
    int visible = 0;
    for (int i = 0; i < entries; ++i)
        visible += popup->viewport()->rect().contains(popup->visualRect(popup->model()->index(i, 0)));
    QCOMPARE(visible, std::min(entries, 10));

    if (entries == 9) {
        // The dialog with the popup list drawn where it stands on the screen.
        QPixmap shot = d.dialog.grab();
        QPainter painter(&shot);
        painter.drawPixmap(d.dialog.mapFromGlobal(popup->window()->mapToGlobal(QPoint())), popup->window()->grab());
        painter.end();
        QLabel label;
        label.setPixmap(shot);
        label.resize(shot.size());
        SaveScreenshot(&label, QStringLiteral("editable_list_drop_down"));
    }

    d.log.clear();
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(popup->model()->index(2, 0)).center());
    QTRY_COMPARE_WITH_TIMEOUT(d.log.size(), 2, 10000);
    QCOMPARE(d.log, (QStringList{"end 0 1 'UINT' cell='UINT'", "closed 0 1 open=0"}));
}

void TestEditableListCtrl::editBoxDropsCharactersNotAllowed()
{
    ListDialog d;
    d.list->SetAllowedCharacters(2, QStringLiteral("0123456789"));
    d.Click(0, 2);
    QWidget* editor = d.list->ActiveEditor();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("1a2 "));
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, QStringLiteral("3x"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(d.list->CellText(0, 2), QStringLiteral("13"));
}

void TestEditableListCtrl::keysOpenTheEditorAsAClickDoes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("editor");  // what opens; empty: nothing
    QTest::newRow("F2 on the type") << int(Qt::Key_F2) << 1 << "CListComboEditor";
    QTest::newRow("Enter on the length") << int(Qt::Key_Return) << 2 << "CListEditEditor";
    QTest::newRow("keypad Enter on the type") << int(Qt::Key_Enter) << 1 << "CListComboEditor";
    QTest::newRow("F2 on the number") << int(Qt::Key_F2) << 0 << "";
    QTest::newRow("Enter on the value") << int(Qt::Key_Return) << 4 << "";
}

void TestEditableListCtrl::keysOpenTheEditorAsAClickDoes()
{
    QFETCH(int, key);
    QFETCH(int, column);
    QFETCH(QString, editor);
    ListDialog d;
    d.list->setFocus();
    d.list->setCurrentIndex(d.list->model()->index(1, column));
    QTest::keyClick(d.list, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(EditorClassOf(d.list), editor);
    if (editor.isEmpty())
        return;  // the key goes on as before: to the list, then the dialog
    QCOMPARE(d.okClicks, 0);  // the key opened the editor; the dialog's default button stays
    QCOMPARE(d.list->ActiveEditor()->geometry(), d.list->visualRect(d.list->model()->index(1, column)));
    // Enter in the editor commits and closes it; it does not open it again.
    if (column == 2)
        QTest::keyClicks(d.list->ActiveEditor(), QStringLiteral("7"));
    QTest::keyClick(d.list->ActiveEditor(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!d.list->ActiveEditor(), 10000);
    if (column == 2)
        QCOMPARE(d.list->CellText(1, 2), QStringLiteral("7"));
    QCoreApplication::processEvents();
    QVERIFY(!d.list->ActiveEditor());
}

void TestEditableListCtrl::cutTextShowsWholeAsTip()
{
    // A large FLOAT in the value column: its start and end shown, the whole as tool tip.
    ListDialog d;
    const QString value = QStringLiteral("230217671882904400000000000000000000000.000");
    d.list->SetCellText(0, 4, value);
    d.list->SetCellText(1, 4, QStringLiteral("1.000"));
    d.list->horizontalScrollBar()->setValue(d.list->horizontalScrollBar()->maximum());
    for (int row : {0, 1}) {
        const QPoint at = d.Centre(row, 4);
        QHelpEvent help(QEvent::ToolTip, at, d.list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(d.list->viewport(), &help);
        if (row == 0) {
            QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 30000);
            QCOMPARE(QToolTip::text(), value);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 30000);  // shown whole: no tip
        }
    }
    QCOMPARE(d.list->textElideMode(), Qt::ElideMiddle);
    SaveScreenshot(&d.dialog, QStringLiteral("editable_list_cut_value"));
}

VELMORRA_UI_TEST_MAIN(TestEditableListCtrl)
#include "tst_editable_list_ctrl.moc"
