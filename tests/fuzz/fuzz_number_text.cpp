// The number text of the conversion page, the value finder and the engineering dialog: the check,
// the key filter, and both readings against references (the correctly rounded value of the
// longest prefix the grammar takes, its reduction modulo 2^32 for the integer). Texts of any
// length: the engineering dialog caps none.
//
// Input: the text.

#include <cerrno>
#include <cmath>
#include <cstring>

#include "convert/number_text.h"
#include "fuzz_support.h"
#include "reference_numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The check: at most 64 characters besides blanks, then only '*' to '9', 'e' and 'E', with
    // '.', '-', 'e' and 'E' once each.
    std::size_t length = 0;
    int seen[256] = {};
    bool illegal = false;
    for (const char c : text) {
        if (c == ' ')
            continue;
        ++length;
        const auto b = static_cast<unsigned char>(c);
        const bool legal = std::strchr("*+,-./0123456789eE", c) != nullptr && c != '\0';
        illegal = illegal || !legal || (std::strchr(".-eE", c) && c != '\0' && ++seen[b] > 1);
    }
    const NumberCheck expected = length > MAX_NUMBER_CHARS ? NumberCheck::TooLong
                                 : illegal                ? NumberCheck::Illegal
                                                          : NumberCheck::Ok;
    const NumberCheck check = CheckNumberText(text);
    FUZZ_CHECK(check == expected, Shown(text));
    FUZZ_CHECK((NumberCheckText(check) == nullptr) == (check == NumberCheck::Ok));

    // Typing the text key by key: whatever the filter lets through, the check never calls illegal.
    std::string typed;
    for (const char c : text) {
        const auto key = static_cast<char32_t>(static_cast<unsigned char>(c));
        if (!AcceptNumberKey(key, typed))
            continue;
        if (c == '\b') {
            if (!typed.empty())
                typed.pop_back();
        } else {
            typed += c;
        }
    }
    FUZZ_CHECK(CheckNumberText(typed) != NumberCheck::Illegal, Shown(typed));

    FUZZ_CHECK(ReadInteger(text) == ReferenceInteger(text), Shown(text));
    const double value = ReadFloating(text);
    const double reference = ReferenceFloating(text);
    FUZZ_CHECK(SameDouble(value, reference), Shown(text.substr(0, 200)) + " read " + HexFloat(value) + ", the reference " + HexFloat(reference));
    return 0;
}
