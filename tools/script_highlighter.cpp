#include "tools/script_highlighter.h"

#include <QColor>
#include <string_view>

namespace {

struct TokenColour {
    QRgb colour;
    bool bold;
};

// Indexed by TokenClass.
constexpr std::array<TokenColour, TOKEN_CLASS_COUNT> TOKEN_COLOURS{{
    {qRgb(0, 0, 0), false},      // plain
    {qRgb(0, 128, 0), false},    // comment
    {qRgb(255, 0, 255), false},  // string
    {qRgb(255, 0, 255), false},  // number
    {qRgb(0, 0, 255), false},    // keyword
}};

} // namespace

CScriptHighlighter::CScriptHighlighter(const CScriptSyntax& syntax, QTextDocument* document)
    : QSyntaxHighlighter(document)
    , m_syntax(syntax)
{
    for (std::size_t i = 0; i < m_formats.size(); ++i)
        m_formats[i] = TokenFormat(static_cast<TokenClass>(i));
}

QTextCharFormat CScriptHighlighter::TokenFormat(TokenClass tokenClass)
{
    const TokenColour& entry = TOKEN_COLOURS[static_cast<std::size_t>(tokenClass)];
    QTextCharFormat format;
    format.setForeground(QColor(entry.colour));
    format.setFontWeight(entry.bold ? QFont::Bold : QFont::Normal);
    return format;
}

void CScriptHighlighter::highlightBlock(const QString& text)
{
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    for (const ScriptToken& token : m_syntax.Tokenize(units).tokens)
        setFormat(static_cast<int>(token.start), static_cast<int>(token.length),
                  m_formats[static_cast<std::size_t>(token.tokenClass)]);
}
