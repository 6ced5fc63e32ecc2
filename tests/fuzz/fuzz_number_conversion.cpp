// Numbers to bytes and back, for the six types of the conversion page: the bytes a number text
// gives read back as the number shown, and bytes read as a number give those bytes again (the
// integer types), each against the references' reading and rounding and printf's "%f".
//
// Input: one byte choosing the type (its value modulo 6, in the page's order) and the direction
// (bit 3 set: bytes to a number), then the number text, or up to 8 bytes. Eight more bytes at the
// end are a double for RoundToFloat.

#include <algorithm>
#include <vector>

#include "common/hex_text.h"
#include "convert/number_conversion.h"
#include "convert/number_text.h"
#include "fuzz_support.h"
#include "reference_numbers.h"

namespace {

std::string Printed(const char* format, auto value)
{
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The page's number text of the value held in these bytes, by printf.
std::string ReferenceNumberText(std::uint64_t bits, NumberType type)
{
    switch (type) {
    case NumberType::Short: return Printed("%d", int{static_cast<std::int16_t>(bits)});
    case NumberType::UnsignedShort: return Printed("%d", int{static_cast<std::uint16_t>(bits)});
    case NumberType::Long: return Printed("%d", static_cast<std::int32_t>(bits));
    case NumberType::UnsignedLong: return Printed("%u", static_cast<std::uint32_t>(bits));
    case NumberType::Float: return Printed("%f", double{std::bit_cast<float>(static_cast<std::uint32_t>(bits))});
    case NumberType::Double: return Printed("%f", std::bit_cast<double>(bits));
    }
    return {};
}

std::vector<std::uint8_t> LittleEndian(std::uint64_t bits, int width)
{
    std::vector<std::uint8_t> bytes;
    for (int k = 0; k < width; ++k)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * k)));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const auto type = static_cast<NumberType>(choice % NUMBER_TYPE_COUNT);
    const int width = NumberTypeWidth(type);
    FUZZ_CHECK(width == (choice % 6 < 2 ? 2 : choice % 6 < 5 ? 4 : 8));

    if (size >= 9) {
        const double any = std::bit_cast<double>(CFuzzInput(data + size - 8, 8).Number<std::uint64_t>());
        FUZZ_CHECK(SameNumber(RoundToFloat(any), ReferenceRoundToFloat(any)),
                   HexFloat(any) + " rounds to " + HexFloat(RoundToFloat(any)) + ", the reference " + HexFloat(ReferenceRoundToFloat(any)));
    }

    if (!(choice & 8)) {
        const std::string_view text = input.RestText();
        const NumberConversion conversion = ConvertNumberToArray(text, type);
        // The bytes the value is stored in, least significant first.
        std::uint64_t bits = 0;
        switch (type) {
        case NumberType::Short:
        case NumberType::UnsignedShort:
        case NumberType::Long:
        case NumberType::UnsignedLong:
            bits = static_cast<std::uint32_t>(ReferenceInteger(text));
            break;
        case NumberType::Float:
            bits = std::bit_cast<std::uint32_t>(ReferenceRoundToFloat(ReferenceFloating(text)));
            break;
        case NumberType::Double:
            bits = std::bit_cast<std::uint64_t>(ReferenceFloating(text));
            break;
        }
        const std::vector<std::uint8_t> expected = LittleEndian(bits, width);
        FUZZ_CHECK(conversion.arrayText == FormatHexValue(expected), Shown(text) + " -> " + conversion.arrayText);
        FUZZ_CHECK(conversion.numberText == ReferenceNumberText(bits, type), Shown(text) + " -> " + conversion.numberText);
        // The array read back gives the number shown.
        std::uint8_t back[8];
        std::size_t count = 0;
        FUZZ_CHECK(ParseHexText(conversion.arrayText, back, count) == HexParseResult::Ok && count == std::size_t(width));
        FUZZ_CHECK(ConvertArrayToNumber(std::span(back, count), type) == conversion.numberText);
        // An integer's text converts to the same bytes again.
        if (width < 8 && type != NumberType::Float)
            FUZZ_CHECK(ConvertNumberToArray(conversion.numberText, type).arrayText == conversion.arrayText);
    } else {
        const std::span<const std::uint8_t> bytes = input.Bytes(8);
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < bytes.size() && k < std::size_t(width); ++k)
            bits |= std::uint64_t{bytes[k]} << (8 * k);
        const std::string text = ConvertArrayToNumber(bytes, type);
        FUZZ_CHECK(text == ReferenceNumberText(bits, type), text);
        if (type != NumberType::Float && type != NumberType::Double)
            FUZZ_CHECK(ConvertNumberToArray(text, type).arrayText == FormatHexValue(LittleEndian(bits, width)), text);
        else if (CheckNumberText(text) == NumberCheck::Ok) {
            // A value the box takes reads back to within its six decimals.
            const double value = type == NumberType::Float ? double{std::bit_cast<float>(static_cast<std::uint32_t>(bits))}
                                                           : std::bit_cast<double>(bits);
            FUZZ_CHECK(std::fabs(ReadFloating(text) - value) <= 5e-7 + std::ldexp(std::fabs(value), -52), text);
        }
    }
    return 0;
}
