#include <QGuiApplication>
#include <cstdio>

#include "app/main_app.h"
#include "app/main_dialog.h"
#include "app/window_language.h"
#include "common/text_language.h"
#include "common/thread_start.h"
#include "crash/crash_dump_filter.h"

int main(int argc, char** argv)
{
    // First of all, so a fault anywhere later, on any thread, leaves a report.
    InstallCrashDumpFilter();
    CMainApp::GuardStartUp(argc > 0 ? argv[0] : nullptr);
    SetThreadStartHook(&InstallThreadSignalStack);
    SetCrashLanguageSource(&CurrentTextLanguage);
    bool languageValid = true;
    const std::optional<TextLanguage> asked = LanguageArgument(argc, argv, languageValid);
    // For what Qt's start-up may have to say: the settings are read once Qt runs.
    SetTextLanguage(asked.value_or(LanguageFromEnvironment()));
    CMainApp app(argc, argv);
    ApplyLanguage(StartUpLanguage(asked));
    if (!languageValid) {
        const QByteArray line = LanguageArgumentRefusal(argc > 0 ? argv[0] : nullptr).toUtf8() + '\n';
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
        return 2;
    }
    CMainDialog dialog;
    dialog.show();
    CMainApp::EndStartUp();
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        SetCrashMessageOwner(static_cast<unsigned long>(dialog.winId()));
    return app.exec();
}
