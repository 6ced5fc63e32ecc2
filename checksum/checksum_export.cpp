#include "checksum/checksum_export.h"

#include <algorithm>
#include <array>

namespace {

void AppendCell(std::string& line, const std::string& cell, TableText kind)
{
    if (kind == TableText::TabSeparated) {
        // A tab or line break inside a cell would split it; the list's cells hold none.
        for (char c : cell)
            line += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        return;
    }
    if (std::none_of(cell.begin(), cell.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; })) {
        line += cell;
        return;
    }
    line += '"';
    for (char c : cell) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

std::string Line(const std::array<std::string, CHECKSUM_COLUMN_COUNT>& cells, TableText kind)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += kind == TableText::TabSeparated ? '\t' : ',';
        AppendCell(line, cells[c], kind);
    }
    line += kind == TableText::TabSeparated ? "\n" : "\r\n";
    return line;
}

} // namespace

std::string ChecksumTitleLine(TableText kind)
{
    std::array<std::string, CHECKSUM_COLUMN_COUNT> cells;
    for (std::size_t c = 0; c < CHECKSUM_COLUMN_COUNT; ++c)
        cells[c] = ChecksumColumnTitle(static_cast<ChecksumColumn>(c));
    return Line(cells, kind);
}

std::string ChecksumRowLine(const ChecksumMatch& match, std::uint64_t number, std::span<const std::uint8_t> frame,
                            TableText kind)
{
    std::array<std::string, CHECKSUM_COLUMN_COUNT> cells;
    for (std::size_t c = 0; c < CHECKSUM_COLUMN_COUNT; ++c)
        cells[c] = ChecksumCellText(static_cast<ChecksumColumn>(c), match, number, frame);
    return Line(cells, kind);
}
