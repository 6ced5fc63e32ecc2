#pragma once
// Adapts the pure script tokenizer to Qt: colours each line the document re-lays out, so an edit
// re-colours only the lines it touched.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

#include "tools/script_tokenizer.h"

class CScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    /// `syntax` must outlive the highlighter.
    CScriptHighlighter(const CScriptSyntax& syntax, QTextDocument* document);

    /// The colour and weight a token class is shown in.
    static QTextCharFormat TokenFormat(TokenClass tokenClass);

protected:
    void highlightBlock(const QString& text) override;

private:
    const CScriptSyntax& m_syntax;
    std::array<QTextCharFormat, TOKEN_CLASS_COUNT> m_formats;
};
