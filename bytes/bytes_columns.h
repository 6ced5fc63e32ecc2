#pragma once
// The columns of the byte analysis's two lists, the page's variables and the value finder's hits:
// titles and cells for the page, the finder dialog and the command line alike.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "bytes/bytes_texts.h"
#include "bytes/value_finder.h"

enum class VariableColumn : std::uint8_t { Number, Type, Length, Memory, Value };

inline constexpr std::size_t VARIABLE_COLUMN_COUNT = 5;

// The finder dialog writes the scaling into the value cell and shows no scaled column.
enum class HitColumn : std::uint8_t { Number, Start, Type, Order, Memory, Value, Scaled, Difference };

inline constexpr std::size_t HIT_COLUMN_COUNT = 8;

struct BytesColumnEntry {
    BytesText title;
    const char* key;        // the command line's JSON key
    bool number;            // the command line: right-aligned, a JSON number
    std::size_t textWidth;  // the command line's text format: at least this many columns
};

inline constexpr std::array<BytesColumnEntry, VARIABLE_COLUMN_COUNT> VARIABLE_COLUMNS = {{
    {BytesText::ColumnNumber, "number", true, 0},
    {BytesText::ColumnType, "type", false, VARIABLE_TYPE_NAME_WIDTH},
    {BytesText::ColumnLength, "length", true, 0},
    {BytesText::ColumnMemory, "memory", false, 12},
    {BytesText::ColumnValue, "value", false, 0},
}};

inline constexpr std::array<BytesColumnEntry, HIT_COLUMN_COUNT> HIT_COLUMNS = {{
    {BytesText::ColumnNumber, "number", true, 0},
    {BytesText::ColumnStart, "offset", true, 0},
    {BytesText::ColumnType, "type", false, VARIABLE_TYPE_NAME_WIDTH},
    {BytesText::ColumnOrder, "order", false, 15},
    {BytesText::ColumnMemory, "memory", false, 12},
    {BytesText::ColumnValue, "value", true, 10},
    {BytesText::ColumnScaled, "scaled", true, 10},
    {BytesText::ColumnDifference, "difference", true, 8},
}};

/// The column's title (UTF-8) in the current language.
const char* ColumnTitle(VariableColumn column);
const char* ColumnTitle(HitColumn column);

/// The cell of a hit whose row number (1-based) is `number`. The value is the decoded number
/// alone; HitValueText adds the scaling.
std::string HitCellText(HitColumn column, const ValueHit& hit, std::size_t number);
