#pragma once
// Checks of a translation against its Chinese source text: what a translator can get wrong that
// the compiler does not see.

#include <QRegularExpression>
#include <QString>
#include <QStringList>

enum class Placeholders { Numbered, Printf };

// A CJK character: radicals, punctuation, kana, ideographs, Hangul, compatibility and full-width
// forms. A text for English readers holds none.
inline bool IsCjk(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xAC00 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

inline bool HasCjk(const QString& text)
{
    for (char32_t c : text.toUcs4())
        if (IsCjk(c))
            return true;
    return false;
}

// "%1" … "%9" in order of first appearance, each once; or the printf conversions in order.
inline QStringList PlaceholdersOf(const QString& text, Placeholders style)
{
    QStringList found;
    if (style == Placeholders::Numbered) {
        for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%[1-9]")).globalMatch(text))
            found << m.captured();
        found.removeDuplicates();
        found.sort();
    } else {
        for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%[-+ #0-9*.]*(?:ll|l|h)?[a-zA-Z%]")).globalMatch(text))
            found << m.captured();
    }
    return found;
}

// What is wrong with `english` as the translation of `chinese`; empty when nothing is.
inline QString TranslationProblem(const char* chinese, const char* english, Placeholders style)
{
    if (!english)
        return QStringLiteral("no text");
    const QString source = QString::fromUtf8(chinese);
    const QString text = QString::fromUtf8(english);
    if (text.isEmpty() != source.isEmpty())
        return QStringLiteral("empty where the other is not");
    if (HasCjk(text))
        return QStringLiteral("a CJK character");
    if (PlaceholdersOf(text, style) != PlaceholdersOf(source, style))
        return QStringLiteral("placeholders %1 for %2").arg(PlaceholdersOf(text, style).join(' '), PlaceholdersOf(source, style).join(' '));
    // A plural choice names a placeholder the text has.
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("\\{([1-9]):[^|{}]*\\|[^|{}]*\\}")).globalMatch(text))
        if (!text.contains('%' + m.captured(1)))
            return QStringLiteral("a plural of %%1 without it").arg(m.captured(1));
    if (source.contains(QRegularExpression(QStringLiteral("\\{[1-9]:"))))
        return QStringLiteral("a plural choice in the Chinese text");
    return {};
}
