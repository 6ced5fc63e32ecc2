#include "tools/script_tokenizer.h"

#include <algorithm>

namespace {

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsWordChar(char16_t c)
{
    return IsLetter(c) || IsDigit(c) || c == u'_';
}

bool IsLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029';
}

char ToLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// End of the longest decimal floating-point number from `i`, which holds a digit: digits, an
// optional point with optional digits, an exponent only when digits follow its sign.
std::size_t NumberEnd(std::u16string_view text, std::size_t i)
{
    const std::size_t n = text.size();
    while (i < n && IsDigit(text[i]))
        ++i;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && IsDigit(text[i]))
            ++i;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace

void CScriptSyntax::SetCaseSensitive(bool caseSensitive)
{
    m_caseSensitive = caseSensitive;
    RebuildMatching();
}

void CScriptSyntax::SetCommentChars(char16_t first, char16_t second)
{
    m_comment = first;
    m_secondComment = second;
}

void CScriptSyntax::AddKeywords(std::string_view list)
{
    m_keywords.append(list);
    RebuildMatching();
}

void CScriptSyntax::RebuildMatching()
{
    m_matching.clear();
    std::size_t i = 0;
    while (i < m_keywords.size()) {
        const std::size_t start = m_keywords.find_first_not_of(' ', i);
        if (start == std::string::npos)
            break;
        std::size_t end = m_keywords.find(' ', start);
        if (end == std::string::npos)
            end = m_keywords.size();
        const std::string spelling = m_keywords.substr(start, end - start);
        std::string key = spelling;
        if (!m_caseSensitive)
            for (char& c : key)
                c = ToLower(c);
        m_matching.try_emplace(std::move(key), spelling);  // the first occurrence stays
        i = end;
    }
}

std::string_view CScriptSyntax::FindKeyword(std::u16string_view word) const
{
    std::string key;
    key.reserve(word.size());
    for (char16_t c : word) {
        if (c >= 0x80)
            return {};  // keywords are ASCII
        const char narrow = static_cast<char>(c);
        key.push_back(m_caseSensitive ? narrow : ToLower(narrow));
    }
    const auto found = m_matching.find(key);
    return found == m_matching.end() ? std::string_view() : std::string_view(found->second);
}

ScriptTokens CScriptSyntax::Tokenize(std::u16string_view text) const
{
    ScriptTokens result;
    const std::size_t n = text.size();
    std::size_t gap = 0;  // start of the plain text before the next classed token
    std::size_t i = 0;
    while (i < n) {
        const char16_t ch = text[i];
        std::size_t end = i + 1;
        TokenClass tokenClass;
        if (m_comment != 0 && ch == m_comment
            && (m_secondComment == 0 || (i + 1 < n && text[i + 1] == m_secondComment))) {
            while (end < n && !IsLineEnd(text[end]))
                ++end;
            tokenClass = TokenClass::Comment;
        } else if (m_quotes.find(ch) != std::u16string::npos) {
            while (end < n && text[end] != ch && !IsLineEnd(text[end]))
                ++end;
            if (end < n && text[end] == ch)
                ++end;
            tokenClass = TokenClass::String;
        } else if (IsDigit(ch)) {
            end = NumberEnd(text, i);
            tokenClass = TokenClass::Number;
        } else if (IsLetter(ch) || ch == u'_') {
            while (end < n && IsWordChar(text[end]))
                ++end;
            const std::u16string_view word = text.substr(i, end - i);
            const std::string_view spelling = FindKeyword(word);
            if (spelling.empty()) {
                i = end;  // a plain word joins the plain text around it
                continue;
            }
            if (!m_caseSensitive && m_caseCorrection
                && !std::equal(word.begin(), word.end(), spelling.begin(), spelling.end()))
                result.corrections.push_back({i, std::u16string(spelling.begin(), spelling.end())});
            tokenClass = TokenClass::Keyword;
        } else {
            ++i;
            continue;
        }
        if (gap < i)
            result.tokens.push_back({gap, i - gap, TokenClass::Plain});
        result.tokens.push_back({i, end - i, tokenClass});
        gap = i = end;
    }
    if (gap < n)
        result.tokens.push_back({gap, n - gap, TokenClass::Plain});
    return result;
}
