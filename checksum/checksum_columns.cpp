#include "checksum/checksum_columns.h"

#include <charconv>

namespace {

std::string Decimal(std::uint64_t value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace

const char* ChecksumColumnTitle(ChecksumColumn column)
{
    static_assert(static_cast<int>(ChecksumText::ColumnContent) - static_cast<int>(ChecksumText::ColumnNumber) + 1 ==
                  CHECKSUM_COLUMN_COUNT);
    const auto index = static_cast<std::size_t>(column);
    if (index >= CHECKSUM_COLUMN_COUNT)
        return "";
    return ChecksumTextOf(static_cast<ChecksumText>(static_cast<std::size_t>(ChecksumText::ColumnNumber) + index));
}

std::string ChecksumCellText(ChecksumColumn column, const ChecksumMatch& match, std::uint64_t number,
                             std::span<const std::uint8_t> frame)
{
    switch (column) {
    case ChecksumColumn::Number: return Decimal(number);
    case ChecksumColumn::Method: return ChecksumMethodName(match.method);
    case ChecksumColumn::Start: return Decimal(match.start);
    case ChecksumColumn::End: return Decimal(match.end);
    case ChecksumColumn::Length: return Decimal(MatchLength(match));
    case ChecksumColumn::Checksum: return FormatChecksum(match.method, match.value);
    case ChecksumColumn::Content: return FormatMatchContent(match, frame);
    }
    return {};
}
