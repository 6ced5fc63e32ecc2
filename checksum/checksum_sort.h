#pragma once
// The order of the result list sorted by one of its columns: cells compare as the list shows
// them (numbers as numbers, texts as texts), and rows with equal cells keep their own order.
// A degenerate frame yields half a million rows, so the order is worked out on compact keys.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "checksum/checksum_columns.h"

class CChecksumRowOrder {
public:
    /// The order of `column`, rising or (descending) falling; the content needs the frame.
    CChecksumRowOrder(std::span<const std::uint8_t> frame, ChecksumColumn column, bool descending);

    ChecksumColumn Column() const { return m_column; }
    bool Descending() const { return m_descending; }

    /// Every column but the content orders by one number per row: this one, falling order
    /// already applied. `index` is the row's place in the list as appended (its number - 1).
    bool Keyed() const { return m_column != ChecksumColumn::Content; }
    std::uint32_t Key(const ChecksumMatch& match, std::uint32_t index) const;
    /// Whether row a stands before row b.
    bool Before(const ChecksumMatch& a, std::uint32_t ia, const ChecksumMatch& b, std::uint32_t ib) const;

private:
    // <0, 0, >0 as the content texts of a and b compare (their bytes, a prefix first).
    int CompareContent(const ChecksumMatch& a, const ChecksumMatch& b) const;

    std::vector<std::uint8_t> m_frame;
    ChecksumColumn m_column;
    bool m_descending;
    std::uint8_t m_methodRank[CHECKSUM_METHOD_COUNT]{};
    // Longest common prefix of the frame's suffixes i and j, for frames a page can hold: each
    // content comparison is then one look-up.
    std::vector<std::uint16_t> m_common;
    std::size_t m_commonSide = 0;
};

/// Brings `order` (indices into `rows`, of which the first order.size() are already in order) to
/// the order of all rows: the rows from order.size() on are sorted and merged in. `Rows` is any
/// container with operator[] (the list keeps a deque).
template <typename Rows>
void SortChecksumRows(const Rows& rows, std::size_t count, const CChecksumRowOrder& by, std::vector<std::uint32_t>& order)
{
    const std::size_t sorted = std::min(order.size(), count);
    order.resize(sorted);
    if (by.Keyed()) {
        // Key above, index below: a plain integer sort, ties in index order.
        const auto pack = [&](std::uint32_t index) {
            return std::uint64_t{by.Key(rows[index], index)} << 32 | index;
        };
        std::vector<std::uint64_t> fresh(count - sorted);
        for (std::size_t k = sorted; k < count; ++k)
            fresh[k - sorted] = pack(static_cast<std::uint32_t>(k));
        std::sort(fresh.begin(), fresh.end());
        std::vector<std::uint64_t> shown(sorted);
        std::transform(order.begin(), order.end(), shown.begin(), pack);
        std::vector<std::uint64_t> all(count);
        std::merge(shown.begin(), shown.end(), fresh.begin(), fresh.end(), all.begin());
        order.resize(count);
        for (std::size_t k = 0; k < count; ++k)
            order[k] = static_cast<std::uint32_t>(all[k]);
        return;
    }
    const auto before = [&](std::uint32_t a, std::uint32_t b) { return by.Before(rows[a], a, rows[b], b); };
    std::vector<std::uint32_t> fresh(count - sorted);
    for (std::size_t k = sorted; k < count; ++k)
        fresh[k - sorted] = static_cast<std::uint32_t>(k);
    std::sort(fresh.begin(), fresh.end(), before);
    std::vector<std::uint32_t> all(count);
    std::merge(order.begin(), order.end(), fresh.begin(), fresh.end(), all.begin(), before);
    order.swap(all);
}
