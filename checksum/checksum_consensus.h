#pragma once
// Which checksum a device uses, from many frames of different lengths: the rules that hold in
// every frame, or in most of them. A rule is a method plus its range's start, counted from the
// frame's first byte, and its end, counted from the first byte or back from the last one, with
// the checksum right after the range as in the range search.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "checksum/checksum_search.h"

enum class RuleEnd : std::uint8_t { FromFirst, FromLast };

struct ChecksumRule {
    ChecksumMethod method;
    std::uint16_t start;  // 1-based from the first byte
    RuleEnd endFrom;
    std::uint16_t end;    // 1-based from the first byte, or from the last (1 is the last byte)
    bool operator==(const ChecksumRule&) const = default;
};

struct ChecksumRuleCount {
    ChecksumRule rule;
    std::uint64_t frames = 0;         // frames the rule holds in
    std::uint64_t rangeBytes = 0;     // the lengths of its ranges in those frames, summed
    std::uint16_t shortestFrame = 0;  // lengths of the frames it holds in
    std::uint16_t longestFrame = 0;
};

class CChecksumConsensus {
public:
    /// Counts the rules of the given methods; ranges shorter than `minLength` do not count.
    explicit CChecksumConsensus(std::span<const ChecksumMethod> methods, std::size_t minLength = 1);

    /// Searches one frame and counts every rule that holds in it. Memory grows with the rules
    /// seen, never with the frames.
    void AddFrame(std::span<const std::uint8_t> frame);

    std::uint64_t FrameCount() const { return m_frames; }

    /// The rules that hold in at least `minSharePercent` of the frames, by frames held, then by
    /// the ranges' mean length, longest first. A rule counted from the first byte that marks the
    /// same range as its twin counted from the last byte in every frame (frames of one length)
    /// is left out for that twin.
    std::vector<ChecksumRuleCount> Rules(double minSharePercent = 100) const;

private:
    std::vector<ChecksumMethod> m_methods;
    std::size_t m_minLength;
    std::uint64_t m_frames = 0;
    std::unordered_map<std::uint64_t, ChecksumRuleCount> m_counts;
};

/// The rule in words, e.g. "CRC16, 第1字节 至 倒数第3字节" (UTF-8).
std::string ChecksumRuleText(const ChecksumRule& rule);
