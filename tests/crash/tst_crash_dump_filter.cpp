// The crash handler in real processes: a test program installs it and faults on purpose in a
// temporary working directory, beside a stub message program that records what it was asked to
// show. The real dump writer and dumper write the report.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

const QString PROGRAM = QStringLiteral("Velmorra");  // named as the product's executable
const QString STAMP = QStringLiteral("20130303090507");
const QString STAMPED_FILE = QStringLiteral("Velmorra_20130303_090507.dmp");
const QString WRITER = QStringLiteral("libvelmorra_dumpwriter.so");

QString Apology(const QString& file)
{
    return QStringLiteral("Tessik通讯数据分析辅助工具 遇到未知错误，我们对此引起的不便表示抱歉，请把%1文件发送给我们，"
                          "以便我们进行改进！")
        .arg(file);
}

// One run of the fault program: bin/ holds the program and what lies beside it, lib/ what the
// normal library search finds, work/ is the working directory. Installed, the message program,
// the dumper and the real writer lie in the program's library folder instead.
class CCrashRun {
public:
    enum Layout { BUILD_TREE, INSTALLED };

    explicit CCrashRun(const QString& besideLibrary = QStringLiteral(WRITER_REAL), bool onSearchPath = false,
                       Layout layout = BUILD_TREE)
        : m_helpers(layout == INSTALLED ? QDir::cleanPath(QStringLiteral("bin/" HELPER_FOLDER)) + QLatin1Char('/')
                                        : QStringLiteral("bin/"))
    {
        QDir root(m_root.path());
        for (const QString& folder : {QStringLiteral("bin"), QStringLiteral("lib"), QStringLiteral("work"), m_helpers})
            root.mkpath(folder);
        Copy(QStringLiteral(FAULT_PROGRAM), Path(QStringLiteral("bin/") + PROGRAM));
        Copy(QStringLiteral(MESSAGE_STUB), Path(m_helpers + QStringLiteral("velmorra_crash_message")));
        Copy(QStringLiteral(DUMPER), Path(m_helpers + QStringLiteral("velmorra_crash_dumper")));
        if (layout == INSTALLED)
            Copy(QStringLiteral(WRITER_REAL), Path(m_helpers + WRITER));
        if (!besideLibrary.isEmpty())
            Copy(besideLibrary, Path(QStringLiteral("bin/") + WRITER));
        if (onSearchPath) {
            Copy(QStringLiteral(WRITER_REAL), Path(QStringLiteral("lib/") + WRITER));
            Copy(QStringLiteral(DUMPER), Path(QStringLiteral("lib/velmorra_crash_dumper")));
            m_environment.insert(QStringLiteral("LD_LIBRARY_PATH"), Path(QStringLiteral("lib")));
        } else {
            m_environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
        }
        // A sanitizer build's runtime would take the fatal signals for its own reports, and give
        // every thread a signal stack of its own, hiding one the program failed to give.
        m_environment.insert(QStringLiteral("ASAN_OPTIONS"),
                             QStringLiteral("handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:"
                                            "handle_abort=0:allow_user_segv_handler=1:use_sigaltstack=0"));
    }

    QString Work(const QString& name = QString()) const { return Path(QStringLiteral("work/") + name); }

    // Runs the program to its end; false when it did not end by itself.
    bool Run(const QString& mode, const QString& stamp = STAMP, const QString& language = QString())
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.setWorkingDirectory(Work());
        QStringList arguments{mode, stamp};
        if (!language.isEmpty())
            arguments << language;
        else if (stamp.isEmpty())
            arguments.removeLast();
        process.start(Path(QStringLiteral("bin/") + PROGRAM), arguments);
        if (!process.waitForFinished(120000))
            return false;
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        output = QString::fromUtf8(process.readAllStandardOutput());
        errors = QString::fromUtf8(process.readAllStandardError());
        return true;
    }

    QStringList DumpFiles() const { return QDir(Work()).entryList({QStringLiteral("*.dmp")}, QDir::Files); }

    static QString Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The recorded messages: caption, text, caption, text...
    QStringList Messages() const
    {
        QStringList lines = Read(Path(m_helpers + QStringLiteral("messages.txt"))).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }

    // The process id the program printed for itself.
    QString Process() const
    {
        return QRegularExpression(QStringLiteral("^process (\\d+)$"), QRegularExpression::MultilineOption)
            .match(output)
            .captured(1);
    }

    int exitCode = -2;
    QString output;  // "process <pid>", then "worker <tid>" for each thread about to fault
    QString errors;

private:
    QString Path(const QString& relative) const { return m_root.filePath(relative); }
    static void Copy(const QString& from, const QString& to) { QVERIFY2(QFile::copy(from, to), qPrintable(from)); }

    QTemporaryDir m_root;
    const QString m_helpers;  // where the message program and the dumper lie, relative to the root
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

// The frames listed for one thread of a report.
QString ThreadSection(const QString& report, const QString& thread)
{
    const qsizetype start = report.indexOf(QStringLiteral("Thread %1 ").arg(thread));
    return start < 0 ? QString() : report.mid(start, report.indexOf(QStringLiteral("\n\n"), start) - start);
}

} // namespace

class TestCrashDumpFilter : public QObject {
    Q_OBJECT
private slots:
    void report_data();
    void report();
    void fileNamedAfterTheClockReading();
    void libraryChoice_data();
    void libraryChoice();
    void fileCannotBeCreated();
    void installedLayout();
    void twoFaultsInOneSecondGiveOneFile();
    void messageInTheProgramsLanguage_data();
    void messageInTheProgramsLanguage();
};

void TestCrashDumpFilter::report_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("function");
    QTest::addColumn<bool>("onWorker");

    const QString segv = QStringLiteral("signal:          SIGSEGV (11), SEGV_MAPERR: address not mapped\n"
                                        "fault address:   0x10\n");
    QTest::newRow("main thread") << "segv" << SIGSEGV << segv << "FaultOnPurpose" << false;
    QTest::newRow("worker thread") << "thread-segv" << SIGSEGV << segv << "FaultOnPurpose" << true;
    QTest::newRow("stack overflow, on the alternate stack")
        << "overflow" << SIGSEGV << "signal:          SIGSEGV (11)" << "Recurse" << false;
    QTest::newRow("stack overflow on a worker, on the stack its start gave it")
        << "thread-overflow" << SIGSEGV << "signal:          SIGSEGV (11)" << "Recurse" << true;
    QTest::newRow("two threads at once: one report") << "two-threads" << SIGSEGV << segv << "FaultOnPurpose" << true;
    QTest::newRow("exception leaves a worker")
        << "thread-terminate" << SIGABRT
        << "reason:          std::terminate: uncaught exception of type std::runtime_error: 校验线程出错"
        << "ThrowOnPurpose" << true;
}

void TestCrashDumpFilter::report()
{
    QFETCH(QString, mode);
    QFETCH(int, signal);
    QFETCH(QString, cause);
    QFETCH(QString, function);
    QFETCH(bool, onWorker);

    CCrashRun run;
    QVERIFY(run.Run(mode));
    QCOMPARE(run.exitCode, 128 + signal);  // ended by the handler, not by the signal
    QCOMPARE(run.DumpFiles(), QStringList{STAMPED_FILE});
    QCOMPARE(run.Messages(), (QStringList{PROGRAM, Apology(STAMPED_FILE)}));

    const QString report = CCrashRun::Read(run.Work(STAMPED_FILE));
    const QString process = run.Process();
    QVERIFY2(report.contains(cause), qPrintable(report.left(1500)));
    QVERIFY(report.contains(QStringLiteral("process:         %1\ntime (local):    2013-03-03 09:05:07\n"
                                           "signal:          %2 (%3)")
                                .arg(process, QLatin1String(signal == SIGSEGV ? "SIGSEGV" : "SIGABRT"))
                                .arg(signal)));
    QVERIFY(report.contains(QRegularExpression(QStringLiteral("\n  rip +0x[0-9a-f]{16}"))));
    QVERIFY(report.contains(QStringLiteral("Memory map (/proc/%1/maps)\n").arg(process)));

    const QString thread = QRegularExpression(QStringLiteral("faulting thread: (\\d+) ")).match(report).captured(1);
    QVERIFY2(run.output.contains(QStringLiteral("worker %1\n").arg(thread)), qPrintable(run.output));
    QCOMPARE(thread != process, onWorker);
    // The faulting thread's stack names the function that faulted, with its file and line; the
    // other threads are listed too.
    const QString stack = ThreadSection(report, thread);
    QVERIFY(stack.contains(QStringLiteral("(the faulting thread)")));
    QVERIFY2(stack.contains(QRegularExpression(function + QStringLiteral(".* at .*crash_fault_program\\.cpp:\\d+"))),
             qPrintable(stack));
    if (onWorker)
        QVERIFY(ThreadSection(report, process).contains(QStringLiteral(" main+")));
}

void TestCrashDumpFilter::fileNamedAfterTheClockReading()
{
    CCrashRun run;
    QVERIFY(run.Run(QStringLiteral("segv"), QString()));
    const QStringList files = run.DumpFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^Velmorra_\\d{8}_\\d{6}\\.dmp$")).match(files[0]).hasMatch(),
             qPrintable(files[0]));
    // One reading of the clock names the file and the message.
    QCOMPARE(run.Messages(), (QStringList{PROGRAM, Apology(files[0])}));
    QVERIFY(run.errors.contains(Apology(files[0])));
}

void TestCrashDumpFilter::libraryChoice_data()
{
    QTest::addColumn<QString>("beside");  // the library in the program's folder; empty: none
    QTest::addColumn<bool>("onSearchPath");
    QTest::addColumn<QString>("message");  // a pattern; empty: no message
    QTest::addColumn<QString>("dump");     // the file's first line; null: no file

    const QString cause = QStringLiteral("^Tessik通讯数据分析辅助工具 遇到未知错误，错误原因：");
    QTest::newRow("the program's folder first")
        << WRITER_RECORDING << true << QRegularExpression::escape(Apology(STAMPED_FILE)) << "stub writer";
    QTest::newRow("then the normal search")
        << "" << true << QRegularExpression::escape(Apology(STAMPED_FILE)) << "Velmorra crash report";
    QTest::newRow("found nowhere") << "" << false << cause + "DBGHELP.DLL LoadLibrary is Error 错误代码：2$"
                                   << QString();  // ENOENT
    QTest::newRow("no writer in the program's folder: too old, no search")
        << WRITER_WITHOUT_FUNCTION << true << cause + "DBGHELP.DLL too old$" << QString();
    QTest::newRow("a fault in the writer ends the process at once")
        << WRITER_FAULTING << false << QString() << QStringLiteral("");
}

void TestCrashDumpFilter::libraryChoice()
{
    QFETCH(QString, beside);
    QFETCH(bool, onSearchPath);
    QFETCH(QString, message);
    QFETCH(QString, dump);

    CCrashRun run(beside, onSearchPath);
    QVERIFY(run.Run(QStringLiteral("segv")));
    QCOMPARE(run.exitCode, 128 + SIGSEGV);
    const QStringList messages = run.Messages();
    QCOMPARE(messages.size(), message.isEmpty() ? 0 : 2);
    if (!message.isEmpty()) {
        QCOMPARE(messages[0], PROGRAM);
        QVERIFY2(QRegularExpression(message).match(messages[1]).hasMatch(), qPrintable(messages[1]));
    }
    QCOMPARE(run.DumpFiles(), dump.isNull() ? QStringList() : QStringList{STAMPED_FILE});
    if (!dump.isNull())
        QCOMPARE(CCrashRun::Read(run.Work(STAMPED_FILE)).section(QLatin1Char('\n'), 0, 0), dump);
}

void TestCrashDumpFilter::fileCannotBeCreated()
{
    CCrashRun run;
    QVERIFY(QDir(run.Work()).mkdir(STAMPED_FILE));  // a folder of that name is in the way
    QVERIFY(run.Run(QStringLiteral("segv")));
    QCOMPARE(run.exitCode, 128 + SIGSEGV);
    QCOMPARE(run.Messages(), QStringList());
    QCOMPARE(run.DumpFiles(), QStringList());
    QCOMPARE(run.errors, QString());
}

void TestCrashDumpFilter::installedLayout()
{
    // Nothing beside the program: the writer is loaded from the library folder, and the dumper and
    // the message program are started from there.
    CCrashRun run(QString(), false, CCrashRun::INSTALLED);
    QVERIFY(run.Run(QStringLiteral("segv")));
    QCOMPARE(run.exitCode, 128 + SIGSEGV);
    QCOMPARE(run.Messages(), (QStringList{PROGRAM, Apology(STAMPED_FILE)}));
    const QString report = CCrashRun::Read(run.Work(STAMPED_FILE));
    QVERIFY2(report.startsWith(QStringLiteral("Velmorra crash report\n=====")), qPrintable(report.left(200)));
    QVERIFY(report.contains(QStringLiteral("(the faulting thread)")));
}

void TestCrashDumpFilter::twoFaultsInOneSecondGiveOneFile()
{
    CCrashRun run;
    QVERIFY(run.Run(QStringLiteral("segv")));
    const QString first = run.Process();
    QVERIFY(run.Run(QStringLiteral("thread-segv")));
    QCOMPARE(run.DumpFiles(), QStringList{STAMPED_FILE});
    const QString report = CCrashRun::Read(run.Work(STAMPED_FILE));
    QVERIFY(report.contains(QStringLiteral("process:         %1\n").arg(run.Process())));  // the later replaces
    QVERIFY(!report.contains(QStringLiteral("process:         %1\n").arg(first)));
    QCOMPARE(run.Messages(), (QStringList{PROGRAM, Apology(STAMPED_FILE), PROGRAM, Apology(STAMPED_FILE)}));
}

void TestCrashDumpFilter::messageInTheProgramsLanguage_data()
{
    QTest::addColumn<QString>("language");  // what the program speaks when it faults
    QTest::addColumn<QString>("beside");
    QTest::addColumn<QString>("message");
    QTest::newRow("Chinese") << "zh" << WRITER_REAL << Apology(STAMPED_FILE);
    QTest::newRow("English") << "en" << WRITER_REAL
                             << "Tessik Frame Analyser has met an unexpected error. We are sorry for the trouble. "
                                "Please send us the file Velmorra_20130303_090507.dmp so that we can put it right.";
    QTest::newRow("English, no writer found")
        << "en" << "" << "Tessik Frame Analyser has met an unexpected error. Cause: DBGHELP.DLL LoadLibrary is Error "
                         "Error code: 2";
    QTest::newRow("English, the writer too old")
        << "en" << WRITER_WITHOUT_FUNCTION << "Tessik Frame Analyser has met an unexpected error. Cause: DBGHELP.DLL too old";
}

void TestCrashDumpFilter::messageInTheProgramsLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, beside);
    QFETCH(QString, message);
    CCrashRun run(beside);
    QVERIFY(run.Run(QStringLiteral("segv"), STAMP, language));
    QCOMPARE(run.exitCode, 128 + SIGSEGV);
    QCOMPARE(run.Messages(), (QStringList{PROGRAM, message}));
    QVERIFY(run.errors.contains(message));
}

QTEST_APPLESS_MAIN(TestCrashDumpFilter)
#include "tst_crash_dump_filter.moc"
