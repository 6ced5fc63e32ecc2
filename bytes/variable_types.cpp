#include "bytes/variable_types.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr char HEX_LOWER[] = "0123456789abcdef";

template <typename Number>
std::string NumberText(Number value)
{
    std::array<char, 24> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return std::string(digits.data(), result.ptr);
}

} // namespace

std::uint64_t VariableInput::Raw() const
{
    if (!order)
        return b[0];
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < width; ++k)
        value |= std::uint64_t{b[order->valueFrom[k]]} << (8 * k);
    return value;
}

namespace variable_reading {

std::string FormatUnsigned(const VariableInput& in)
{
    return NumberText(in.Raw());
}

std::string FormatChar(const VariableInput& in)
{
    return NumberText(int{static_cast<std::int8_t>(in.Raw())});
}

std::string FormatInt(const VariableInput& in)
{
    return NumberText(int{static_cast<std::int16_t>(in.Raw())});
}

std::string FormatLong(const VariableInput& in)
{
    return NumberText(static_cast<std::int32_t>(in.Raw()));
}

// "%.3f" with '.' whatever the process locale; values that are no number show as words.
std::string FormatFloat(const VariableInput& in)
{
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(in.Raw()));
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    std::array<char, 64> text;  // a float's largest integer part has 39 digits
    const auto result = std::to_chars(text.data(), text.data() + text.size(), static_cast<double>(value),
                                      std::chars_format::fixed, 3);
    return std::string(text.data(), result.ptr);
}

// Every byte as one character: a zero byte adds nothing; bytes from 0x80 up pass through and
// pair into GBK characters.
std::string FormatCharacters(const VariableInput& in)
{
    std::string text;
    for (std::size_t k = 0; k < in.width; ++k)
        if (in.b[k] != 0)
            text.push_back(static_cast<char>(in.b[k]));
    return text;
}

// Every byte as lower-case hex without padding, joined.
std::string FormatHexDigits(const VariableInput& in)
{
    std::string text;
    text.reserve(2 * in.width);
    for (std::size_t k = 0; k < in.width; ++k) {
        if (in.b[k] >> 4)
            text.push_back(HEX_LOWER[in.b[k] >> 4]);
        text.push_back(HEX_LOWER[in.b[k] & 0x0F]);
    }
    return text;
}

std::optional<double> ReadUnsigned(const VariableInput& in)
{
    return static_cast<double>(in.Raw());
}

std::optional<double> ReadChar(const VariableInput& in)
{
    return static_cast<std::int8_t>(in.Raw());
}

std::optional<double> ReadInt(const VariableInput& in)
{
    return static_cast<std::int16_t>(in.Raw());
}

std::optional<double> ReadLong(const VariableInput& in)
{
    return static_cast<std::int32_t>(in.Raw());
}

// Infinities, NaNs and denormals are no reading anyone took.
std::optional<double> ReadFloat(const VariableInput& in)
{
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(in.Raw()));
    const int kind = std::fpclassify(value);
    if (kind != FP_NORMAL && kind != FP_ZERO)
        return std::nullopt;
    return value + 0.0;  // no -0
}

// Packed BCD, two decimal digits a byte, most significant first.
std::optional<double> ReadBcd(const VariableInput& in)
{
    double value = 0;
    for (std::size_t k = 0; k < in.width; ++k) {
        if ((in.b[k] >> 4) > 9 || (in.b[k] & 0x0F) > 9)
            return std::nullopt;
        value = value * 100 + (in.b[k] >> 4) * 10 + (in.b[k] & 0x0F);
    }
    return value;
}

// The shortest text that reads back as the same float; a scaled value past the float range keeps
// its double, as a float it would read "inf".
std::string FloatNumberText(double value)
{
    return std::fabs(value) <= std::numeric_limits<float>::max() ? NumberText(static_cast<float>(value))
                                                                  : NumberText(value);
}

} // namespace variable_reading

const VariableTypeEntry& VariableTypeInfo(VariableType type)
{
    return VARIABLE_TYPES[static_cast<std::size_t>(type)];
}

const VariableTypeEntry* FindVariableType(std::string_view name)
{
    for (const VariableTypeEntry& entry : VARIABLE_TYPES)
        if (name == entry.name)
            return &entry;
    return nullptr;
}

std::span<const ByteOrderEntry> ByteOrdersOf(VariableType type)
{
    return VariableTypeInfo(type).orders;
}

VariableType GroupType(ByteOrderGroup group)
{
    for (const VariableTypeEntry& entry : VARIABLE_TYPES)
        if (entry.order == group)
            return entry.type;
    return VARIABLE_TYPES.back().type;
}

int ByteOrderOptions::For(VariableType type) const
{
    const auto& group = VariableTypeInfo(type).order;
    if (!group)
        return 0;
    const int chosen = index[static_cast<std::size_t>(*group)];
    return chosen >= 0 && static_cast<std::size_t>(chosen) < ByteOrdersOf(type).size() ? chosen : 0;
}

VariableInput InputOf(VariableType type, int order, const std::uint8_t* b, std::size_t length)
{
    const VariableTypeEntry& entry = VariableTypeInfo(type);
    const std::span<const ByteOrderEntry> orders = entry.orders;
    const ByteOrderEntry* shown = nullptr;
    if (!orders.empty())
        shown = &orders[order >= 0 && static_cast<std::size_t>(order) < orders.size() ? static_cast<std::size_t>(order) : 0];
    return {b, entry.width ? entry.width : length, shown};
}

std::optional<double> ReadNumber(VariableType type, int order, const std::uint8_t* b, std::size_t length)
{
    const VariableTypeEntry& entry = VariableTypeInfo(type);
    return entry.read ? entry.read(InputOf(type, order, b, length)) : std::nullopt;
}
