#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/info_page.h"
#include "app/main_dialog.h"
#include "app/web_browser2.h"
#include "bytes/byte_analysis_page.h"
#include "checksum/checksum_page.h"
#include "convert/conversion_page.h"
#include "format/string_format_page.h"
#include "app/page_tab_ctrl.h"
#include "test_support.h"

namespace {

// Which pages are visible, in tab order: "10000" is the first page alone.
QString Visibility(const CPageTabCtrl* tabs)
{
    QString v;
    for (int i = 0; i < tabs->count(); ++i)
        v += tabs->Page(i)->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    return v;
}

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* a : actions)
        texts << a->text();
    return texts;
}

} // namespace

class TestMainDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_dialog.reset(); }
    void startState();
    void menuAndTabsSwitchPages();
    void enterAndEscapeCloseNothing();
    void aboutBox();
    void escapedExceptionIsReported();
    void growsAndRemembersItsSize();

private:
    QAction* Action(const char* name) { return m_dialog->findChild<QAction*>(QLatin1String(name)); }
    std::unique_ptr<CMainDialog> m_dialog;
    CPageTabCtrl* m_tabs = nullptr;
};

void TestMainDialog::init()
{
    m_dialog = std::make_unique<CMainDialog>();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get(), 30000));
    m_tabs = m_dialog->TabPages();
}

void TestMainDialog::startState()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Tessik通讯数据分析辅助工具 V1.01"));
    // The described size to start with, and the smallest; larger and maximised as the user likes.
    QCOMPARE(m_dialog->size(), m_dialog->minimumSizeHint());
    QCOMPARE(m_dialog->centralWidget()->size(), QSize(888, 500));
    QVERIFY(m_dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    QStringList captions;
    for (int i = 0; i < m_tabs->tabBar()->count(); ++i)
        captions << m_tabs->tabBar()->tabText(i) + QString::number(m_tabs->Page(i)->TemplateId());
    QCOMPARE(captions, (QStringList{QStringLiteral("串格式化133"), QStringLiteral("数据转换查询131"),
                                    QStringLiteral("校验分析129"), QStringLiteral("字节数据分析130"),
                                    QStringLiteral("资讯信息138")}));
    QCOMPARE(Visibility(m_tabs), QStringLiteral("10000"));
    // The page stops 2 px inside the right and bottom edges of the host.
    const QWidget* page0 = m_tabs->Page(0);
    const QRect page(page0->mapTo(m_tabs, QPoint()), page0->size());
    QCOMPARE(QPoint(page.right(), page.bottom()), QPoint(m_tabs->width() - 3, m_tabs->height() - 3));

    QCOMPARE(Texts(m_dialog->menuBar()->actions()), (QStringList{QStringLiteral("分析"), QStringLiteral("帮助")}));
    QCOMPARE(Texts(m_dialog->menuBar()->actions().first()->menu()->actions()),
             (QStringList{QStringLiteral("串格式化"), QStringLiteral("数据转换查询"), QStringLiteral("校验分析"),
                          QStringLiteral("字节数据分析")}));
    QCOMPARE(Action("actionAbout")->text(), QStringLiteral("关于"));
    QVERIFY(m_dialog->findChild<QLabel*>(QStringLiteral("statusText0"))->text().startsWith(
        QStringLiteral("通讯数据分析辅助工具V1.01       E-Mail:")));
    QVERIFY(m_dialog->findChild<QLabel*>(QStringLiteral("statusText1"))->text().startsWith(
        QStringLiteral("         欢迎访问Tessik工作室 ")));
    for (int i = 0; i < 5; ++i) {
        m_tabs->SelectPage(i);
        SaveScreenshot(m_dialog.get(), QStringLiteral("main_window_tab%1").arg(i));
    }
}

void TestMainDialog::menuAndTabsSwitchPages()
{
    Action("actionChecksum")->trigger();
    QCOMPARE(Visibility(m_tabs), QStringLiteral("00100"));
    QCOMPARE(m_tabs->tabBar()->currentIndex(), 2);
    Action("actionByteAnalysis")->trigger();
    QCOMPARE(Visibility(m_tabs), QStringLiteral("00010"));

    QTabBar* bar = m_tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(4).center());
    QCOMPARE(Visibility(m_tabs), QStringLiteral("00001"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(4).center() + QPoint(bar->tabRect(4).width(), 0));
    QCOMPARE(Visibility(m_tabs), QStringLiteral("00001"));  // the empty strip changes nothing

    QCOMPARE(m_tabs->SelectPage(-1), -1);
    QCOMPARE(m_tabs->SelectPage(5), -1);
    QCOMPARE(m_tabs->SelectPage(1), 4);
    QCOMPARE(m_tabs->SelectPage(1), 1);
    QCOMPARE(Visibility(m_tabs), QStringLiteral("01000"));
}

void TestMainDialog::enterAndEscapeCloseNothing()
{
    m_tabs->SelectPage(4);
    for (QWidget* target : {static_cast<QWidget*>(m_dialog.get()), static_cast<QWidget*>(m_tabs->Page(4))})
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(target, key);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(Visibility(m_tabs), QStringLiteral("00001"));
    QVERIFY(m_dialog->close());  // the close button ends the window
}

void TestMainDialog::aboutBox()
{
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        seen << box->windowTitle();
        for (const char* name : {"titleLabel", "copyrightLabel"})
            seen << box->findChild<QLabel*>(QLatin1String(name))->text();
        SaveScreenshot(box, QStringLiteral("about_box"));
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    Action("actionAbout")->trigger();  // modal: returns once the box is closed
    QCOMPARE(seen.mid(0, 2), (QStringList{QStringLiteral("关于 Tessik通讯数据分析辅助工具"),
                                          QStringLiteral("Tessik通讯数据分析辅助工具 V1.01")}));
    QVERIFY(seen.value(2).contains(QStringLiteral("Tessik工作室")));
}

void TestMainDialog::escapedExceptionIsReported()
{
    struct Thrower : QObject {
        bool event(QEvent*) override { throw std::runtime_error("脚本错误: mathdata 未定义"); }
    } thrower;
    MessageRecorder recorder;
    for (int i = 0; i < 2; ++i) {  // reported, and the program goes on
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &event);
    }
    QCOMPARE(recorder.Texts(), QStringList(2, QStringLiteral("脚本错误: mathdata 未定义")));
    QCOMPARE(recorder.messages[0].icon, MessageIcon::Stop);
}

// Each named control of a page, with its place.
QMap<QString, QRect> Places(const QWidget* page)
{
    QMap<QString, QRect> places;
    for (const QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!control->objectName().isEmpty())
            places.insert(control->objectName(), control->geometry());
    return places;
}

void TestMainDialog::growsAndRemembersItsSize()
{
    // At the described size every control stands where its form puts it: as on a page of its own.
    const std::unique_ptr<CPage> forms[] = {std::make_unique<CStringFormatPage>(), std::make_unique<CConversionPage>(),
                                            std::make_unique<CChecksumPage>(), std::make_unique<CByteAnalysisPage>(),
                                            std::make_unique<CInfoPage>()};
    for (int i = 0; i < 5; ++i) {
        m_tabs->SelectPage(i);
        QCOMPARE(Places(m_tabs->Page(i)), Places(forms[i].get()));
    }
    const QSize described = m_dialog->size();
    auto* bytes = static_cast<CByteAnalysisPage*>(m_tabs->Page(3));
    m_tabs->SelectPage(3);
    SaveScreenshot(m_dialog.get(), QStringLiteral("byte_analysis_page_described_size"));

    // Larger: the lists and text views grow, the buttons keep their place beside them.
    const auto place = [&](const char* name) { return bytes->findChild<QWidget*>(QLatin1String(name))->geometry(); };
    const QRect list = place("variableList"), add = place("addButton"), hex = place("hexEdit"), lock = place("lockButton");
    m_dialog->resize(described + QSize(400, 250));
    QTRY_COMPARE_WITH_TIMEOUT(m_dialog->centralWidget()->size(), QSize(1288, 750), 30000);
    QCOMPARE(place("variableList").size(), list.size() + QSize(400, 250));
    QCOMPARE(place("addButton"), add.translated(400, 0));
    QCOMPARE(place("hexEdit").size(), hex.size() + QSize(400, 0));
    QCOMPARE(place("lockButton"), lock);
    QCOMPARE(m_dialog->SideBrowser()->height(), 495 + 250);
    SaveScreenshot(m_dialog.get(), QStringLiteral("byte_analysis_page_enlarged"));
    m_tabs->SelectPage(2);
    auto* checksum = m_tabs->Page(2);
    QCOMPARE(checksum->findChild<QWidget*>(QStringLiteral("resultList"))->size(), QSize(563 + 400, 281 + 250));
    QCOMPARE(checksum->findChild<QWidget*>(QStringLiteral("busyBar"))->pos(), QPoint(466 + 400, 442 + 250));
    SaveScreenshot(m_dialog.get(), QStringLiteral("checksum_page_enlarged"));
    m_tabs->SelectPage(0);
    SaveScreenshot(m_dialog.get(), QStringLiteral("string_format_page_enlarged"));

    // The size is the user's next time too.
    QVERIFY(m_dialog->close());
    m_dialog = std::make_unique<CMainDialog>();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get(), 30000));
    QCOMPARE(m_dialog->size(), described + QSize(400, 250));

    m_dialog->showMaximized();
    QTRY_VERIFY_WITH_TIMEOUT(m_dialog->isMaximized(), 30000);
}

VELMORRA_UI_TEST_MAIN(TestMainDialog)
#include "tst_main_dialog.moc"
