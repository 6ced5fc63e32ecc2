#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/main_dialog.h"
#include "app/page_tab_ctrl.h"
#include "test_support.h"

namespace {

const QStringList CAPTIONS{QStringLiteral("串格式化"), QStringLiteral("数据转换查询"), QStringLiteral("校验分析"),
                           QStringLiteral("字节数据分析"), QStringLiteral("资讯信息")};

// Which pages are visible, as a string of 0 and 1 in tab order.
QString Visibility(const CPageTabCtrl* tabs)
{
    QString v;
    for (int i = 0; i < tabs->PageCount(); ++i)
        v += tabs->Page(i)->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    return v;
}

QAction* Action(CMainDialog& dialog, const char* name)
{
    return dialog.findChild<QAction*>(QLatin1String(name));
}

class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("脚本错误: mathdata 未定义");
        return QObject::event(e);
    }
};

} // namespace

class TestMainDialog : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void menuSwitchesPages();
    void tabPressSwitchesPages();
    void selectPageRange();
    void seventeenthPageIsRefused();
    void enterAndEscapeCloseNothing();
    void aboutBox();
    void closeEndsTheWindow();
    void escapedExceptionIsReported();
};

void TestMainDialog::startState()
{
    CMainDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tessik通讯数据分析辅助工具 V1.01"));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());  // fixed size
    CPageTabCtrl* tabs = dialog.TabPages();
    QCOMPARE(tabs->PageCount(), 5);
    QStringList captions;
    for (int i = 0; i < tabs->TabBar()->count(); ++i)
        captions << tabs->TabBar()->tabText(i);
    QCOMPARE(captions, CAPTIONS);
    QCOMPARE(tabs->CurrentPage(), 0);
    QCOMPARE(tabs->TabBar()->currentIndex(), 0);
    QCOMPARE(Visibility(tabs), QStringLiteral("10000"));
    const int ids[] = {133, 131, 129, 130, 138};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tabs->Page(i)->TemplateId(), ids[i]);

    // Pages sit below the strip and stop 2 px inside the right and bottom edges.
    const QRect page = tabs->Page(0)->geometry();
    QCOMPARE(page.y(), tabs->TabBar()->geometry().bottom() + 2);
    QCOMPARE(page.right(), tabs->width() - 3);
    QCOMPARE(page.bottom(), tabs->height() - 3);
    QVERIFY(page.width() >= 570 && page.height() >= 440);

    QStringList menus;
    for (QAction* a : dialog.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("分析"), QStringLiteral("帮助")}));
    QStringList items;
    for (QAction* a : dialog.menuBar()->actions().first()->menu()->actions())
        items << a->text();
    QCOMPARE(items, CAPTIONS.mid(0, 4));
    QCOMPARE(Action(dialog, "actionAbout")->text(), QStringLiteral("关于"));

    const QString status0 = dialog.findChild<QLabel*>(QStringLiteral("statusText0"))->text();
    QVERIFY(status0.startsWith(QStringLiteral("通讯数据分析辅助工具V1.01       E-Mail:")));
    QVERIFY(status0.contains(QStringLiteral("       QQ:")));
    const QString status1 = dialog.findChild<QLabel*>(QStringLiteral("statusText1"))->text();
    QVERIFY(status1.startsWith(QStringLiteral("         欢迎访问Tessik工作室 ")));
    QCOMPARE(dialog.findChild<QWidget*>(QStringLiteral("statusPart0"))->width(), 500);

    for (int i = 0; i < 5; ++i) {
        tabs->SelectPage(i);
        SaveScreenshot(&dialog, QStringLiteral("main_window_tab%1").arg(i));
    }
}

void TestMainDialog::menuSwitchesPages()
{
    CMainDialog dialog;
    dialog.show();
    CPageTabCtrl* tabs = dialog.TabPages();
    Action(dialog, "actionChecksum")->trigger();
    QCOMPARE(tabs->CurrentPage(), 2);
    QCOMPARE(tabs->TabBar()->currentIndex(), 2);
    QCOMPARE(Visibility(tabs), QStringLiteral("00100"));
    Action(dialog, "actionChecksum")->trigger();
    QCOMPARE(Visibility(tabs), QStringLiteral("00100"));
    Action(dialog, "actionByteAnalysis")->trigger();
    QCOMPARE(Visibility(tabs), QStringLiteral("00010"));
    Action(dialog, "actionConversion")->trigger();
    QCOMPARE(Visibility(tabs), QStringLiteral("01000"));
    Action(dialog, "actionStringFormat")->trigger();
    QCOMPARE(Visibility(tabs), QStringLiteral("10000"));
}

void TestMainDialog::tabPressSwitchesPages()
{
    CMainDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CPageTabCtrl* tabs = dialog.TabPages();
    QTabBar* bar = tabs->TabBar();

    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(4).center());
    QCOMPARE(tabs->CurrentPage(), 4);
    QCOMPARE(Visibility(tabs), QStringLiteral("00001"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(4).center());
    QCOMPARE(Visibility(tabs), QStringLiteral("00001"));
    const QPoint emptyStrip(bar->tabRect(4).right() + 20, bar->tabRect(4).center().y());
    QVERIFY(emptyStrip.x() < bar->width());
    QTest::mouseClick(bar, Qt::LeftButton, {}, emptyStrip);
    QCOMPARE(tabs->CurrentPage(), 4);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(Visibility(tabs), QStringLiteral("01000"));
}

void TestMainDialog::selectPageRange()
{
    CMainDialog dialog;
    dialog.show();
    CPageTabCtrl* tabs = dialog.TabPages();
    QCOMPARE(tabs->SelectPage(-1), -1);
    QCOMPARE(tabs->SelectPage(5), -1);
    QCOMPARE(Visibility(tabs), QStringLiteral("10000"));
    QCOMPARE(tabs->SelectPage(4), 0);
    QCOMPARE(tabs->SelectPage(4), 4);
    QCOMPARE(tabs->SelectPage(2), 4);
    QCOMPARE(tabs->TabBar()->currentIndex(), 2);
    QCOMPARE(Visibility(tabs), QStringLiteral("00100"));
}

void TestMainDialog::seventeenthPageIsRefused()
{
    CPageTabCtrl tabs;
    tabs.resize(600, 400);
    std::vector<std::unique_ptr<CPage>> pages;
    for (int i = 0; i < MAX_PAGES; ++i) {
        pages.push_back(std::make_unique<CPage>(200 + i));
        QVERIFY(tabs.AddPage(QString::number(i), pages.back().get(), 200 + i));
    }
    CPage extra(999);
    QVERIFY(!tabs.AddPage(QStringLiteral("17"), &extra, 999));
    QCOMPARE(tabs.PageCount(), MAX_PAGES);
    tabs.InitPages();
    QCOMPARE(tabs.TabBar()->count(), MAX_PAGES);
    QCOMPARE(tabs.Page(15)->TemplateId(), 215);
    QVERIFY(extra.parent() == nullptr);
    QCOMPARE(tabs.SelectPage(15), 0);
    pages.clear();  // pages go before their host, as in the main window
}

void TestMainDialog::enterAndEscapeCloseNothing()
{
    CMainDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CPageTabCtrl* tabs = dialog.TabPages();
    tabs->SelectPage(4);
    for (QWidget* target : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(tabs->Page(4))}) {
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(Visibility(tabs), QStringLiteral("00001"));
}

void TestMainDialog::aboutBox()
{
    CMainDialog dialog;
    dialog.show();
    QString title;
    QStringList lines;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box);
        title = box->windowTitle();
        for (const char* name : {"titleLabel", "copyrightLabel", "webLabel"})
            lines << box->findChild<QLabel*>(QLatin1String(name))->text();
        SaveScreenshot(box, QStringLiteral("about_box"));
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    Action(dialog, "actionAbout")->trigger();  // modal: returns once the box is closed
    QCOMPARE(title, QStringLiteral("关于 Tessik通讯数据分析辅助工具"));
    QCOMPARE(lines.value(0), QStringLiteral("Tessik通讯数据分析辅助工具 V1.01"));
    QVERIFY(lines.value(1).contains(QStringLiteral("Tessik工作室")));
    QVERIFY(lines.value(2).startsWith(QStringLiteral("http://")));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestMainDialog::closeEndsTheWindow()
{
    CMainDialog dialog;
    dialog.show();
    QVERIFY(dialog.close());
    QVERIFY(!dialog.isVisible());
}

void TestMainDialog::escapedExceptionIsReported()
{
    MessageRecorder recorder;
    Thrower thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("脚本错误: mathdata 未定义")});
    QCOMPARE(recorder.messages[0].icon, MessageIcon::Stop);
    // The program goes on: events are still delivered.
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &again);
    QCOMPARE(recorder.messages.size(), 2);
}

VELMORRA_UI_TEST_MAIN(TestMainDialog)
#include "tst_main_dialog.moc"
