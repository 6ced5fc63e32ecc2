#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "format/string_format_page.h"
#include "sms/sms_detail_dialog.h"
#include "test_support.h"

namespace {

// oFono, unit/test-sms.c: alnum_sender, a message from "sipgate".
const char ALPHANUMERIC[] = "0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9";

// One part of a UCS2 message from +8613912345678 through the centre +8613800100500, with the
// concatenation element of TS 23.040 clause 9.2.3.24.1.
QByteArray ChinesePart(int part, int parts, const QString& text)
{
    QByteArray ud = QByteArray::fromHex("050003") + char(0x2B) + char(parts) + char(part);
    for (const QChar c : text) {
        ud += char(c.unicode() >> 8);
        ud += char(c.unicode() & 0xFF);
    }
    return "0891683108100005F0440D91683119325476F8000842501021035423" + (char(ud.size()) + ud).toHex().toUpper();
}

const QStringList CHINESE = {QStringLiteral("各位同事：明天上午九点在三楼会议室召开项目例会，"), QStringLiteral("请带上本周的测试报告和问题清单，"),
                             QStringLiteral("会后统一更新进度表。谢谢！")};

QTreeWidgetItem* FindItem(QTreeWidgetItem* parent, const QStringList& names)
{
    for (int k = 0; k < parent->childCount(); ++k) {
        QTreeWidgetItem* child = parent->child(k);
        if (child->text(0) != names.first())
            continue;
        if (names.size() == 1)
            return child;
        if (QTreeWidgetItem* found = FindItem(child, names.mid(1)))
            return found;
    }
    return nullptr;
}

QString Marked(QPlainTextEdit* hexView)
{
    const QList<QTextEdit::ExtraSelection> marks = hexView->extraSelections();
    return marks.size() == 1 ? marks[0].cursor.selectedText() : QString();
}

// The string formatting page as the tab shows it, its dialog opened with "详细…".
struct PageUnderTest {
    PageUnderTest()
    {
        page.resize(667, 455);
        page.show();
        QApplication::setActiveWindow(&page);
        QVERIFY(QTest::qWaitForWindowActive(&page, 30000));
    }
    CSmsDetailDialog* OpenDetail()
    {
        QTest::mouseClick(page.findChild<QPushButton*>("pduDetailButton"), Qt::LeftButton);
        auto* dialog = page.findChild<CSmsDetailDialog*>();
        if (dialog && !QTest::qWaitForWindowExposed(dialog, 30000))
            return nullptr;
        return dialog;
    }
    MessageRecorder recorder;
    CStringFormatPage page;
};

} // namespace

class TestSmsDetailDialog : public QObject {
    Q_OBJECT
private slots:
    void alphanumericSender();
    void concatenatedChineseMessage();
    void refusedLinesKeepTheirText();
};

void TestSmsDetailDialog::alphanumericSender()
{
    PageUnderTest p;
    auto* hexEdit = p.page.findChild<QPlainTextEdit*>("hexEdit");
    hexEdit->setFocus();
    QTest::keyClicks(hexEdit, ALPHANUMERIC);
    // The page's own view keeps refusing what does not begin with 089.
    QCOMPARE(p.page.findChild<QPlainTextEdit*>("pduView")->toPlainText(), "非PDU编码格式");
    QCOMPARE(p.page.findChild<QPushButton*>("pduDetailButton")->text(), "详细…");
    SaveScreenshot(&p.page, "string_format_page_detail_button");

    CSmsDetailDialog* dialog = p.OpenDetail();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    auto* tree = dialog->findChild<QTreeWidget*>("fieldTree");
    auto* hexView = dialog->findChild<QPlainTextEdit*>("hexView");
    QCOMPARE(dialog->findChild<QPlainTextEdit*>("pduEdit")->toPlainText(), hexEdit->toPlainText());
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* top = tree->topLevelItem(0);
    QCOMPARE(top->text(0), "第 1 行");
    QCOMPARE(top->text(1), "SMS-DELIVER，sipgate");

    QTreeWidgetItem* originator = FindItem(top, {"发送方地址 TP-OA"});
    QVERIFY(originator);
    QCOMPARE(originator->text(1), "sipgate（字母数字地址）");
    QCOMPARE(originator->text(2), "10–18");
    tree->setCurrentItem(originator);
    QCOMPARE(Marked(hexView), "0D D0 F3 34 FC 1C A6 97 01");
    tree->setCurrentItem(FindItem(originator, {"号码类型"}));
    QCOMPARE(Marked(hexView), "D0");
    QCOMPARE(tree->currentItem()->text(1), "0xD0：字母数字（GSM 7 位），未知编号方案");
    QCOMPARE(dialog->findChild<QPlainTextEdit*>("textView")->toPlainText(), "Testmail");
    tree->setCurrentItem(originator);
    tree->expandAll();
    tree->scrollToItem(originator, QAbstractItemView::PositionAtTop);

    // Every box and view is named by the label beside it.
    for (const char* name : {"pduEdit", "fieldTree", "hexView", "textView"}) {
        QWidget* widget = dialog->findChild<QWidget*>(name);
        const auto* label = dialog->findChild<QLabel*>(QString(name).replace("Edit", "Label").replace("View", "Label").replace("fieldTree", "fieldLabel"));
        QVERIFY2(label && label->buddy() == widget, name);
        QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(), name);
    }
    SaveScreenshot(dialog, "sms_detail_alphanumeric_sender");
    QTest::mouseClick(dialog->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!p.page.findChild<CSmsDetailDialog*>(), 30000);
    QVERIFY(p.recorder.messages.isEmpty());
}

void TestSmsDetailDialog::concatenatedChineseMessage()
{
    // The first part typed on the page; the third, then the second, pasted into the dialog.
    PageUnderTest p;
    auto* hexEdit = p.page.findChild<QPlainTextEdit*>("hexEdit");
    hexEdit->setFocus();
    QTest::keyClicks(hexEdit, ChinesePart(1, 3, CHINESE[0]));
    QVERIFY(p.page.findChild<QPlainTextEdit*>("pduView")->toPlainText().startsWith("SMSC号码:8613800100500"));
    CSmsDetailDialog* dialog = p.OpenDetail();
    QVERIFY(dialog);
    auto* pduEdit = dialog->findChild<QPlainTextEdit*>("pduEdit");
    pduEdit->setFocus();
    pduEdit->moveCursor(QTextCursor::End);
    for (const QByteArray& part : {ChinesePart(3, 3, CHINESE[2]), ChinesePart(2, 3, CHINESE[1])}) {
        QTest::keyClick(pduEdit, Qt::Key_Return);
        QTest::keyClicks(pduEdit, part);
    }

    auto* tree = dialog->findChild<QTreeWidget*>("fieldTree");
    QCOMPARE(tree->topLevelItemCount(), 4);
    QCOMPARE(tree->topLevelItem(1)->text(1), "SMS-DELIVER，+8613912345678，第 3/3 部分");
    QTreeWidgetItem* joined = tree->topLevelItem(3);
    QCOMPARE(joined->text(0), "拼接后的消息 1");
    QCOMPARE(joined->text(1), "SMS-DELIVER，共 3 部分，+8613912345678");
    QCOMPARE(FindItem(joined, {"第 2 部分"})->text(1), "第 3 行");
    QTreeWidgetItem* text = FindItem(joined, {"短信内容"});
    tree->setCurrentItem(text);
    QCOMPARE(dialog->findChild<QPlainTextEdit*>("textView")->toPlainText(), CHINESE.join(QString()));

    // The concatenation element of the second part, marked in that part's bytes.
    QTreeWidgetItem* element = FindItem(tree->topLevelItem(2), {"用户数据 TP-UD", "用户数据头", "信息单元"});
    QVERIFY(element);
    QCOMPARE(element->text(1), "0x00 长短信拼接（8 位参考号）：第 2 部分，共 3 部分");
    tree->setCurrentItem(element);
    QCOMPARE(Marked(dialog->findChild<QPlainTextEdit*>("hexView")), "00 03 2B 03 02");
    tree->collapseItem(tree->topLevelItem(0));
    tree->collapseItem(tree->topLevelItem(1));
    tree->scrollToItem(element);
    SaveScreenshot(dialog, "sms_detail_concatenated_chinese");
    tree->setCurrentItem(text);
    tree->scrollToItem(joined, QAbstractItemView::PositionAtTop);
    SaveScreenshot(dialog, "sms_detail_concatenated_chinese_joined");

    // Without the second part the message names what is missing.
    QTextCursor cursor = pduEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    joined = tree->topLevelItem(tree->topLevelItemCount() - 1);
    QCOMPARE(joined->text(1), "SMS-DELIVER，共 3 部分，+8613912345678，缺 1 部分");
    QCOMPARE(FindItem(joined, {"第 2 部分"})->text(1), "缺失");
    QCOMPARE(FindItem(joined, {"短信内容"})->text(1), CHINESE[0] + "［缺第 2 部分］" + CHINESE[2]);
    dialog->close();
}

void TestSmsDetailDialog::refusedLinesKeepTheirText()
{
    // A line that is no PDU is named with the page's message and stays as typed; a modem listing's
    // PDU line is read out of it.
    CSmsDetailDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, 30000));
    const QString typed = QString("07 91 4G\n\n+CMGL: 3,1,,35 ") + ALPHANUMERIC + "\n123";
    dialog.SetPduText(typed);
    auto* tree = dialog.findChild<QTreeWidget*>("fieldTree");
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(0), "第 1 行");
    QCOMPARE(tree->topLevelItem(0)->text(1), "16进制数据格式错误，请重新确认！");
    QCOMPARE(tree->topLevelItem(1)->text(0), "第 3 行");
    QCOMPARE(tree->topLevelItem(1)->text(1), "SMS-DELIVER，sipgate");
    QCOMPARE(tree->topLevelItem(2)->text(1), "16进制数据长度错误，请确认！");
    QCOMPARE(dialog.findChild<QPlainTextEdit*>("pduEdit")->toPlainText(), typed);

    // A PDU cut short: what is missing, in red.
    dialog.SetPduText(QString(ALPHANUMERIC).left(40));
    QTreeWidgetItem* top = tree->topLevelItem(0);
    QVERIFY(top->text(1).endsWith("（有问题，见下）"));
    QCOMPARE(FindItem(top, {"用户数据 TP-UD"})->text(2), "缺失");
    QVERIFY(FindItem(top, {"问题"})->text(1).startsWith("PDU 在第 20 字节后结束，缺少："));
    tree->setCurrentItem(FindItem(top, {"用户数据 TP-UD"}));
    QCOMPARE(Marked(dialog.findChild<QPlainTextEdit*>("hexView")), QString());
}

VELMORRA_UI_TEST_MAIN(TestSmsDetailDialog)
#include "tst_sms_detail_dialog.moc"
