#pragma once
// The application object: the program's look, and the last stop for an exception that escapes
// an event handler.

#include <QApplication>

class CMainApp : public QApplication {
    Q_OBJECT
public:
    CMainApp(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
