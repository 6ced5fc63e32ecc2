#include "bytes/value_finder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "bytes/bytes_texts.h"
#include "bytes/variable_decoder.h"

namespace {

// One placement before its texts are made: only the few that are kept get those.
struct Candidate {
    std::uint16_t offset;  // 0-based
    VariableType type;
    std::uint8_t width;
    std::uint8_t order;
    std::uint8_t scale;
    double value;
    double scaled;
    double difference;
};

// Ranking: closer first, then plainer: earlier scale, the first byte order before the others, wider
// type, then earlier order and offset.
bool RanksBefore(const Candidate& a, const Candidate& b)
{
    if (a.difference != b.difference)
        return a.difference < b.difference;
    if (a.scale != b.scale)
        return a.scale < b.scale;
    if ((a.order == 0) != (b.order == 0))
        return a.order == 0;
    if (a.width != b.width)
        return a.width > b.width;
    if (a.order != b.order)
        return a.order < b.order;
    if (a.offset != b.offset)
        return a.offset < b.offset;
    return a.type < b.type;
}

template <typename Number>
std::string NumberText(Number value)
{
    std::array<char, 64> text;
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string FixedText(double value, int decimals)
{
    std::array<char, 400> text;  // the largest double has 309 integer digits
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    return std::string(text.data(), result.ptr);
}

// The decimals a scale factor of 10^-k adds, or -1 for any other factor.
int ScaleDecimals(double scale)
{
    for (int k = 0; k <= 9; ++k)
        if (std::fabs(scale - std::pow(10.0, -k)) <= 1e-12 * std::pow(10.0, -k))
            return k;
    return -1;
}

class CFinder {
public:
    CFinder(double reading, const FindTolerance& tolerance, std::span<const double> scales)
        : m_reading(reading)
        , m_scales(scales.first(std::min<std::size_t>(scales.size(), 255)))
    {
        const double amount = std::fabs(tolerance.amount);
        // The percentage first: reading * amount alone overflows for readings near the double range.
        m_tolerance = tolerance.percent ? std::fabs(reading) * (amount / 100) : amount;
        // Scaled whole numbers carry the rounding of the factor; a fractional type its precision.
        for (const VariableTypeEntry& entry : VARIABLE_TYPES)
            m_slack[static_cast<std::size_t>(entry.type)] = entry.precision > 0 ? std::fabs(reading) * entry.precision
                                                                                 : 1e-9 * std::max(1.0, std::fabs(reading));
    }

    /// A tolerance beyond the double range would make every placement a hit.
    bool Usable() const { return std::isfinite(m_tolerance); }

    void Consider(std::size_t offset, VariableType type, std::size_t width, int order, double value)
    {
        const double slack = m_slack[static_cast<std::size_t>(type)];
        for (std::size_t s = 0; s < m_scales.size(); ++s) {
            const double scaled = value * m_scales[s];
            const double difference = std::fabs(scaled - m_reading);
            // A product or difference past the double range is no reading anyone could have taken.
            if (!std::isfinite(scaled) || !std::isfinite(difference) || !(difference <= m_tolerance + slack))
                continue;
            const Candidate candidate{static_cast<std::uint16_t>(offset), type, static_cast<std::uint8_t>(width),
                                      static_cast<std::uint8_t>(order), static_cast<std::uint8_t>(s), value,
                                      scaled, difference};
            // The same scaled value from another order or scale of this placement: keep the better.
            const auto same = std::find_if(m_placement.begin(), m_placement.end(),
                                           [&](const Candidate& c) { return c.scaled == scaled; });
            if (same == m_placement.end())
                m_placement.push_back(candidate);
            else if (RanksBefore(candidate, *same))
                *same = candidate;
        }
    }

    // The placements of one type at one offset are complete.
    void EndPlacement()
    {
        m_found.insert(m_found.end(), m_placement.begin(), m_placement.end());
        m_placement.clear();
    }

    std::vector<Candidate>& Found() { return m_found; }

private:
    double m_reading;
    std::span<const double> m_scales;
    double m_tolerance;
    std::array<double, VARIABLE_TYPE_COUNT> m_slack{};
    std::vector<Candidate> m_placement;
    std::vector<Candidate> m_found;
};

// Decimals after the point of a number text; -1 when it has an exponent.
int DecimalsOf(std::string_view text)
{
    if (text.find_first_of("eE") != std::string_view::npos)
        return -1;
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// The difference between the number shown and the reading, to the finer of the two's decimals:
// 2247 × 0.1 shows 224.7, which differs from 224.7 by 0, not by the 2.8e-14 of the doubles.
std::string DifferenceText(const std::string& scaledText, double difference, double reading)
{
    const std::string readingText = NumberText(reading);
    const int decimals = std::max(DecimalsOf(scaledText), DecimalsOf(readingText));
    double shown = 0;
    const auto parsed = std::from_chars(scaledText.data(), scaledText.data() + scaledText.size(), shown);
    if (DecimalsOf(scaledText) < 0 || DecimalsOf(readingText) < 0 || parsed.ec != std::errc()) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", difference);
        return text;
    }
    std::string text = FixedText(std::fabs(shown - reading), decimals);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

ValueHit MakeHit(const Candidate& c, std::span<const std::uint8_t> frame, std::span<const double> scales, double reading)
{
    const std::uint8_t* b = frame.data() + c.offset;
    ValueHit hit{static_cast<std::size_t>(c.offset) + 1, c.type, c.width, c.order, c.scale, scales[c.scale], c.value,
                 c.scaled, c.difference, DecodeVariable(c.type, c.order, b, c.width).memory, {}, {}, {}};
    if (const auto numberText = VariableTypeInfo(c.type).numberText) {
        hit.valueText = numberText(c.value);
        hit.scaledText = numberText(c.scaled);
    } else {
        hit.valueText = NumberText(static_cast<std::int64_t>(c.value));
        const int decimals = ScaleDecimals(scales[c.scale]);
        hit.scaledText = decimals >= 0 ? FixedText(c.scaled, decimals) : NumberText(c.scaled);
    }
    hit.differenceText = DifferenceText(hit.scaledText, c.difference, reading);
    return hit;
}

} // namespace

FindValueResult FindValue(std::span<const std::uint8_t> frame, double reading, const FindTolerance& tolerance,
                          std::span<const double> scales)
{
    FindValueResult result;
    if (!std::isfinite(reading) || !std::isfinite(tolerance.amount) || scales.empty())
        return result;
    CFinder finder(reading, tolerance, scales);
    if (!finder.Usable())
        return result;
    const std::size_t n = frame.size();
    for (std::size_t offset = 0; offset < n; ++offset) {
        const std::uint8_t* b = frame.data() + offset;
        for (const VariableTypeEntry& entry : VARIABLE_TYPES) {
            if (!entry.read)
                continue;
            if (!entry.width) {
                for (std::size_t width = 1; width <= MAX_BCD_BYTES && offset + width <= n; ++width) {
                    const std::optional<double> value = entry.read({b, width, nullptr});
                    if (!value)
                        break;  // a wider number holds the same bytes that read nothing
                    finder.Consider(offset, entry.type, width, 0, *value);
                    finder.EndPlacement();
                }
                continue;
            }
            if (offset + entry.width > n)
                continue;
            if (entry.orders.empty()) {
                if (const std::optional<double> value = entry.read({b, entry.width, nullptr}))
                    finder.Consider(offset, entry.type, entry.width, 0, *value);
            }
            for (std::size_t order = 0; order < entry.orders.size(); ++order)
                if (const std::optional<double> value = entry.read({b, entry.width, &entry.orders[order]}))
                    finder.Consider(offset, entry.type, entry.width, static_cast<int>(order), *value);
            finder.EndPlacement();
        }
    }

    std::vector<Candidate>& found = finder.Found();
    result.total = found.size();
    const std::size_t kept = std::min(found.size(), MAX_VALUE_HITS);
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(), RanksBefore);
    result.hits.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i)
        result.hits.push_back(MakeHit(found[i], frame, scales, reading));
    return result;
}

const char* HitOrderCaption(const ValueHit& hit)
{
    const std::span<const ByteOrderEntry> orders = ByteOrdersOf(hit.type);
    return hit.order >= 0 && static_cast<std::size_t>(hit.order) < orders.size() ? orders[hit.order].caption : "";
}

std::string HitValueText(const ValueHit& hit)
{
    if (hit.factor == 1)
        return hit.valueText;
    return hit.valueText + "×" + NumberText(hit.factor) + "=" + hit.scaledText;
}

std::string DescribeHit(const ValueHit& hit)
{
    std::string text = SubstituteText(BytesTextOf(BytesText::HitPlace), {std::to_string(hit.offset), VariableTypeInfo(hit.type).name});
    if (*HitOrderCaption(hit))
        text += std::string(" ") + HitOrderCaption(hit);
    return text + " = " + HitValueText(hit);
}
