#pragma once
// The search of a frame for ranges that are directly followed by their own checksum.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "checksum/checksum_methods.h"
#include "checksum/checksum_texts.h"

// The page's refusal of an analysis without data (UTF-8), in the current language: looked up
// where it is used, the name kept from when it was a constant.
#define CHECKSUM_NO_DATA_TEXT (ChecksumTextOf(ChecksumText::NoData))

// One match: bytes start..end (1-based, inclusive) are followed by their checksum `value`
// (the one byte, or low | high << 8). Kept small: a degenerate frame yields hundreds of thousands.
struct ChecksumMatch {
    ChecksumMethod method;
    std::uint16_t start;
    std::uint16_t end;
    std::uint16_t value;
    bool operator==(const ChecksumMatch&) const = default;
};

// Receives the matches of one start position at a time, in the order found.
using ChecksumMatchSink = std::function<void(std::span<const ChecksumMatch>)>;

struct ChecksumSearchOptions {
    std::size_t minLength = 1;                  // ranges of fewer bytes are not reported; any value is safe
    const std::atomic<bool>* cancel = nullptr;  // looked at before every start position
};

/// Longest frame a search takes: positions must fit a ChecksumMatch.
inline constexpr std::size_t MAX_SEARCH_BYTES = 65535;

/// Reports every match of `method` in `frame`, ordered by start, then by end; the sink gets the
/// matches of each start position together. Joins where the method allows it, walks otherwise.
/// Returns false when the cancel flag stopped it early.
bool SearchChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                     const ChecksumSearchOptions& options = {});

/// The same by carrying each start's register to the frame's end: O(n^2) steps, any method.
bool WalkChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                   const ChecksumSearchOptions& options = {});

/// All matches of `method` in `frame`, in search order.
std::vector<ChecksumMatch> FindChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame,
                                         const ChecksumSearchOptions& options = {});

/// The checked bytes of a match, "%02X " per byte; empty if the match lies outside the frame.
std::string FormatMatchContent(const ChecksumMatch& match, std::span<const std::uint8_t> frame);

// Where the matches of a method WIDTH bytes wide can lie in a frame of n bytes: the ranges
// [i, j) of at least `shortest` bytes with i <= lastStart and j <= lastEnd (j is the checksum's
// first byte). A one-byte checksum is never matched over a single byte.
struct MatchBounds {
    bool any;
    std::size_t shortest;
    std::size_t lastStart;
    std::size_t lastEnd;
};
constexpr MatchBounds MatchBoundsOf(std::size_t width, std::size_t n, std::size_t minLength)
{
    const std::size_t shortest = minLength > (width == 1 ? 2 : 1) ? minLength : (width == 1 ? 2 : 1);
    // Not n < shortest + width: that sum wraps for a minimum length near SIZE_MAX.
    if (n < width || n - width < shortest)
        return {false, shortest, 0, 0};
    return {true, shortest, n - width - shortest, n - width};
}

/// The checksum standing at index j as a match holds it: byte j, or j | j + 1 << 8.
constexpr std::uint16_t ChecksumAt(const std::uint8_t* bytes, std::size_t width, std::size_t j)
{
    return width == 1 ? bytes[j] : static_cast<std::uint16_t>(bytes[j] | bytes[j + 1] << 8);
}

/// Bytes of the checked range.
constexpr std::size_t MatchLength(const ChecksumMatch& match) { return std::size_t{match.end} - match.start + 1u; }

static_assert(sizeof(ChecksumMatch) == 8, "a row of the result list stays this small");
