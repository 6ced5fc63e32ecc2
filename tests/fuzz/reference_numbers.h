#pragma once
// Readings of number texts and roundings done the C library's way, as references for the fuzz
// targets: the grammar picks the prefix, strtod and strtof (exact and correctly rounded in glibc)
// give the value.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

inline bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// Optional sign and decimal digits after leading white space, modulo 2^32.
inline std::int32_t ReferenceInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint64_t value = 0;
    for (; i < text.size() && IsDecimalDigit(text[i]); ++i)
        value = (value * 10 + static_cast<std::uint64_t>(text[i] - '0')) % (std::uint64_t{1} << 32);
    if (negative)
        value = ((std::uint64_t{1} << 32) - value) % (std::uint64_t{1} << 32);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

/// The longest leading decimal number (white space, sign, digits with an optional point, at least
/// one digit, an exponent only when digits follow), read by strtod; 0 when there is none.
inline double ReferenceFloating(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDecimalDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDecimalDigit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDecimalDigit(text[j])) {
            while (j < text.size() && IsDecimalDigit(text[j]))
                ++j;
            i = j;
        }
    }
    const std::string prefix(text.substr(start, i - start));
    return std::strtod(prefix.c_str(), nullptr);
}

/// A double rounded to float by strtof over its exact hexadecimal text: overflow gives infinity.
inline float ReferenceRoundToFloat(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return std::strtof(text, nullptr);
}

/// Equal bit for bit, except that any two NaNs of one sign are equal.
template <typename Value>
bool SameNumber(Value a, Value b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SameDouble(double a, double b)
{
    return SameNumber(a, b);
}

inline std::string HexFloat(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}
