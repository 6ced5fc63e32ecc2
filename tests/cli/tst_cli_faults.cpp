// velmorra-cli's main() runs the command line through RunGuarded: an exception that is no usage
// error ends the run with a message and status 2, not with std::terminate.

#include <QTest>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "cli/run_guarded.h"
#include "common/text_language.h"

namespace {

QString ReadAll(std::FILE* file)
{
    std::rewind(file);
    QByteArray bytes;
    char block[256];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;)
        bytes.append(block, static_cast<qsizetype>(n));
    return QString::fromUtf8(bytes);
}

enum class Thrown { Nothing, BadAlloc, RuntimeError, NoException };

struct SpeakFor {  // the language for one row, the one before after it
    const TextLanguage before = CurrentTextLanguage();
    explicit SpeakFor(TextLanguage language) { SetTextLanguage(language); }
    ~SpeakFor() { SetTextLanguage(before); }
};

} // namespace

Q_DECLARE_METATYPE(Thrown)
Q_DECLARE_METATYPE(TextLanguage)

class TestCliFaults : public QObject {
    Q_OBJECT
private slots:
    void thrownPastTheRun_data()
    {
        QTest::addColumn<Thrown>("thrown");
        QTest::addColumn<TextLanguage>("language");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("nothing: the run's own status") << Thrown::Nothing << TextLanguage::Chinese << 1 << "";
        QTest::newRow("out of memory") << Thrown::BadAlloc << TextLanguage::Chinese << 2 << "velmorra-cli: 内存不足，已中止\n";
        QTest::newRow("out of memory, English")
            << Thrown::BadAlloc << TextLanguage::English << 2 << "velmorra-cli: out of memory, stopped\n";
        QTest::newRow("a standard exception names its cause")
            << Thrown::RuntimeError << TextLanguage::Chinese << 2 << "velmorra-cli: 意外错误，已中止：表格已损坏\n";
        QTest::newRow("a standard exception, English")
            << Thrown::RuntimeError << TextLanguage::English << 2 << "velmorra-cli: unexpected error, stopped: 表格已损坏\n";
        QTest::newRow("not an exception class") << Thrown::NoException << TextLanguage::English << 2
                                                << "velmorra-cli: unexpected error, stopped\n";
    }
    void thrownPastTheRun()
    {
        QFETCH(Thrown, thrown);
        QFETCH(TextLanguage, language);
        QFETCH(int, status);
        QFETCH(QString, error);
        const SpeakFor speaking(language);
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        QVERIFY(out && err);
        // Buffered as main() buffers it: what the run wrote before it threw must still come out.
        std::setvbuf(out, nullptr, _IOFBF, 1 << 16);
        CliContext context{out, err};
        const int result = RunGuarded(
            [&] {
                std::fputs("1,2\n", context.out);
                switch (thrown) {
                case Thrown::Nothing:
                    return 1;
                case Thrown::BadAlloc:
                    throw std::bad_alloc();
                case Thrown::RuntimeError:
                    throw std::runtime_error("表格已损坏");
                case Thrown::NoException:
                    throw 42;
                }
                return 0;
            },
            context);
        QCOMPARE(result, status);
        std::fflush(out);
        QCOMPARE(ReadAll(out), QStringLiteral("1,2\n"));
        QCOMPARE(ReadAll(err), error);
        std::fclose(out);
        std::fclose(err);
    }
};

QTEST_APPLESS_MAIN(TestCliFaults)
#include "tst_cli_faults.moc"
