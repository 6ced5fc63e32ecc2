// The range search over a full frame: the carried registers against the literal loop that
// computes every range from its start, and the six workers of "ALL" on their threads.

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

#include "checksum/checksum_analysis.h"
#include "checksum/checksum_search.h"
#include "common/hex_text.h"

namespace {

std::vector<std::uint8_t> RandomFrame()
{
    std::mt19937 random(512);
    std::vector<std::uint8_t> frame(MAX_HEX_BYTES);
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

void SearchAll(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame = RandomFrame();
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (ChecksumMethod method : CHECKSUM_METHODS)
            SearchChecksums(method, frame, [&](std::span<const ChecksumMatch> batch) { rows += batch.size(); });
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(SearchAll)->Unit(benchmark::kMillisecond);

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

void SearchOneMethod(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame = RandomFrame();
    const ChecksumMethod method = CHECKSUM_METHODS[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state)
        SearchChecksums(method, frame, [](std::span<const ChecksumMatch> batch) { benchmark::DoNotOptimize(batch); });
    state.SetLabel(ChecksumMethodName(method));
}
BENCHMARK(SearchOneMethod)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

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
