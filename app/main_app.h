#pragma once
// The application object: the program's look, and the last stop for an exception that escapes
// an event handler.

#include <QApplication>

class CMainApp : public QApplication {
    Q_OBJECT
public:
    CMainApp(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    /// Until EndStartUp, a fatal error of Qt's start-up (no display, no platform plugin) is the
    /// user's situation, not a fault of the program: one line on standard error and exit status
    /// 1, with no crash report. Other messages of that time are held back and then passed on.
    static void GuardStartUp(const char* program);
    /// The window exists: fatal errors from now on are faults again, and leave their report.
    static void EndStartUp();
};
