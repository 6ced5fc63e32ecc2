#include "checksum/checksum_sort.h"

#include <string_view>

#include "common/hex_text.h"

namespace {

// The content's bytes, or none for a match outside the frame (its cell is empty).
std::span<const std::uint8_t> ContentOf(const ChecksumMatch& match, std::span<const std::uint8_t> frame)
{
    if (match.start < 1 || match.end < match.start || match.end > frame.size())
        return {};
    return frame.subspan(match.start - 1u, MatchLength(match));
}

} // namespace

CChecksumRowOrder::CChecksumRowOrder(std::span<const std::uint8_t> frame, ChecksumColumn column, bool descending)
    : m_frame(frame.begin(), frame.end())
    , m_column(column)
    , m_descending(descending)
{
    // Method names as texts: BCC, CRC16, CRC16S, CRC32, LRC, SUM.
    for (ChecksumMethod method : CHECKSUM_METHODS)
        for (ChecksumMethod other : CHECKSUM_METHODS)
            if (std::string_view(ChecksumMethodName(other)) < std::string_view(ChecksumMethodName(method)))
                ++m_methodRank[static_cast<std::size_t>(method)];

    const std::size_t n = m_frame.size();
    if (column != ChecksumColumn::Content || n == 0 || n > MAX_HEX_BYTES)
        return;
    // Rank every range once (a 512-byte frame has 131,328), comparing two through the common
    // prefix of their suffixes; each row's content is then its range's rank.
    const std::size_t side = n + 1;
    std::vector<std::uint16_t> common(side * side, 0);
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = n; j-- > 0;)
            if (m_frame[i] == m_frame[j])
                common[i * side + j] = static_cast<std::uint16_t>(common[(i + 1) * side + j + 1] + 1);
    struct Range {
        std::uint16_t start;  // 0-based
        std::uint16_t length;
    };
    const auto less = [&](const Range& a, const Range& b) {
        const std::size_t shorter = std::min(a.length, b.length);
        const std::size_t same = std::min<std::size_t>(common[a.start * side + b.start], shorter);
        if (same < shorter)
            return m_frame[a.start + same] < m_frame[b.start + same];
        return a.length < b.length;
    };
    std::vector<Range> ranges;
    ranges.reserve(n * side / 2);
    for (std::size_t start = 0; start < n; ++start)
        for (std::size_t length = 1; start + length <= n; ++length)
            ranges.push_back({static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(length)});
    std::sort(ranges.begin(), ranges.end(), less);
    m_contentRank.assign(n * side, 0);
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        if (k == 0 || less(ranges[k - 1], ranges[k]))
            ++rank;
        m_contentRank[ranges[k].start * side + ranges[k].length] = rank;
    }
    m_contentRanks = rank + 1;
}

std::uint32_t CChecksumRowOrder::KeyLimit(std::size_t rows) const
{
    switch (m_column) {
    case ChecksumColumn::Number: return static_cast<std::uint32_t>(std::max<std::size_t>(rows, 1));
    case ChecksumColumn::Method: return CHECKSUM_METHOD_COUNT;
    case ChecksumColumn::Start:
    case ChecksumColumn::End:
    case ChecksumColumn::Length: return 1u << 16;
    case ChecksumColumn::Checksum: return 1u << 17;
    case ChecksumColumn::Content: return m_contentRanks;
    }
    return 0;
}

std::uint32_t CChecksumRowOrder::Key(const ChecksumMatch& match, std::uint32_t index) const
{
    switch (m_column) {
    case ChecksumColumn::Number: return index;
    case ChecksumColumn::Method: return m_methodRank[static_cast<std::size_t>(match.method)];
    case ChecksumColumn::Start: return match.start;
    case ChecksumColumn::End: return match.end;
    case ChecksumColumn::Length: return static_cast<std::uint32_t>(std::min<std::size_t>(MatchLength(match), 0xFFFF));
    case ChecksumColumn::Checksum:
        // "%02X" or "%02X %02X", low byte first: the low byte, then the one-byte text before the
        // two-byte text of the same start, then the high byte.
        return ChecksumWidth(match.method) == 1
                   ? std::uint32_t{match.value & 0xFFu} << 9
                   : (std::uint32_t{match.value & 0xFFu} << 9) | 0x100u | (match.value >> 8);
    case ChecksumColumn::Content:
        if (m_contentRank.empty() || ContentOf(match, m_frame).empty())
            return 0;
        return m_contentRank[(match.start - 1u) * (m_frame.size() + 1) + MatchLength(match)];
    }
    return 0;
}

int CChecksumRowOrder::CompareContent(const ChecksumMatch& a, const ChecksumMatch& b) const
{
    const std::span<const std::uint8_t> x = ContentOf(a, m_frame);
    const std::span<const std::uint8_t> y = ContentOf(b, m_frame);
    const std::size_t shorter = std::min(x.size(), y.size());
    const auto differ = std::mismatch(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(shorter), y.begin());
    if (differ.first != x.begin() + static_cast<std::ptrdiff_t>(shorter))
        return *differ.first < *differ.second ? -1 : 1;
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

bool CChecksumRowOrder::Before(const ChecksumMatch& a, std::uint32_t ia, const ChecksumMatch& b, std::uint32_t ib) const
{
    int order = 0;
    if (m_column == ChecksumColumn::Content && m_contentRank.empty()) {
        order = CompareContent(a, b);
    } else {
        const std::uint32_t ka = Key(a, ia), kb = Key(b, ib);
        order = ka < kb ? -1 : ka > kb ? 1 : 0;
    }
    if (order != 0)
        return m_descending ? order > 0 : order < 0;
    return ia < ib;
}
