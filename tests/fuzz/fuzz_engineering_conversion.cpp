// The engineering dialog's test button over any box texts, of any length (its boxes cap none):
// the outcome and the result text against the boxes as the references read and round them.
//
// Input: the seven texts separated by '\n': AD low, AD high, output low, output high, range low,
// range high, test data.

#include <algorithm>
#include <array>

#include "tools/engineering_conversion.h"
#include "fuzz_support.h"
#include "reference_numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    EngineeringTexts texts;
    std::array<std::string*, 7> boxes{&texts.adLow, &texts.adHigh, &texts.outLow, &texts.outHigh,
                                      &texts.rangeLow, &texts.rangeHigh, &texts.testData};
    for (std::string* box : boxes)
        *box = input.TextUntil('\n');
    const EngineeringResult result = RunEngineeringTest(texts);

    std::string shown;
    for (const std::string* box : boxes)
        shown += Shown(box->substr(0, 80)) + " | ";

    if (std::any_of(boxes.begin(), boxes.begin() + 6, [](const std::string* box) { return box->empty(); })) {
        FUZZ_CHECK(result.outcome == EngineeringOutcome::Incomplete, shown);
        return 0;
    }
    std::array<float, 6> limit;
    for (std::size_t k = 0; k < limit.size(); ++k)
        limit[k] = ReferenceRoundToFloat(ReferenceFloating(*boxes[k]));
    const auto [adLow, adHigh, outLow, outHigh, rangeLow, rangeHigh] = limit;
    EngineeringOutcome expected = EngineeringOutcome::Converted;
    if (outHigh < outLow || adHigh < adLow || rangeHigh < rangeLow)
        expected = EngineeringOutcome::LimitsReversed;
    else if (std::any_of(limit.begin(), limit.end(), [](float value) { return !std::isfinite(value); }))
        expected = EngineeringOutcome::OutOfRange;
    else if (adHigh == adLow || outHigh == outLow)
        expected = EngineeringOutcome::LimitsEqual;
    std::string text;
    if (expected == EngineeringOutcome::Converted) {
        const double z = EngineeringConvert(adLow, adHigh, outLow, outHigh, rangeLow, rangeHigh, ReferenceFloating(texts.testData));
        if (!std::isfinite(z)) {
            expected = EngineeringOutcome::OutOfRange;
        } else {
            text.resize(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%0.4f", z)));
            std::snprintf(text.data(), text.size() + 1, "%0.4f", z);
        }
    }
    FUZZ_CHECK(result.outcome == expected, shown);
    FUZZ_CHECK(result.valueText == text, shown + " gave " + result.valueText + ", expected " + text);
    return 0;
}
