#include "app/main_app.h"

#include <QFont>
#include <QIcon>
#include <QStyleFactory>
#include <cstdio>
#include <exception>
#include <mutex>
#include <unistd.h>
#include <vector>

#include "common/message_box.h"
#include "common/text_language.h"
#include "common/version.h"

namespace {

// The start-up guard's state: set by GuardStartUp, read by the handler on whichever thread logs.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::mutex g_startUpLock;
QtMessageHandler g_previousHandler = nullptr;
QByteArray g_program;
std::vector<HeldMessage> g_held;

void StartUpMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    std::lock_guard lock(g_startUpLock);
    if (type != QtFatalMsg) {
        g_held.push_back({type, QByteArray(context.category), text});
        return;
    }
    // Qt says why before it gives up ("qt.qpa.xcb: could not connect to display"); that first
    // warning is the reason, else the fatal message's first line.
    QString reason = text.section(QLatin1Char('\n'), 0, 0);
    for (const HeldMessage& held : g_held)
        if (held.type == QtWarningMsg || held.type == QtCriticalMsg) {
            reason = held.category.isEmpty() || held.category == "default"
                         ? held.text
                         : QString::fromUtf8(held.category) + QStringLiteral(": ") + held.text;
            break;
        }
    // Qt has not started, so no translation can be loaded: both languages stand here.
    const QString format = CurrentTextLanguage() == TextLanguage::English ? QStringLiteral(": the window cannot open (%1)\n")
                                                                          : QStringLiteral(u": 窗口无法启动（%1）\n");
    const QByteArray line = g_program + format.arg(reason.simplified()).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
    _exit(1);
}

} // namespace

void CMainApp::GuardStartUp(const char* program)
{
    std::lock_guard lock(g_startUpLock);
    const QByteArray path(program ? program : "velmorra");
    g_program = path.mid(path.lastIndexOf('/') + 1);
    g_previousHandler = qInstallMessageHandler(StartUpMessageHandler);
}

void CMainApp::EndStartUp()
{
    std::vector<HeldMessage> held;
    QtMessageHandler previous;
    {
        std::lock_guard lock(g_startUpLock);
        previous = g_previousHandler;
        if (!previous)
            return;
        qInstallMessageHandler(previous);
        g_previousHandler = nullptr;
        held.swap(g_held);
    }
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        previous(message.type, context, message.text);
    }
}

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
        ShowMessage(activeWindow(), tr("未知异常"), MessageIcon::Stop);
    }
    return false;
}
