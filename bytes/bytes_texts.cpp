#include "bytes/bytes_texts.h"

namespace {

const char* const CHINESE[] = {VELMORRA_BYTES_TEXTS(VELMORRA_TEXT_SOURCE)};

constexpr TextEntry<BytesText> ENGLISH[] = {
    {BytesText::NoRegion, "Please select the region to decode!"},
    {BytesText::HitPlace, "byte %1 %2"},
    {BytesText::ColumnNumber, "No."},
    {BytesText::ColumnStart, "Start"},
    {BytesText::ColumnType, "Type"},
    {BytesText::ColumnOrder, "Byte order"},
    {BytesText::ColumnLength, "Length"},
    {BytesText::ColumnMemory, "Bytes"},
    {BytesText::ColumnValue, "Value"},
    {BytesText::ColumnScaled, "Scaled"},
    {BytesText::ColumnDifference, "Error"},
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
