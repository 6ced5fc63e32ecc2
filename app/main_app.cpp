#include "app/main_app.h"

#include <QFont>
#include <QIcon>
#include <QStyleFactory>
#include <exception>

#include "common/message_box.h"
#include "common/version.h"

CMainApp::CMainApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(ApplicationCaption());
    setApplicationVersion(QStringLiteral(VELMORRA_VERSION));
    // The installed desktop entry's name, by which the desktop gives the window its icon and entry.
    setDesktopFileName(QStringLiteral(VELMORRA_APP_ID));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
    // The forms are placed in pixels; a fixed pixel size keeps every caption inside its control,
    // and the CJK face keeps the Chinese texts readable whatever the desktop's default is.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    setFont(font);
    setWindowIcon(QIcon(QStringLiteral(":/velmorra.png")));
}

bool CMainApp::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowMessage(activeWindow(), QString::fromUtf8(error.what()), MessageIcon::Stop);
    } catch (...) {
        ShowMessage(activeWindow(), QStringLiteral("未知异常"), MessageIcon::Stop);
    }
    return false;
}
