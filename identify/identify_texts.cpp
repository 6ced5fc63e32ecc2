#include "identify/identify_texts.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char* const CHINESE[] = {VELMORRA_IDENTIFY_TEXTS(VELMORRA_TEXT_SOURCE)};

// A rule reads as one line of clauses: "CRC-16/XMODEM (high byte first), byte 2 to byte 4 from the
// end, then a 1-byte trailer; 300/300 frames". Counts go after a colon or into a ratio, so that
// none needs a plural ending. The CRC parameters carry the catalogue's names (poly, init, xorout).
constexpr TextEntry<IdentifyText> ENGLISH[] = {
    {IdentifyText::LowFirst, "low byte first"},
    {IdentifyText::HighFirst, "high byte first"},
    {IdentifyText::ModelWithOrder, "%s (%s)"},
    {IdentifyText::RangeFromFirst, "byte %u to byte %u"},
    {IdentifyText::RangeFromLast, "byte %u to byte %u from the end"},
    {IdentifyText::Trailer, ", then a %u-byte trailer"},
    {IdentifyText::HexValue, ", check value as %u hex digits"},
    {IdentifyText::SeparatorValue, ", then \"%s\" and a check value of %u hex digits"},
    {IdentifyText::OverHexPairs, ", computed over the bytes the hex text stands for"},
    {IdentifyText::Blocks, ", a check value after every %u bytes"},
    {IdentifyText::Held, "; %s/%s frames"},
    {IdentifyText::Structural, " (structural: the covered bytes give the same result in every frame)"},
    {IdentifyText::Failing, "; fails in lines %s"},
    {IdentifyText::MoreLines, " … (%s lines in all)"},
    {IdentifyText::PlusConstant, "%s + 0x%s"},
    {IdentifyText::XorConstant, "%s XOR 0x%s"},
    {IdentifyText::Negated, "−%s"},
    {IdentifyText::ConstantMinus, "0x%s − %s"},
    {IdentifyText::SolvedCrc, "CRC-%u (poly 0x%s, init 0x%s, %s, %s, xorout 0x%s)"},
    {IdentifyText::SolvedInitUnknown, " (frames of one length cannot tell init from xorout: the smallest possible init)"},
    {IdentifyText::InputReflected, "input reflected"},
    {IdentifyText::InputNotReflected, "input not reflected"},
    {IdentifyText::OutputReflected, "output reflected"},
    {IdentifyText::OutputNotReflected, "output not reflected"},
    {IdentifyText::Summary, "Frames: %s (%s distinct); rules: %s"},
    {IdentifyText::NoRule, "No checksum rule holds in at least %s%% of the frames"},
    {IdentifyText::TooFewDistinct, "All frames are alike, or there is only one: a checksum rule cannot be told from chance"},
    {IdentifyText::ClassHeading, "Frames with first byte %02X (%s):"},
    {IdentifyText::Unclassified, "Frames in no class: lines %s"},
    {IdentifyText::Cancelled, "Stopped"},
    {IdentifyText::Comma, ", "},
    {IdentifyText::LineSeparator, ", "},
};
static_assert(IsCompleteTable(ENGLISH, IDENTIFY_TEXT_COUNT));

std::string Hex(std::uint32_t value, unsigned width)
{
    return FormatText("%0*X", static_cast<int>((width + 3) / 4), value);
}

std::string Decimal(std::uint64_t value)
{
    return FormatText("%llu", static_cast<unsigned long long>(value));
}

} // namespace

const char* IdentifyTextOf(IdentifyText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* IdentifyTextOf(IdentifyText id)
{
    return IdentifyTextOf(id, CurrentTextLanguage());
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string RuleModelText(const IdentifyRule& rule)
{
    const unsigned width = RuleWidth(rule);
    std::string name;
    if (rule.model == SOLVED_CRC_MODEL) {
        const CrcParameters& p = rule.solved;
        name = FormatText(IdentifyTextOf(IdentifyText::SolvedCrc), p.width, Hex(p.poly, width).c_str(),
                          Hex(p.init, width).c_str(),
                          IdentifyTextOf(p.refin ? IdentifyText::InputReflected : IdentifyText::InputNotReflected),
                          IdentifyTextOf(p.refout ? IdentifyText::OutputReflected : IdentifyText::OutputNotReflected),
                          Hex(p.xorout, width).c_str());
        if (!rule.solvedInitKnown)
            name += IdentifyTextOf(IdentifyText::SolvedInitUnknown);
    } else {
        name = ChecksumModels()[rule.model].name;
    }
    const std::string k = Hex(rule.constant, width);
    switch (rule.form) {
    case ConstantForm::None: return name;
    case ConstantForm::Plus: return FormatText(IdentifyTextOf(IdentifyText::PlusConstant), name.c_str(), k.c_str());
    case ConstantForm::Xor: return FormatText(IdentifyTextOf(IdentifyText::XorConstant), name.c_str(), k.c_str());
    case ConstantForm::Minus:
        if (rule.constant == 0)
            return FormatText(IdentifyTextOf(IdentifyText::Negated), name.c_str());
        return FormatText(IdentifyTextOf(IdentifyText::ConstantMinus), k.c_str(), name.c_str());
    }
    return name;
}

std::string RuleText(const IdentifyRule& rule)
{
    std::string text = RuleModelText(rule);
    if (RuleWidth(rule) > 8)
        text = FormatText(IdentifyTextOf(IdentifyText::ModelWithOrder), text.c_str(),
                          IdentifyTextOf(rule.order == CheckOrder::LowFirst ? IdentifyText::LowFirst : IdentifyText::HighFirst));
    text += IdentifyTextOf(IdentifyText::Comma);
    text += FormatText(IdentifyTextOf(rule.endFrom == RuleEnd::FromFirst ? IdentifyText::RangeFromFirst
                                                                          : IdentifyText::RangeFromLast),
                       unsigned{rule.start}, unsigned{rule.end});
    if (rule.input == RuleInput::HexPairs)
        text += IdentifyTextOf(IdentifyText::OverHexPairs);
    const unsigned digits = RuleWidth(rule) / 4;
    if (rule.gap) {
        const char separator[2] = {static_cast<char>(rule.separator), '\0'};
        text += FormatText(IdentifyTextOf(IdentifyText::SeparatorValue), separator, digits);
    } else if (rule.encoding == CheckEncoding::HexText) {
        text += FormatText(IdentifyTextOf(IdentifyText::HexValue), digits);
    }
    if (rule.block)
        text += FormatText(IdentifyTextOf(IdentifyText::Blocks), unsigned{rule.block});
    if (const auto trailer = RuleTrailer(rule); trailer && *trailer > 0)
        text += FormatText(IdentifyTextOf(IdentifyText::Trailer), *trailer);
    return text;
}

std::string LineListText(std::span<const std::uint64_t> lines, std::size_t maxLines)
{
    std::string text;
    for (std::size_t k = 0; k < lines.size() && k < maxLines; ++k) {
        if (k)
            text += IdentifyTextOf(IdentifyText::LineSeparator);
        text += Decimal(lines[k]);
    }
    if (lines.size() > maxLines)
        text += FormatText(IdentifyTextOf(IdentifyText::MoreLines), Decimal(lines.size()).c_str());
    return text;
}

std::string IdentifiedRuleText(const IdentifiedRule& rule, std::size_t maxLines)
{
    std::string text = RuleText(rule.rule);
    if (rule.structural)
        text += IdentifyTextOf(IdentifyText::Structural);
    text += FormatText(IdentifyTextOf(IdentifyText::Held), Decimal(rule.held).c_str(), Decimal(rule.frames).c_str());
    if (!rule.failing.empty())
        text += FormatText(IdentifyTextOf(IdentifyText::Failing), LineListText(rule.failing, maxLines).c_str());
    return text;
}
