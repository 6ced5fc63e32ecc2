#include "identify/identify_rule.h"

#include <algorithm>

#include "common/hex_text.h"

namespace {

// Frames are at most 65,535 bytes: a range's hex pairs fit this buffer.
std::optional<std::uint32_t> DecodedValue(const IdentifyRule& rule, std::span<const std::uint8_t> range)
{
    if (range.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(range.size() / 2);
    for (std::size_t k = 0; k < bytes.size(); ++k)
        if (!ParseHexByte(static_cast<char>(range[2 * k]), static_cast<char>(range[2 * k + 1]), bytes[k]))
            return std::nullopt;
    return ComputeRuleModel(rule, bytes);
}

} // namespace

unsigned RuleWidth(const IdentifyRule& rule)
{
    return rule.model == SOLVED_CRC_MODEL ? rule.solved.width : ChecksumModels()[rule.model].width;
}

std::size_t RuleCheckLength(const IdentifyRule& rule)
{
    const std::size_t bytes = RuleWidth(rule) / 8;
    return rule.encoding == CheckEncoding::HexText ? 2 * bytes : bytes;
}

std::uint32_t ApplyConstant(ConstantForm form, std::uint32_t constant, std::uint32_t value, unsigned width)
{
    const std::uint32_t mask = CrcMask(width);
    switch (form) {
    case ConstantForm::None: return value & mask;
    case ConstantForm::Plus: return (value + constant) & mask;
    case ConstantForm::Xor: return (value ^ constant) & mask;
    case ConstantForm::Minus: return (constant - value) & mask;
    }
    return value & mask;
}

std::uint32_t ComputeRuleModel(const IdentifyRule& rule, std::span<const std::uint8_t> bytes)
{
    if (rule.model == SOLVED_CRC_MODEL)
        return ComputeCatalogueCrc(rule.solved, bytes);
    return ComputeModel(ChecksumModels()[rule.model], bytes);
}

std::optional<unsigned> RuleTrailer(const IdentifyRule& rule)
{
    if (rule.endFrom != RuleEnd::FromLast || rule.block)
        return std::nullopt;
    const std::size_t before = 1u + rule.gap + RuleCheckLength(rule);
    if (rule.end < before)
        return std::nullopt;
    return static_cast<unsigned>(rule.end - before);
}

std::vector<RulePlace> RulePlaces(const IdentifyRule& rule, std::size_t length)
{
    std::vector<RulePlace> places;
    const std::size_t checkLength = RuleCheckLength(rule);
    if (rule.start == 0 || rule.end == 0 || checkLength == 0)
        return places;
    const std::size_t first = rule.start - 1u;
    std::size_t last;
    if (rule.endFrom == RuleEnd::FromFirst)
        last = rule.end - 1u;
    else if (length >= rule.end)
        last = length - rule.end;
    else
        return places;
    if (first > last || last >= length)
        return places;
    if (rule.input == RuleInput::HexPairs && (last - first + 1) % 2 != 0)
        return places;
    const std::size_t check = last + 1 + rule.gap;
    if (check + checkLength > length)
        return places;
    places.push_back({first, last, check, check + checkLength - 1});
    if (rule.block == 0)
        return places;
    // The blocks after the first: `block` bytes and their value each, the last block shorter.
    for (std::size_t at = check + checkLength; at < length;) {
        const std::size_t remaining = length - at;
        if (remaining <= checkLength) {
            places.clear();
            return places;
        }
        const std::size_t bytes = std::min<std::size_t>(rule.block, remaining - checkLength);
        places.push_back({at, at + bytes - 1, at + bytes, at + bytes + checkLength - 1});
        at += bytes + checkLength;
    }
    return places;
}

std::optional<std::uint32_t> ReadRuleCheck(const IdentifyRule& rule, std::span<const std::uint8_t> frame,
                                           const RulePlace& place)
{
    if (place.checkLast >= frame.size() || place.checkFirst > place.checkLast)
        return std::nullopt;
    if (rule.gap && (place.checkFirst < rule.gap || frame[place.checkFirst - 1] != rule.separator))
        return std::nullopt;
    const std::size_t bytes = RuleWidth(rule) / 8;
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < bytes; ++k) {
        std::uint8_t byte;
        if (rule.encoding == CheckEncoding::HexText) {
            const std::size_t at = place.checkFirst + 2 * k;
            if (!ParseHexByte(static_cast<char>(frame[at]), static_cast<char>(frame[at + 1]), byte))
                return std::nullopt;
        } else {
            byte = frame[place.checkFirst + k];
        }
        const std::size_t shift = rule.order == CheckOrder::LowFirst ? k : bytes - 1 - k;
        value |= std::uint32_t{byte} << (8 * shift);
    }
    return value;
}

std::optional<std::uint32_t> ComputeRuleCheck(const IdentifyRule& rule, std::span<const std::uint8_t> frame,
                                              const RulePlace& place)
{
    if (place.rangeLast >= frame.size() || place.rangeFirst > place.rangeLast)
        return std::nullopt;
    const auto range = frame.subspan(place.rangeFirst, place.rangeLast - place.rangeFirst + 1);
    std::optional<std::uint32_t> value =
        rule.input == RuleInput::HexPairs ? DecodedValue(rule, range) : ComputeRuleModel(rule, range);
    if (!value)
        return std::nullopt;
    return ApplyConstant(rule.form, rule.constant, *value, RuleWidth(rule));
}

bool RuleHolds(const IdentifyRule& rule, std::span<const std::uint8_t> frame)
{
    const std::vector<RulePlace> places = RulePlaces(rule, frame.size());
    if (places.empty())
        return false;
    for (const RulePlace& place : places) {
        const auto check = ReadRuleCheck(rule, frame, place);
        if (!check || ComputeRuleCheck(rule, frame, place) != check)
            return false;
    }
    return true;
}

std::optional<ChecksumMethod> RulePageMethod(const IdentifyRule& rule)
{
    if (rule.model == SOLVED_CRC_MODEL || rule.encoding != CheckEncoding::Binary || rule.input != RuleInput::Bytes ||
        rule.gap || rule.block || rule.order != CheckOrder::LowFirst)
        return std::nullopt;
    const std::string_view name = ChecksumModels()[rule.model].name;
    if (rule.form == ConstantForm::None) {
        if (name == "SUM8")
            return ChecksumMethod::SUM;
        if (name == "XOR8")
            return ChecksumMethod::BCC;
        if (name == "CRC-16/MODBUS")
            return ChecksumMethod::CRC16;
        if (name == "CRC-16/UMTS")
            return ChecksumMethod::CRC16S;
        if (name == "CRC32-LOW16")
            return ChecksumMethod::CRC32;
    }
    if (rule.form == ConstantForm::Minus && rule.constant == 0 && name == "SUM8")
        return ChecksumMethod::LRC;
    return std::nullopt;
}

unsigned RuleComplexity(const IdentifyRule& rule)
{
    unsigned complexity = 10 * (rule.model == SOLVED_CRC_MODEL ? 6 : ChecksumModels()[rule.model].simplicity);
    const std::uint32_t mask = CrcMask(RuleWidth(rule));
    if (rule.form == ConstantForm::Minus && rule.constant == 0)
        complexity += 1;  // the negation, LRC
    else if ((rule.form == ConstantForm::Minus || rule.form == ConstantForm::Xor) && rule.constant == mask)
        complexity += 1;  // the complement
    else if (rule.form != ConstantForm::None)
        complexity += 3;
    // A solved CRC whose initial register is none of the usual ones may be a usual one started
    // a byte later (a constant first byte): such a twin ranks first.
    if (rule.model == SOLVED_CRC_MODEL && rule.solved.init != 0 && rule.solved.init != mask)
        complexity += 1;
    return complexity + rule.gap;
}
