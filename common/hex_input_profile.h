#pragma once
// What differs between the pages that take a hex frame: limit, texts, and how loudly errors speak.

#include <cstddef>
#include <string>

#include "common/hex_text.h"

struct HexInputProfile {
    std::size_t limit;          // bytes accepted at most
    const char* oddLengthText;  // UTF-8
    const char* tooLongText;
    const char* badDigitText;
    bool messageBoxOnError;     // TooLong and BadDigit also raise a message box
    bool rewriteNormalForm;     // an accepted text is written back as FormatHexBytes
};

extern const HexInputProfile HEX_PROFILE_CHECKSUM;
extern const HexInputProfile HEX_PROFILE_BYTE_ANALYSIS;
extern const HexInputProfile HEX_PROFILE_STRING_FORMAT;
extern const HexInputProfile HEX_PROFILE_CONVERSION;

/// The information-line text a profile gives for an outcome; nullptr for Ok and Empty.
const char* HexErrorText(const HexInputProfile& profile, HexParseResult result);

/// The same with another byte limit in force (the command line may raise it): the TooLong text
/// then states that limit.
std::string HexErrorText(const HexInputProfile& profile, HexParseResult result, std::size_t limit);
