#include "bytes/bytes_texts.h"

namespace {

const char* const CHINESE[] = {VELMORRA_BYTES_TEXTS(VELMORRA_TEXT_SOURCE)};

constexpr TextEntry<BytesText> ENGLISH[] = {
    {BytesText::NoRegion, "Please select the region to decode!"},
    {BytesText::HitPlace, "byte %1 %2"},
};
static_assert(IsCompleteTable(ENGLISH, BYTES_TEXT_COUNT));

} // namespace

const char* BytesTextOf(BytesText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* BytesTextOf(BytesText id)
{
    return BytesTextOf(id, CurrentTextLanguage());
}
