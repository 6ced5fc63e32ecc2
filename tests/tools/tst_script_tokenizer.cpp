#include <QTest>

#include "tools/script_tokenizer.h"

namespace {

std::u16string_view Units(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// One letter per character (p plain, c comment, s string, n number, k keyword), then " -> " and
// the text with the corrections applied.
QString Render(const CScriptSyntax& syntax, const QString& text)
{
    const ScriptTokens tokens = syntax.Tokenize(Units(text));
    QString classes;
    for (const ScriptToken& token : tokens.tokens) {
        if (token.start != std::size_t(classes.size()) || token.length == 0)
            return QStringLiteral("tokens do not tile the text");
        classes += QString(qsizetype(token.length), QLatin1Char("pcsnk"[int(token.tokenClass)]));
    }
    QString corrected = text;
    for (const CaseCorrection& c : tokens.corrections)
        corrected.replace(qsizetype(c.start), qsizetype(c.spelling.size()),
                          QString::fromUtf16(c.spelling.data(), qsizetype(c.spelling.size())));
    return classes + QStringLiteral(" -> ") + corrected;
}

} // namespace

class TestScriptTokenizer : public QObject {
    Q_OBJECT
private slots:
    void tokenize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rendered");
        QTest::newRow("mathdata") << "mathdata" << "kkkkkkkk -> mathdata";
        QTest::newRow("number and comment") << "x = 3.5e2 + 'note" << "ppppnnnnnpppccccc -> x = 3.5e2 + 'note";
        QTest::newRow("unclosed string ends at the line") << "\"abc\r\nx" << "ssssppp -> \"abc\r\nx";
        QTest::newRow("closed string") << "\"a'b\"c" << "sssssp -> \"a'b\"c";
        QTest::newRow("comment ends at LF") << "a'b\nif" << "pccpkk -> a'b\nif";
        QTest::newRow("longer words are plain") << "mathdata2 _mathdata iffy" << QString(24, 'p') + " -> mathdata2 _mathdata iffy";
        QTest::newRow("MathData") << "MathData" << "kkkkkkkk -> mathdata";
        QTest::newRow("try null") << "Try null" << "kkkpkkkk -> try null";
        QTest::newRow("first spelling") << "void byte bool long float Char IF"
                                        << "kkkkpkkkkpkkkkpkkkkpkkkkkpkkkkpkk -> VOID BYTE BOOL LONG FLOAT char if";
        QTest::newRow("12abc") << "12abc" << "nnppp -> 12abc";
        QTest::newRow("exponent needs digits") << "3.5e+ 1.e2" << "nnnpppnnnn -> 3.5e+ 1.e2";
        QTest::newRow("Chinese plain, commented, quoted") << "你+'你\n\"你\"" << "ppccpsss -> 你+'你\n\"你\"";
        QTest::newRow("word after Chinese") << "你Var" << "pkkk -> 你var";
    }
    void tokenize()  // configured as the math conversion configures its editor
    {
        QFETCH(QString, text);
        QFETCH(QString, rendered);
        CScriptSyntax syntax;
        syntax.SetCaseSensitive(false);
        syntax.SetStringQuotes(u"\"");
        syntax.SetCommentChars(u'\'');
        syntax.AddKeywords(MATH_SCRIPT_KEYWORDS);
        QCOMPARE(Render(syntax, text), rendered);
    }

    void configuration()
    {
        CScriptSyntax syntax;
        syntax.AddKeywords(" Foo bar FOO");
        QCOMPARE(Render(syntax, "'foo"), QStringLiteral("pkkk -> 'Foo"));  // no comment character yet
        syntax.SetCommentChars(u'/', u'/');
        QCOMPARE(Render(syntax, "a/b//c"), QStringLiteral("pppccc -> a/b//c"));
        syntax.SetCaseSensitive(true);
        QCOMPARE(Render(syntax, "foo Foo FOO"), QStringLiteral("ppppkkkpkkk -> foo Foo FOO"));
        syntax.SetCaseSensitive(false);
        syntax.SetCaseCorrection(false);
        QCOMPARE(Render(syntax, "foo"), QStringLiteral("kkk -> foo"));
    }
};

QTEST_APPLESS_MAIN(TestScriptTokenizer)
#include "tst_script_tokenizer.moc"
