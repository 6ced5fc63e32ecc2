#include "common/hex_input_profile.h"

#include <charconv>

const HexInputProfile HEX_PROFILE_CHECKSUM{
    MAX_HEX_BYTES, "16进制数据长度错误，请确认！", "16进制数据长度不能超过512！",
    "16进制数据格式错误，请重新确认！", true, true};

const HexInputProfile HEX_PROFILE_BYTE_ANALYSIS{
    MAX_HEX_BYTES, "数据长度错误，请确认！", "数据长度不能超过512！", "数据格式错误，请重新确认！", true, true};

const HexInputProfile HEX_PROFILE_STRING_FORMAT = HEX_PROFILE_CHECKSUM;

const HexInputProfile HEX_PROFILE_CONVERSION{8, "数据长度错误", "数据长度不能超过8", "数据格式错误", false, false};

const char* HexErrorText(const HexInputProfile& profile, HexParseResult result)
{
    switch (result) {
    case HexParseResult::OddLength:
        return profile.oddLengthText;
    case HexParseResult::TooLong:
        return profile.tooLongText;
    case HexParseResult::BadDigit:
        return profile.badDigitText;
    case HexParseResult::Ok:
    case HexParseResult::Empty:
        break;
    }
    return nullptr;
}

std::string HexErrorText(const HexInputProfile& profile, HexParseResult result, std::size_t limit)
{
    const char* fixed = HexErrorText(profile, result);
    std::string text = fixed ? fixed : "";
    if (result == HexParseResult::TooLong && limit != profile.limit) {
        char from[24], to[24];
        const std::string_view stated(from, static_cast<std::size_t>(std::to_chars(from, from + sizeof from, profile.limit).ptr - from));
        const std::string_view wanted(to, static_cast<std::size_t>(std::to_chars(to, to + sizeof to, limit).ptr - to));
        if (const std::size_t at = text.find(stated); at != std::string::npos)
            text.replace(at, stated.size(), wanted);
    }
    return text;
}
