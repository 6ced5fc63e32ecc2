#include "checksum/checksum_texts.h"

namespace {

const char* const CHINESE[] = {VELMORRA_CHECKSUM_TEXTS(VELMORRA_TEXT_SOURCE)};

// The column titles head the page's narrow columns: short words.
constexpr TextEntry<ChecksumText> ENGLISH[] = {
    {ChecksumText::ColumnNumber, "No."},
    {ChecksumText::ColumnMethod, "Method"},
    {ChecksumText::ColumnStart, "Start"},
    {ChecksumText::ColumnEnd, "End"},
    {ChecksumText::ColumnLength, "Length"},
    {ChecksumText::ColumnChecksum, "Checksum"},
    {ChecksumText::ColumnContent, "Covered bytes"},
    {ChecksumText::NoData, "Please enter a frame to analyse!"},
    {ChecksumText::RuleFromFirst, "%s, byte %u to byte %u"},
    {ChecksumText::RuleFromLast, "%s, byte %u to byte %u from the end"},
};
static_assert(IsCompleteTable(ENGLISH, CHECKSUM_TEXT_COUNT));

} // namespace

const char* ChecksumTextOf(ChecksumText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* ChecksumTextOf(ChecksumText id)
{
    return ChecksumTextOf(id, CurrentTextLanguage());
}
