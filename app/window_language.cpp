#include "app/window_language.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSettings>
#include <QTranslator>
#include <string_view>

#include "app/program_settings.h"

namespace {

constexpr char LANGUAGE_KEY[] = "language";
// The window's English, built from res/translations/velmorra_en.ts into the resources.
constexpr char WINDOW_TRANSLATION[] = ":/i18n/velmorra_en.qm";

struct Translators {
    QPointer<QTranslator> window;
    QPointer<QTranslator> qtChinese;
    bool qtChineseLoaded = false;
};

Translators& Loaded()
{
    static Translators translators;
    return translators;
}

} // namespace

TextLanguage StartUpLanguage(std::optional<TextLanguage> asked)
{
    if (asked)
        return *asked;
    if (const std::optional<TextLanguage> remembered = RememberedLanguage())
        return *remembered;
    return LanguageFromEnvironment();
}

std::optional<TextLanguage> RememberedLanguage()
{
    const QSettings settings{QLatin1String(SETTINGS_ORGANIZATION), QLatin1String(SETTINGS_APPLICATION)};
    return LanguageNamed(settings.value(QLatin1String(LANGUAGE_KEY)).toString().toStdString());
}

void RememberLanguage(TextLanguage language)
{
    QSettings settings{QLatin1String(SETTINGS_ORGANIZATION), QLatin1String(SETTINGS_APPLICATION)};
    settings.setValue(QLatin1String(LANGUAGE_KEY),
                      QLatin1String(language == TextLanguage::English ? "en" : "zh"));
}

void ApplyLanguage(TextLanguage language)
{
    SetTextLanguage(language);
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    Translators& loaded = Loaded();
    if (!loaded.window) {
        loaded.window = new QTranslator(application);
        if (!loaded.window->load(QLatin1String(WINDOW_TRANSLATION)))
            qWarning("The window's English translation %s is missing", WINDOW_TRANSLATION);
        // Qt's own texts (standard buttons, the edit boxes' menus) are English already.
        loaded.qtChinese = new QTranslator(application);
        loaded.qtChineseLoaded = loaded.qtChinese->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                                                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    QCoreApplication::removeTranslator(loaded.window);
    QCoreApplication::removeTranslator(loaded.qtChinese);
    if (language == TextLanguage::English)
        QCoreApplication::installTranslator(loaded.window);
    else if (loaded.qtChineseLoaded)
        QCoreApplication::installTranslator(loaded.qtChinese);
    // The windows hear of it by posted events; let them all have changed before going on.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

bool QtChineseLoaded()
{
    const Translators& loaded = Loaded();
    return loaded.qtChineseLoaded && CurrentTextLanguage() == TextLanguage::Chinese;
}

std::optional<TextLanguage> LanguageArgument(int argc, const char* const* argv, bool& valid)
{
    valid = true;
    std::optional<TextLanguage> language;
    for (int k = 1; k < argc; ++k) {
        const std::string_view argument = argv[k];
        std::string_view value;
        if (argument == "--lang")
            value = k + 1 < argc ? std::string_view(argv[++k]) : std::string_view();
        else if (argument.starts_with("--lang="))
            value = argument.substr(7);
        else
            continue;
        language = LanguageNamed(value);
        if (!language) {
            valid = false;
            return std::nullopt;
        }
    }
    return language;
}

QString LanguageArgumentRefusal(const char* program)
{
    const QString path = QString::fromLocal8Bit(program ? program : "velmorra");
    return QCoreApplication::translate("CMainApp", "%1: --lang 只接受 en（英文）或 zh（中文）")
        .arg(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}
