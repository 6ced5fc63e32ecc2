// The crash handler's message box, as a program of its own: the faulted process cannot run a user
// interface any more. Arguments: the caption, the text, the X11 id of the main window to stay
// above (0 for none) and the language, "en" or "zh". The crash handler waits until the box is closed.

#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>
#include <cstdlib>

#include "crash/crash_message_box.h"
#include "app/main_app.h"
#include "app/window_language.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const QString caption = QString::fromUtf8(argv[1]);
    const QString text = QString::fromUtf8(argv[2]);
    const unsigned long owner = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;

    int qtArgc = 1;  // the program name only: the message texts are no options for Qt
    CMainApp app(qtArgc, argv);
    ApplyLanguage(LanguageNamed(argc > 4 ? argv[4] : "").value_or(TextLanguage::Chinese));
    std::unique_ptr<QWindow> ownerWindow;
    const std::unique_ptr<QMessageBox> box = CreateCrashMessageBox(caption, text);
    if (owner != 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        ownerWindow.reset(QWindow::fromWinId(static_cast<WId>(owner)));
        box->winId();  // gives the box its native window, which the owner is set on
        if (ownerWindow && box->windowHandle())
            box->windowHandle()->setTransientParent(ownerWindow.get());
    }
    box->exec();
    return 0;
}
