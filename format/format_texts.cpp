#include "format/format_texts.h"

#include "common/code_page.h"

namespace {

const char* const CHINESE[] = {VELMORRA_STRING_FORMAT_TEXTS(VELMORRA_TEXT_SOURCE)};

// A label is followed by its value at once: the English ones end in a blank.
// The validity counts are never 1 (5 to 720 minutes, 12 to 24 hours, 2 to 30 days, 5 to 63 weeks).
constexpr TextEntry<StringFormatText> ENGLISH[] = {
    {StringFormatText::PduCentre, "SMSC number: "},
    {StringFormatText::PduDestination, "Destination: "},
    {StringFormatText::PduOriginator, "Originator: "},
    {StringFormatText::PduProtocolPlain, "Protocol ID: normal GSM"},
    {StringFormatText::PduProtocolOther, "Protocol ID: not recognised"},
    {StringFormatText::PduCoding, "Data coding: "},
    {StringFormatText::PduValidityMinutes, "Validity: %1 minutes"},
    {StringFormatText::PduValidityHours, "Validity: %1 hours"},
    {StringFormatText::PduValidityDays, "Validity: %1 days"},
    {StringFormatText::PduValidityWeeks, "Validity: %1 weeks"},
    {StringFormatText::PduTimeStamp, "SMSC time stamp: "},
    {StringFormatText::PduLength, "Message length: "},
    {StringFormatText::PduContent, "Message text: "},
    {StringFormatText::NotPdu, "Not in PDU format"},
    {StringFormatText::Not3x3x, "Not in 3X3X format"},
};
static_assert(IsCompleteTable(ENGLISH, STRING_FORMAT_TEXT_COUNT));

} // namespace

const char* StringFormatTextOf(StringFormatText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* StringFormatTextOf(StringFormatText id)
{
    return StringFormatTextOf(id, CurrentTextLanguage());
}

std::string StringFormatNarrow(StringFormatText id, std::initializer_list<std::string_view> args)
{
    return Utf8ToNarrow(SubstituteText(StringFormatTextOf(id), args));
}
