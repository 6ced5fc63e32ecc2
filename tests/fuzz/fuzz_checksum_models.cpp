// Every identification model against a plain reference: each catalogue CRC against the
// bit-by-bit definition (ComputeCrcBitwise), the sums, XORs, Fletcher and Adler against their
// closed forms (sums of b and of (n - k)·b), the page's CRC32 against the low half of the
// CRC-32/JAMCRC register. A CRC of fuzzed parameters through the solver's byte tables (any width
// from 1 to 32) and through the identification's engine (8 to 32 bits), whose inverse shift,
// register mapping and prefix algebra must hold too. A fuzzed rule (model, constant, range, value
// in binary or as hex text, hex text input, separator, blocks) holds in a frame exactly when a
// plain reading of its definition says so.
//
// Input: 13 bytes of CRC parameters (width, polynomial, init and xorout little-endian, a byte
// of reflections), 4 bytes of a register, two bytes i and j, then 11 bytes of a rule (model row,
// form, constant, a byte of flags: order, encoding, input, gap, end counted from the last, solved;
// separator, start, end, block: a byte each), then the frame.

#include <stdexcept>
#include <string_view>
#include <vector>

#include "identify/checksum_models.h"
#include "identify/crc_engine.h"
#include "identify/crc_solver.h"
#include "identify/identify_rule.h"
#include "fuzz_support.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string Describe(const CrcParameters& p)
{
    char text[96];
    std::snprintf(text, sizeof text, "width %u poly %X init %X refin %d refout %d xorout %X", p.width, p.poly, p.init, p.refin, p.refout,
                  p.xorout);
    return text;
}

// Sum of the bytes and of each byte times the number of bytes from it to the end (itself counted).
FUZZ_REFERENCE std::uint64_t PlainSum(Bytes bytes)
{
    std::uint64_t sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return sum;
}

FUZZ_REFERENCE std::uint64_t WeightedSum(Bytes bytes, std::uint64_t modulus)
{
    std::uint64_t sum = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k)
        sum = (sum + (bytes.size() - k) % modulus * bytes[k]) % modulus;
    return sum;
}

FUZZ_REFERENCE std::uint32_t Reference(const ChecksumModel& model, Bytes bytes)
{
    const std::string_view name = model.name;
    switch (model.family) {
    case ModelFamily::Sum:
        return static_cast<std::uint32_t>(PlainSum(bytes) & CrcMask(model.width));
    case ModelFamily::Xor: {
        std::uint32_t even = 0, odd = 0;
        for (std::size_t k = 0; k < bytes.size(); ++k)
            (k % 2 == 0 ? even : odd) ^= bytes[k];
        return model.width == 8 ? even ^ odd : even << 8 | odd;
    }
    case ModelFamily::Fletcher:
        if (name == "FLETCHER-8")
            return static_cast<std::uint32_t>((PlainSum(bytes) & 0xFF) | (WeightedSum(bytes, 256) << 8));
        FUZZ_CHECK(name == "FLETCHER-16", "no reference for " + std::string(name));
        return static_cast<std::uint32_t>(PlainSum(bytes) % 255 | WeightedSum(bytes, 255) << 8);
    case ModelFamily::Adler:
        return static_cast<std::uint32_t>((1 + PlainSum(bytes)) % 65521 | (bytes.size() + WeightedSum(bytes, 65521)) % 65521 << 16);
    case ModelFamily::Crc:
        return ComputeCrcBitwise(model.crc, bytes);
    case ModelFamily::PageCrc32:
        return ComputeCrcBitwise({32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0}, bytes) & 0xFFFF;
    }
    FUZZ_CHECK(false, "no reference for " + std::string(name));
    return 0;
}

void CheckEngine(const CrcParameters& p, std::uint32_t reg, std::size_t i, std::size_t j, Bytes frame)
{
    const bool wide = p.width == 8 || p.width == 16 || p.width == 24 || p.width == 32;
    if (!wide || !(p.poly & 1)) {
        bool refused = false;
        try {
            const CCrcEngine engine(p);
        } catch (const std::invalid_argument&) {
            refused = true;
        }
        FUZZ_CHECK(refused, Describe(p));
        return;
    }
    const CCrcEngine engine(p);
    const std::uint32_t mask = CrcMask(p.width);
    FUZZ_CHECK(engine.Compute(frame) == ComputeCrcBitwise(p, frame), Describe(p));
    reg &= mask;
    FUZZ_CHECK(engine.Unshift(engine.Step(reg, 0)) == reg && engine.Step(engine.Unshift(reg), 0) == reg, Describe(p));
    FUZZ_CHECK(engine.RegisterOf(engine.Result(reg)) == reg && engine.Result(engine.RegisterOf(reg)) == reg, Describe(p));
    // The register over [i, j) from any start r is S_j ^ F^(j-i)(S_i ^ r), S_k the register over
    // the first k bytes from 0 and F a step over a zero byte: what the prefix keys rest on.
    const auto zero = [&](std::uint32_t value, std::size_t steps) {
        for (std::size_t k = 0; k < steps; ++k)
            value = engine.Step(value, 0);
        return value;
    };
    const std::uint32_t si = engine.Run(0, frame.first(i)), sj = engine.Run(0, frame.first(j));
    FUZZ_CHECK(engine.Run(reg, frame.subspan(i, j - i)) == (sj ^ zero(si ^ reg, j - i)), Describe(p));
    for (std::size_t k = 0; k < p.width; ++k)
        FUZZ_CHECK(engine.ShiftColumn(static_cast<unsigned>(k)) == engine.Step(std::uint32_t{1} << k, 0));
}

// ---- rules, read plainly

int HexDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

struct Place {
    std::size_t first, last, check;  // the range [first, last] and where its value starts
};

FUZZ_REFERENCE std::vector<Place> Places(const IdentifyRule& rule, std::size_t length, std::size_t valueLength)
{
    std::vector<Place> places;
    if (rule.start == 0 || rule.end == 0)
        return places;
    const std::size_t first = rule.start - 1u;
    if (rule.endFrom == RuleEnd::FromLast && rule.end > length)
        return places;
    const std::size_t last = rule.endFrom == RuleEnd::FromFirst ? rule.end - 1u : length - rule.end;
    if (first > last || last >= length || (rule.input == RuleInput::HexPairs && (last - first) % 2 == 0))
        return places;
    if (last + 1 + rule.gap + valueLength > length)
        return places;
    places.push_back({first, last, last + 1 + rule.gap});
    if (rule.block == 0)
        return places;
    // Then `block` bytes and their value, again and again, the last block shorter but not empty.
    std::size_t at = places.back().check + valueLength;
    while (at < length) {
        if (length - at <= valueLength)
            return {};
        const std::size_t bytes = std::min<std::size_t>(rule.block, length - at - valueLength);
        places.push_back({at, at + bytes - 1, at + bytes});
        at += bytes + valueLength;
    }
    return places;
}

FUZZ_REFERENCE bool PlainHolds(const IdentifyRule& rule, Bytes frame)
{
    const unsigned width = RuleWidth(rule);
    const std::size_t valueBytes = width / 8;
    const bool text = rule.encoding == CheckEncoding::HexText;
    const std::vector<Place> places = Places(rule, frame.size(), text ? 2 * valueBytes : valueBytes);
    if (places.empty())
        return false;
    for (const Place& place : places) {
        if (rule.gap && frame[place.check - 1] != rule.separator)
            return false;
        std::vector<std::uint8_t> covered;
        if (rule.input == RuleInput::HexPairs) {
            // Hex text encodes whole bytes: a block of an odd number of characters encodes none.
            if ((place.last - place.first + 1) % 2 != 0)
                return false;
            for (std::size_t k = place.first; k < place.last; k += 2) {
                const int high = HexDigit(frame[k]), low = HexDigit(frame[k + 1]);
                if (high < 0 || low < 0)
                    return false;
                covered.push_back(static_cast<std::uint8_t>(high << 4 | low));
            }
        } else {
            covered.assign(frame.begin() + static_cast<std::ptrdiff_t>(place.first), frame.begin() + static_cast<std::ptrdiff_t>(place.last + 1));
        }
        const std::uint32_t model = rule.model == SOLVED_CRC_MODEL ? ComputeCrcBitwise(rule.solved, covered)
                                                                  : Reference(ChecksumModels()[rule.model], covered);
        const std::uint32_t mask = CrcMask(width);
        std::uint32_t value = model;
        switch (rule.form) {
        case ConstantForm::None: break;
        case ConstantForm::Plus: value = model + rule.constant; break;
        case ConstantForm::Xor: value = model ^ rule.constant; break;
        case ConstantForm::Minus: value = rule.constant - model; break;
        }
        std::uint32_t standing = 0;
        for (std::size_t k = 0; k < valueBytes; ++k) {
            int byte = frame[place.check + k];
            if (text) {
                const int high = HexDigit(frame[place.check + 2 * k]), low = HexDigit(frame[place.check + 2 * k + 1]);
                if (high < 0 || low < 0)
                    return false;
                byte = high << 4 | low;
            }
            const std::size_t power = rule.order == CheckOrder::LowFirst ? k : valueBytes - 1 - k;
            standing |= static_cast<std::uint32_t>(byte) << (8 * power);
        }
        if (standing != (value & mask))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    CrcParameters p;
    p.width = input.Byte();
    p.poly = input.Number<std::uint32_t>();
    p.init = input.Number<std::uint32_t>();
    p.xorout = input.Number<std::uint32_t>();
    const std::uint8_t reflections = input.Byte();
    p.refin = reflections & 1;
    p.refout = reflections & 2;
    const auto reg = input.Number<std::uint32_t>();
    std::size_t i = input.Byte(), j = input.Byte();

    const auto models = ChecksumModels();
    IdentifyRule rule;
    const std::uint8_t row = input.Byte();
    rule.model = static_cast<std::uint16_t>(row % models.size());
    rule.form = static_cast<ConstantForm>(input.Byte() % 4);
    rule.constant = input.Number<std::uint32_t>();
    const std::uint8_t flags = input.Byte();
    rule.order = flags & 1 ? CheckOrder::HighFirst : CheckOrder::LowFirst;
    rule.encoding = flags & 2 ? CheckEncoding::HexText : CheckEncoding::Binary;
    rule.input = flags & 4 ? RuleInput::HexPairs : RuleInput::Bytes;
    rule.endFrom = flags & 16 ? RuleEnd::FromLast : RuleEnd::FromFirst;
    rule.separator = input.Byte();
    rule.start = input.Byte();
    rule.end = input.Byte();
    rule.block = input.Byte() % 32;
    // A block rule reads its values right after each block: no separator (none is ever made).
    rule.gap = flags & 8 && rule.block == 0 ? 1 : 0;
    if (flags & 32 && models[rule.model].family == ModelFamily::Crc) {
        // A solved CRC, of catalogue parameters: ComputeCatalogueCrc keeps an engine per parameters.
        rule.solved = models[rule.model].crc;
        rule.model = SOLVED_CRC_MODEL;
    }
    const Bytes frame = input.Rest();

    for (const ChecksumModel& model : models) {
        const std::uint32_t value = ComputeModel(model, frame);
        FUZZ_CHECK(value == Reference(model, frame), std::string(model.name) + ": " + std::to_string(value));
        if (model.family == ModelFamily::Crc)
            FUZZ_CHECK(ComputeCatalogueCrc(model.crc, frame) == value, model.name);
    }

    if (p.width >= 1 && p.width <= 32) {
        const CCrcByteTable table(p);
        FUZZ_CHECK(table.Compute(frame) == ComputeCrcBitwise(p, frame), Describe(p));
    }
    if (j < i)
        std::swap(i, j);
    i = std::min(i, frame.size());
    j = std::min(j, frame.size());
    CheckEngine(p, reg, i, j, frame);

    const bool holds = RuleHolds(rule, frame);
    FUZZ_CHECK(holds == PlainHolds(rule, frame), "rule of model " + std::to_string(rule.model) + " holds: " + std::to_string(holds));
    if (holds) {
        // Its value stands where it reads it, computed as it says.
        for (const RulePlace& place : RulePlaces(rule, frame.size())) {
            FUZZ_CHECK(place.checkLast < frame.size() && place.rangeLast < place.checkFirst);
            FUZZ_CHECK(ReadRuleCheck(rule, frame, place) == ComputeRuleCheck(rule, frame, place));
        }
    }
    return 0;
}
