#include <QGuiApplication>

#include "app/main_app.h"
#include "app/main_dialog.h"
#include "common/thread_start.h"
#include "crash/crash_dump_filter.h"

int main(int argc, char** argv)
{
    // First of all, so a fault anywhere later, on any thread, leaves a report.
    InstallCrashDumpFilter();
    CMainApp::GuardStartUp(argc > 0 ? argv[0] : nullptr);
    SetThreadStartHook(&InstallThreadSignalStack);
    CMainApp app(argc, argv);
    CMainDialog dialog;
    dialog.show();
    CMainApp::EndStartUp();
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        SetCrashMessageOwner(static_cast<unsigned long>(dialog.winId()));
    return app.exec();
}
