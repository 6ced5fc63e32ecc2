#pragma once
// Shared pieces of the user-interface tests: a message-box recorder, screenshots, and a main()
// that runs the test object under the program's own application object.

#include <QList>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/main_app.h"
#include "common/message_box.h"

class QWidget;

// Records every message box instead of showing it, for as long as it lives.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<MessageRequest> messages;
    // Called while the "box" is up, so a test can look at the widgets at that moment.
    std::function<void(const MessageRequest&)> whileShown;

    QStringList Texts() const;
    void Clear() { messages.clear(); }

private:
    MessageHandler m_previous;
};

/// Saves a PNG of `widget` as build/screenshots/<name>.png.
void SaveScreenshot(QWidget* widget, const QString& name);

// Settings go to a folder of the test's own, never the user's.
#define VELMORRA_UI_TEST_MAIN(TestObject)                                                      \
    int main(int argc, char** argv)                                                            \
    {                                                                                          \
        QTemporaryDir settings;                                                                \
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})       \
            for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})      \
                QSettings::setPath(format, scope, settings.path());                           \
        CMainApp app(argc, argv);                                                              \
        TestObject test;                                                                       \
        return QTest::qExec(&test, argc, argv);                                                \
    }
