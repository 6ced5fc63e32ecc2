// The range search three ways: the key join, the carried walk and a brute force computing every
// range's checksum anew give the same rows in the same order, a start per batch, for every method,
// on fuzzed frames, degenerate ones (runs of one byte, short periods, planted checksums) and any
// minimum length up to SIZE_MAX; a cancelled search reports nothing.
//
// Input: a shape byte, a minimum-length byte, a length byte, then the bytes the frame is made of.
//   shape % 5: 0 the bytes as they are; 1 the first byte repeated; 2 the bytes repeated as a
//   period; 3 the bytes with the checksum of a range written right after it; 4 all zero.
//   The minimum length: the byte itself, or for values from 0xF0 up SIZE_MAX - (0xFF - value).
//   The length byte sets the length of the repeated shapes. Frames have at most 48 bytes: the
//   brute force is cubic, and 48 bytes take the walk through several groups of its eight chains.

#include <algorithm>
#include <vector>

#include "checksum/checksum_join.h"
#include "common/hex_text.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t MAX_FRAME = 48;

using Rows = std::vector<ChecksumMatch>;

// Every range i .. j-1 of at least minLength bytes (two for a one-byte method) whose checksum,
// computed on its own, stands at j.
FUZZ_REFERENCE Rows BruteForce(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t minLength)
{
    const std::size_t width = ChecksumWidth(method);
    const std::size_t shortest = std::max<std::size_t>(minLength, width == 1 ? 2 : 1);
    Rows rows;
    for (std::size_t i = 0; i < frame.size(); ++i)
        for (std::size_t j = i + 1; j + width <= frame.size(); ++j) {
            if (j - i < shortest)
                continue;
            const std::uint16_t value = ComputeChecksum(method, frame, i, j);
            const std::uint16_t standing = width == 1 ? frame[j] : static_cast<std::uint16_t>(frame[j] | frame[j + 1] << 8);
            if (value == standing)
                rows.push_back({method, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(j), value});
        }
    return rows;
}

template <typename Search>
Rows Batched(Search search, ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t minLength, const char* name)
{
    Rows rows;
    const bool complete = search(method, frame, [&](std::span<const ChecksumMatch> batch) {
        FUZZ_CHECK(!batch.empty(), name);
        FUZZ_CHECK(std::all_of(batch.begin(), batch.end(), [&](const ChecksumMatch& m) { return m.start == batch[0].start; }), name);
        FUZZ_CHECK(rows.empty() || rows.back().start < batch[0].start, name);
        rows.insert(rows.end(), batch.begin(), batch.end());
    }, ChecksumSearchOptions{.minLength = minLength});
    FUZZ_CHECK(complete, name);
    return rows;
}

std::string Describe(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t minLength)
{
    return std::string(ChecksumMethodName(method)) + " min " + std::to_string(minLength) + " over " + FormatHexBytes(frame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t shape = input.Byte();
    const std::uint8_t minByte = input.Byte();
    const std::size_t length = input.Byte() % (MAX_FRAME + 1);
    const std::span<const std::uint8_t> bytes = input.Bytes(MAX_FRAME);
    const std::size_t minLength = minByte >= 0xF0 ? SIZE_MAX - (0xFF - minByte) : minByte;

    std::vector<std::uint8_t> frame;
    switch (shape % 5) {
    case 0:
        frame.assign(bytes.begin(), bytes.end());
        break;
    case 1:
        frame.assign(length, bytes.empty() ? 0 : bytes[0]);
        break;
    case 2:
        for (std::size_t k = 0; !bytes.empty() && k < length; ++k)
            frame.push_back(bytes[k % std::min<std::size_t>(bytes.size(), 1 + shape / 5 % 8)]);
        break;
    case 3: {
        // The bytes, then the checksum of a range of them written where the range ends.
        frame.assign(bytes.begin(), bytes.end());
        const ChecksumMethod method = CHECKSUM_METHODS[shape / 5 % CHECKSUM_METHOD_COUNT];
        if (frame.size() >= 3) {
            const std::size_t end = 1 + length % (frame.size() - 2);
            const std::size_t start = minByte % end;
            const std::uint16_t value = ComputeChecksum(method, frame, start, end);
            frame[end] = static_cast<std::uint8_t>(value);
            if (ChecksumWidth(method) == 2)
                frame[end + 1] = static_cast<std::uint8_t>(value >> 8);
        }
        break;
    }
    default:
        frame.assign(length, 0);
        break;
    }

    for (const ChecksumMethod method : CHECKSUM_METHODS) {
        const Rows expected = BruteForce(method, frame, minLength);
        FUZZ_CHECK(Batched(WalkChecksums, method, frame, minLength, "walk") == expected, Describe(method, frame, minLength));
        if (CanJoin(method))
            FUZZ_CHECK(Batched(JoinChecksums, method, frame, minLength, "join") == expected, Describe(method, frame, minLength));
        else
            FUZZ_CHECK(Batched(JoinChecksums, method, frame, minLength, "join").empty());
        FUZZ_CHECK(Batched(SearchChecksums, method, frame, minLength, "search") == expected, Describe(method, frame, minLength));
        FUZZ_CHECK(FindChecksums(method, frame, {.minLength = minLength}) == expected);
        for (const ChecksumMatch& match : expected)
            FUZZ_CHECK(FormatMatchContent(match, frame) == FormatHexBytes(std::span(frame).subspan(match.start - 1u, MatchLength(match))));

        // Cancelled before the first start: nothing is reported.
        const std::atomic<bool> cancel{true};
        Rows cancelled;
        SearchChecksums(method, frame, [&](std::span<const ChecksumMatch> batch) { cancelled.insert(cancelled.end(), batch.begin(), batch.end()); },
                        {.minLength = minLength, .cancel = &cancel});
        FUZZ_CHECK(cancelled.empty());
    }
    return 0;
}
