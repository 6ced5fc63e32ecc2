#include "convert/number_conversion.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/hex_text.h"
#include "convert/number_text.h"

namespace {

std::string FormatSigned(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

std::string FormatUnsigned(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
    return text;
}

// "%f" of the value, always with '.' as the point: the process locale may use a comma, and a comma
// would make the number box read the text back differently. Non-finite values print as "inf",
// "-inf" or "nan", which the number check refuses.
std::string FormatFixed(double value)
{
    // The largest double has 309 integer digits; six decimals and a sign fit easily.
    std::array<char, 400> text;
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, 6);
    return std::string(text.data(), result.ptr);
}

// The value's bytes, least significant first.
template <std::size_t N>
std::string ArrayText(std::uint64_t value)
{
    std::array<std::uint8_t, N> bytes;
    for (std::size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return FormatHexValue(bytes);
}

std::uint64_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width && i < bytes.size(); ++i)
        value |= std::uint64_t{bytes[i]} << (8 * i);
    return value;
}

} // namespace

int NumberTypeWidth(NumberType type)
{
    switch (type) {
    case NumberType::Short:
    case NumberType::UnsignedShort:
        return 2;
    case NumberType::Long:
    case NumberType::UnsignedLong:
    case NumberType::Float:
        return 4;
    case NumberType::Double:
        return 8;
    }
    return 0;
}

float RoundToFloat(double value)
{
    // Halfway between FLT_MAX and 2^128: from here on IEEE rounding (ties to even) gives infinity,
    // below it FLT_MAX. Converting such a double directly is undefined in C++.
    constexpr double OVERFLOW_EDGE = 0x1.ffffffp127;
    constexpr float FLOAT_MAX = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return std::copysign(std::numeric_limits<float>::quiet_NaN(), static_cast<float>(std::signbit(value) ? -1 : 1));
    if (value >= OVERFLOW_EDGE)
        return std::numeric_limits<float>::infinity();
    if (value <= -OVERFLOW_EDGE)
        return -std::numeric_limits<float>::infinity();
    if (value > FLOAT_MAX)
        return FLOAT_MAX;
    if (value < -FLOAT_MAX)
        return -FLOAT_MAX;
    return static_cast<float>(value);
}

NumberConversion ConvertNumberToArray(std::string_view numberText, NumberType type)
{
    switch (type) {
    case NumberType::Short:
    case NumberType::UnsignedShort: {
        const auto bits = static_cast<std::uint16_t>(static_cast<std::uint32_t>(ReadInteger(numberText)));
        const int shown = type == NumberType::Short ? int{static_cast<std::int16_t>(bits)} : int{bits};
        return {ArrayText<2>(bits), FormatSigned(shown)};
    }
    case NumberType::Long:
    case NumberType::UnsignedLong: {
        const std::int32_t value = ReadInteger(numberText);
        const auto bits = static_cast<std::uint32_t>(value);
        return {ArrayText<4>(bits), type == NumberType::Long ? FormatSigned(value) : FormatUnsigned(bits)};
    }
    case NumberType::Float: {
        const float value = RoundToFloat(ReadFloating(numberText));
        return {ArrayText<4>(std::bit_cast<std::uint32_t>(value)), FormatFixed(value)};
    }
    case NumberType::Double: {
        const double value = ReadFloating(numberText);
        return {ArrayText<8>(std::bit_cast<std::uint64_t>(value)), FormatFixed(value)};
    }
    }
    return {};
}

std::string ConvertArrayToNumber(std::span<const std::uint8_t> bytes, NumberType type)
{
    const std::uint64_t bits = ReadLittleEndian(bytes, static_cast<std::size_t>(NumberTypeWidth(type)));
    switch (type) {
    case NumberType::Short:
        return FormatSigned(static_cast<std::int16_t>(bits));
    case NumberType::UnsignedShort:
        return FormatSigned(static_cast<std::uint16_t>(bits));
    case NumberType::Long:
        return FormatSigned(static_cast<std::int32_t>(bits));
    case NumberType::UnsignedLong:
        return FormatUnsigned(static_cast<std::uint32_t>(bits));
    case NumberType::Float:
        return FormatFixed(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    case NumberType::Double:
        return FormatFixed(std::bit_cast<double>(bits));
    }
    return {};
}
