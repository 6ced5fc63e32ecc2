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

// One byte order of a type of up to 8 bytes. b0 b1 … are the variable's bytes in frame order.
struct ByteOrderEntry {
    const char* caption;
    std::array<std::uint8_t, 8> valueFrom;    // m_k = b[valueFrom[k]]; the value is m0 m1 …, least significant first
    std::array<std::uint8_t, 8> memoryShows;  // the memory column lists b[memoryShows[0]], b[memoryShows[1]], ...
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

// A variable's bytes as its type reads them.
struct VariableInput {
    const std::uint8_t* b;         // in frame order
    std::size_t width;             // the type's width, or the length of a type without one
    const ByteOrderEntry* order;   // nullptr for a type without byte orders

    /// The bytes in the byte order as an unsigned number, m0 least significant; b0 without an order.
    std::uint64_t Raw() const;
};

// The reading and formatting of each type, one function per type and purpose: a row of the table
// names them.
namespace variable_reading {
std::string FormatUnsigned(const VariableInput& in);
std::string FormatChar(const VariableInput& in);
std::string FormatInt(const VariableInput& in);
std::string FormatLong(const VariableInput& in);
std::string FormatFloat(const VariableInput& in);
std::string FormatCharacters(const VariableInput& in);
std::string FormatHexDigits(const VariableInput& in);
std::optional<double> ReadUnsigned(const VariableInput& in);
std::optional<double> ReadChar(const VariableInput& in);
std::optional<double> ReadInt(const VariableInput& in);
std::optional<double> ReadLong(const VariableInput& in);
std::optional<double> ReadFloat(const VariableInput& in);
std::optional<double> ReadBcd(const VariableInput& in);
std::string FloatNumberText(double value);
} // namespace variable_reading

// A type is one row: adding one (a 64-bit integer, a double) is a row here with its functions,
// an enumerator above, and its tests; the page, the decode pass, the finder and the command line
// read the table. A new byte-order group also needs its radio buttons on the page.
struct VariableTypeEntry {
    VariableType type;
    const char* name;                    // compared exactly and case-sensitively
    std::size_t width;                   // bytes read; 0: as many as the length column says
    const char* lengthWhenChosen;        // written into the length column when the type is chosen
    std::optional<ByteOrderGroup> order; // the radio group whose byte order the type reads with
    std::span<const ByteOrderEntry> orders;  // the orders it can be read in; empty: frame order
    MemoryText memory;
    std::string (*format)(const VariableInput& in);  // the value column's text
    // The number the value finder compares; nothing where the bytes hold no number of the type
    // (a non-digit BCD nibble, a FLOAT that is not normal). nullptr: the finder skips the type. A
    // type without a width is tried 1 to MAX_BCD_BYTES (value_finder.h) bytes wide, and not wider
    // once a width reads nothing.
    std::optional<double> (*read)(const VariableInput& in);
    double precision;                    // relative precision of its numbers; 0: whole numbers, exact
    std::string (*numberText)(double value);  // fractional types: a number as a reader writes it
};

inline constexpr std::array<VariableTypeEntry, VARIABLE_TYPE_COUNT> VARIABLE_TYPES = [] {
    using namespace variable_reading;
    constexpr std::span<const ByteOrderEntry> NONE;
    return std::array<VariableTypeEntry, VARIABLE_TYPE_COUNT>{{
        {VariableType::UCHAR, "UCHAR", 1, "1", std::nullopt, NONE, MemoryText::Digits, FormatUnsigned, ReadUnsigned, 0, nullptr},
        {VariableType::CHAR, "CHAR", 1, "1", std::nullopt, NONE, MemoryText::Digits, FormatChar, ReadChar, 0, nullptr},
        {VariableType::UINT, "UINT", 2, "2", ByteOrderGroup::Uint, BYTE_ORDERS_16, MemoryText::PerByte, FormatUnsigned, ReadUnsigned, 0, nullptr},
        {VariableType::INT, "INT", 2, "2", ByteOrderGroup::Int, BYTE_ORDERS_16, MemoryText::PerByte, FormatInt, ReadInt, 0, nullptr},
        {VariableType::FLOAT, "FLOAT", 4, "4", ByteOrderGroup::Float, BYTE_ORDERS_32, MemoryText::PerByte, FormatFloat, ReadFloat, 0x1p-23, FloatNumberText},
        {VariableType::DWORD, "DWORD", 4, "4", ByteOrderGroup::Dword, BYTE_ORDERS_32, MemoryText::PerByte, FormatUnsigned, ReadUnsigned, 0, nullptr},
        {VariableType::LONG, "LONG", 4, "4", ByteOrderGroup::Long, BYTE_ORDERS_32, MemoryText::PerByte, FormatLong, ReadLong, 0, nullptr},
        {VariableType::ANSI, "ANSI", 0, "1", std::nullopt, NONE, MemoryText::PerByte, FormatCharacters, nullptr, 0, nullptr},
        {VariableType::BCD, "BCD", 0, "1", std::nullopt, NONE, MemoryText::PerByte, FormatHexDigits, ReadBcd, 0, nullptr},
    }};
}();

static_assert([] {
    for (std::size_t i = 0; i < VARIABLE_TYPES.size(); ++i)
        if (static_cast<std::size_t>(VARIABLE_TYPES[i].type) != i)
            return false;
    return true;
}(), "a row stands at its type's index");

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

/// The byte orders a type can be read in: two for 16-bit types, four for 32-bit types, none for
/// the others.
std::span<const ByteOrderEntry> ByteOrdersOf(VariableType type);

/// The type that reads its byte order from a group (UINT; INT; FLOAT; DWORD; LONG).
VariableType GroupType(ByteOrderGroup group);

// The index of the checked button in each of the five groups.
struct ByteOrderOptions {
    std::array<int, BYTE_ORDER_GROUP_COUNT> index{0, 0, 3, 3, 3};  // the page's start state

    /// The order a type reads with; an index outside its table reads as the first order.
    int For(VariableType type) const;
};

/// The bytes `b` (frame order; the type's width, or `length` for a type without one) as the type
/// reads them in byte order `order`; an order outside the type's table reads as the first.
VariableInput InputOf(VariableType type, int order, const std::uint8_t* b, std::size_t length);

/// The number the value finder compares at `b` (see VariableTypeEntry::read); nothing for a type
/// the finder skips.
std::optional<double> ReadNumber(VariableType type, int order, const std::uint8_t* b, std::size_t length);
