#include "checksum/checksum_consensus.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

std::uint64_t RuleKey(const ChecksumRule& rule)
{
    return std::uint64_t{static_cast<std::uint8_t>(rule.method)} << 33 |
           std::uint64_t{static_cast<std::uint8_t>(rule.endFrom)} << 32 | std::uint64_t{rule.start} << 16 | rule.end;
}

// Frames held, then mean range length (equal counts compare by their sums), then a fixed order.
bool RanksBefore(const ChecksumRuleCount& a, const ChecksumRuleCount& b)
{
    if (a.frames != b.frames)
        return a.frames > b.frames;
    if (a.rangeBytes != b.rangeBytes)
        return a.rangeBytes > b.rangeBytes;
    const auto order = [](const ChecksumRule& r) {
        // Counted from the last byte first: it carries over to frames of other lengths.
        return std::tuple(static_cast<int>(r.method), r.start, r.endFrom == RuleEnd::FromFirst, r.end);
    };
    return order(a.rule) < order(b.rule);
}

} // namespace

CChecksumConsensus::CChecksumConsensus(std::span<const ChecksumMethod> methods, std::size_t minLength)
    : m_methods(methods.begin(), methods.end())
    , m_minLength(minLength)
{
}

void CChecksumConsensus::AddFrame(std::span<const std::uint8_t> frame)
{
    frame = frame.first(std::min(frame.size(), MAX_SEARCH_BYTES));
    ++m_frames;
    const auto length = static_cast<std::uint16_t>(frame.size());
    const auto count = [&](const ChecksumRule& rule, std::size_t rangeBytes) {
        ChecksumRuleCount& entry = m_counts[RuleKey(rule)];
        if (entry.frames == 0) {
            entry.rule = rule;
            entry.shortestFrame = entry.longestFrame = length;
        }
        ++entry.frames;
        entry.rangeBytes += rangeBytes;
        entry.shortestFrame = std::min(entry.shortestFrame, length);
        entry.longestFrame = std::max(entry.longestFrame, length);
    };
    // Each match is one range, so no rule is counted twice in a frame.
    const ChecksumMatchSink sink = [&](std::span<const ChecksumMatch> matches) {
        for (const ChecksumMatch& m : matches) {
            count({m.method, m.start, RuleEnd::FromFirst, m.end}, MatchLength(m));
            count({m.method, m.start, RuleEnd::FromLast, static_cast<std::uint16_t>(length - m.end + 1)}, MatchLength(m));
        }
    };
    for (ChecksumMethod method : m_methods)
        SearchChecksums(method, frame, sink, {.minLength = m_minLength});
}

std::vector<ChecksumRuleCount> CChecksumConsensus::Rules(double minSharePercent) const
{
    std::vector<ChecksumRuleCount> rules;
    if (m_frames == 0)
        return rules;
    // An exact share compares in whole numbers where it can: 2 of 3 frames are not 66.7 %.
    const double needed = minSharePercent * static_cast<double>(m_frames) / 100.0 - 1e-9;
    for (const auto& [key, entry] : m_counts) {
        if (static_cast<double>(entry.frames) < needed)
            continue;
        const ChecksumRule& rule = entry.rule;
        if (rule.endFrom == RuleEnd::FromFirst && entry.shortestFrame == entry.longestFrame) {
            // In frames of one length L the range ends at byte e exactly when it ends at byte
            // L - e + 1 from the last: if the twin also held only in such frames, both held in
            // the same frames with the same ranges.
            const ChecksumRule twin{rule.method, rule.start, RuleEnd::FromLast,
                                    static_cast<std::uint16_t>(entry.shortestFrame - rule.end + 1)};
            const auto found = m_counts.find(RuleKey(twin));
            if (found != m_counts.end() && found->second.shortestFrame == entry.shortestFrame &&
                found->second.longestFrame == entry.shortestFrame)
                continue;
        }
        rules.push_back(entry);
    }
    std::sort(rules.begin(), rules.end(), RanksBefore);
    return rules;
}

std::string ChecksumRuleText(const ChecksumRule& rule)
{
    char text[64];
    std::snprintf(text, sizeof text,
                  ChecksumTextOf(rule.endFrom == RuleEnd::FromLast ? ChecksumText::RuleFromLast : ChecksumText::RuleFromFirst),
                  ChecksumMethodName(rule.method), unsigned{rule.start}, unsigned{rule.end});
    return text;
}
