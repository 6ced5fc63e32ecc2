#include <QAccessible>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>

#include "app/info_page.h"
#include "app/main_dialog.h"
#include "app/maker_info.h"
#include "app/page_tab_ctrl.h"
#include "app/web_browser2.h"
#include "common/version.h"
#include "test_support.h"

namespace {

const QUrl SIDE_PAGE(QString::fromUtf8(SIDE_PANEL_ADDRESS));
const QUrl INFO_PAGE(QString::fromUtf8(INFO_PAGE_ADDRESS));

// Clicks the first link of the shown page whose address starts with `prefix`; false if none.
bool ClickLink(CWebBrowser2* browser, const QString& prefix)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().anchorHref().startsWith(prefix))
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + 1);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(cursor).center());
            return true;
        }
    return false;
}

} // namespace

// Takes what the system would open, in place of the system's browser and mail program.
class CUrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

class TestInfoPanel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void eachPanelOpensItsPageOnceAtStart();
    void pagesFitTheirPanels_data();
    void pagesFitTheirPanels();
    void linksStayOrGoToTheSystem();
    void assistiveTechnologyReadsThePages_data();
    void assistiveTechnologyReadsThePages();

private:
    CWebBrowser2* InfoBrowser() const { return static_cast<CInfoPage*>(m_dialog->TabPages()->Page(4))->Browser(); }

    QList<QPair<QString, QUrl>> m_navigations;
    CWebBrowser2::NavigateObserver m_previousObserver;
    std::unique_ptr<CMainDialog> m_dialog;
};

void TestInfoPanel::init()
{
    m_navigations.clear();
    m_previousObserver = CWebBrowser2::SetNavigateObserver(
        [this](const CWebBrowser2& browser, const QUrl& url) { m_navigations.append({browser.objectName(), url}); });
    m_dialog = std::make_unique<CMainDialog>();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get(), 30000));
}

void TestInfoPanel::cleanup()
{
    m_dialog.reset();
    CWebBrowser2::SetNavigateObserver(std::move(m_previousObserver));
}

void TestInfoPanel::eachPanelOpensItsPageOnceAtStart()
{
    // The side panel first, before any page exists; then the information page as the last page.
    const QList<QPair<QString, QUrl>> atStart{{QStringLiteral("sideBrowser"), SIDE_PAGE},
                                              {QStringLiteral("browser"), INFO_PAGE}};
    QCOMPARE(m_navigations, atStart);
    QCOMPARE(m_dialog->SideBrowser()->source(), SIDE_PAGE);
    QCOMPARE(InfoBrowser()->source(), INFO_PAGE);
    QVERIFY(m_dialog->SideBrowser()->toPlainText().contains(QStringLiteral("校验分析")));
    // The product page carries the version and the contact details the About box shows.
    const QString product = InfoBrowser()->toPlainText();
    for (const char* detail : {"V" VELMORRA_VERSION, MAKER_NAME, MAKER_WEB, MAKER_EMAIL, MAKER_QQ, MAKER_COPYRIGHT})
        QVERIFY2(product.contains(QString::fromUtf8(detail)), detail);
    SaveScreenshot(m_dialog.get(), QStringLiteral("info_panel_side"));

    const QString shown = InfoBrowser()->toHtml();
    CPageTabCtrl* tabs = m_dialog->TabPages();
    QTabBar* bar = tabs->tabBar();
    for (int tab : {4, 0, 4}) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        QCOMPARE(tabs->currentIndex(), tab);
    }
    SaveScreenshot(m_dialog.get(), QStringLiteral("info_panel_page"));
    QCOMPARE(m_navigations, atStart);  // switching tabs loads nothing again
    QCOMPARE(InfoBrowser()->toHtml(), shown);
}

void TestInfoPanel::pagesFitTheirPanels_data()
{
    QTest::addColumn<bool>("side");
    QTest::addColumn<QUrl>("page");
    QTest::newRow("side panel, quick reference") << true << SIDE_PAGE;
    QTest::newRow("side panel, product page") << true << INFO_PAGE;
    QTest::newRow("information tab, product page") << false << INFO_PAGE;
    QTest::newRow("information tab, quick reference") << false << SIDE_PAGE;
}

void TestInfoPanel::pagesFitTheirPanels()
{
    QFETCH(bool, side);
    QFETCH(QUrl, page);
    if (!side)
        m_dialog->TabPages()->SelectPage(4);
    CWebBrowser2* browser = side ? m_dialog->SideBrowser() : InfoBrowser();
    browser->setSource(page);
    QVERIFY(!browser->toPlainText().isEmpty());
    QCOMPARE(browser->horizontalScrollBar()->maximum(), 0);
    if (side && page == SIDE_PAGE) {  // the whole quick reference, a screen at a time
        QScrollBar* bar = browser->verticalScrollBar();
        for (int screen = 0; screen == 0 || bar->value() < bar->maximum(); ++screen) {
            bar->setValue(screen * bar->pageStep());
            SaveScreenshot(browser, QStringLiteral("side_panel_screen%1").arg(screen));
        }
    }
}

void TestInfoPanel::linksStayOrGoToTheSystem()
{
    CUrlRecorder system;
    for (const char* scheme : {"qrc", "http", "mailto"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &system, "Open");
    // Between the two pages: the panel follows the link itself.
    CWebBrowser2* side = m_dialog->SideBrowser();
    QVERIFY(ClickLink(side, QStringLiteral("advert.html")));
    QCOMPARE(side->source(), INFO_PAGE);
    QVERIFY(ClickLink(side, QStringLiteral("link.html")));
    QCOMPARE(side->source(), SIDE_PAGE);
    QCOMPARE(system.opened, QList<QUrl>());
    // Outside addresses: handed to the system's browser and mail program.
    m_dialog->TabPages()->SelectPage(4);
    QVERIFY(ClickLink(InfoBrowser(), QStringLiteral("http:")));
    QVERIFY(ClickLink(InfoBrowser(), QStringLiteral("mailto:")));
    for (const char* scheme : {"qrc", "http", "mailto"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    QCOMPARE(system.opened, (QList<QUrl>{QUrl(QString::fromUtf8(MAKER_WEB)),
                                         QUrl(QStringLiteral("mailto:") + QString::fromUtf8(MAKER_EMAIL))}));
    QCOMPARE(InfoBrowser()->source(), INFO_PAGE);
    QCOMPARE(m_navigations.size(), 2);  // following a link is no navigation of the program's own
}

void TestInfoPanel::assistiveTechnologyReadsThePages_data()
{
    QTest::addColumn<bool>("side");
    QTest::newRow("side panel") << true;
    QTest::newRow("information tab") << false;
}

void TestInfoPanel::assistiveTechnologyReadsThePages()
{
    // As a screen reader asks: the panel is a read-only text with a name and the page's words,
    // as the other read-only views are, not an empty filler.
    QFETCH(bool, side);
    if (!side)
        m_dialog->TabPages()->SelectPage(4);
    CWebBrowser2* browser = side ? m_dialog->SideBrowser() : InfoBrowser();
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(browser);
    QVERIFY(panel);
    QCOMPARE(panel->text(QAccessible::Name), QStringLiteral("资讯信息"));
    QCOMPARE(panel->role(), QAccessible::EditableText);
    QVERIFY(panel->state().readOnly && panel->state().multiLine);
    QAccessibleTextInterface* text = panel->textInterface();
    QVERIFY(text);
    QVERIFY(text->characterCount() > 100);
    QCOMPARE(text->text(0, text->characterCount()), browser->toPlainText());
    QCOMPARE(panel->text(QAccessible::Value), browser->toPlainText());
    // A reader moving by words and selecting: the offsets are the browser's own positions.
    const int at = int(browser->toPlainText().indexOf(side ? QStringLiteral("校验分析") : QStringLiteral("Modbus")));
    QVERIFY(at > 0);
    text->setSelection(0, at, at + 4);
    QCOMPARE(browser->textCursor().selectedText(), browser->toPlainText().mid(at, 4));
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    QCOMPARE(QPair(start, end), QPair(at, at + 4));
    QVERIFY(text->characterRect(at).isValid());

    // The same kind of view as the program's other read-only texts.
    QPlainTextEdit* ascii = m_dialog->findChild<QPlainTextEdit*>(QStringLiteral("asciiView"));
    QVERIFY(ascii);
    QAccessibleInterface* other = QAccessible::queryAccessibleInterface(ascii);
    QCOMPARE(panel->role(), other->role());
}

VELMORRA_UI_TEST_MAIN(TestInfoPanel)
#include "tst_info_panel.moc"
