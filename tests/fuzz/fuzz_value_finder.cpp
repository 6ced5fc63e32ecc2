// The value finder: every hit reads back through the decode pass (the same bytes, the same value
// under its type and byte order), lies within the tolerance, carries finite numbers and texts,
// and the ranking holds; when the list is not cut, it holds exactly the placements a brute force
// over every offset, type, order and scale finds.
//
// Input: three lines, the reading, the tolerance (a trailing '%': percent of the reading) and the
// scale factors separated by ',' (an empty line: the default four), each read as the number box
// reads it; then the frame (at most 96 bytes).

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "bytes/value_finder.h"
#include "bytes/variable_decoder.h"
#include "convert/number_text.h"
#include "fuzz_support.h"

namespace {

constexpr VariableType NUMERIC_TYPES[] = {VariableType::UCHAR, VariableType::CHAR,  VariableType::UINT, VariableType::INT,
                                          VariableType::FLOAT, VariableType::DWORD, VariableType::LONG};

// The number at b as the finder is to read it, worked out here from the byte-order tables: whole
// numbers as they stand, floats only when normal or zero, and then without a sign on zero.
std::optional<double> Reference(VariableType type, std::size_t order, const std::uint8_t* b)
{
    const std::span<const ByteOrderEntry> orders = ByteOrdersOf(type);
    std::uint32_t raw = b[0];
    if (!orders.empty()) {
        raw = 0;
        for (std::size_t k = 0; k < VariableTypeInfo(type).width; ++k)
            raw |= std::uint32_t{b[orders[order].valueFrom[k]]} << (8 * k);
    }
    switch (type) {
    case VariableType::CHAR: return static_cast<std::int8_t>(raw);
    case VariableType::INT: return static_cast<std::int16_t>(raw);
    case VariableType::LONG: return static_cast<std::int32_t>(raw);
    case VariableType::FLOAT: {
        const float value = std::bit_cast<float>(raw);
        if (value != 0 && !std::isnormal(value))
            return std::nullopt;
        return value + 0.0;
    }
    default: return raw;
    }
}

bool ReadsWhole(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

bool Bcd(std::span<const std::uint8_t> bytes, double& value)
{
    value = 0;
    for (const std::uint8_t b : bytes) {
        if ((b >> 4) > 9 || (b & 0x0F) > 9)
            return false;
        value = value * 100 + (b >> 4) * 10 + (b & 0x0F);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const double reading = ReadFloating(input.TextUntil('\n'));
    std::string toleranceText(input.TextUntil('\n'));
    FindTolerance tolerance;
    tolerance.percent = !toleranceText.empty() && toleranceText.back() == '%';
    tolerance.amount = ReadFloating(toleranceText);
    std::vector<double> scales;
    const std::string_view scaleLine = input.TextUntil('\n');
    for (std::size_t from = 0; !scaleLine.empty() && from <= scaleLine.size() && scales.size() < 8;) {
        const std::size_t comma = std::min(scaleLine.find(',', from), scaleLine.size());
        scales.push_back(ReadFloating(scaleLine.substr(from, comma - from)));
        from = comma + 1;
    }
    if (scales.empty())
        scales.assign(std::begin(DEFAULT_SCALES), std::end(DEFAULT_SCALES));
    const std::span<const std::uint8_t> frame = input.Bytes(96);

    const FindValueResult found = FindValue(frame, reading, tolerance, scales);
    FUZZ_CHECK(found.hits.size() == std::min(found.total, MAX_VALUE_HITS));
    if (!std::isfinite(reading) || !std::isfinite(tolerance.amount)) {
        FUZZ_CHECK(found.total == 0);
        return 0;
    }
    const double allowed = tolerance.percent ? std::fabs(reading) * (std::fabs(tolerance.amount) / 100) : std::fabs(tolerance.amount);

    for (std::size_t h = 0; h < found.hits.size(); ++h) {
        const ValueHit& hit = found.hits[h];
        const std::string what = DescribeHit(hit) + " x" + std::to_string(hit.scale);
        if (h > 0)
            FUZZ_CHECK(found.hits[h - 1].difference <= hit.difference, "ranked by difference");
        FUZZ_CHECK(hit.offset >= 1 && hit.offset - 1 + hit.width <= frame.size() && hit.scale < scales.size(), what);
        FUZZ_CHECK(std::isfinite(hit.value) && std::isfinite(hit.scaled) && std::isfinite(hit.difference), what);
        FUZZ_CHECK(hit.scaled == hit.value * scales[hit.scale] && hit.difference == std::fabs(hit.scaled - reading), what);
        const double slack = hit.type == VariableType::FLOAT ? std::ldexp(std::fabs(reading), -23) : 1e-9 * std::max(1.0, std::fabs(reading));
        FUZZ_CHECK(hit.difference <= allowed + slack, what);
        double valueBack = 0, scaledBack = 0;
        FUZZ_CHECK(ReadsWhole(hit.valueText, valueBack) && ReadsWhole(hit.scaledText, scaledBack), what + " " + hit.valueText + " " + hit.scaledText);
        FUZZ_CHECK(std::fabs(scaledBack - hit.scaled) <= 1e-6 * std::max(1.0, std::fabs(hit.scaled)), what + " " + hit.scaledText);

        // Through the decode pass: the hit's bytes alone as its region, one row of its type and width,
        // its byte order checked in its group.
        const std::span<const std::uint8_t> bytes = frame.subspan(hit.offset - 1, hit.width);
        const VariableTypeEntry& entry = VariableTypeInfo(hit.type);
        ByteOrderOptions options;
        if (entry.order)
            options.index[static_cast<std::size_t>(*entry.order)] = hit.order;
        const VariableRow row{hit.type, static_cast<std::int64_t>(hit.width)};
        const DecodeOutcome outcome = DecodeVariables(bytes, 0, bytes.size(), options, std::span(&row, 1));
        FUZZ_CHECK(outcome.rows.size() == 1 && outcome.rows[0].memory == hit.memory, what + " memory " + outcome.rows[0].memory);
        const std::string& shown = outcome.rows[0].value;
        if (hit.type == VariableType::BCD) {
            double value = 0;
            FUZZ_CHECK(Bcd(bytes, value) && value == hit.value, what);
        } else if (hit.type == VariableType::FLOAT) {
            char text[400];
            std::snprintf(text, sizeof text, "%.3f", hit.value);
            // The finder reads -0 as 0; the pass shows the float's sign.
            FUZZ_CHECK((shown == text || (hit.value == 0 && shown == "-0.000")) && std::strtof(hit.valueText.c_str(), nullptr) == static_cast<float>(hit.value), what + " shows " + shown);
        } else {
            FUZZ_CHECK(shown == hit.valueText && valueBack == hit.value, what + " shows " + shown);
        }
    }

    // A brute force over every placement; of one type's placements at one offset that give the same
    // scaled value, one is kept.
    std::set<std::tuple<std::size_t, VariableType, std::size_t, double>> placements;
    const auto consider = [&](std::size_t offset, VariableType type, std::size_t width, double value) {
        const double slack = type == VariableType::FLOAT ? std::ldexp(std::fabs(reading), -23) : 1e-9 * std::max(1.0, std::fabs(reading));
        for (const double scale : scales) {
            const double scaled = value * scale;
            const double difference = std::fabs(scaled - reading);
            if (std::isfinite(scaled) && std::isfinite(difference) && std::isfinite(allowed) && difference <= allowed + slack)
                placements.emplace(offset, type, width, scaled);
        }
    };
    for (std::size_t offset = 0; offset < frame.size(); ++offset) {
        for (const VariableType type : NUMERIC_TYPES) {
            const std::size_t width = VariableTypeInfo(type).width;
            if (offset + width > frame.size())
                continue;
            for (std::size_t order = 0; order < std::max<std::size_t>(1, ByteOrdersOf(type).size()); ++order) {
                if (const std::optional<double> value = Reference(type, order, frame.data() + offset))
                    consider(offset + 1, type, width, *value);
            }
        }
        for (std::size_t width = 1; width <= MAX_BCD_BYTES && offset + width <= frame.size(); ++width) {
            double value = 0;
            if (Bcd(frame.subspan(offset, width), value))
                consider(offset + 1, VariableType::BCD, width, value);
        }
    }
    FUZZ_CHECK(found.total == placements.size(), std::to_string(found.total) + " found, " + std::to_string(placements.size()) + " placements");
    if (found.total <= MAX_VALUE_HITS)
        for (const ValueHit& hit : found.hits)
            FUZZ_CHECK(placements.count({hit.offset, hit.type, hit.width, hit.scaled}) == 1, DescribeHit(hit));
    return 0;
}
