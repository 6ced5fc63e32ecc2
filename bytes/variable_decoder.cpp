#include "bytes/variable_decoder.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/hex_text.h"

namespace {

// A fixed-width variable whose length text is smaller than its width still reads its full width,
// so the window reaches this far past the region's end; those bytes read as 0.
constexpr std::size_t WINDOW_PADDING = [] {
    std::size_t widest = 0;
    for (const VariableTypeEntry& entry : VARIABLE_TYPES)
        widest = std::max(widest, entry.width);
    return widest;
}();

constexpr char HEX_UPPER[] = "0123456789ABCDEF";

void AppendByte(std::string& text, std::uint8_t b)
{
    text.push_back(HEX_UPPER[b >> 4]);
    text.push_back(HEX_UPPER[b & 0x0F]);
}

} // namespace

std::int64_t ReadLengthText(std::string_view text)
{
    constexpr std::int64_t LIMIT = std::numeric_limits<std::int64_t>::max();
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value > (LIMIT - (text[i] - '0')) / 10 ? LIMIT : value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

VariableRow ReadVariableRow(std::string_view type, std::string_view length)
{
    const VariableTypeEntry* entry = FindVariableType(type);
    return {entry ? std::optional(entry->type) : std::nullopt, ReadLengthText(length)};
}

DecodedVariable DecodeVariable(VariableType type, int order, const std::uint8_t* b, std::size_t length)
{
    const VariableTypeEntry& entry = VariableTypeInfo(type);
    const VariableInput in = InputOf(type, order, b, length);
    DecodedVariable decoded;
    if (entry.memory == MemoryText::Digits) {
        AppendByte(decoded.memory, b[0]);
    } else {
        decoded.memory.reserve(3 * in.width);
        for (std::size_t k = 0; k < in.width; ++k) {
            AppendByte(decoded.memory, b[in.order ? in.order->memoryShows[k] : k]);
            decoded.memory.push_back(' ');
        }
    }
    decoded.value = entry.format(in);
    return decoded;
}

DecodeOutcome DecodeVariables(std::span<const std::uint8_t> frame, std::size_t head, std::size_t tail,
                              const ByteOrderOptions& options, std::span<const VariableRow> rows)
{
    DecodeOutcome outcome;
    if (rows.empty())
        return outcome;
    outcome.ran = true;
    if (head == tail) {
        outcome.status = NO_REGION_TEXT;
        return outcome;
    }

    const std::size_t first = std::min(head, frame.size());
    const std::size_t size = tail > head ? std::min(tail - head, frame.size() - first) : 0;
    std::vector<std::uint8_t> window(std::max(size, MAX_HEX_BYTES) + WINDOW_PADDING, 0);
    std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(first), size, window.begin());

    outcome.rows.reserve(rows.size());
    std::size_t pos = 0;
    const DecodedVariable notDecoded{NOT_DECODED_TEXT, NOT_DECODED_TEXT};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const VariableRow& row = rows[i];
        if (!row.type) {
            outcome.rows.push_back(notDecoded);
            continue;
        }
        // The fit test uses the length cell, not the type's width.
        if (row.length > static_cast<std::int64_t>(size) - static_cast<std::int64_t>(pos)) {
            outcome.rows.push_back(notDecoded);
            outcome.stoppedAt = i;
            return outcome;
        }
        // A negative length would walk the read position backwards out of the window.
        if (row.length < 0) {
            outcome.rows.push_back(notDecoded);
            continue;
        }
        const std::size_t width = VariableTypeInfo(*row.type).width ? VariableTypeInfo(*row.type).width
                                                                      : static_cast<std::size_t>(row.length);
        outcome.rows.push_back(DecodeVariable(*row.type, options.For(*row.type), window.data() + pos, width));
        pos += width;
    }
    outcome.stoppedAt = rows.size();
    return outcome;
}

std::pair<std::int64_t, std::int64_t> VariableBytes(std::size_t head, std::span<const VariableRow> rows, std::size_t row)
{
    constexpr std::int64_t LIMIT = std::int64_t{1} << 31;
    const auto length = [&](std::size_t r) { return std::clamp<std::int64_t>(rows[r].length, -LIMIT, LIMIT); };
    std::int64_t first = static_cast<std::int64_t>(std::min<std::size_t>(head, LIMIT));
    for (std::size_t r = 0; r < row && r < rows.size(); ++r)
        first += length(r);
    return {first, row < rows.size() ? first + length(row) : first};
}
