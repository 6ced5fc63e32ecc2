// The decode pass of the byte analysis page over any region, rows and byte orders: each row's
// memory and value cells against a reading of the bytes done with printf, the pass stopping at
// the first row that does not fit, and the bytes a row covers summed from the lengths before it.
//
// Input: head and tail in bytes (four bytes each, little-endian, unsigned), five byte-order indices (signed
// bytes), the frame's length (two bytes, modulo 600) and its bytes, then the rows as text,
// "TYPE:LENGTH" separated by ',' (a part without ':' has an empty length).

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "bytes/variable_decoder.h"
#include "fuzz_support.h"

namespace {

std::string Printed(const char* format, auto value)
{
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::int64_t ReferenceLength(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Saturating: past 19 digits every value is the largest.
    __int128 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<__int128>(value * 10 + (text[i] - '0'), INT64_MAX);
    return negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
}

// One variable from bytes b (zero past the region), as the two cells show it.
DecodedVariable ReferenceDecode(const VariableTypeEntry& entry, int order, const std::uint8_t* b, std::size_t width)
{
    const std::span<const ByteOrderEntry> orders = ByteOrdersOf(entry.type);
    const ByteOrderEntry* shown = orders.empty() ? nullptr : &orders[order >= 0 && std::size_t(order) < orders.size() ? order : 0];
    DecodedVariable cells;
    if (entry.memory == MemoryText::Digits) {
        cells.memory = Printed("%02X", unsigned{b[0]});
    } else {
        for (std::size_t k = 0; k < width; ++k)
            cells.memory += Printed("%02X ", unsigned{b[shown ? shown->memoryShows[k] : k]});
    }
    std::uint32_t raw = b[0];
    if (shown) {
        raw = 0;
        for (std::size_t k = 0; k < entry.width; ++k)
            raw |= std::uint32_t{b[shown->valueFrom[k]]} << (8 * k);
    }
    switch (entry.type) {
    case VariableType::UCHAR:
    case VariableType::UINT:
    case VariableType::DWORD: cells.value = Printed("%u", raw); break;
    case VariableType::CHAR: cells.value = Printed("%d", int{static_cast<std::int8_t>(raw)}); break;
    case VariableType::INT: cells.value = Printed("%d", int{static_cast<std::int16_t>(raw)}); break;
    case VariableType::LONG: cells.value = Printed("%d", static_cast<std::int32_t>(raw)); break;
    case VariableType::FLOAT: {
        const float value = std::bit_cast<float>(raw);
        cells.value = std::isnan(value) ? "nan" : std::isinf(value) ? (value < 0 ? "-inf" : "inf") : Printed("%.3f", double{value});
        break;
    }
    case VariableType::ANSI:
        for (std::size_t k = 0; k < width; ++k)
            if (b[k])
                cells.value += static_cast<char>(b[k]);
        break;
    case VariableType::BCD:
        for (std::size_t k = 0; k < width; ++k)
            cells.value += Printed("%x", unsigned{b[k]});
        break;
    }
    return cells;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::size_t head = input.Number<std::uint32_t>();
    const std::size_t tail = input.Number<std::uint32_t>();
    ByteOrderOptions options;
    for (int& index : options.index)
        index = static_cast<std::int8_t>(input.Byte());
    const std::span<const std::uint8_t> frame = input.Bytes(input.Number<std::uint16_t>() % 600);
    struct Cells {
        std::string type;
        std::string length;
    };
    std::vector<Cells> cells;
    std::vector<VariableRow> rows;
    while (!input.Empty() && rows.size() < 64) {
        const std::string_view part = input.TextUntil(',');
        const std::size_t colon = part.find(':');
        cells.push_back({std::string(part.substr(0, colon)), colon == std::string_view::npos ? "" : std::string(part.substr(colon + 1))});
        rows.push_back(ReadVariableRow(cells.back().type, cells.back().length));
    }

    const DecodeOutcome outcome = DecodeVariables(frame, head, tail, options, rows);
    FUZZ_CHECK(outcome.ran == !rows.empty());
    if (rows.empty())
        return 0;
    if (head == tail) {
        FUZZ_CHECK(std::string_view(outcome.status) == NO_REGION_TEXT && outcome.rows.empty());
        return 0;
    }
    FUZZ_CHECK(*outcome.status == '\0');

    // The region: the bytes from head to tail, inside the frame; past its end every byte reads 0.
    const std::int64_t first = std::min<std::int64_t>(std::int64_t(head), std::int64_t(frame.size()));
    const std::int64_t count = std::min<std::int64_t>(std::max<std::int64_t>(std::int64_t(tail) - std::int64_t(head), 0), std::int64_t(frame.size()) - first);
    std::vector<std::uint8_t> region(frame.begin() + first, frame.begin() + first + count);
    region.resize(region.size() + 8, 0);  // a fixed-width type reads up to 3 bytes past the region

    std::int64_t position = 0;
    std::size_t r = 0;
    const DecodedVariable dash{NOT_DECODED_TEXT, NOT_DECODED_TEXT};
    for (; r < rows.size(); ++r) {
        FUZZ_CHECK(r < outcome.rows.size(), "row " + std::to_string(r) + " missing");
        const std::int64_t length = ReferenceLength(cells[r].length);
        FUZZ_CHECK(rows[r].length == length, Shown(cells[r].length));
        const VariableTypeEntry* entry = FindVariableType(cells[r].type);
        if (!entry) {
            FUZZ_CHECK(outcome.rows[r] == dash);
            continue;
        }
        if (length > count - position) {
            FUZZ_CHECK(outcome.rows[r] == dash && outcome.stoppedAt == r && outcome.rows.size() == r + 1, "the pass ends at the misfit");
            break;
        }
        if (length < 0) {
            FUZZ_CHECK(outcome.rows[r] == dash);
            continue;
        }
        const std::size_t width = entry->width ? entry->width : std::size_t(length);
        const DecodedVariable expected = ReferenceDecode(*entry, options.For(entry->type), region.data() + position, width);
        FUZZ_CHECK(outcome.rows[r] == expected, "row " + std::to_string(r) + " " + cells[r].type + ": " + outcome.rows[r].memory + "|" +
                                                    Shown(outcome.rows[r].value) + " expected " + expected.memory + "|" + Shown(expected.value));
        position += std::int64_t(width);
    }
    if (r == rows.size())
        FUZZ_CHECK(outcome.stoppedAt == rows.size() && outcome.rows.size() == rows.size());

    // The bytes of each row: from head (held to 2^31), after the lengths before it, each held to ±2^31.
    const auto held = [&](std::size_t r) { return std::clamp<std::int64_t>(ReferenceLength(cells[r].length), -(1LL << 31), 1LL << 31); };
    std::int64_t before = std::min<std::int64_t>(std::int64_t(head), 1LL << 31);
    for (std::size_t row = 0; row <= rows.size(); ++row) {
        const auto [from, to] = VariableBytes(head, rows, row);
        FUZZ_CHECK(from == before && to == (row < rows.size() ? before + held(row) : before), "bytes of row " + std::to_string(row));
        if (row < rows.size())
            before += held(row);
    }
    return 0;
}
