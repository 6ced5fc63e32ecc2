#pragma once
// The decode pass of the byte analysis page: a list of typed variables laid over a region of the
// frame, each shown as its bytes and its value under the byte order chosen for its type.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/bytes_texts.h"
#include "bytes/variable_types.h"

// A variable as the list holds it: the texts of its type and length cells.
struct VariableRow {
    std::string type;
    std::string length;
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

/// One variable of `type` whose bytes start at `b` (its width, or `length` bytes for ANSI and
/// BCD), in byte order `order`, as the memory and value columns show it.
DecodedVariable DecodeVariable(VariableType type, int order, const std::uint8_t* b, std::size_t length);

/// The pass over the region [head, tail) of the frame's normal-form hex text (character offsets,
/// 3 per byte). Any head and tail are safe: the region is clipped to the frame.
DecodeOutcome DecodeVariables(std::span<const std::uint8_t> frame, int head, int tail,
                              const ByteOrderOptions& options, std::span<const VariableRow> rows);

/// Characters of the hex text that hold row `row`'s bytes without the blank after the last one,
/// as [start, end): the lengths of the rows before it, from `head`. Clipped to [0, textLength],
/// with end >= start.
std::pair<int, int> VariableCharacters(int head, std::span<const VariableRow> rows, std::size_t row, int textLength);
