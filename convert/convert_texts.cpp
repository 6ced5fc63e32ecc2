#include "convert/convert_texts.h"

namespace {

const char* const CHINESE[] = {VELMORRA_CONVERT_TEXTS(VELMORRA_TEXT_SOURCE)};

// Each shows in a one-line information text beside a box: short.
constexpr TextEntry<ConvertText> ENGLISH[] = {
    {ConvertText::NumberMissing, "Please enter a number"},
    {ConvertText::ArrayMissing, "Please enter the bytes to convert"},
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
