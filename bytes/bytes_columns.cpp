#include "bytes/bytes_columns.h"

const char* ColumnTitle(VariableColumn column)
{
    const auto index = static_cast<std::size_t>(column);
    return index < VARIABLE_COLUMN_COUNT ? BytesTextOf(VARIABLE_COLUMNS[index].title) : "";
}

const char* ColumnTitle(HitColumn column)
{
    const auto index = static_cast<std::size_t>(column);
    return index < HIT_COLUMN_COUNT ? BytesTextOf(HIT_COLUMNS[index].title) : "";
}

std::string HitCellText(HitColumn column, const ValueHit& hit, std::size_t number)
{
    switch (column) {
    case HitColumn::Number: return std::to_string(number);
    case HitColumn::Start: return std::to_string(hit.offset);
    case HitColumn::Type: return VariableTypeInfo(hit.type).name;
    case HitColumn::Order: return HitOrderCaption(hit);
    case HitColumn::Memory: return hit.memory;
    case HitColumn::Value: return hit.valueText;
    case HitColumn::Scaled: return hit.scaledText;
    case HitColumn::Difference: return hit.differenceText;
    }
    return {};
}
