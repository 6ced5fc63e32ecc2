// Which language a locale asks for, and the environment's order (POSIX, XBD 8.2: LC_ALL, then
// the category's own variable, then LANG).

#include <QtTest>

#include <cstdlib>

#include "common/text_language.h"

Q_DECLARE_METATYPE(TextLanguage)

class TestTextLanguage : public QObject {
    Q_OBJECT
private slots:
    void locales_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<TextLanguage>("language");
        QTest::newRow("en") << "en" << TextLanguage::English;
        QTest::newRow("en_US.UTF-8") << "en_US.UTF-8" << TextLanguage::English;
        QTest::newRow("en_GB@euro") << "en_GB@euro" << TextLanguage::English;
        QTest::newRow("EN_us") << "EN_us" << TextLanguage::English;
        QTest::newRow("zh_CN.UTF-8") << "zh_CN.UTF-8" << TextLanguage::Chinese;
        QTest::newRow("de_DE.UTF-8") << "de_DE.UTF-8" << TextLanguage::Chinese;
        QTest::newRow("C") << "C" << TextLanguage::Chinese;
        QTest::newRow("C.UTF-8") << "C.UTF-8" << TextLanguage::Chinese;
        QTest::newRow("POSIX") << "POSIX" << TextLanguage::Chinese;
        QTest::newRow("eng") << "eng" << TextLanguage::Chinese;
        QTest::newRow("empty") << "" << TextLanguage::Chinese;
    }
    void locales()
    {
        QFETCH(QString, locale);
        QFETCH(TextLanguage, language);
        QCOMPARE(LanguageOfLocale(locale.toStdString()), language);
    }

    void environmentOrder()
    {
        const auto set = [](const char* all, const char* messages, const char* lang) {
            for (const auto& [name, value] : {std::pair{"LC_ALL", all}, {"LC_MESSAGES", messages}, {"LANG", lang}}) {
                if (value)
                    setenv(name, value, 1);
                else
                    unsetenv(name);
            }
        };
        set(nullptr, nullptr, nullptr);
        QCOMPARE(LanguageFromEnvironment(), TextLanguage::Chinese);
        set(nullptr, nullptr, "en_US.UTF-8");
        QCOMPARE(LanguageFromEnvironment(), TextLanguage::English);
        set(nullptr, "de_DE.UTF-8", "en_US.UTF-8");
        QCOMPARE(LanguageFromEnvironment(), TextLanguage::Chinese);
        set("en_GB.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8");
        QCOMPARE(LanguageFromEnvironment(), TextLanguage::English);
        set("", "", "en_US.UTF-8");  // set but empty counts as unset
        QCOMPARE(LanguageFromEnvironment(), TextLanguage::English);
    }

    void names()
    {
        QCOMPARE(LanguageNamed("en"), std::optional(TextLanguage::English));
        QCOMPARE(LanguageNamed("ZH"), std::optional(TextLanguage::Chinese));
        QVERIFY(!LanguageNamed("english"));
        QVERIFY(!LanguageNamed(""));
    }
};

QTEST_APPLESS_MAIN(TestTextLanguage)
#include "tst_text_language.moc"
