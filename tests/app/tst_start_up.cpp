#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "test_support.h"

namespace {

QStringList g_passedOn;

void RecordMessage(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    g_passedOn << QString::fromUtf8(context.category) + QLatin1Char(':') + text;
}

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT
private slots:
    void noWindowSystemIsOneLineAndStatus1_data();
    void noWindowSystemIsOneLineAndStatus1();
    void messagesOfTheStartUpPassOnOnceTheWindowIsUp();
};

void TestStartUp::noWindowSystemIsOneLineAndStatus1_data()
{
    QTest::addColumn<QString>("platform");  // empty: Qt's own choice
    QTest::addColumn<QString>("reason");
    // An ssh session without X forwarding: no DISPLAY, no Wayland, no offscreen platform.
    QTest::newRow("no display") << QString() << QStringLiteral("qt.qpa.xcb: could not connect to display");
    QTest::newRow("X11 asked for") << QStringLiteral("xcb") << QStringLiteral("qt.qpa.xcb: could not connect to display");
    QTest::newRow("no such platform") << QStringLiteral("nowhere") << QStringLiteral("qt.qpa.plugin:");
}

void TestStartUp::noWindowSystemIsOneLineAndStatus1()
{
    QFETCH(QString, platform);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(VELMORRA_PROGRAM), {});
    QVERIFY(program.waitForStarted(30000));
    QVERIFY(program.waitForFinished(120000));

    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.endsWith(QLatin1Char('\n')) && err.count(QLatin1Char('\n')) == 1, qPrintable(err));
    QVERIFY2(err.startsWith(QStringLiteral(u"velmorra: 窗口无法启动（") + reason), qPrintable(err));
    // No crash report, no settings, nothing at all.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestStartUp::messagesOfTheStartUpPassOnOnceTheWindowIsUp()
{
    // Held back while the window comes up, then passed on; a fatal error afterwards reaches the
    // handler that was there before, which ends in the crash report.
    g_passedOn.clear();
    const QtMessageHandler outer = qInstallMessageHandler(RecordMessage);
    CMainApp::GuardStartUp("velmorra");
    qWarning("while starting");
    QCOMPARE(g_passedOn, QStringList());
    CMainApp::EndStartUp();
    QCOMPARE(g_passedOn, QStringList{QStringLiteral("default:while starting")});
    qWarning("later");
    QCOMPARE(g_passedOn.size(), 2);
    QVERIFY(qInstallMessageHandler(outer) == &RecordMessage);
}

VELMORRA_UI_TEST_MAIN(TestStartUp)
#include "tst_start_up.moc"
