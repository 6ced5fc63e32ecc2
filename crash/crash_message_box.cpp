#include "crash/crash_message_box.h"

#include <QMessageBox>

std::unique_ptr<QMessageBox> CreateCrashMessageBox(const QString& caption, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, caption, text, QMessageBox::Ok);
    box->setObjectName(QStringLiteral("crashMessageBox"));
    // Above the main window, which belongs to the crashed process and no longer answers.
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box;
}
