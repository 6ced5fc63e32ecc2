// The hex text grammar of every page: ParseHexText against a plain reading of the grammar, the
// buffer contract, and the normal form (parsing FormatHexBytes gives the same bytes back).
//
// Input: one byte choosing the byte limit (0: 512, 1: 8, else the byte itself), then the text.

#include <algorithm>
#include <vector>

#include "common/hex_input_profile.h"
#include "common/hex_text.h"
#include "fuzz_support.h"

namespace {

constexpr std::uint8_t UNTOUCHED = 0xA5;

struct Parsed {
    HexParseResult result;
    std::vector<std::uint8_t> bytes;
    std::size_t badPair = 0;  // BadDigit: the first pair that is not two hex digits
};

// The grammar as a user reads it: blanks vanish, two digits make a byte, at most `limit` bytes.
Parsed ReferenceParse(std::string_view text, std::size_t limit)
{
    if (text.empty())
        return {HexParseResult::Empty, {}};
    std::string digits;
    for (const char c : text)
        if (c != ' ')
            digits += c;
    if (digits.size() % 2 != 0)
        return {HexParseResult::OddLength, {}};
    if (digits.size() / 2 > limit)
        return {HexParseResult::TooLong, {}};
    const std::string_view alphabet = "0123456789ABCDEFabcdef";
    Parsed parsed{HexParseResult::Ok, {}};
    for (std::size_t k = 0; k < digits.size(); k += 2) {
        const std::size_t high = alphabet.find(digits[k]), low = alphabet.find(digits[k + 1]);
        if (high == std::string_view::npos || low == std::string_view::npos)
            return {HexParseResult::BadDigit, {}, k / 2};
        const auto value = [](std::size_t at) { return at < 16 ? at : at - 6; };
        parsed.bytes.push_back(static_cast<std::uint8_t>(value(high) * 16 + value(low)));
    }
    return parsed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const std::size_t limit = choice == 0 ? MAX_HEX_BYTES : choice == 1 ? 8 : choice;
    const std::string_view text = input.RestText();

    std::vector<std::uint8_t> buffer(limit, UNTOUCHED);
    std::size_t count = 12345;
    const HexParseResult result = ParseHexText(text, buffer, count);
    const Parsed expected = ReferenceParse(text, limit);
    FUZZ_CHECK(result == expected.result, Shown(text));

    switch (result) {
    case HexParseResult::Ok:
        FUZZ_CHECK(count == expected.bytes.size());
        FUZZ_CHECK(std::equal(expected.bytes.begin(), expected.bytes.end(), buffer.begin()), Shown(text));
        FUZZ_CHECK(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(count), buffer.end(), [](std::uint8_t b) { return b == 0; }),
                   "bytes past the count are zero");
        break;
    case HexParseResult::BadDigit:
        // The length checks passed, so the buffer was cleared; nothing past the bad pair was written.
        FUZZ_CHECK(count == 12345);
        FUZZ_CHECK(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(expected.badPair), buffer.end(),
                               [](std::uint8_t b) { return b == 0; }));
        break;
    case HexParseResult::Empty:
    case HexParseResult::OddLength:
    case HexParseResult::TooLong:
        FUZZ_CHECK(count == 12345);
        FUZZ_CHECK(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == UNTOUCHED; }),
                   "a refused text leaves the buffer alone");
        break;
    }

    // Every profile has a message for each refusal and none for Ok and Empty; a raised limit is stated.
    for (const HexInputProfile* profile : {&HEX_PROFILE_CHECKSUM, &HEX_PROFILE_BYTE_ANALYSIS, &HEX_PROFILE_STRING_FORMAT,
                                           &HEX_PROFILE_CONVERSION}) {
        const char* message = HexErrorText(*profile, result);
        FUZZ_CHECK((message == nullptr) == (result == HexParseResult::Ok || result == HexParseResult::Empty));
        const std::string withLimit = HexErrorText(*profile, result, limit);
        if (result == HexParseResult::TooLong)
            FUZZ_CHECK(withLimit.find(std::to_string(limit)) != std::string::npos, withLimit);
        else
            FUZZ_CHECK(withLimit == (message ? message : ""));
    }

    // The normal form: "%02X " per byte, one value without the last blank, and back to the same bytes.
    const std::span<const std::uint8_t> bytes = std::span(buffer).first(result == HexParseResult::Ok ? count : 0);
    const std::span<const std::uint8_t> raw(data, size);  // any bytes at all have a normal form
    for (const std::span<const std::uint8_t> frame : {bytes, raw}) {
        const std::string normal = FormatHexBytes(frame);
        FUZZ_CHECK(normal.size() == 3 * frame.size());
        for (std::size_t k = 0; k < frame.size(); ++k) {
            FUZZ_CHECK(normal[3 * k + 2] == ' ');
            FUZZ_CHECK(std::string_view("0123456789ABCDEF").find(normal[3 * k]) != std::string_view::npos);
        }
        const std::string value = FormatHexValue(frame);
        FUZZ_CHECK(value == (normal.empty() ? normal : normal.substr(0, normal.size() - 1)));

        std::vector<std::uint8_t> again(std::max<std::size_t>(frame.size(), 1));
        std::size_t againCount = 0;
        const HexParseResult back = ParseHexText(normal, again, againCount);
        if (frame.empty()) {
            FUZZ_CHECK(back == HexParseResult::Empty);
        } else {
            FUZZ_CHECK(back == HexParseResult::Ok && againCount == frame.size(), normal);
            FUZZ_CHECK(std::equal(frame.begin(), frame.end(), again.begin()), normal);
        }
    }
    return 0;
}
