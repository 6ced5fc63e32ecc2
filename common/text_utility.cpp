#include "common/text_utility.h"

#include <charconv>

std::string DecimalText(std::int64_t value)
{
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string DecimalText(std::uint64_t value)
{
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void AppendUtf8Character(std::string& out, char32_t c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t NextUtf8(std::string_view utf8, std::size_t& at)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    const unsigned lead = byte(at);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t t = 1; t < length; ++t) {
        if (at + t >= utf8.size() || (byte(at + t) & 0xC0) != 0x80) {
            length = 0;
            break;
        }
        c = c << 6 | (byte(at + t) & 0x3F);
    }
    // Overlong forms and surrogates are no characters either.
    if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
        length = 0;
    if (length == 0) {
        ++at;
        return NO_CHARACTER;
    }
    at += length;
    return c;
}
