// The range search over a full frame: the key join and the carried registers against the literal
// loop that computes every range from its start, the six workers of "ALL" on their threads, the
// long frames of the command line and the consensus over many frames.

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

#include "checksum/checksum_analysis.h"
#include "checksum/checksum_consensus.h"
#include "checksum/checksum_join.h"
#include "checksum/checksum_search.h"
#include "common/hex_text.h"

namespace {

std::vector<std::uint8_t> RandomFrame(std::size_t size = MAX_HEX_BYTES)
{
    std::mt19937 random(512);
    std::vector<std::uint8_t> frame(size);
    for (std::uint8_t& b : frame)
        b = static_cast<std::uint8_t>(random());
    return frame;
}

// The search as first defined: every range's checksum computed afresh, about n^3/6 steps.
std::size_t LiteralSearch(ChecksumMethod method, std::span<const std::uint8_t> frame)
{
    const std::size_t n = frame.size();
    const std::size_t width = ChecksumWidth(method);
    std::size_t matches = 0;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j + width <= n; ++j) {
            if (width == 1 && j == i + 1)
                continue;
            const std::uint16_t v = ComputeChecksum(method, frame, i, j);
            if (width == 1 ? v == frame[j] : (v & 0xFF) == frame[j] && (v >> 8) == frame[j + 1])
                ++matches;
        }
    return matches;
}

// "ALL" as the command line runs it, one method after another: by the search the page uses
// (the join for all but CRC32), and by the walk alone.
void SearchAll(benchmark::State& state, decltype(&SearchChecksums) search)
{
    const std::vector<std::uint8_t> frame = RandomFrame();
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (ChecksumMethod method : CHECKSUM_METHODS)
            search(method, frame, [&](std::span<const ChecksumMatch> batch) { rows += batch.size(); }, {});
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(SearchAll, search, SearchChecksums)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchAll, walk, WalkChecksums)->Unit(benchmark::kMillisecond);

void SearchAllLiteral(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame = RandomFrame();
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (ChecksumMethod method : CHECKSUM_METHODS)
            rows += LiteralSearch(method, frame);
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(SearchAllLiteral)->Unit(benchmark::kMillisecond);

// One method at 512 bytes, random or all zeros, by the walk (0) or the join (1): the page searches
// with whichever is faster.
void SearchOneMethod(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame =
        state.range(2) ? RandomFrame() : std::vector<std::uint8_t>(MAX_HEX_BYTES, 0);
    const ChecksumMethod method = CHECKSUM_METHODS[static_cast<std::size_t>(state.range(0))];
    const auto search = state.range(1) ? JoinChecksums : WalkChecksums;
    if (state.range(1) && !CanJoin(method)) {
        state.SkipWithError("no join");
        return;
    }
    for (auto _ : state)
        search(method, frame, [](std::span<const ChecksumMatch> batch) { benchmark::DoNotOptimize(batch); }, {});
    state.SetLabel(std::string(ChecksumMethodName(method)) + (state.range(1) ? " join " : " walk ") +
                   (state.range(2) ? "random" : "zeros"));
}
BENCHMARK(SearchOneMethod)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}, {1, 0}})->Unit(benchmark::kMicrosecond);

// The command line's long frame: 65,535 random bytes, ranges of 8 bytes or more, each method as
// "ALL" searches it (the join for five, the walk for CRC32).
void SearchLongFrame(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame = RandomFrame(MAX_SEARCH_BYTES);
    const ChecksumMethod method = CHECKSUM_METHODS[static_cast<std::size_t>(state.range(0))];
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        SearchChecksums(method, frame, [&](std::span<const ChecksumMatch> batch) { rows += batch.size(); },
                        {.minLength = 8});
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetLabel(ChecksumMethodName(method));
}
BENCHMARK(SearchLongFrame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchLongFrame)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond);

// The consensus of all six methods over 10,000 random frames of 64 bytes.
void Consensus(benchmark::State& state)
{
    std::mt19937 random(64);
    std::vector<std::vector<std::uint8_t>> frames(10000, std::vector<std::uint8_t>(64));
    for (auto& frame : frames)
        for (std::uint8_t& b : frame)
            b = static_cast<std::uint8_t>(random());
    std::size_t rules = 0;
    for (auto _ : state) {
        CChecksumConsensus consensus(CHECKSUM_METHODS);
        for (const auto& frame : frames)
            consensus.AddFrame(frame);
        rules = consensus.Rules(1).size();
    }
    state.counters["rules at 1%"] = static_cast<double>(rules);
}
BENCHMARK(Consensus)->Unit(benchmark::kMillisecond);

// Wall time of "ALL" as the page runs it: six workers, rows queued under the lock.
void AnalysisAllThreads(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame =
        state.range(0) ? RandomFrame() : std::vector<std::uint8_t>(MAX_HEX_BYTES, 0);
    std::uint32_t rows = 0;
    for (auto _ : state) {
        CChecksumAnalysis analysis(frame, CHECKSUM_METHODS, {});
        analysis.Join();
        rows = analysis.RowCount();
    }
    state.counters["rows"] = rows;
    state.SetLabel(state.range(0) ? "random" : "zeros");
}
BENCHMARK(AnalysisAllThreads)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
