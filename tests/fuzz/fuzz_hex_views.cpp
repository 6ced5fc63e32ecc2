// The string formatting page's renderings of a frame and its selection mirroring: each view
// against a plain reading of it, the Unicode views through the code page and back, and selections
// of whole bytes going from the hex box to the ASCII view and back unchanged.
//
// Input: a selection start and length (two bytes each, little-endian), two bytes for an ASCII
// selection's ends, then the frame (at most 512 bytes are used, as on the page).

#include <algorithm>
#include <vector>

#include "common/code_page.h"
#include "common/hex_text.h"
#include "format/hex_views.h"
#include "format/selection_mirror.h"
#include "fuzz_support.h"

namespace {

// The decimal digits that start the "%x" text of the byte, after a low digit A-F has carried into
// the high one: worked out per case, without formatting.
unsigned ReferenceBcd(std::uint8_t b)
{
    const unsigned v = (b & 0x0F) <= 9 ? b : b + 6u;
    const unsigned high = v >> 4 & 0x0F, low = v & 0x0F;
    if (v >= 0x100)
        return 100 + low;  // "10" and a digit 0-5
    if (v < 0x10)
        return low;
    if (high >= 10)
        return 0;
    return low >= 10 ? high : 10 * high + low;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const auto selectionStart = input.Number<std::uint16_t>();
    const auto selectionLength = input.Number<std::uint16_t>();
    const std::uint8_t asciiFirst = input.Byte(), asciiLast = input.Byte();
    const std::span<const std::uint8_t> frame = input.Bytes(MAX_HEX_BYTES);
    const std::size_t n = frame.size();

    std::string ascii;
    for (const std::uint8_t b : frame)
        if (b != 0)
            ascii += static_cast<char>(b);
    FUZZ_CHECK(RenderAscii(frame) == ascii);

    // UTF-16 units of byte pairs (an odd last byte with zero), up to the first zero unit: in the code
    // page, each unit becomes one character, and the bytes decode to as many units and encode back.
    for (const UnicodeByteOrder order : {UnicodeByteOrder::HighFirst, UnicodeByteOrder::LowFirst}) {
        std::u16string units;
        for (std::size_t k = 0; k < n; k += 2) {
            const unsigned first = frame[k], second = k + 1 < n ? frame[k + 1] : 0;
            const auto unit = static_cast<char16_t>(order == UnicodeByteOrder::HighFirst ? first << 8 | second : second << 8 | first);
            if (unit == 0)
                break;
            units += unit;
        }
        const std::string narrow = RenderUnicode(frame, order);
        std::string perUnit;
        for (const char16_t unit : units)
            perUnit += WideToNarrow(std::u16string_view(&unit, 1));
        FUZZ_CHECK(narrow == perUnit);
        const std::u16string back = NarrowToWide(narrow);
        FUZZ_CHECK(back.size() == units.size());
        FUZZ_CHECK(WideToNarrow(back) == narrow);
    }

    const std::string decimal = RenderDecimal(frame);
    const std::string bcd = RenderBcd(frame);
    FUZZ_CHECK(decimal.size() == 4 * n && bcd.size() == 3 * n);
    for (std::size_t k = 0; k < n; ++k) {
        const char digits[] = {char('0' + frame[k] / 100), char('0' + frame[k] / 10 % 10), char('0' + frame[k] % 10), ' '};
        FUZZ_CHECK(decimal.substr(4 * k, 4) == std::string_view(digits, 4));
        const unsigned value = ReferenceBcd(frame[k]);
        FUZZ_CHECK(BcdValue(frame[k]) == value);
        const std::uint8_t shown = static_cast<std::uint8_t>(value);
        FUZZ_CHECK(bcd.substr(3 * k, 3) == FormatHexBytes(std::span(&shown, 1)));
    }

    // 3X3X: pairs of 0x30-0x3F join their low digits into one byte.
    const bool joinable = n % 2 == 0 && std::all_of(frame.begin(), frame.end(), [](std::uint8_t b) { return (b & 0xF0) == 0x30; });
    std::vector<std::uint8_t> joined;
    for (std::size_t k = 0; joinable && k < n; k += 2)
        joined.push_back(static_cast<std::uint8_t>((frame[k] & 0x0F) << 4 | (frame[k + 1] & 0x0F)));
    FUZZ_CHECK(Render3x3x(frame) == (joinable ? FormatHexBytes(joined) : WideToNarrow(u"非3X3X编码格式")));

    // Any selection of the hex box's normal form lands inside the ASCII view.
    const std::string hex = FormatHexBytes(frame);
    const std::size_t start = selectionStart % (hex.size() + 1);
    const std::string_view selected = std::string_view(hex).substr(start, selectionLength % (hex.size() - start + 1));
    if (const std::optional<TextRange> range = HexSelectionToAscii(start, selected))
        FUZZ_CHECK(range->start <= range->end && range->end <= n, hex + "[" + std::to_string(start) + "]");
    // Whole bytes a..b-1 go to the hex box and come back the same; with or without the last blank.
    const std::size_t a = std::min<std::size_t>(asciiFirst, n), b = std::min<std::size_t>(std::max(asciiFirst, asciiLast), n);
    const TextRange inHex = AsciiSelectionToHex({a, b});
    FUZZ_CHECK(inHex.start == 3 * a && inHex.end == 3 * b);
    for (const std::size_t trim : {0, 1}) {
        if (b == a && trim)
            continue;
        const std::optional<TextRange> back = HexSelectionToAscii(inHex.start, std::string_view(hex).substr(inHex.start, inHex.end - inHex.start - trim));
        FUZZ_CHECK(back && back->start == a && back->end == b, std::to_string(a) + ".." + std::to_string(b));
    }
    return 0;
}
