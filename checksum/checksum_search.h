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

/// Reports every match of `method` in `frame`, ordered by start, then by end; the sink gets the
/// matches of each start position together. Returns false when `cancel` stopped it early.
bool SearchChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                     const std::atomic<bool>* cancel = nullptr);

/// All matches of `method` in `frame`, in search order.
std::vector<ChecksumMatch> FindChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame);

/// The checked bytes of a match, "%02X " per byte; empty if the match lies outside the frame.
std::string FormatMatchContent(const ChecksumMatch& match, std::span<const std::uint8_t> frame);

static_assert(sizeof(ChecksumMatch) == 8, "a row of the result list stays this small");
