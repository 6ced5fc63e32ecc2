#pragma once
// The one way this program shows a message box. Tests swap the handler for a recorder.

#include <QString>
#include <functional>

class QWidget;

enum class MessageIcon { Information, Warning, Stop };

struct MessageRequest {
    QWidget* parent;
    QString text;
    MessageIcon icon;
    QString caption;
};

using MessageHandler = std::function<void(const MessageRequest&)>;

/// The caption of every message box that names no caption of its own.
QString ApplicationCaption();

/// A modal box with an OK button; the caption defaults to the application's name.
void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::Warning,
                 const QString& caption = QString());

/// Replaces the handler (an empty one restores the real box) and returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);
