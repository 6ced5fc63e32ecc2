#pragma once
// What differs between the pages that take a hex frame: limit, texts, and how loudly errors speak.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/hex_text.h"
#include "common/text_table.h"

// The pages' messages for a hex text they refuse (UTF-8).
#define VELMORRA_HEX_INPUT_TEXTS(X)                               \
    X(ChecksumOddLength, "16进制数据长度错误，请确认！")          \
    X(ChecksumTooLong, "16进制数据长度不能超过512！")             \
    X(ChecksumBadDigit, "16进制数据格式错误，请重新确认！")       \
    X(ByteAnalysisOddLength, "数据长度错误，请确认！")            \
    X(ByteAnalysisTooLong, "数据长度不能超过512！")               \
    X(ByteAnalysisBadDigit, "数据格式错误，请重新确认！")         \
    X(ConversionOddLength, "数据长度错误")                        \
    X(ConversionTooLong, "数据长度不能超过8")                     \
    X(ConversionBadDigit, "数据格式错误")

enum class HexInputText : std::uint8_t { VELMORRA_HEX_INPUT_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t HEX_INPUT_TEXT_COUNT = 0 VELMORRA_HEX_INPUT_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language.
const char* HexInputTextOf(HexInputText id);
const char* HexInputTextOf(HexInputText id, TextLanguage language);

struct HexInputProfile {
    std::size_t limit;          // bytes accepted at most
    HexInputText oddLengthText;
    HexInputText tooLongText;   // states the limit as a number, which HexErrorText may replace
    HexInputText badDigitText;
    bool messageBoxOnError;     // TooLong and BadDigit also raise a message box
    bool rewriteNormalForm;     // an accepted text is written back as FormatHexBytes
};

extern const HexInputProfile HEX_PROFILE_CHECKSUM;
extern const HexInputProfile HEX_PROFILE_BYTE_ANALYSIS;
extern const HexInputProfile HEX_PROFILE_STRING_FORMAT;
extern const HexInputProfile HEX_PROFILE_CONVERSION;

/// The information-line text a profile gives for an outcome, in the current language; nullptr
/// for Ok and Empty.
const char* HexErrorText(const HexInputProfile& profile, HexParseResult result);

/// The same with another byte limit in force (the command line may raise it): the TooLong text
/// then states that limit.
std::string HexErrorText(const HexInputProfile& profile, HexParseResult result, std::size_t limit);
