// The script editor's tokenizer: the tokens cover the text exactly, in order, without empty or
// adjacent plain tokens; each classed token is what its class says (a comment to the line end, a
// string between its quotes, the longest number, a whole keyword); each case correction is a
// keyword typed in another case.
//
// Input: one byte of settings (bit 0: case-sensitive; bit 1: no case correction; bits 2-3: the
// comment, none, "'" as the math dialog has it, "/" or "//"; bit 4: quotes '"' alone, as the math
// dialog has it, else '"' and '\''), then the text as UTF-8 (a byte that starts no valid
// sequence stands for the Latin-1 character of its value).

#include <algorithm>

#include "tools/script_tokenizer.h"
#include "fuzz_support.h"

namespace {

std::u16string Utf16(std::string_view bytes)
{
    std::u16string units;
    for (std::size_t k = 0; k < bytes.size();) {
        const auto b = [&](std::size_t at) { return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0u; };
        const unsigned lead = b(k);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        bool valid = length > 0 && k + length <= bytes.size();
        for (std::size_t t = 1; valid && t < length; ++t) {
            valid = (b(k + t) & 0xC0) == 0x80;
            c = c << 6 | (b(k + t) & 0x3F);
        }
        if (!valid || c > 0x10FFFF) {
            units += static_cast<char16_t>(lead);
            ++k;
            continue;
        }
        if (c >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
        k += length;
    }
    return units;
}

bool IsLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029;
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsWordChar(char16_t c)
{
    return IsDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The longest prefix that is digits, an optional point and digits, and an exponent with digits.
std::size_t NumberLength(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i < text.size() && text[i] == u'.')
        for (++i; i < text.size() && IsDigit(text[i]);)
            ++i;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        const std::size_t digits = j;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > digits)
            i = j;
    }
    return i;
}

std::string Shown16(std::u16string_view units)
{
    std::string shown;
    for (const char16_t unit : units) {
        char text[8];
        std::snprintf(text, sizeof text, unit >= 0x20 && unit < 0x7F ? "%c" : "\\u%04X", unsigned{unit});
        shown += text;
    }
    return shown;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t settings = input.Byte();
    CScriptSyntax syntax;
    const bool caseSensitive = settings & 1, correcting = !(settings & 2) && !caseSensitive;
    syntax.SetCaseSensitive(caseSensitive);
    syntax.SetCaseCorrection(!(settings & 2));
    const int comment = settings >> 2 & 3;
    if (comment == 1)
        syntax.SetCommentChars(u'\'');
    else if (comment == 2)
        syntax.SetCommentChars(u'/');
    else if (comment == 3)
        syntax.SetCommentChars(u'/', u'/');
    const std::u16string_view quotes = settings & 16 ? u"\"" : u"\"'";
    syntax.SetStringQuotes(quotes);
    syntax.AddKeywords(MATH_SCRIPT_KEYWORDS);

    const std::u16string text = Utf16(input.RestText());
    const std::u16string_view view(text);
    const ScriptTokens result = syntax.Tokenize(text);

    std::size_t at = 0;
    for (std::size_t t = 0; t < result.tokens.size(); ++t) {
        const ScriptToken& token = result.tokens[t];
        // Built only when a check fails: showing the whole text for every token would make each
        // input cost time quadratic in its length.
        const auto where = [&] { return "token " + std::to_string(t) + " in " + Shown16(text); };
        FUZZ_CHECK(token.start == at && token.length > 0 && token.start + token.length <= text.size(), where());
        at += token.length;
        const std::u16string_view piece = view.substr(token.start, token.length);
        const auto noLineEnd = [&] { return std::none_of(piece.begin(), piece.end(), IsLineEnd); };
        const bool endsAtLine = token.start + token.length == text.size() || IsLineEnd(text[token.start + token.length]);
        switch (token.tokenClass) {
        case TokenClass::Plain:
            FUZZ_CHECK(t == 0 || result.tokens[t - 1].tokenClass != TokenClass::Plain, where());
            // Alone, plain text stays one plain token: nothing in it starts a classed one.
            {
                const ScriptTokens alone = syntax.Tokenize(piece);
                FUZZ_CHECK(alone.tokens.size() == 1 && alone.tokens[0].tokenClass == TokenClass::Plain, where());
            }
            break;
        case TokenClass::Comment:
            FUZZ_CHECK(comment != 0 && piece[0] == (comment == 1 ? u'\'' : u'/') && noLineEnd() && endsAtLine, where());
            if (comment == 3)
                FUZZ_CHECK(piece.size() >= 2 && piece[1] == u'/', where());
            break;
        case TokenClass::String:
            FUZZ_CHECK(quotes.find(piece[0]) != std::u16string_view::npos && noLineEnd(), where());
            // Closed by its own quote, or open to the line's end.
            FUZZ_CHECK(piece.find(piece[0], 1) == (piece.size() > 1 && piece.back() == piece[0] ? piece.size() - 1 : std::u16string_view::npos), where());
            FUZZ_CHECK((piece.size() > 1 && piece.back() == piece[0]) || endsAtLine, where());
            break;
        case TokenClass::Number:
            FUZZ_CHECK(IsDigit(piece[0]) && piece.size() == NumberLength(view.substr(token.start)), where());
            break;
        case TokenClass::Keyword:
            FUZZ_CHECK(!syntax.FindKeyword(piece).empty() && std::all_of(piece.begin(), piece.end(), IsWordChar) && !IsDigit(piece[0]), where());
            FUZZ_CHECK(token.start + token.length == text.size() || !IsWordChar(text[token.start + token.length]), where());
            break;
        }
    }
    FUZZ_CHECK(at == text.size(), "the tokens cover the text");

    // Corrections: keywords typed in another case, when matching ignores case and corrects.
    FUZZ_CHECK(correcting || result.corrections.empty());
    for (const CaseCorrection& correction : result.corrections) {
        const auto token = std::find_if(result.tokens.begin(), result.tokens.end(), [&](const ScriptToken& t) { return t.start == correction.start; });
        FUZZ_CHECK(token != result.tokens.end() && token->tokenClass == TokenClass::Keyword, Shown16(text));
        const std::u16string_view word = view.substr(token->start, token->length);
        FUZZ_CHECK(correction.spelling.size() == word.size() && correction.spelling != word, Shown16(text));
        FUZZ_CHECK(std::equal(word.begin(), word.end(), correction.spelling.begin(), [](char16_t a, char16_t b) { return Lower(a) == Lower(b); }));
    }
    return 0;
}
