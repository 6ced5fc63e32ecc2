#pragma once
// Two-stage linear scaling of a raw count: from the AD range to the output signal range, and from
// the signal range to the measuring range.

#include <string>

/// The physical value of count x. The limits are 32-bit values and k1, k2 are rounded to 32 bits;
/// x extrapolates outside the AD range. NaN when equal AD or output limits make a divisor zero.
double EngineeringConvert(float adLow, float adHigh, float outLow, float outHigh,
                          float rangeLow, float rangeHigh, double x);

// The texts of the dialog's boxes, as typed.
struct EngineeringTexts {
    std::string adLow, adHigh, outLow, outHigh, rangeLow, rangeHigh;
    std::string testData;
};

enum class EngineeringOutcome {
    Converted,       // valueText holds the result, "%0.4f"
    Incomplete,      // a parameter box is empty
    LimitsReversed,  // a lower limit above its upper limit
    LimitsEqual,     // equal AD or output limits: a divisor is zero
    OutOfRange,      // a limit beyond the 32-bit range, or a result that is not finite
};

struct EngineeringResult {
    EngineeringOutcome outcome;
    std::string valueText;
};

/// The test button's work over the box texts: checks, reading, rounding, conversion, formatting.
/// Texts are read as the conversion page reads numbers (ReadFloating): blanks, sign, digits,
/// point, exponent, up to the first other character; a text with no number reads 0.
EngineeringResult RunEngineeringTest(const EngineeringTexts& texts);
