#include <QMessageBox>
#include <QTest>

#include "crash/crash_message_box.h"
#include "test_support.h"

class TestCrashMessageBox : public QObject {
    Q_OBJECT
private slots:
    void boxAsTheHandlerAsks();
};

void TestCrashMessageBox::boxAsTheHandlerAsks()
{
    const QString text = QStringLiteral("Tessik通讯数据分析辅助工具 遇到未知错误，我们对此引起的不便表示抱歉，"
                                        "请把velmorra_20130303_090507.dmp文件发送给我们，以便我们进行改进！");
    const auto box = CreateCrashMessageBox(QStringLiteral("velmorra"), text);
    QCOMPARE(box->windowTitle(), QStringLiteral("velmorra"));
    QCOMPARE(box->text(), text);
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->standardButtons(), QMessageBox::Ok);
    QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    box->show();  // lays the text out as the helper program shows it
    QVERIFY(QTest::qWaitForWindowExposed(box.get(), 30000));
    SaveScreenshot(box.get(), QStringLiteral("crash_message_box"));
}

VELMORRA_UI_TEST_MAIN(TestCrashMessageBox)
#include "tst_crash_message_box.moc"
