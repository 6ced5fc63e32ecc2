// The byte analysis core over a full frame: the decode pass with a long list of mixed variables,
// and the value finder over every offset, type, byte order and scale.

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

#include "bytes/value_finder.h"
#include "bytes/variable_decoder.h"
#include "common/hex_text.h"

namespace {

std::vector<std::uint8_t> RandomFrame()
{
    std::mt19937 random(130);
    std::vector<std::uint8_t> frame(MAX_HEX_BYTES);
    for (std::uint8_t& b : frame)
        b = static_cast<std::uint8_t>(random());
    return frame;
}

// 170 rows of every type in turn, 490 bytes of the 512: every row is decoded.
std::vector<VariableRow> MixedRows()
{
    const char* const cycle[][2] = {{"UCHAR", "1"}, {"CHAR", "1"}, {"UINT", "2"}, {"INT", "2"}, {"FLOAT", "4"},
                                    {"DWORD", "4"}, {"LONG", "4"}, {"ANSI", "4"}, {"BCD", "4"}};
    std::vector<VariableRow> rows;
    for (std::size_t i = 0; rows.size() < 170; ++i)
        rows.push_back(ReadVariableRow(cycle[i % std::size(cycle)][0], cycle[i % std::size(cycle)][1]));
    return rows;
}

void DecodePass(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame = RandomFrame();
    const std::vector<VariableRow> rows = MixedRows();
    for (auto _ : state) {
        DecodeOutcome outcome = DecodeVariables(frame, 0, MAX_HEX_BYTES, {}, rows);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(DecodePass)->Unit(benchmark::kMicrosecond);

void FindReading(benchmark::State& state)
{
    const std::vector<std::uint8_t> frame = RandomFrame();
    std::size_t hits = 0;
    for (auto _ : state) {
        FindValueResult found = FindValue(frame, 230.5, {0.05, false});
        hits = found.total;
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(FindReading)->Unit(benchmark::kMicrosecond);

// The worst case: every placement of a zero frame reads 0, so the list is cut from thousands.
void FindZeroInZeros(benchmark::State& state)
{
    const std::vector<std::uint8_t> zeros(MAX_HEX_BYTES, 0);
    std::size_t hits = 0;
    for (auto _ : state) {
        FindValueResult found = FindValue(zeros, 0, {});
        hits = found.total;
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(FindZeroInZeros)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
