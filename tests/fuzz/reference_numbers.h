#pragma once
// Readings of number texts and roundings to float, as references for the fuzz targets: the
// grammar picks the prefix, the C library gives a first value, exact comparisons settle it.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
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

// glibc 2.36's strtod and strtof are no exact references: near the top of the subnormal range
// they can round the wrong way (the exact decimal of 2^-127 + 0.75 * 2^-149 reads as 2^-127
// from strtof). They give a candidate at most one step off; the references below settle the
// rounding by exact comparisons with the midpoints between neighbouring values, which long double
// holds exactly.

/// The long double halfway above a finite non-negative value (above the largest: as if the
/// exponent went on).
template <typename Value>
long double MidpointAbove(Value low)
{
    const Value high = std::nextafter(low, std::numeric_limits<Value>::infinity());
    const long double step = std::isinf(high) ? static_cast<long double>(low) - std::nextafter(low, Value{0})
                                              : static_cast<long double>(high) - low;
    return static_cast<long double>(low) + step / 2;
}

template <typename Value>
bool OddMantissa(Value value)
{
    if constexpr (sizeof(Value) == 4)
        return std::bit_cast<std::uint32_t>(value) & 1;
    else
        return std::bit_cast<std::uint64_t>(value) & 1;
}

/// The value nearest to a non-negative quantity, ties to even, from a candidate at most two steps
/// off; `compare(m)` tells the quantity's order against any long double m, exactly.
template <typename Value, typename Compare>
Value CorrectlyRounded(Value candidate, Compare compare)
{
    for (int step = 0; step < 4; ++step) {
        if (!std::isinf(candidate)) {
            const auto order = compare(MidpointAbove(candidate));
            if (order > 0 || (order == 0 && OddMantissa(candidate))) {
                candidate = std::nextafter(candidate, std::numeric_limits<Value>::infinity());
                continue;
            }
        }
        if (candidate > 0) {
            const Value down = std::nextafter(candidate, Value{0});
            const auto order = compare(MidpointAbove(down));
            if (order < 0 || (order == 0 && OddMantissa(candidate))) {
                candidate = down;
                continue;
            }
        }
        break;
    }
    return candidate;
}

// A decimal as 0.DIGITS x 10^exponent, DIGITS without leading or trailing zeros; empty for zero.
struct Decimal {
    std::string digits;
    long long exponent = 0;
};

/// The number `integer`.`fraction` times 10^`power`.
inline Decimal NormalDecimal(std::string_view integer, std::string_view fraction, long long power)
{
    Decimal decimal;
    const std::string all = std::string(integer) + std::string(fraction);
    const std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos)
        return decimal;
    const std::size_t last = all.find_last_not_of('0');
    decimal.digits = all.substr(first, last - first + 1);
    decimal.exponent = static_cast<long long>(integer.size()) - static_cast<long long>(first) + power;
    return decimal;
}

/// The exact order of a non-negative decimal and a positive long double.
inline int CompareExactly(const Decimal& decimal, long double value)
{
    if (decimal.digits.empty())
        return -1;
    static char text[1300];  // a long double midpoint of doubles has at most 1,100 significant digits
    std::snprintf(text, sizeof text, "%.1250Le", value);
    const std::string_view shown(text);
    const std::size_t e = shown.find('e');
    const Decimal other = NormalDecimal(shown.substr(0, 1), shown.substr(2, e - 2), std::atoll(text + e + 1));
    if (decimal.exponent != other.exponent)
        return decimal.exponent < other.exponent ? -1 : 1;
    return decimal.digits < other.digits ? -1 : decimal.digits > other.digits ? 1 : 0;
}

/// The longest leading decimal number (white space, sign, digits with an optional point, at least
/// one digit, an exponent only when digits follow), correctly rounded; 0 when there is none.
inline double ReferenceFloating(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t integerStart = i;
    while (i < text.size() && IsDecimalDigit(text[i]))
        ++i;
    const std::string_view integer = text.substr(integerStart, i - integerStart);
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && IsDecimalDigit(text[i]))
            ++i;
        fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (integer.empty() && fraction.empty())
        return 0.0;
    long long power = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativePower = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativePower = text[j++] == '-';
        if (j < text.size() && IsDecimalDigit(text[j])) {
            for (; j < text.size() && IsDecimalDigit(text[j]); ++j)
                power = std::min(power * 10 + (text[j] - '0'), 1'000'000'000'000'000LL / 1000);  // 10^15: no overflow
            if (negativePower)
                power = -power;
            i = j;
        }
    }
    const std::string prefix(text.substr(start, i - start));
    const double candidate = std::fabs(std::strtod(prefix.c_str(), nullptr));
    const Decimal decimal = NormalDecimal(integer, fraction, power);
    const double magnitude = CorrectlyRounded(candidate, [&](long double m) { return CompareExactly(decimal, m); });
    return negative ? -magnitude : magnitude;
}

/// A double rounded to float, ties to even, overflow to infinity.
inline float ReferenceRoundToFloat(double value)
{
    if (std::isnan(value))
        return std::copysign(std::numeric_limits<float>::quiet_NaN(), static_cast<float>(std::signbit(value) ? -1 : 1));
    char text[64];
    std::snprintf(text, sizeof text, "%a", std::fabs(value));
    const long double exact = std::fabs(value);
    const float magnitude = CorrectlyRounded(std::strtof(text, nullptr), [&](long double m) { return exact < m ? -1 : exact > m ? 1 : 0; });
    return std::signbit(value) ? -magnitude : magnitude;
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
