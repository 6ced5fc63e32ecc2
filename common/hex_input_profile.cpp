#include "common/hex_input_profile.h"

#include <charconv>
#include <iterator>

namespace {

const char* const CHINESE[] = {VELMORRA_HEX_INPUT_TEXTS(VELMORRA_TEXT_SOURCE)};

// One line under the hex box: as short as the Chinese.
constexpr TextEntry<HexInputText> ENGLISH[] = {
    {HexInputText::ChecksumOddLength, "Odd number of hex digits, please check!"},
    {HexInputText::ChecksumTooLong, "Hex data must not exceed 512 bytes!"},
    {HexInputText::ChecksumBadDigit, "Invalid hex data, please check again!"},
    {HexInputText::ByteAnalysisOddLength, "Odd number of digits, please check!"},
    {HexInputText::ByteAnalysisTooLong, "Data must not exceed 512 bytes!"},
    {HexInputText::ByteAnalysisBadDigit, "Invalid data format, please check again!"},
    {HexInputText::ConversionOddLength, "Odd number of digits"},
    {HexInputText::ConversionTooLong, "At most 8 bytes"},
    {HexInputText::ConversionBadDigit, "Invalid data format"},
};
static_assert(IsCompleteTable(ENGLISH, HEX_INPUT_TEXT_COUNT));

} // namespace

const char* HexInputTextOf(HexInputText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* HexInputTextOf(HexInputText id)
{
    return HexInputTextOf(id, CurrentTextLanguage());
}

const HexInputProfile HEX_PROFILE_CHECKSUM{MAX_HEX_BYTES, HexInputText::ChecksumOddLength, HexInputText::ChecksumTooLong,
                                           HexInputText::ChecksumBadDigit, true, true};

const HexInputProfile HEX_PROFILE_BYTE_ANALYSIS{MAX_HEX_BYTES, HexInputText::ByteAnalysisOddLength,
                                                HexInputText::ByteAnalysisTooLong, HexInputText::ByteAnalysisBadDigit,
                                                true, true};

const HexInputProfile HEX_PROFILE_STRING_FORMAT = HEX_PROFILE_CHECKSUM;

const HexInputProfile HEX_PROFILE_CONVERSION{8, HexInputText::ConversionOddLength, HexInputText::ConversionTooLong,
                                             HexInputText::ConversionBadDigit, false, false};

const char* HexErrorText(const HexInputProfile& profile, HexParseResult result)
{
    switch (result) {
    case HexParseResult::OddLength:
        return HexInputTextOf(profile.oddLengthText);
    case HexParseResult::TooLong:
        return HexInputTextOf(profile.tooLongText);
    case HexParseResult::BadDigit:
        return HexInputTextOf(profile.badDigitText);
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
