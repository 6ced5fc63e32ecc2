#include "convert/convert_texts.h"

namespace {

const char* const CHINESE[] = {VELMORRA_CONVERT_TEXTS(VELMORRA_TEXT_SOURCE)};

// Each shows in a one-line information text under a box of the conversion page, 147 and 177
// pixels wide: short.
constexpr TextEntry<ConvertText> ENGLISH[] = {
    {ConvertText::NumberMissing, "Enter a number"},
    {ConvertText::ArrayMissing, "Enter the bytes to convert"},
    {ConvertText::NumberTooLong, "Input too long"},
    {ConvertText::NumberIllegal, "Invalid number"},
};
static_assert(IsCompleteTable(ENGLISH, CONVERT_TEXT_COUNT));

} // namespace

const char* ConvertTextOf(ConvertText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* ConvertTextOf(ConvertText id)
{
    return ConvertTextOf(id, CurrentTextLanguage());
}
