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

    /// Rows order by one whole number each, below this limit, for a list of `rows` rows; 0 for
    /// the content of a frame longer than a page holds, whose rows compare by Before alone.
    std::uint32_t KeyLimit(std::size_t rows) const;
    /// The row's number in the rising order. `index` is its place as appended (its number - 1).
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
    // For a frame a page can hold: the rank of every range's bytes among all ranges' (equal
    // bytes, equal rank; 0 for no bytes), at start * (n + 1) + length.
    std::vector<std::uint32_t> m_contentRank;
    std::uint32_t m_contentRanks = 0;
};

/// Brings `order` (indices into `rows`, of which the first order.size() are already in order) to
/// the order of the first `count` rows. `Rows` is any container with operator[] (the list keeps a
/// deque). Rows with equal cells keep the order they were appended in.
template <typename Rows>
void SortChecksumRows(const Rows& rows, std::size_t count, const CChecksumRowOrder& by, std::vector<std::uint32_t>& order)
{
    if (const std::uint32_t limit = by.KeyLimit(count)) {
        // A counting sort, linear in the rows: count each key, then place each row after the
        // rows of lower keys and after the rows of its key appended before it.
        std::vector<std::uint32_t> keys(count);
        std::vector<std::uint32_t> next(std::size_t{limit} + 1, 0);
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint32_t key = by.Key(rows[k], static_cast<std::uint32_t>(k));
            keys[k] = by.Descending() ? limit - 1 - key : key;
            ++next[keys[k] + 1];
        }
        for (std::size_t key = 1; key < next.size(); ++key)
            next[key] += next[key - 1];
        order.resize(count);
        for (std::size_t k = 0; k < count; ++k)
            order[next[keys[k]]++] = static_cast<std::uint32_t>(k);
        return;
    }
    const std::size_t sorted = std::min(order.size(), count);
    order.resize(sorted);
    const auto before = [&](std::uint32_t a, std::uint32_t b) { return by.Before(rows[a], a, rows[b], b); };
    std::vector<std::uint32_t> fresh(count - sorted);
    for (std::size_t k = sorted; k < count; ++k)
        fresh[k - sorted] = static_cast<std::uint32_t>(k);
    std::sort(fresh.begin(), fresh.end(), before);
    std::vector<std::uint32_t> all(count);
    std::merge(order.begin(), order.end(), fresh.begin(), fresh.end(), all.begin(), before);
    order.swap(all);
}
