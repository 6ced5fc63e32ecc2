#pragma once
// The decode pass of the byte analysis page: a list of typed variables laid over a region of the
// frame, each shown as its bytes and its value under the byte order chosen for its type.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/bytes_texts.h"
#include "bytes/variable_types.h"

// A variable of the list, its two cells read.
struct VariableRow {
    std::optional<VariableType> type;  // empty: the type cell names no type
    std::int64_t length = 0;           // the length cell as ReadLengthText reads it
};

// What the pass writes into one row's memory and value cells. The value of an "ANSI" variable is
// narrow text of the code page (GBK); every other text is ASCII.
struct DecodedVariable {
    std::string memory;
    std::string value;
    bool operator==(const DecodedVariable&) const = default;
};

struct DecodeOutcome {
    bool ran = false;                    // false when there are no rows: nothing changes, not even the status line
    const char* status = "";             // the status line (UTF-8); empty clears it
    std::vector<DecodedVariable> rows;   // the texts of the rows the pass reached, from the first; the rest keep theirs
    std::size_t stoppedAt = 0;           // the row that did not fit and ended the pass, or the row count
};

// The status without a region, in the current language: looked up where it is used, the name
// kept from when it was a constant.
#define NO_REGION_TEXT (BytesTextOf(BytesText::NoRegion))

/// The text of an undecodable row: an unknown type, a variable that does not fit, a negative length.
inline constexpr char NOT_DECODED_TEXT[] = "-";

/// A length text read as the list means it: leading blanks skipped, an optional sign and the
/// decimal digits after it; anything else reads 0. Saturates instead of wrapping.
std::int64_t ReadLengthText(std::string_view text);

/// A row from the texts of its type cell (a type's exact name) and its length cell.
VariableRow ReadVariableRow(std::string_view type, std::string_view length);

/// One variable of `type` whose bytes start at `b` (its width, or `length` bytes for ANSI and
/// BCD), in byte order `order`, as the memory and value columns show it.
DecodedVariable DecodeVariable(VariableType type, int order, const std::uint8_t* b, std::size_t length);

/// The pass over the region of bytes [head, tail) of the frame. Any head and tail are safe: the
/// region is clipped to the frame; head == tail is no region.
DecodeOutcome DecodeVariables(std::span<const std::uint8_t> frame, std::size_t head, std::size_t tail,
                              const ByteOrderOptions& options, std::span<const VariableRow> rows);

/// The bytes [first, end) of row `row`: the lengths of the rows before it, from `head`. Not
/// clipped: a negative length before it moves it back, and it may reach past the frame; end < first
/// for a negative length of its own. The head counts at most 2^31, each length at most 2^31 either
/// way, so nothing overflows.
std::pair<std::int64_t, std::int64_t> VariableBytes(std::size_t head, std::span<const VariableRow> rows, std::size_t row);
