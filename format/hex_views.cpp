#include "format/hex_views.h"

#include <cstdio>

#include "common/code_page.h"
#include "format/format_texts.h"

namespace {

template <typename Value>
void AppendFormatted(std::string& text, const char* format, Value value)
{
    char piece[8];
    const int length = std::snprintf(piece, sizeof piece, format, value);
    text.append(piece, static_cast<std::size_t>(length));
}

} // namespace

std::string RenderAscii(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (std::uint8_t b : bytes)
        if (b != 0)
            text += static_cast<char>(b);
    return text;
}

std::string RenderUnicode(std::span<const std::uint8_t> bytes, UnicodeByteOrder order)
{
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (std::size_t k = 0; 2 * k < bytes.size(); ++k) {
        const unsigned first = bytes[2 * k];
        const unsigned second = 2 * k + 1 < bytes.size() ? bytes[2 * k + 1] : 0;
        const unsigned unit = order == UnicodeByteOrder::LowFirst ? second << 8 | first : first << 8 | second;
        if (unit == 0)
            break;  // the text is zero-terminated
        units += static_cast<char16_t>(unit);
    }
    return WideToNarrow(units);
}

std::string RenderDecimal(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(4 * bytes.size());
    for (std::uint8_t b : bytes)
        AppendFormatted(text, "%03d ", static_cast<int>(b));
    return text;
}

std::uint8_t BcdValue(std::uint8_t b)
{
    // Adding 6 carries a low digit A-F into the high digit; the value is then the decimal
    // digits that start its "%x" text, so a high digit A-F reads as 0.
    const unsigned v = (b & 0x0F) <= 9 ? b : b + 6u;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", v);
    unsigned value = 0;
    for (const char* p = hex; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<unsigned>(*p - '0');
    return static_cast<std::uint8_t>(value);
}

std::string RenderBcd(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(3 * bytes.size());
    for (std::uint8_t b : bytes)
        AppendFormatted(text, "%02X ", static_cast<unsigned>(BcdValue(b)));
    return text;
}

std::string Render3x3x(std::span<const std::uint8_t> bytes)
{
    bool digitsOnly = bytes.size() % 2 == 0;
    for (std::uint8_t b : bytes)
        digitsOnly = digitsOnly && b >= 0x30 && b <= 0x3F;
    if (!digitsOnly)
        return StringFormatNarrow(StringFormatText::Not3x3x);

    std::string text;
    text.reserve(3 * bytes.size() / 2);
    for (std::size_t k = 0; 2 * k < bytes.size(); ++k) {
        const unsigned joined = (bytes[2 * k] * 16u + bytes[2 * k + 1] - 0x30u) & 0xFF;
        AppendFormatted(text, "%02X ", joined);
    }
    return text;
}
