// The order of a sorted result list, on the rows of the worst frame: 512 zero bytes, every method
// (521,220 rows), by each column; and merging a batch of rows that arrive while the list is sorted.

#include <benchmark/benchmark.h>

#include <deque>

#include "checksum/checksum_sort.h"

namespace {

const std::vector<std::uint8_t>& Zeros()
{
    static const std::vector<std::uint8_t> zeros(512, 0);
    return zeros;
}

const std::deque<ChecksumMatch>& Rows()
{
    static const std::deque<ChecksumMatch> rows = [] {
        std::deque<ChecksumMatch> all;
        for (ChecksumMethod method : CHECKSUM_METHODS)
            for (const ChecksumMatch& match : FindChecksums(method, Zeros()))
                all.push_back(match);
        return all;
    }();
    return rows;
}

void BM_Sort(benchmark::State& state)
{
    const auto column = static_cast<ChecksumColumn>(state.range(0));
    const bool descending = state.range(1) != 0;
    const std::deque<ChecksumMatch>& rows = Rows();
    for (auto _ : state) {
        const CChecksumRowOrder by(Zeros(), column, descending);
        std::vector<std::uint32_t> order;
        SortChecksumRows(rows, rows.size(), by, order);
        benchmark::DoNotOptimize(order.data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_Sort)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0, 1}})->Unit(benchmark::kMillisecond);

// The page adds at most 16,384 rows a turn: the last such batch merged into the rest.
void BM_MergeBatch(benchmark::State& state)
{
    const auto column = static_cast<ChecksumColumn>(state.range(0));
    const std::deque<ChecksumMatch>& rows = Rows();
    const std::size_t before = rows.size() - 16384;
    const CChecksumRowOrder by(Zeros(), column, false);
    std::vector<std::uint32_t> sorted;
    SortChecksumRows(rows, before, by, sorted);
    for (auto _ : state) {
        std::vector<std::uint32_t> order = sorted;
        SortChecksumRows(rows, rows.size(), by, order);
        benchmark::DoNotOptimize(order.data());
    }
}
BENCHMARK(BM_MergeBatch)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
