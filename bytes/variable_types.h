#pragma once
// The variable types of the byte analysis page and the byte orders of its 16- and 32-bit types:
// the one table that the decode pass, the value finder and the command line all read.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// In the order the type drop-down offers them.
enum class VariableType : std::uint8_t { UCHAR, CHAR, UINT, INT, FLOAT, DWORD, LONG, ANSI, BCD };

inline constexpr std::size_t VARIABLE_TYPE_COUNT = 9;

// The five byte-order settings of the page, one radio group each, in the page's order.
enum class ByteOrderGroup : std::uint8_t { Uint, Int, Float, Dword, Long };

inline constexpr std::size_t BYTE_ORDER_GROUP_COUNT = 5;

// How the memory column shows a variable's bytes.
enum class MemoryText : std::uint8_t {
    Digits,   // "%02X": the two digits alone
    PerByte,  // "%02X " per byte, so the text ends in a blank
};

// How the value column shows the value.
enum class ValueText : std::uint8_t {
    Unsigned,    // "%d"/"%u" of the value as unsigned
    Signed,      // "%d" of the value as signed
    Float,       // IEEE 754 single precision widened to double, "%.3f"
    Characters,  // every byte as one character ("%c"), joined: narrow text of the code page
    HexDigits,   // every byte as lower-case hex without padding ("%x"), joined
};

struct VariableTypeEntry {
    VariableType type;
    const char* name;                    // compared exactly and case-sensitively
    std::size_t width;                   // bytes read; 0: as many as the length column says
    const char* lengthWhenChosen;        // written into the length column when the type is chosen
    std::optional<ByteOrderGroup> order; // the radio group whose byte order the type reads with
    MemoryText memory;
    ValueText value;
};

inline constexpr std::array<VariableTypeEntry, VARIABLE_TYPE_COUNT> VARIABLE_TYPES = {{
    {VariableType::UCHAR, "UCHAR", 1, "1", std::nullopt, MemoryText::Digits, ValueText::Unsigned},
    {VariableType::CHAR, "CHAR", 1, "1", std::nullopt, MemoryText::Digits, ValueText::Signed},
    {VariableType::UINT, "UINT", 2, "2", ByteOrderGroup::Uint, MemoryText::PerByte, ValueText::Unsigned},
    {VariableType::INT, "INT", 2, "2", ByteOrderGroup::Int, MemoryText::PerByte, ValueText::Signed},
    {VariableType::FLOAT, "FLOAT", 4, "4", ByteOrderGroup::Float, MemoryText::PerByte, ValueText::Float},
    {VariableType::DWORD, "DWORD", 4, "4", ByteOrderGroup::Dword, MemoryText::PerByte, ValueText::Unsigned},
    {VariableType::LONG, "LONG", 4, "4", ByteOrderGroup::Long, MemoryText::PerByte, ValueText::Signed},
    {VariableType::ANSI, "ANSI", 0, "1", std::nullopt, MemoryText::PerByte, ValueText::Characters},
    {VariableType::BCD, "BCD", 0, "1", std::nullopt, MemoryText::PerByte, ValueText::HexDigits},
}};

// The longest type name: the command line's type column fits it.
inline constexpr std::size_t VARIABLE_TYPE_NAME_WIDTH = [] {
    std::size_t width = 0;
    for (const VariableTypeEntry& entry : VARIABLE_TYPES)
        width = std::max(width, std::char_traits<char>::length(entry.name));
    return width;
}();

/// The entry of a type.
const VariableTypeEntry& VariableTypeInfo(VariableType type);

/// The entry whose name equals `name` exactly, or nullptr.
const VariableTypeEntry* FindVariableType(std::string_view name);

// One byte order of a 2- or 4-byte type. b0 b1 b2 b3 are the variable's bytes in frame order.
struct ByteOrderEntry {
    const char* caption;
    std::array<std::uint8_t, 4> valueFrom;    // m_k = b[valueFrom[k]]; the value is m0 m1 (m2 m3), least significant first
    std::array<std::uint8_t, 4> memoryShows;  // the memory column lists b[memoryShows[0]], b[memoryShows[1]], ...
};

inline constexpr std::array<ByteOrderEntry, 2> BYTE_ORDERS_16 = {{
    {"FF1 FF2", {0, 1, 0, 0}, {0, 1, 0, 0}},
    {"FF2 FF1", {1, 0, 0, 0}, {1, 0, 0, 0}},
}};

// Index 1 is the one order whose memory column is not the reading order: it lists the bytes fully
// reversed while the value is read with the two 16-bit halves swapped.
inline constexpr std::array<ByteOrderEntry, 4> BYTE_ORDERS_32 = {{
    {"FF1 FF2 FF3 FF4", {0, 1, 2, 3}, {0, 1, 2, 3}},
    {"FF4 FF3 FF2 FF1", {2, 3, 0, 1}, {3, 2, 1, 0}},
    {"FF2 FF1 FF4 FF3", {1, 0, 3, 2}, {1, 0, 3, 2}},
    {"FF3 FF4 FF1 FF2", {3, 2, 1, 0}, {3, 2, 1, 0}},
}};

/// The byte orders a fixed-width type can be read in: two for 16-bit types, four for 32-bit
/// types, none for the others.
std::span<const ByteOrderEntry> ByteOrdersOf(VariableType type);

/// The types that read their byte order from a group (UINT; INT; FLOAT; DWORD; LONG).
VariableType GroupType(ByteOrderGroup group);

// The index of the checked button in each of the five groups.
struct ByteOrderOptions {
    std::array<int, BYTE_ORDER_GROUP_COUNT> index{0, 0, 3, 3, 3};  // the page's start state

    /// The order a type reads with; an index outside its table reads as the first order.
    int For(VariableType type) const;
};

/// The value of a 1-, 2- or 4-byte integer type as an unsigned number, its bytes `b` (frame
/// order, at least the type's width) read in byte order `order`.
std::uint32_t ReadRawValue(VariableType type, int order, const std::uint8_t* b);

/// The numeric value of UCHAR, CHAR, UINT, INT, FLOAT, DWORD or LONG read as above.
double ReadNumber(VariableType type, int order, const std::uint8_t* b);
