// The code-page layer: GBK bytes to UTF-16 and UTF-8 and back. Valid GBK text survives the round
// trip byte for byte, bad bytes become U+FFFD and nothing else is lost; UTF-16 goes to GBK unit by
// unit and to UTF-8 as iconv's own UTF-8 converter writes it.
//
// Input: one mode byte (bit 0: the rest is UTF-16LE code units, else GBK bytes), then the rest.

#include <algorithm>
#include <iconv.h>

#include "common/code_page.h"
#include "fuzz_support.h"

namespace {

constexpr char16_t REPLACEMENT = 0xFFFD;

bool IsSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// UTF-8 of well-formed UTF-16 by glibc's converter.
std::string IconvUtf8(std::u16string_view units)
{
    static const iconv_t converter = iconv_open("UTF-8", "UTF-16LE");
    std::string in;
    for (const char16_t unit : units) {
        in += static_cast<char>(unit & 0xFF);
        in += static_cast<char>(unit >> 8);
    }
    std::string out(4 * units.size() + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    FUZZ_CHECK(result != static_cast<std::size_t>(-1) && inLeft == 0, "iconv refused well-formed UTF-16");
    out.resize(out.size() - outLeft);
    return out;
}

// Lone surrogates replaced, pairs kept: what WideToUtf8 promises to encode.
std::u16string WellFormed(std::u16string_view units)
{
    std::u16string out;
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char16_t unit = units[k];
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units.size() && units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF) {
            out += unit;
            out += units[++k];
        } else {
            out += IsSurrogate(unit) ? REPLACEMENT : unit;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const bool wide = input.Byte() & 1;
    if (!wide) {
        const std::string_view narrow = input.RestText();
        const std::u16string units = NarrowToWide(narrow);
        FUZZ_CHECK(units.size() <= narrow.size(), "every byte gives at most one unit");
        FUZZ_CHECK(std::none_of(units.begin(), units.end(), IsSurrogate));
        FUZZ_CHECK(NarrowToUtf8(narrow) == WideToUtf8(units));
        if (std::all_of(narrow.begin(), narrow.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            FUZZ_CHECK(units == std::u16string(narrow.begin(), narrow.end()) && NarrowToUtf8(narrow) == narrow);
        // Valid GBK throughout: back to the same bytes.
        if (std::find(units.begin(), units.end(), REPLACEMENT) == units.end())
            FUZZ_CHECK(WideToNarrow(units) == narrow, Shown(narrow));
    } else {
        std::u16string units;
        for (std::span<const std::uint8_t> pair = input.Bytes(2); pair.size() == 2; pair = input.Bytes(2))
            units += static_cast<char16_t>(pair[0] | pair[1] << 8);
        // Unit by unit: one or two bytes each, "?" for a unit GBK lacks; decoded again, the same units
        // with those as "?", and their bytes once more the same.
        std::string joined;
        std::u16string expected;
        for (const char16_t unit : units) {
            const std::string one = WideToNarrow(std::u16string_view(&unit, 1));
            FUZZ_CHECK(one.size() == 1 || one.size() == 2);
            FUZZ_CHECK(!IsSurrogate(unit) || one == "?");
            joined += one;
            const std::u16string decoded = NarrowToWide(one);
            FUZZ_CHECK(decoded.size() == 1 && WideToNarrow(decoded) == one);
            expected += one == "?" ? u'?' : decoded[0];
        }
        const std::string narrow = WideToNarrow(units);
        FUZZ_CHECK(narrow == joined);
        FUZZ_CHECK(NarrowToWide(narrow) == expected);
        FUZZ_CHECK(WideToUtf8(units) == IconvUtf8(WellFormed(units)));
    }
    return 0;
}
