#include "convert/number_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// White space as the C library's isspace sees it in the "C" locale.
bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// These four may stand only once in a number text, each counted on its own.
bool IsSingleUse(char32_t c)
{
    return c == U'.' || c == U'-' || c == U'e' || c == U'E';
}

std::size_t SkipSpace(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

} // namespace

const char* NumberCheckText(NumberCheck check)
{
    switch (check) {
    case NumberCheck::TooLong: return ConvertTextOf(ConvertText::NumberTooLong);
    case NumberCheck::Illegal: return ConvertTextOf(ConvertText::NumberIllegal);
    case NumberCheck::Ok: break;
    }
    return nullptr;
}

bool AcceptNumberKey(char32_t typed, std::string_view currentText)
{
    if (IsSingleUse(typed))
        return currentText.find(static_cast<char>(typed)) == std::string_view::npos;
    return (typed >= U'0' && typed <= U'9') || typed == U'\b';
}

NumberCheck CheckNumberText(std::string_view text)
{
    std::size_t length = 0;
    for (char c : text)
        if (c != ' ')
            ++length;
    if (length > MAX_NUMBER_CHARS)
        return NumberCheck::TooLong;

    bool seenPoint = false, seenMinus = false, seenLowerE = false, seenUpperE = false;
    for (char c : text) {
        if (c == ' ')
            continue;
        bool* seen = c == '.' ? &seenPoint : c == '-' ? &seenMinus : c == 'e' ? &seenLowerE
                   : c == 'E' ? &seenUpperE : nullptr;
        if (seen) {
            if (*seen)
                return NumberCheck::Illegal;
            *seen = true;
        } else if (c < '*' || c > '9') {  // '*' + , - . / and the digits
            return NumberCheck::Illegal;
        }
    }
    return NumberCheck::Ok;
}

std::int32_t ReadInteger(std::string_view text)
{
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

double ReadFloating(std::string_view text)
{
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;

    // Mantissa: digits, optional point and fraction; at least one digit on either side.
    std::size_t digits = 0;
    long long magnitude = 0;  // decimal exponent of the leading non-zero digit, before the exponent part
    bool nonZeroSeen = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
        if (nonZeroSeen)
            ++magnitude;
        else if (text[i] != '0')
            nonZeroSeen = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
            if (!nonZeroSeen) {
                --magnitude;
                nonZeroSeen = text[i] != '0';
            }
        }
    }
    if (digits == 0)
        return 0.0;
    std::size_t end = i;

    // Exponent: taken only when at least one digit follows "e" or "E" and its sign. It saturates
    // where nothing the mantissa can make up for is left: its magnitude is at most the text's
    // length, so a fixed bound would turn "0.<a million zeros>1e2000000" into 0.
    const long long saturated = static_cast<long long>(std::min<std::size_t>(text.size(), std::size_t{1} << 40)) + 1000;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent = std::min(saturated, exponent * 10 + (text[j] - '0'));
            if (negativeExponent)
                exponent = -exponent;
            end = j;
        }
    }

    double value = 0.0;
    const std::string_view number = text.substr(start, end - start);
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; the decimal magnitude tells overflow from underflow.
        value = magnitude + exponent >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}
