// The command line's text table: every text in English, true to its Chinese placeholders.

#include <QTest>

#include "cli/cli_commands.h"
#include "tests/support/text_table_check.h"

class TestCliTexts : public QObject {
    Q_OBJECT
private slots:
    void complete()
    {
        for (std::size_t k = 0; k < CLI_TEXT_COUNT; ++k) {
            const auto id = static_cast<CliText>(k);
            const char* chinese = CliTextOf(id, TextLanguage::Chinese);
            const QString problem = TranslationProblem(chinese, CliTextOf(id, TextLanguage::English), Placeholders::Numbered);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("text %1 (%2): %3").arg(k).arg(QString::fromUtf8(chinese), problem)));
        }
    }

    void everyOptionExplained()
    {
        // An option without help or a value name would print an empty line in its --help.
        for (const CliCommand& command : CliCommands()) {
            for (CliText text : {command.synopsis, command.summary, command.description})
                QVERIFY(*CliTextOf(text, TextLanguage::English) != '\0');
            for (const CliOption& option : CliOptionsOf(command)) {
                QVERIFY2(*CliTextOf(option.help, TextLanguage::English) != '\0', option.name);
                QVERIFY(!option.TakesValue() || *CliTextOf(option.valueName, TextLanguage::English) != '\0');
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestCliTexts)
#include "tst_cli_texts.moc"
