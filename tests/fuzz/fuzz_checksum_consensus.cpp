// The checksum consensus over several frames equals a brute-force consensus: every range's
// checksum computed anew in every frame, the rules counted per frame set, the share, the twin
// rule and the ranking worked out from those sets.
//
// Input: a byte of methods (bit k: CHECKSUM_METHODS[k]; none set: all six), a minimum length
// byte, a share byte (the percentage itself), then frames, each a length byte and its bytes: a
// length of 0x80 or more makes (length & 0x7F) % 33 copies of the next byte. At most 6 frames of
// at most 32 bytes: the brute force is cubic in the length, and the counting is the same for six
// frames as for eight.

#include <algorithm>
#include <tuple>
#include <vector>

#include "checksum/checksum_consensus.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t MAX_FRAMES = 6;
constexpr std::size_t MAX_FRAME = 32;

struct Tally {
    std::uint32_t frames = 0;      // bit f: the rule holds in frame f
    std::uint64_t rangeBytes = 0;
};

// Every rule of the methods, by method, start, end counted from the first or last byte, end, in
// frames of at most `longest` bytes.
class CTallies {
public:
    explicit CTallies(std::size_t longest)
        : m_stride(longest + 2)
        , m_tallies(CHECKSUM_METHOD_COUNT * m_stride * 2 * m_stride)
    {
    }
    Tally& At(std::size_t method, std::size_t start, RuleEnd from, std::size_t end)
    {
        return m_tallies[((method * m_stride + start) * 2 + (from == RuleEnd::FromLast)) * m_stride + end];
    }

private:
    std::size_t m_stride;
    std::vector<Tally> m_tallies;
};

// Every range of every frame, its checksum computed on its own.
FUZZ_REFERENCE void BruteForce(const std::vector<std::vector<std::uint8_t>>& frames, std::span<const std::size_t> methods,
                               std::size_t minLength, CTallies& tallies)
{
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const std::vector<std::uint8_t>& frame = frames[f];
        const std::size_t n = frame.size();
        for (const std::size_t m : methods) {
            const ChecksumMethod method = CHECKSUM_METHODS[m];
            const std::size_t width = ChecksumWidth(method);
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = i + std::max<std::size_t>({minLength, width == 1 ? 2u : 1u, 1u}); j + width <= n; ++j) {
                    const std::uint16_t standing = width == 1 ? frame[j] : static_cast<std::uint16_t>(frame[j] | frame[j + 1] << 8);
                    if (ComputeChecksum(method, frame, i, j) != standing)
                        continue;
                    for (Tally* tally : {&tallies.At(m, i + 1, RuleEnd::FromFirst, j), &tallies.At(m, i + 1, RuleEnd::FromLast, n - j + 1)}) {
                        tally->frames |= 1u << f;
                        tally->rangeBytes += j - i;
                    }
                }
        }
    }
}

std::string Describe(const ChecksumRuleCount& c)
{
    return ChecksumRuleText(c.rule) + " frames " + std::to_string(c.frames) + " bytes " + std::to_string(c.rangeBytes) + " lengths " +
           std::to_string(c.shortestFrame) + ".." + std::to_string(c.longestFrame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t mask = input.Byte();
    std::vector<std::size_t> indices;
    std::vector<ChecksumMethod> methods;
    for (std::size_t k = 0; k < CHECKSUM_METHOD_COUNT; ++k)
        if (mask & (1u << k) || !(mask & 0x3F)) {
            indices.push_back(k);
            methods.push_back(CHECKSUM_METHODS[k]);
        }
    const std::size_t minLength = input.Byte();
    const double share = input.Byte();
    std::vector<std::vector<std::uint8_t>> frames;
    while (!input.Empty() && frames.size() < MAX_FRAMES) {
        const std::uint8_t length = input.Byte();
        if (length & 0x80) {
            frames.emplace_back((length & 0x7F) % (MAX_FRAME + 1), input.Byte());
        } else {
            const std::span<const std::uint8_t> bytes = input.Bytes(length % (MAX_FRAME + 1));
            frames.emplace_back(bytes.begin(), bytes.end());
        }
    }

    CChecksumConsensus consensus(methods, minLength);
    for (const auto& frame : frames)
        consensus.AddFrame(frame);
    FUZZ_CHECK(consensus.FrameCount() == frames.size());
    const std::vector<ChecksumRuleCount> rules = consensus.Rules(share);

    std::size_t longest = 0;
    for (const auto& frame : frames)
        longest = std::max(longest, frame.size());
    CTallies tallies(longest);
    BruteForce(frames, indices, minLength, tallies);
    const auto lengthsOf = [&](std::uint32_t set) {
        std::pair<std::size_t, std::size_t> lengths{SIZE_MAX, 0};
        for (std::size_t f = 0; f < frames.size(); ++f)
            if (set & (1u << f))
                lengths = {std::min(lengths.first, frames[f].size()), std::max(lengths.second, frames[f].size())};
        return lengths;
    };
    std::vector<ChecksumRuleCount> expected;
    for (const std::size_t m : indices)
        for (std::size_t start = 1; start <= longest; ++start)
            for (const RuleEnd endFrom : {RuleEnd::FromFirst, RuleEnd::FromLast})
                for (std::size_t end = 1; end <= longest + 1; ++end) {
                    const Tally& tally = tallies.At(m, start, endFrom, end);
                    const auto held = static_cast<std::uint64_t>(__builtin_popcount(tally.frames));
                    if (held == 0 || static_cast<double>(held) * 100 < share * static_cast<double>(frames.size()))
                        continue;
                    const auto [shortest, longest] = lengthsOf(tally.frames);
                    // Counted from the first byte, in frames of one length, it marks what its twin from
                    // the last byte marks: left out when the twin holds in exactly the same frames.
                    if (endFrom == RuleEnd::FromFirst && shortest == longest) {
                        const Tally& twin = tallies.At(m, start, RuleEnd::FromLast, shortest - end + 1);
                        FUZZ_CHECK(twin.frames != 0);
                        if (twin.frames == tally.frames)
                            continue;
                    }
                    expected.push_back({{CHECKSUM_METHODS[m], static_cast<std::uint16_t>(start), endFrom, static_cast<std::uint16_t>(end)},
                                        held, tally.rangeBytes, static_cast<std::uint16_t>(shortest), static_cast<std::uint16_t>(longest)});
                }
    std::sort(expected.begin(), expected.end(), [](const ChecksumRuleCount& a, const ChecksumRuleCount& b) {
        return std::tuple(b.frames, b.rangeBytes, a.rule.method, a.rule.start, a.rule.endFrom == RuleEnd::FromFirst, a.rule.end) <
               std::tuple(a.frames, a.rangeBytes, b.rule.method, b.rule.start, b.rule.endFrom == RuleEnd::FromFirst, b.rule.end);
    });

    FUZZ_CHECK(rules.size() == expected.size(), std::to_string(rules.size()) + " rules, expected " + std::to_string(expected.size()));
    for (std::size_t r = 0; r < rules.size(); ++r)
        FUZZ_CHECK(rules[r].rule == expected[r].rule && rules[r].frames == expected[r].frames && rules[r].rangeBytes == expected[r].rangeBytes &&
                       rules[r].shortestFrame == expected[r].shortestFrame && rules[r].longestFrame == expected[r].longestFrame,
                   "rule " + std::to_string(r) + ": " + Describe(rules[r]) + ", expected " + Describe(expected[r]));
    return 0;
}
