#include "common/hex_text.h"

#include <algorithm>

#include "common/text_utility.h"

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ParseHexByte(char high, char low, std::uint8_t& byte)
{
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    if (h < 0 || l < 0)
        return false;
    byte = static_cast<std::uint8_t>(h * 16 + l);
    return true;
}

HexParseResult ParseHexText(std::string_view text, std::span<std::uint8_t> buffer, std::size_t& count)
{
    if (text.empty())
        return HexParseResult::Empty;

    std::string digits;
    digits.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            digits.push_back(c);

    if (digits.size() % 2 != 0)
        return HexParseResult::OddLength;
    const std::size_t pairs = digits.size() / 2;
    if (pairs > buffer.size())
        return HexParseResult::TooLong;

    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    for (std::size_t n = 0; n < pairs; ++n) {
        if (!ParseHexByte(digits[2 * n], digits[2 * n + 1], buffer[n]))
            return HexParseResult::BadDigit;
    }
    count = pairs;
    return HexParseResult::Ok;
}

std::string FormatHexBytes(std::span<const std::uint8_t> bytes)
{
    std::string text(bytes.size() * 3, ' ');
    char* out = text.data();
    for (std::uint8_t b : bytes) {
        out[0] = HEX_DIGITS_UPPER[b >> 4];
        out[1] = HEX_DIGITS_UPPER[b & 0x0F];
        out += 3;
    }
    return text;
}

std::string FormatHexValue(std::span<const std::uint8_t> bytes)
{
    std::string text = FormatHexBytes(bytes);
    if (!text.empty())
        text.pop_back();
    return text;
}
