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
    switch (column) {
    case ChecksumColumn::Number: return "序号";
    case ChecksumColumn::Method: return "校验方法";
    case ChecksumColumn::Start: return "起始位";
    case ChecksumColumn::End: return "结束位";
    case ChecksumColumn::Length: return "长度";
    case ChecksumColumn::Checksum: return "校验码";
    case ChecksumColumn::Content: return "校验内容";
    }
    return "";
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
