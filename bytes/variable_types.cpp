#include "bytes/variable_types.h"

#include <bit>

static_assert(VARIABLE_TYPES[static_cast<std::size_t>(VariableType::BCD)].type == VariableType::BCD);

const VariableTypeEntry& VariableTypeInfo(VariableType type)
{
    return VARIABLE_TYPES[static_cast<std::size_t>(type)];
}

const VariableTypeEntry* FindVariableType(std::string_view name)
{
    for (const VariableTypeEntry& entry : VARIABLE_TYPES)
        if (name == entry.name)
            return &entry;
    return nullptr;
}

std::span<const ByteOrderEntry> ByteOrdersOf(VariableType type)
{
    switch (VariableTypeInfo(type).width) {
    case 2: return BYTE_ORDERS_16;
    case 4: return BYTE_ORDERS_32;
    default: return {};
    }
}

VariableType GroupType(ByteOrderGroup group)
{
    switch (group) {
    case ByteOrderGroup::Uint: return VariableType::UINT;
    case ByteOrderGroup::Int: return VariableType::INT;
    case ByteOrderGroup::Float: return VariableType::FLOAT;
    case ByteOrderGroup::Dword: return VariableType::DWORD;
    case ByteOrderGroup::Long: break;
    }
    return VariableType::LONG;
}

int ByteOrderOptions::For(VariableType type) const
{
    const auto& group = VariableTypeInfo(type).order;
    if (!group)
        return 0;
    const int chosen = index[static_cast<std::size_t>(*group)];
    return chosen >= 0 && static_cast<std::size_t>(chosen) < ByteOrdersOf(type).size() ? chosen : 0;
}

std::uint32_t ReadRawValue(VariableType type, int order, const std::uint8_t* b)
{
    const std::span<const ByteOrderEntry> orders = ByteOrdersOf(type);
    if (orders.empty())
        return b[0];
    const ByteOrderEntry& entry =
        orders[order >= 0 && static_cast<std::size_t>(order) < orders.size() ? static_cast<std::size_t>(order) : 0];
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < VariableTypeInfo(type).width; ++k)
        value |= std::uint32_t{b[entry.valueFrom[k]]} << (8 * k);
    return value;
}

double ReadNumber(VariableType type, int order, const std::uint8_t* b)
{
    const std::uint32_t raw = ReadRawValue(type, order, b);
    switch (type) {
    case VariableType::CHAR: return static_cast<std::int8_t>(raw);
    case VariableType::INT: return static_cast<std::int16_t>(raw);
    case VariableType::LONG: return static_cast<std::int32_t>(raw);
    case VariableType::FLOAT: return std::bit_cast<float>(raw);
    default: return raw;
    }
}
