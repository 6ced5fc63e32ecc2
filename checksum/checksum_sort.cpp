#include "checksum/checksum_sort.h"

#include <string_view>

namespace {

// Frames up to this many bytes get the table of common prefixes (2 MiB at most).
constexpr std::size_t MAX_TABLE_BYTES = 1024;

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
    if (column == ChecksumColumn::Content && n > 0 && n <= MAX_TABLE_BYTES) {
        m_commonSide = n + 1;
        m_common.assign(m_commonSide * m_commonSide, 0);
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = n; j-- > 0;)
                if (m_frame[i] == m_frame[j])
                    m_common[i * m_commonSide + j] = static_cast<std::uint16_t>(m_common[(i + 1) * m_commonSide + j + 1] + 1);
    }
}

std::uint32_t CChecksumRowOrder::Key(const ChecksumMatch& match, std::uint32_t index) const
{
    std::uint32_t key = 0;
    switch (m_column) {
    case ChecksumColumn::Number: key = index; break;
    case ChecksumColumn::Method: key = m_methodRank[static_cast<std::size_t>(match.method)]; break;
    case ChecksumColumn::Start: key = match.start; break;
    case ChecksumColumn::End: key = match.end; break;
    case ChecksumColumn::Length: key = static_cast<std::uint32_t>(MatchLength(match)); break;
    case ChecksumColumn::Checksum:
        // "%02X" or "%02X %02X", low byte first: the low byte, then the one-byte text before the
        // two-byte text of the same start, then the high byte.
        key = ChecksumWidth(match.method) == 1 ? std::uint32_t{match.value & 0xFFu} << 9
                                               : (std::uint32_t{match.value & 0xFFu} << 9) | 0x100u | (match.value >> 8);
        break;
    case ChecksumColumn::Content: break;
    }
    return m_descending ? ~key : key;
}

int CChecksumRowOrder::CompareContent(const ChecksumMatch& a, const ChecksumMatch& b) const
{
    const std::span<const std::uint8_t> x = ContentOf(a, m_frame);
    const std::span<const std::uint8_t> y = ContentOf(b, m_frame);
    const std::size_t shorter = std::min(x.size(), y.size());
    if (shorter > 0) {
        std::size_t common = 0;
        if (!m_common.empty()) {
            const std::size_t i = a.start - 1u, j = b.start - 1u;
            common = std::min<std::size_t>(m_common[i * m_commonSide + j], shorter);
        } else {
            common = static_cast<std::size_t>(std::mismatch(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(shorter), y.begin()).first - x.begin());
        }
        if (common < shorter)
            return x[common] < y[common] ? -1 : 1;
    }
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

bool CChecksumRowOrder::Before(const ChecksumMatch& a, std::uint32_t ia, const ChecksumMatch& b, std::uint32_t ib) const
{
    if (Keyed()) {
        const std::uint32_t ka = Key(a, ia), kb = Key(b, ib);
        return ka != kb ? ka < kb : ia < ib;
    }
    const int order = CompareContent(a, b);
    if (order != 0)
        return m_descending ? order > 0 : order < 0;
    return ia < ib;
}
