// With English chosen, no text the window shows is left in Chinese: every page, dialog, menu,
// tool tip, column title and message box, walked in the real window with data in it. Data (the
// frame's own renderings, typed text) is no text of the program's and is left out. Each is saved
// as a screenshot build/screenshots/*_en.png.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include "app/main_dialog.h"
#include "app/page_tab_ctrl.h"
#include "app/web_browser2.h"
#include "app/window_language.h"
#include "checksum/checksum_page.h"
#include "common/editable_list_ctrl.h"
#include "crash/crash_message_box.h"
#include "identify/identify_dialog.h"
#include "test_support.h"

namespace {

// oFono, unit/test-sms.c: alnum_sender, a message from "sipgate" with its SMS centre.
const QString SIPGATE_PDU = QStringLiteral("0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9");
// An SMS-DELIVER through the centre +8613800100500 from +8613912345678, its text "hellohello" in
// the GSM 7-bit packing of the classic example (E8 32 9B FD 46 97 D9 EC 37).
const QString HELLO_PDU = QStringLiteral("0891683108100005F0040D91683119325476F8000042501021035423"
                                         "0AE8329BFD4697D9EC37");
// A Modbus RTU read of ten holding registers, CRC-16/MODBUS C5 CD (low byte first).
const QString MODBUS_READ = QStringLiteral("01 03 00 00 00 0A C5 CD");

// Texts that may stay Chinese in the English window: none. Core's texts follow the language as
// the window's do; anything Chinese is a text that escaped translation.
const QStringList CORE_TEXTS = {};

bool IsCjk(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) ||
           (u >= 0xFF00 && u <= 0xFFEF) || c.isSurrogate();
}

bool HasCjk(const QString& text)
{
    return std::any_of(text.begin(), text.end(), IsCjk);
}

// Every text shown, with where it is shown.
using Shown = QList<QPair<QString, QString>>;

// The language menu is named in both languages, and each language in its own, on purpose.
bool Bilingual(const QObject* object)
{
    return object->objectName() == QLatin1String("menuLanguage") || object->objectName() == QLatin1String("actionChinese");
}

void Add(Shown& shown, const QObject* object, const char* what, const QString& text)
{
    if (!text.isEmpty() && !Bilingual(object))
        shown.append({object->objectName() + QLatin1Char('.') + QLatin1String(what), text});
}

void AddActions(Shown& shown, const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        if (action->menu() && Bilingual(action->menu()))
            continue;
        Add(shown, action, "text", action->text());
        Add(shown, action, "toolTip", action->toolTip() == action->text().remove(QLatin1Char('&')) ? QString() : action->toolTip());
        if (QMenu* menu = action->menu()) {
            Add(shown, menu, "title", menu->title());
            AddActions(shown, menu->actions());
        }
    }
}

void AddHeader(Shown& shown, QAbstractItemView* view, QAbstractItemModel* model)
{
    if (!model)
        return;
    for (int column = 0; column < model->columnCount(); ++column)
        Add(shown, view, "header", model->headerData(column, Qt::Horizontal).toString());
}

// What a window and everything in it show, leaving out the data: hex boxes, renderings, typed
// values and the cells of data lists.
Shown ShownTexts(QWidget* root)
{
    Shown shown;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (widget->isWindow())
            Add(shown, widget, "windowTitle", widget->windowTitle());
        Add(shown, widget, "toolTip", widget->toolTip());
        Add(shown, widget, "statusTip", widget->statusTip());
        Add(shown, widget, "whatsThis", widget->whatsThis());
        Add(shown, widget, "accessibleName", widget->accessibleName());
        Add(shown, widget, "accessibleDescription", widget->accessibleDescription());
        if (auto* label = qobject_cast<QLabel*>(widget))
            Add(shown, widget, "text", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            Add(shown, widget, "text", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            Add(shown, widget, "title", group->title());
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            Add(shown, widget, "placeholder", edit->placeholderText());
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
            Add(shown, widget, "placeholder", edit->placeholderText());
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable())
            for (int i = 0; i < combo->count(); ++i)
                Add(shown, widget, "item", combo->itemText(i));
        if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i) {
                Add(shown, widget, "tab", tabs->tabText(i));
                Add(shown, widget, "tabToolTip", tabs->tabToolTip(i));
            }
        if (auto* browser = qobject_cast<QTextBrowser*>(widget))
            Add(shown, widget, "page", browser->toPlainText());
        if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            // Field names are the program's words; the values are the message's own.
            AddHeader(shown, tree, tree->model());
            for (QTreeWidgetItemIterator it(tree); *it; ++it)
                Add(shown, widget, "field", (*it)->text(0));
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (int row = 0; row < list->count(); ++row)
                Add(shown, widget, "item", list->item(row)->text());
        } else if (auto* view = qobject_cast<QTableView*>(widget)) {
            AddHeader(shown, view, view->model());
        }
        AddActions(shown, widget->actions());
    }
    return shown;
}

// The texts with Chinese in them that are neither data nor core's.
QStringList Untranslated(const Shown& shown)
{
    QStringList untranslated;
    // The longest first, so that a short one never cuts a longer one that holds it.
    QStringList core = CORE_TEXTS;
    std::sort(core.begin(), core.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const auto& [where, text] : shown) {
        QString own = text;
        for (const QString& piece : core)
            own.replace(piece, QStringLiteral("<core>"));
        if (HasCjk(own))
            untranslated << where + QStringLiteral(": ") + own;
    }
    untranslated.removeDuplicates();
    return untranslated;
}

// A push button's frame on either side of its text.
constexpr int BUTTON_FRAME = 3;

// The controls whose text is wider than the control: a clipped word. Labels that wrap, and the
// frame's own data, are left out.
QStringList Clipped(QWidget* root)
{
    QStringList clipped;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (widget->isHidden())
            continue;
        int needed = 0;
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap() && !label->text().isEmpty())
            needed = label->sizeHint().width();
        else if (auto* push = qobject_cast<QPushButton*>(widget); push && !push->text().isEmpty())
            needed = push->fontMetrics().horizontalAdvance(push->text()) + 2 * BUTTON_FRAME;
        else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty())
            needed = button->sizeHint().width();
        if (needed > widget->width())
            clipped << QStringLiteral("%1 \"%2\": %3 px wide, needs %4")
                           .arg(widget->objectName(), widget->property("text").toString())
                           .arg(widget->width())
                           .arg(needed);
    }
    return clipped;
}

#define VERIFY_UNCLIPPED(root)                                                                             \
    do {                                                                                                   \
        const QStringList clipped = Clipped(root);                                                         \
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));                          \
    } while (false)

#define VERIFY_ENGLISH(shown)                                                                              \
    do {                                                                                                   \
        const QStringList untranslated = Untranslated(shown);                                              \
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));                \
    } while (false)

} // namespace

class TestEnglishTexts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowAndPages();
    void switchAfterWork();
    void panelPagesFit_data();
    void panelPagesFit();
    void menus();
    void dialogs();
    void messageBoxes();

private:
    template <typename T> T* Child(const char* name) { return m_window->findChild<T*>(QLatin1String(name)); }
    QWidget* Page(int index) { return m_window->TabPages()->Page(index); }
    void Click(QWidget* page, const char* button)
    {
        QTest::mouseClick(page->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    // Opens a modal dialog with `open`, and while it is up, `look` at it; then closes it.
    void WhileModal(const std::function<void()>& open, const std::function<void(QDialog*)>& look);
    void FillPages();

    std::unique_ptr<CMainDialog> m_window;
};

void TestEnglishTexts::init()
{
    ApplyLanguage(TextLanguage::English);
    m_window = std::make_unique<CMainDialog>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), 30000));
}

void TestEnglishTexts::cleanup()
{
    m_window.reset();
    ApplyLanguage(TextLanguage::Chinese);
}

void TestEnglishTexts::WhileModal(const std::function<void()>& open, const std::function<void(QDialog*)>& look)
{
    bool looked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        look(dialog);
        looked = true;
        dialog->reject();
    });
    open();
    QVERIFY(looked);
}

// Every page with a frame in it and its work done, as a user leaves it.
void TestEnglishTexts::FillPages()
{
    Page(0)->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(HELLO_PDU);
    Page(0)->findChild<QAbstractButton*>(QStringLiteral("pduReceiveRadio"))->click();

    Page(1)->findChild<QLineEdit*>(QStringLiteral("numberEdit"))->setText(QStringLiteral("230.5"));
    Page(1)->findChild<QAbstractButton*>(QStringLiteral("floatRadio"))->click();
    Click(Page(1), "toArrayButton");

    auto* checksum = static_cast<CChecksumPage*>(Page(2));
    checksum->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(MODBUS_READ);
    QSignalSpy finished(checksum, &CChecksumPage::AnalysisFinished);
    Click(checksum, "analyseButton");
    QVERIFY(finished.wait(60000));

    QWidget* bytes = Page(3);
    bytes->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(QStringLiteral("01 02 03 04 05 06 07 43 66 80 00 09"));
    Click(bytes, "lockButton");
    auto* list = bytes->findChild<CEditableListCtrl*>(QStringLiteral("variableList"));
    for (const char* type : {"UINT", "FLOAT", "ANSI"}) {
        Click(bytes, "addButton");
        list->SetCellText(list->rowCount() - 1, 1, QLatin1String(type));
        list->SetCellText(list->rowCount() - 1, 2, QStringLiteral("4"));
    }
    Click(bytes, "refreshButton");
    list->selectRow(1);
}

void TestEnglishTexts::windowAndPages()
{
    MessageRecorder recorder;
    FillPages();
    for (int i = 0; i < m_window->TabPages()->count(); ++i) {
        m_window->TabPages()->SelectPage(i);
        SaveScreenshot(m_window.get(), QStringLiteral("main_window_tab%1_en").arg(i));
    }
    VERIFY_ENGLISH(ShownTexts(m_window.get()));
    VERIFY_UNCLIPPED(m_window.get());
    // The information panel's pages are the English ones.
    QVERIFY(m_window->SideBrowser()->source().path().startsWith(QStringLiteral("/products/velmorra/en/")));
    QVERIFY(m_window->SideBrowser()->toPlainText().contains(QStringLiteral("Checksum analysis")));

    // A status line made in code follows a later switch too: back to Chinese and again English.
    auto* progress = Page(2)->findChild<QLabel*>(QStringLiteral("progressLabel"));
    QCOMPARE(progress->text(), QStringLiteral("Finished: 6 matches"));
    ApplyLanguage(TextLanguage::Chinese);
    QCOMPARE(progress->text(), QStringLiteral(u"分析完成，共 6 条"));
    ApplyLanguage(TextLanguage::English);
    QCOMPARE(progress->text(), QStringLiteral("Finished: 6 matches"));
    VERIFY_ENGLISH(ShownTexts(m_window.get()));
    VERIFY_UNCLIPPED(m_window.get());

    // Enlarged, the English pages keep their controls beside the lists as the Chinese ones do.
    m_window->resize(m_window->size() + QSize(300, 200));
    m_window->TabPages()->SelectPage(3);
    SaveScreenshot(m_window.get(), QStringLiteral("byte_analysis_page_enlarged_en"));
    QCOMPARE(recorder.messages.size(), 0);
}

// Work done in Chinese and then switched: the lists, trees and lines that core filled are
// rendered again in English, not left as they were made.
void TestEnglishTexts::switchAfterWork()
{
    MessageRecorder recorder;
    ApplyLanguage(TextLanguage::Chinese);
    FillPages();
    ApplyLanguage(TextLanguage::English);
    VERIFY_ENGLISH(ShownTexts(m_window.get()));
    QCOMPARE(recorder.messages.size(), 0);
}

void TestEnglishTexts::panelPagesFit_data()
{
    QTest::addColumn<bool>("side");
    QTest::addColumn<QString>("page");
    for (bool side : {true, false})
        for (const char* page : {"link.html", "advert.html"})
            QTest::addRow("%s, %s", side ? "side panel" : "information tab", page) << side << QString::fromLatin1(page);
}

void TestEnglishTexts::panelPagesFit()
{
    // As the Chinese pages do: no sideways scrolling in either panel.
    QFETCH(bool, side);
    QFETCH(QString, page);
    if (!side)
        m_window->TabPages()->SelectPage(4);
    CWebBrowser2* browser = side ? m_window->SideBrowser() : Page(4)->findChild<CWebBrowser2*>(QStringLiteral("browser"));
    browser->setSource(QUrl(QStringLiteral("qrc:/products/velmorra/en/") + page));
    QVERIFY(!browser->toPlainText().isEmpty());
    QVERIFY(!HasCjk(browser->toPlainText()));
    if (side && page == QLatin1String("link.html")) {  // the whole quick reference, a screen at a time
        QScrollBar* bar = browser->verticalScrollBar();
        for (int screen = 0; screen == 0 || bar->value() < bar->maximum(); ++screen) {
            bar->setValue(screen * bar->pageStep());
            SaveScreenshot(browser, QStringLiteral("side_panel_screen%1_en").arg(screen));
        }
    }
    QCOMPARE(browser->horizontalScrollBar()->maximum(), 0);
}

void TestEnglishTexts::menus()
{
    Shown shown;
    AddActions(shown, m_window->menuBar()->actions());
    VERIFY_ENGLISH(shown);
    QCOMPARE(m_window->menuBar()->actions().size(), 2);
    // The help menu open, with the language menu under it.
    auto* help = m_window->findChild<QMenu*>(QStringLiteral("menuHelp"));
    help->popup(m_window->mapToGlobal(QPoint(60, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(help, 30000));
    SaveScreenshot(help, QStringLiteral("menu_help_en"));
    help->hide();
    auto* languages = m_window->findChild<QMenu*>(QStringLiteral("menuLanguage"));
    languages->popup(m_window->mapToGlobal(QPoint(160, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(languages, 30000));
    SaveScreenshot(languages, QStringLiteral("menu_language_en"));
    languages->hide();

    // The hex box's menu with "Paste and tidy", and the checksum list's own.
    MessageRecorder recorder;
    FillPages();
    m_window->TabPages()->SelectPage(2);
    auto* hex = Page(2)->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"));
    emit hex->customContextMenuRequested(QPoint(10, 10));
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget(), 30000);
    auto* hexMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(hexMenu);
    QVERIFY(QTest::qWaitForWindowExposed(hexMenu, 30000));
    shown.clear();
    AddActions(shown, hexMenu->actions());
    QVERIFY(shown.contains({QStringLiteral("pasteTidiedAction.text"), QStringLiteral("Paste and tidy")}));
    VERIFY_ENGLISH(shown);
    SaveScreenshot(hexMenu, QStringLiteral("hex_box_menu_en"));
    hexMenu->close();
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activePopupWidget(), 30000);

    auto* list = Page(2)->findChild<QTableView*>(QStringLiteral("resultList"));
    list->selectRow(0);
    emit list->customContextMenuRequested(QPoint(20, 10));
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget(), 30000);
    auto* listMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(listMenu);
    QVERIFY(QTest::qWaitForWindowExposed(listMenu, 30000));
    shown.clear();
    AddActions(shown, listMenu->actions());
    QCOMPARE(shown.size(), 3);
    VERIFY_ENGLISH(shown);
    SaveScreenshot(listMenu, QStringLiteral("checksum_list_menu_en"));
    listMenu->close();
}

void TestEnglishTexts::dialogs()
{
    MessageRecorder recorder;
    FillPages();

    // About.
    WhileModal([this] { Child<QAction>("actionAbout")->trigger(); },
               [](QDialog* about) {
                   VERIFY_ENGLISH(ShownTexts(about));
    VERIFY_UNCLIPPED(about);
                   QCOMPARE(about->windowTitle(), QStringLiteral("About Tessik Frame Analyser"));
                   SaveScreenshot(about, QStringLiteral("about_box_en"));
               });

    // The two conversions of the selected value, each after a test run.
    QWidget* bytes = Page(3);
    m_window->TabPages()->SelectPage(3);
    WhileModal([&] { Click(bytes, "engineeringButton"); },
               [](QDialog* dialog) {
                   const char* limits[] = {"adLowEdit", "adHighEdit", "outLowEdit", "outHighEdit", "rangeLowEdit", "rangeHighEdit"};
                   const char* values[] = {"0", "4095", "4", "20", "0", "100"};
                   for (int k = 0; k < 6; ++k)
                       dialog->findChild<QLineEdit*>(QLatin1String(limits[k]))->setText(QLatin1String(values[k]));
                   dialog->findChild<QLineEdit*>(QStringLiteral("testDataEdit"))->setText(QStringLiteral("2048"));
                   QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("testButton")), Qt::LeftButton);
                   QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("resultLabel"))->text().startsWith(QStringLiteral("Result: ")));
                   VERIFY_ENGLISH(ShownTexts(dialog));
    VERIFY_UNCLIPPED(dialog);
                   SaveScreenshot(dialog, QStringLiteral("engineering_conversion_dialog_en"));
               });
    WhileModal([&] { Click(bytes, "mathButton"); },
               [](QDialog* dialog) {
                   QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("testButton")), Qt::LeftButton);
                   QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("resultLabel"))->text().startsWith(QStringLiteral("Result:")));
                   VERIFY_ENGLISH(ShownTexts(dialog));
    VERIFY_UNCLIPPED(dialog);
                   SaveScreenshot(dialog, QStringLiteral("math_conversion_dialog_en"));
               });

    // The value finder with a reading that is in the frame.
    WhileModal([&] { Click(bytes, "findButton"); },
               [](QDialog* dialog) {
                   dialog->findChild<QLineEdit*>(QStringLiteral("readingEdit"))->setText(QStringLiteral("230.5"));
                   auto* hits = dialog->findChild<QTableWidget*>(QStringLiteral("hitList"));
                   QVERIFY(hits->rowCount() > 0);
                   hits->selectRow(0);
                   VERIFY_ENGLISH(ShownTexts(dialog));
    VERIFY_UNCLIPPED(dialog);
                   SaveScreenshot(dialog, QStringLiteral("find_value_dialog_en"));
               });

    // The identification from the checksum page, run to its end.
    m_window->TabPages()->SelectPage(2);
    Click(Page(2), "identifyButton");
    CIdentifyDialog* identify = m_window->IdentifyDialog();
    QVERIFY(identify);
    auto* log = identify->findChild<QPlainTextEdit*>(QStringLiteral("logEdit"));
    log->setPlainText(QStringLiteral("01 03 00 00 00 0A C5 CD\n01 03 00 01 00 01 D5 CA\n01 03 00 02 00 02 65 CB\n"
                                     "01 06 00 01 00 03 98 0B\nnot a frame\n"));
    QSignalSpy identified(identify, &CIdentifyDialog::Finished);
    QTest::mouseClick(identify->findChild<QPushButton*>(QStringLiteral("identifyButton")), Qt::LeftButton);
    QVERIFY(identified.wait(60000));
    QVERIFY(QTest::qWaitForWindowExposed(identify, 30000));
    VERIFY_ENGLISH(ShownTexts(identify));
    VERIFY_UNCLIPPED(identify);
    SaveScreenshot(identify, QStringLiteral("identify_dialog_en"));
    identify->close();

    // The PDU in detail, from the string formatting page.
    m_window->TabPages()->SelectPage(0);
    Click(Page(0), "pduDetailButton");
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget(), 30000);
    QWidget* detail = QApplication::activeModalWidget();
    QVERIFY(QTest::qWaitForWindowExposed(detail, 30000));
    detail->findChild<QPlainTextEdit*>(QStringLiteral("pduEdit"))->setPlainText(HELLO_PDU + QLatin1Char('\n') + SIPGATE_PDU);
    VERIFY_ENGLISH(ShownTexts(detail));
    VERIFY_UNCLIPPED(detail);
    SaveScreenshot(detail, QStringLiteral("sms_detail_dialog_en"));
    detail->close();

    // The crash message, as the crash handler words it in English.
    const auto box = CreateCrashMessageBox(QStringLiteral("velmorra"),
                                           QStringLiteral("Tessik Frame Analyser has met an unexpected error. We are sorry for the "
                                                          "trouble. Please send us the file velmorra_20130303_090507.dmp so that "
                                                          "we can put it right."));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get(), 30000));
    VERIFY_ENGLISH(ShownTexts(box.get()));
    SaveScreenshot(box.get(), QStringLiteral("crash_message_box_en"));
    QCOMPARE(recorder.messages.size(), 0);
}

void TestEnglishTexts::messageBoxes()
{
    MessageRecorder recorder;
    QWidget* checksum = Page(2);
    QWidget* bytes = Page(3);

    // The checksum page: no frame; no method; a row copied.
    Click(checksum, "analyseButton");
    checksum->findChild<QComboBox*>(QStringLiteral("methodCombo"))->setCurrentIndex(-1);
    checksum->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(MODBUS_READ);
    Click(checksum, "analyseButton");
    checksum->findChild<QComboBox*>(QStringLiteral("methodCombo"))->setCurrentIndex(0);
    QSignalSpy finished(static_cast<CChecksumPage*>(checksum), &CChecksumPage::AnalysisFinished);
    Click(checksum, "analyseButton");
    QVERIFY(finished.wait(60000));
    auto* results = checksum->findChild<QTableView*>(QStringLiteral("resultList"));
    results->selectRow(0);
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(results->model()->index(0, 1)).center());
    // A frame over the page's limit.
    checksum->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(QString(1100, QLatin1Char('A')));

    // The byte analysis page: each refusal of its commands.
    m_window->TabPages()->SelectPage(3);
    for (const char* button : {"lockButton", "headRightButton", "removeButton", "engineeringButton", "mathButton", "findButton"})
        Click(bytes, button);
    bytes->findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(QStringLiteral("01 02"));
    Click(bytes, "lockButton");
    Click(bytes, "headLeftButton");
    Click(bytes, "tailRightButton");

    // The two conversions' own refusals, under their own captions.
    Click(bytes, "addButton");
    bytes->findChild<CEditableListCtrl*>(QStringLiteral("variableList"))->selectRow(0);
    WhileModal([&] { Click(bytes, "engineeringButton"); },
               [](QDialog* dialog) {
                   QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("testButton")), Qt::LeftButton);
                   const char* limits[] = {"adLowEdit", "adHighEdit", "outLowEdit", "outHighEdit", "rangeLowEdit", "rangeHighEdit"};
                   const char* values[] = {"100", "0", "4", "20", "0", "100"};
                   for (int k = 0; k < 6; ++k)
                       dialog->findChild<QLineEdit*>(QLatin1String(limits[k]))->setText(QLatin1String(values[k]));
                   dialog->findChild<QLineEdit*>(QStringLiteral("testDataEdit"))->setText(QStringLiteral("50"));
                   QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("testButton")), Qt::LeftButton);
               });
    WhileModal([&] { Click(bytes, "mathButton"); },
               [](QDialog* dialog) {
                   auto* script = dialog->findChild<QWidget*>(QStringLiteral("scriptEdit"));
                   auto* edit = qobject_cast<QTextEdit*>(script);
                   QVERIFY(edit);
                   edit->setPlainText(QStringLiteral("mathdata * unknownName"));
                   QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("testButton")), Qt::LeftButton);
                   edit->setPlainText(QStringLiteral("while (true) {}"));
                   QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("testButton")), Qt::LeftButton);
               });

    // The identification: nothing to identify; a file that cannot be read; one too large.
    m_window->TabPages()->SelectPage(2);
    Click(checksum, "identifyButton");
    CIdentifyDialog* identify = m_window->IdentifyDialog();
    identify->findChild<QPlainTextEdit*>(QStringLiteral("logEdit"))->clear();
    QTest::mouseClick(identify->findChild<QPushButton*>(QStringLiteral("identifyButton")), Qt::LeftButton);
    QTemporaryDir folder;
    identify->LoadFile(folder.filePath(QStringLiteral("missing.log")));
    QFile large(folder.filePath(QStringLiteral("large.log")));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(65 * 1024 * 1024));
    large.close();
    identify->LoadFile(large.fileName());
    identify->close();

    // An exception that escapes an event handler and is no std::exception.
    struct Thrower : QObject {
        bool event(QEvent*) override { throw 42; }
    } thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);

    QCOMPARE(recorder.messages.size(), 20);
    Shown shown;
    for (const MessageRequest& message : recorder.messages) {
        shown.append({QStringLiteral("message"), message.text});
        shown.append({QStringLiteral("caption"), message.caption});
    }
    VERIFY_ENGLISH(shown);

    // Each as the real box shows it.
    const QList<MessageRequest> messages = recorder.messages;
    const MessageHandler previous = SetMessageHandler({});
    for (qsizetype k = 0; k < messages.size(); ++k) {
        QTimer::singleShot(0, [k] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            VERIFY_ENGLISH(ShownTexts(box));
            SaveScreenshot(box, QStringLiteral("message_box_%1_en").arg(k + 1, 2, 10, QLatin1Char('0')));
            box->accept();
        });
        ShowMessage(m_window.get(), messages[k].text, messages[k].icon, messages[k].caption);
    }
    SetMessageHandler(previous);
}

VELMORRA_UI_TEST_MAIN(TestEnglishTexts)
#include "tst_english_texts.moc"
