#include "tools/engineering_conversion.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "convert/number_conversion.h"
#include "convert/number_text.h"

double EngineeringConvert(float adLow, float adHigh, float outLow, float outHigh,
                          float rangeLow, float rangeHigh, double x)
{
    // Differences of floats are exact in double; only the quotients are rounded to 32 bits.
    const double adSpan = static_cast<double>(adHigh) - adLow;
    const double outSpan = static_cast<double>(outHigh) - outLow;
    if (adSpan == 0.0 || outSpan == 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    const float k1 = RoundToFloat(outSpan / adSpan);
    const float k2 = RoundToFloat((static_cast<double>(rangeHigh) - rangeLow) / outSpan);
    const double y = outLow + (x - adLow) * k1;
    return rangeLow + (y - outLow) * k2;
}

EngineeringResult RunEngineeringTest(const EngineeringTexts& texts)
{
    const std::array<const std::string*, 6> boxes{&texts.adLow, &texts.adHigh, &texts.outLow,
                                                  &texts.outHigh, &texts.rangeLow, &texts.rangeHigh};
    std::array<float, 6> limit{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i]->empty())
            return {EngineeringOutcome::Incomplete, {}};
        limit[i] = RoundToFloat(ReadFloating(*boxes[i]));
    }
    const auto [adLow, adHigh, outLow, outHigh, rangeLow, rangeHigh] = limit;
    if (outHigh < outLow || adHigh < adLow || rangeHigh < rangeLow)
        return {EngineeringOutcome::LimitsReversed, {}};
    for (float value : limit)
        if (!std::isfinite(value))
            return {EngineeringOutcome::OutOfRange, {}};
    if (adHigh == adLow || outHigh == outLow)
        return {EngineeringOutcome::LimitsEqual, {}};

    const double z = EngineeringConvert(adLow, adHigh, outLow, outHigh, rangeLow, rangeHigh,
                                        ReadFloating(texts.testData));
    if (!std::isfinite(z))
        return {EngineeringOutcome::OutOfRange, {}};
    const int length = std::snprintf(nullptr, 0, "%0.4f", z);
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, "%0.4f", z);
    return {EngineeringOutcome::Converted, text};
}
