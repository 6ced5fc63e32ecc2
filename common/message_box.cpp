#include "common/message_box.h"

#include <QMessageBox>

namespace {

MessageHandler& Handler()
{
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        break;
    }
    return QMessageBox::Warning;
}

} // namespace

QString ApplicationCaption()
{
    return QStringLiteral("Velmorra");
}

void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon, const QString& caption)
{
    const MessageRequest request{parent, text, icon, caption.isEmpty() ? ApplicationCaption() : caption};
    if (Handler()) {
        Handler()(request);
        return;
    }
    QMessageBox box(ToQtIcon(icon), request.caption, text, QMessageBox::Ok, parent);
    box.exec();
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
