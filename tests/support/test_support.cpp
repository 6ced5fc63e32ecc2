#include "test_support.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

MessageRecorder::MessageRecorder()
{
    m_previous = SetMessageHandler([this](const MessageRequest& request) {
        messages.append(request);
        if (whileShown)
            whileShown(request);
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageHandler(std::move(m_previous));
}

QStringList MessageRecorder::Texts() const
{
    QStringList texts;
    for (const MessageRequest& m : messages)
        texts.append(m.text);
    return texts;
}

void SaveScreenshot(QWidget* widget, const QString& name)
{
    const QString dir = QStringLiteral(VELMORRA_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}
