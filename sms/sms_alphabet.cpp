#include "sms/sms_alphabet.h"

#include "common/text_utility.h"

#include <algorithm>
#include <array>

namespace {

// Locking shift tables, one character per septet value; the escape (0x1B) is never looked up.
// TS 23.038 clause 6.2.1 (default) and Annex A.3.1 (Turkish), A.3.3 (Portuguese).
constexpr char32_t DEFAULT_TABLE[] =
    U"@£$¥èéùìòÇ\nØø\rÅåΔ_ΦΓΛΩΠΨΣΘΞ\x1BÆæßÉ !\"#¤%&'()*+,-./0123456789:;<=>?"
    U"¡ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÑÜ§¿abcdefghijklmnopqrstuvwxyzäöñüà";
constexpr char32_t TURKISH_LOCKING[] =
    U"@£$¥€éùıòÇ\nĞğ\rÅåΔ_ΦΓΛΩΠΨΣΘΞ\x1BŞşßÉ !\"#¤%&'()*+,-./0123456789:;<=>?"
    U"İABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÑÜ§çabcdefghijklmnopqrstuvwxyzäöñüà";
constexpr char32_t PORTUGUESE_LOCKING[] =
    U"@£$¥êéúíóç\nÔô\rÁáΔ_ªÇÀ∞^\\€Ó|\x1BÂâÊÉ !\"#º%&'()*+,-./0123456789:;<=>?"
    U"ÍABCDEFGHIJKLMNOPQRSTUVWXYZÃÕÚÜ§~abcdefghijklmnopqrstuvwxyzãõ`üà";
static_assert(std::size(DEFAULT_TABLE) == 129 && std::size(TURKISH_LOCKING) == 129 &&
              std::size(PORTUGUESE_LOCKING) == 129);

struct ShiftEntry {
    std::uint8_t septet;
    char32_t character;
};

// Single shift tables: clause 6.2.1.1 (the default extension table), Annex A.2.1 (Turkish),
// A.2.2 (Spanish), A.2.3 (Portuguese). 0x0A is the page break (form feed).
constexpr ShiftEntry DEFAULT_EXTENSION[] = {
    {0x0A, U'\f'}, {0x14, U'^'}, {0x28, U'{'}, {0x29, U'}'}, {0x2F, U'\\'},
    {0x3C, U'['}, {0x3D, U'~'}, {0x3E, U']'}, {0x40, U'|'}, {0x65, U'€'},
};
constexpr ShiftEntry TURKISH_SINGLE[] = {
    {0x0A, U'\f'}, {0x14, U'^'}, {0x28, U'{'}, {0x29, U'}'}, {0x2F, U'\\'}, {0x3C, U'['},
    {0x3D, U'~'}, {0x3E, U']'}, {0x40, U'|'}, {0x47, U'Ğ'}, {0x49, U'İ'}, {0x53, U'Ş'},
    {0x63, U'ç'}, {0x65, U'€'}, {0x67, U'ğ'}, {0x69, U'ı'}, {0x73, U'ş'},
};
constexpr ShiftEntry SPANISH_SINGLE[] = {
    {0x09, U'ç'}, {0x0A, U'\f'}, {0x14, U'^'}, {0x28, U'{'}, {0x29, U'}'}, {0x2F, U'\\'},
    {0x3C, U'['}, {0x3D, U'~'}, {0x3E, U']'}, {0x40, U'|'}, {0x41, U'Á'}, {0x49, U'Í'},
    {0x4F, U'Ó'}, {0x55, U'Ú'}, {0x61, U'á'}, {0x65, U'€'}, {0x69, U'í'}, {0x6F, U'ó'},
    {0x75, U'ú'},
};
constexpr ShiftEntry PORTUGUESE_SINGLE[] = {
    {0x05, U'ê'}, {0x09, U'ç'}, {0x0A, U'\f'}, {0x0B, U'Ô'}, {0x0C, U'ô'}, {0x0E, U'Á'},
    {0x0F, U'á'}, {0x12, U'Φ'}, {0x13, U'Γ'}, {0x14, U'^'}, {0x15, U'Ω'}, {0x16, U'Π'},
    {0x17, U'Ψ'}, {0x18, U'Σ'}, {0x19, U'Θ'}, {0x1F, U'Ê'}, {0x28, U'{'}, {0x29, U'}'},
    {0x2F, U'\\'}, {0x3C, U'['}, {0x3D, U'~'}, {0x3E, U']'}, {0x40, U'|'}, {0x41, U'À'},
    {0x49, U'Í'}, {0x4F, U'Ó'}, {0x55, U'Ú'}, {0x5B, U'Ã'}, {0x5C, U'Õ'}, {0x61, U'Â'},
    {0x65, U'€'}, {0x69, U'í'}, {0x6F, U'ó'}, {0x75, U'ú'}, {0x7B, U'ã'}, {0x7C, U'õ'},
    {0x7F, U'â'},
};

const char32_t* LockingTable(std::uint8_t language)
{
    switch (language) {
    case GSM_LANGUAGE_TURKISH:
        return TURKISH_LOCKING;
    case GSM_LANGUAGE_PORTUGUESE:
        return PORTUGUESE_LOCKING;
    default:
        return DEFAULT_TABLE;
    }
}

std::span<const ShiftEntry> SingleTable(std::uint8_t language)
{
    switch (language) {
    case GSM_LANGUAGE_TURKISH:
        return TURKISH_SINGLE;
    case GSM_LANGUAGE_SPANISH:
        return SPANISH_SINGLE;
    case GSM_LANGUAGE_PORTUGUESE:
        return PORTUGUESE_SINGLE;
    default:
        return DEFAULT_EXTENSION;
    }
}

} // namespace

bool HasGsmLockingTable(std::uint8_t language)
{
    return language == GSM_LANGUAGE_DEFAULT || language == GSM_LANGUAGE_TURKISH || language == GSM_LANGUAGE_PORTUGUESE;
}

bool HasGsmSingleTable(std::uint8_t language)
{
    return language <= GSM_LANGUAGE_PORTUGUESE;
}

std::vector<std::uint8_t> UnpackGsmSeptets(std::span<const std::uint8_t> bytes, std::size_t firstBit, std::size_t count)
{
    std::vector<std::uint8_t> septets;
    const std::size_t bits = bytes.size() * 8;
    if (firstBit >= bits)
        return septets;
    count = std::min(count, (bits - firstBit) / 7);
    septets.reserve(count);
    for (std::size_t k = 0, bit = firstBit; k < count; ++k, bit += 7) {
        const std::size_t byte = bit / 8;
        const unsigned shift = bit % 8;
        unsigned value = bytes[byte] >> shift;
        if (shift > 1)
            value |= static_cast<unsigned>(bytes[byte + 1]) << (8 - shift);
        septets.push_back(static_cast<std::uint8_t>(value & 0x7F));
    }
    return septets;
}

std::string GsmSeptetsToUtf8(std::span<const std::uint8_t> septets, GsmShiftTables tables)
{
    const char32_t* locking = LockingTable(tables.locking);
    const std::span<const ShiftEntry> single = SingleTable(tables.single);
    std::string text;
    text.reserve(septets.size() + septets.size() / 2);
    for (std::size_t k = 0; k < septets.size(); ++k) {
        const std::uint8_t septet = septets[k] & 0x7F;
        if (septet != GSM_ESCAPE) {
            AppendUtf8Character(text, locking[septet]);
            continue;
        }
        if (++k == septets.size())
            break;  // an escape at the very end stands for nothing
        const std::uint8_t shifted = septets[k] & 0x7F;
        if (shifted == GSM_ESCAPE) {
            // Reserved for a further extension table: shown as a space (clause 6.2.1.1).
            text += ' ';
            continue;
        }
        char32_t c = locking[shifted];
        for (const ShiftEntry& entry : single) {
            if (entry.septet == shifted) {
                c = entry.character;
                break;
            }
        }
        AppendUtf8Character(text, c);
    }
    return text;
}

std::string Ucs2ToUtf8(std::span<const std::uint16_t> units)
{
    std::string text;
    text.reserve(units.size() * 3);
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char32_t unit = units[k];
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units.size() && units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF) {
            AppendUtf8Character(text, 0x10000 + ((unit - 0xD800) << 10) + (units[k + 1] - 0xDC00));
            ++k;
        } else {
            AppendUtf8Character(text, unit);  // a lone surrogate becomes U+FFFD
        }
    }
    return text;
}
