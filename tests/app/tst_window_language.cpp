// The window's language: which one a start chooses, the menu that switches it at once and is
// remembered, and Qt's own Chinese for the standard texts.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_dialog.h"
#include "app/page_tab_ctrl.h"
#include "app/program_settings.h"
#include "app/web_browser2.h"
#include "app/window_language.h"
#include "identify/identify_dialog.h"
#include "test_support.h"

namespace {

constexpr const char* LOCALE_VARIABLES[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

// Sets the locale variables for a while, and puts back what was there.
class CLocaleEnvironment {
public:
    CLocaleEnvironment(const QString& all, const QString& messages, const QString& lang)
    {
        const QString values[] = {all, messages, lang};
        for (int k = 0; k < 3; ++k) {
            m_saved[k] = qgetenv(LOCALE_VARIABLES[k]);
            m_had[k] = qEnvironmentVariableIsSet(LOCALE_VARIABLES[k]);
            if (values[k].isNull())
                qunsetenv(LOCALE_VARIABLES[k]);
            else
                qputenv(LOCALE_VARIABLES[k], values[k].toUtf8());
        }
    }
    ~CLocaleEnvironment()
    {
        for (int k = 0; k < 3; ++k) {
            if (m_had[k])
                qputenv(LOCALE_VARIABLES[k], m_saved[k]);
            else
                qunsetenv(LOCALE_VARIABLES[k]);
        }
    }

private:
    QByteArray m_saved[3];
    bool m_had[3] = {};
};

void ForgetLanguage()
{
    QSettings{QLatin1String(SETTINGS_ORGANIZATION), QLatin1String(SETTINGS_APPLICATION)}.remove(QStringLiteral("language"));
}

// What the window says, control by control: the texts a language change must bring back exactly.
QStringList WindowTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        // Qt's own hidden parts (a tab bar's scroll buttons) name themselves once, in the
        // language of their making.
        if (widget->isHidden())
            continue;
        const QString name = widget->objectName() + QLatin1Char('=');
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << name + label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << name + button->text();
        if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << name + tabs->tabText(i);
        texts << name + widget->accessibleName() << name + widget->toolTip();
    }
    for (QAction* action : window->findChildren<QAction*>())
        texts << action->objectName() + QLatin1Char('=') + action->text();
    for (QMenu* menu : window->findChildren<QMenu*>())
        texts << menu->objectName() + QLatin1Char('=') + menu->title();
    return texts;
}

QAction* Action(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(QLatin1String(name));
}

} // namespace

class TestWindowLanguage : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpLanguage_data();
    void startUpLanguage();
    void languageArgument_data();
    void languageArgument();
    void menuSwitchesAtOnceAndIsRemembered();
    void openIdentificationFollowsTheSwitch();
    void qtSpeaksChineseInTheStandardTexts();
    void programSaysWhyItEnds_data();
    void programSaysWhyItEnds();
};

void TestWindowLanguage::init()
{
    ForgetLanguage();
    ApplyLanguage(TextLanguage::Chinese);
}

void TestWindowLanguage::cleanup()
{
    ApplyLanguage(TextLanguage::Chinese);
    ForgetLanguage();
}

void TestWindowLanguage::startUpLanguage_data()
{
    QTest::addColumn<QString>("all");        // null: unset
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("remembered");  // "" for no choice made in the menu
    QTest::addColumn<QString>("asked");       // `--lang`, "" for none
    QTest::addColumn<bool>("english");
    const QString unset;
    QTest::newRow("English locale") << unset << unset << QStringLiteral("en_US.UTF-8") << "" << "" << true;
    QTest::newRow("British English, no territory codeset") << unset << unset << QStringLiteral("en_GB") << "" << "" << true;
    QTest::newRow("Chinese locale") << unset << unset << QStringLiteral("zh_CN.UTF-8") << "" << "" << false;
    QTest::newRow("German locale") << unset << unset << QStringLiteral("de_DE.UTF-8") << "" << "" << false;
    QTest::newRow("C locale") << unset << unset << QStringLiteral("C.UTF-8") << "" << "" << false;
    QTest::newRow("no locale at all") << unset << unset << unset << "" << "" << false;
    QTest::newRow("LC_ALL decides before LANG") << QStringLiteral("fr_FR.UTF-8") << unset << QStringLiteral("en_US.UTF-8") << ""
                                                << "" << false;
    QTest::newRow("LC_MESSAGES decides before LANG") << unset << QStringLiteral("en_AU.UTF-8") << QStringLiteral("zh_TW.UTF-8")
                                                     << "" << "" << true;
    QTest::newRow("empty LC_ALL is no choice") << QString(QLatin1String("")) << unset << QStringLiteral("en_US.UTF-8") << ""
                                               << "" << true;
    QTest::newRow("menu's Chinese over an English locale") << unset << unset << QStringLiteral("en_US.UTF-8") << "zh" << ""
                                                           << false;
    QTest::newRow("menu's English over a Japanese locale") << unset << unset << QStringLiteral("ja_JP.UTF-8") << "en" << ""
                                                           << true;
    QTest::newRow("--lang over the menu's choice") << unset << unset << QStringLiteral("en_US.UTF-8") << "en" << "zh" << false;
    QTest::newRow("--lang en over a Chinese locale") << unset << unset << QStringLiteral("zh_CN.UTF-8") << "" << "en" << true;
}

void TestWindowLanguage::startUpLanguage()
{
    QFETCH(QString, all);
    QFETCH(QString, messages);
    QFETCH(QString, lang);
    QFETCH(QString, remembered);
    QFETCH(QString, asked);
    QFETCH(bool, english);
    const CLocaleEnvironment environment(all, messages, lang);
    if (!remembered.isEmpty())
        RememberLanguage(remembered == QLatin1String("en") ? TextLanguage::English : TextLanguage::Chinese);
    const std::optional<TextLanguage> argument = LanguageNamed(asked.toStdString());
    QCOMPARE(StartUpLanguage(argument), english ? TextLanguage::English : TextLanguage::Chinese);
}

void TestWindowLanguage::languageArgument_data()
{
    QTest::addColumn<QStringList>("arguments");  // after the program's name
    QTest::addColumn<QString>("language");       // "" for none
    QTest::addColumn<bool>("valid");
    QTest::newRow("none") << QStringList() << "" << true;
    QTest::newRow("other arguments are no business of it") << QStringList{"-platform", "offscreen"} << "" << true;
    QTest::newRow("--lang en") << QStringList{"--lang", "en"} << "en" << true;
    QTest::newRow("--lang=zh") << QStringList{"--lang=zh"} << "zh" << true;
    QTest::newRow("any case") << QStringList{"--lang", "EN"} << "en" << true;
    QTest::newRow("the last one counts") << QStringList{"--lang", "en", "--lang=zh"} << "zh" << true;
    QTest::newRow("another language") << QStringList{"--lang", "de"} << "" << false;
    QTest::newRow("a locale name is no language name") << QStringList{"--lang=en_US"} << "" << false;
    QTest::newRow("no value") << QStringList{"--lang"} << "" << false;
    QTest::newRow("empty value") << QStringList{"--lang="} << "" << false;
}

void TestWindowLanguage::languageArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, language);
    QFETCH(bool, valid);
    std::vector<QByteArray> storage{QByteArrayLiteral("velmorra")};
    for (const QString& argument : arguments)
        storage.push_back(argument.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& argument : storage)
        argv.push_back(argument.constData());
    bool isValid = !valid;
    const std::optional<TextLanguage> found = LanguageArgument(static_cast<int>(argv.size()), argv.data(), isValid);
    QCOMPARE(isValid, valid);
    QCOMPARE(found, LanguageNamed(language.toStdString()));
}

void TestWindowLanguage::menuSwitchesAtOnceAndIsRemembered()
{
    auto window = std::make_unique<CMainDialog>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get(), 30000));
    const QStringList chinese = WindowTexts(window.get());
    QVERIFY(Action(window.get(), "actionChinese")->isChecked());
    QVERIFY(!Action(window.get(), "actionEnglish")->isChecked());
    const QUrl sideChinese = window->SideBrowser()->source();

    // The menu sits in the help menu, named in both languages, each choice in its own.
    auto* help = window->findChild<QMenu*>(QStringLiteral("menuHelp"));
    auto* languages = window->findChild<QMenu*>(QStringLiteral("menuLanguage"));
    QVERIFY(help && languages);
    QCOMPARE(help->actions().first()->menu(), languages);
    QCOMPARE(languages->title(), QStringLiteral("语言 / Language"));
    QCOMPARE(Action(window.get(), "actionChinese")->text(), QStringLiteral("中文"));
    QCOMPARE(Action(window.get(), "actionEnglish")->text(), QStringLiteral("English"));

    Action(window.get(), "actionEnglish")->trigger();
    // At once: the title, the menus, the tabs, the status bar, a page's controls, the side panel.
    QCOMPARE(CurrentTextLanguage(), TextLanguage::English);
    QCOMPARE(window->windowTitle(), QStringLiteral("Tessik Frame Analyser V1.01"));
    QCOMPARE(window->menuBar()->actions().first()->text(), QStringLiteral("Analysis"));
    QCOMPARE(Action(window.get(), "actionAbout")->text(), QStringLiteral("About"));
    QCOMPARE(window->TabPages()->tabBar()->tabText(2), QStringLiteral("Checksum analysis"));
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("statusText1"))->text().contains(QStringLiteral("Welcome to Tessik Studio")));
    QCOMPARE(window->findChild<QAbstractButton*>(QStringLiteral("lockButton"))->text(), QStringLiteral("Lock data"));
    QCOMPARE(window->SideBrowser()->source(), QUrl(QStringLiteral("qrc:/products/velmorra/en/link.html")));
    QVERIFY(window->SideBrowser()->toPlainText().contains(QStringLiteral("Checksum analysis")));
    QVERIFY(Action(window.get(), "actionEnglish")->isChecked());
    QVERIFY(!Action(window.get(), "actionChinese")->isChecked());
    QCOMPARE(RememberedLanguage(), std::optional(TextLanguage::English));
    window->TabPages()->SelectPage(3);
    SaveScreenshot(window.get(), QStringLiteral("language_switched_to_english_en"));

    // The next start, whatever the locale says.
    window.reset();
    {
        const CLocaleEnvironment environment(QString(), QString(), QStringLiteral("zh_CN.UTF-8"));
        QCOMPARE(StartUpLanguage(std::nullopt), TextLanguage::English);
    }
    window = std::make_unique<CMainDialog>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get(), 30000));
    QVERIFY(Action(window.get(), "actionEnglish")->isChecked());
    QCOMPARE(window->TabPages()->tabBar()->tabText(0), QStringLiteral("String formatting"));

    // And back: every text exactly as the Chinese window had it.
    Action(window.get(), "actionChinese")->trigger();
    QCOMPARE(CurrentTextLanguage(), TextLanguage::Chinese);
    QCOMPARE(RememberedLanguage(), std::optional(TextLanguage::Chinese));
    QCOMPARE(window->SideBrowser()->source(), sideChinese);
    const QStringList back = WindowTexts(window.get());
    QCOMPARE(back.size(), chinese.size());
    for (qsizetype k = 0; k < back.size(); ++k)
        QCOMPARE(back[k], chinese[k]);
}

void TestWindowLanguage::openIdentificationFollowsTheSwitch()
{
    // The one window that stays open beside the main window: its result and the rule chosen in it
    // stay, in the other language.
    CMainDialog window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 30000));
    window.TabPages()->SelectPage(2);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("identifyButton")), Qt::LeftButton);
    CIdentifyDialog* dialog = window.IdentifyDialog();
    QVERIFY(dialog);
    // Modbus RTU reads and a write with their CRC-16/MODBUS, low byte first, and a line with no frame.
    dialog->findChild<QPlainTextEdit*>(QStringLiteral("logEdit"))
        ->setPlainText(QStringLiteral("01 03 00 00 00 0A C5 CD\n01 03 00 01 00 01 D5 CA\n01 03 00 02 00 02 65 CB\n"
                                      "01 06 00 01 00 03 98 0B\nno frame here\n"));
    QSignalSpy finished(dialog, &CIdentifyDialog::Finished);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("identifyButton")), Qt::LeftButton);
    QVERIFY(finished.wait(60000));
    auto* frame = dialog->findChild<QSpinBox*>(QStringLiteral("frameSpin"));
    frame->setValue(3);
    const QStringList chinese = WindowTexts(dialog);
    auto* rules = dialog->findChild<QListWidget*>(QStringLiteral("resultList"));
    const int rule = rules->currentRow();
    QVERIFY(rule >= 0);

    Action(&window, "actionEnglish")->trigger();
    QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("identifyButton"))->text(), QStringLiteral("Identify"));
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("frameLineLabel"))->text(), QStringLiteral("Log line 3, 8 bytes"));
    // The refused line's reason, which core words, is worded again too.
    const QString info = dialog->findChild<QLabel*>(QStringLiteral("infoLine"))->text();
    QVERIFY2(info.startsWith(QStringLiteral("Line 5: ")) && !info.contains(QStringLiteral(u"16进制")), qPrintable(info));
    QCOMPARE(rules->accessibleName(), dialog->findChild<QLabel*>(QStringLiteral("resultLabel"))->text());
    QCOMPARE(rules->currentRow(), rule);
    QCOMPARE(frame->value(), 3);
    SaveScreenshot(dialog, QStringLiteral("identify_dialog_switched_en"));

    Action(&window, "actionChinese")->trigger();
    QCOMPARE(WindowTexts(dialog), chinese);
    QCOMPARE(rules->currentRow(), rule);
}

void TestWindowLanguage::qtSpeaksChineseInTheStandardTexts()
{
    // The real box, not the recorder: its button is Qt's own text.
    const MessageHandler recorder = SetMessageHandler({});
    QStringList buttons;
    const auto showAndRead = [&buttons](const QString& name) {
        QTimer::singleShot(0, [&buttons, name] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            buttons << box->button(QMessageBox::Ok)->text();
            SaveScreenshot(box, name);
            box->accept();
        });
    };
    showAndRead(QStringLiteral("message_box_chinese"));
    ShowMessage(nullptr, QStringLiteral(u"请首先锁定数据！"));
    ApplyLanguage(TextLanguage::English);
    showAndRead(QStringLiteral("message_box_en"));
    ShowMessage(nullptr, QStringLiteral("Lock the data first."));
    SetMessageHandler(recorder);
    QCOMPARE(buttons.value(1), QStringLiteral("OK"));
    if (!QtChineseLoaded()) {
        ApplyLanguage(TextLanguage::Chinese);
        if (!QtChineseLoaded())
            QSKIP("Qt's Chinese translation (qt6-translations-l10n) is not installed");
    }
    QCOMPARE(buttons.value(0), QStringLiteral("确定"));
}

void TestWindowLanguage::programSaysWhyItEnds_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");  // the start of standard error, one line
    const QStringList french{QStringLiteral("--lang"), QStringLiteral("fr")};
    const QString offscreen = QStringLiteral("offscreen"), x11 = QStringLiteral("xcb");
    QTest::newRow("another language, in Chinese")
        << french << offscreen << "zh_CN.UTF-8" << 2 << QStringLiteral(u"velmorra: --lang 只接受 en（英文）或 zh（中文）\n");
    QTest::newRow("another language, in English")
        << french << offscreen << "en_GB.UTF-8" << 2 << QStringLiteral("velmorra: --lang takes en (English) or zh (Chinese)\n");
    QTest::newRow("no display, in English") << QStringList() << x11 << "en_US.UTF-8" << 1
                                            << QStringLiteral("velmorra: the window cannot open (qt.qpa.xcb: ");
    QTest::newRow("no display, --lang zh over the locale")
        << QStringList{QStringLiteral("--lang=zh")} << x11 << "en_US.UTF-8" << 1
        << QStringLiteral(u"velmorra: 窗口无法启动（qt.qpa.xcb: ");
}

void TestWindowLanguage::programSaysWhyItEnds()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(QString, lang);
    QFETCH(int, status);
    QFETCH(QString, said);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LANG"), lang);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    // The user's own settings stay out of it: a folder with no choice in it.
    QTemporaryDir home;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.start(QStringLiteral(VELMORRA_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(120000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QString error = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(error.startsWith(said) && error.count(QLatin1Char('\n')) == 1, qPrintable(error));
}

VELMORRA_UI_TEST_MAIN(TestWindowLanguage)
#include "tst_window_language.moc"
