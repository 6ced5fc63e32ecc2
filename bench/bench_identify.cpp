// The identification over a log: the whole model set, from the first frames' candidates to the
// test of every frame, on short and on long frames, with a checksum, with a CRC outside the
// catalogue that the solver finds, and with none (with the solver asked and without it).

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

#include "checksum/checksum_consensus.h"
#include "identify/checksum_identify.h"

namespace {

// `count` frames of `shortest` to `longest` bytes; with `crc`, the last bytes are the CRC of the
// others, low byte first.
std::vector<IdentifyFrame> Log(std::size_t count, std::size_t shortest, std::size_t longest,
                               const CrcParameters* crc)
{
    std::mt19937 random(16);
    std::vector<IdentifyFrame> log;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t length = shortest + random() % (longest - shortest + 1);
        const std::size_t value = crc ? crc->width / 8 : 0;
        std::vector<std::uint8_t> frame(length - value);
        for (auto& b : frame)
            b = static_cast<std::uint8_t>(random());
        if (crc) {
            const std::uint32_t v = ComputeCrcBitwise(*crc, frame);
            for (std::size_t b = 0; b < value; ++b)
                frame.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
        }
        log.push_back({k + 1, std::move(frame)});
    }
    return log;
}

const CrcParameters MODBUS{16, 0x8005, 0xFFFF, true, true, 0};
const CrcParameters CRC32{32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF};
// Outside the catalogue.
const CrcParameters P8BB7{16, 0x8BB7, 0, true, true, 0};
const CrcParameters P1021{16, 0x1021, 0x1234, false, false, 0};
const CrcParameters P741B{32, 0x741B8CD7, 0x01234567, true, true, 0xFFFFFFFF};

void Identify(benchmark::State& state, std::size_t count, std::size_t shortest, std::size_t longest,
              const CrcParameters* crc, bool solver = true)
{
    const std::vector<IdentifyFrame> log = Log(count, shortest, longest, crc);
    IdentifyOptions options;
    if (!solver)
        options.unknownCrc = nullptr;
    std::size_t rules = 0;
    bool solved = false;
    for (auto _ : state) {
        const IdentifyReport report = IdentifyChecksums(log, options);
        rules = report.rules.size();
        solved = !report.rules.empty() && report.rules[0].rule.model == SOLVED_CRC_MODEL &&
                 report.rules[0].rule.solved == *crc;
        benchmark::DoNotOptimize(rules);
    }
    state.counters["rules"] = static_cast<double>(rules);
    if (crc)
        state.counters["solved first"] = solved;
}

void Consensus(benchmark::State& state, std::size_t count, std::size_t shortest, std::size_t longest)
{
    const std::vector<IdentifyFrame> log = Log(count, shortest, longest, &MODBUS);
    for (auto _ : state) {
        CChecksumConsensus consensus(CHECKSUM_METHODS);
        for (const IdentifyFrame& frame : log)
            consensus.AddFrame(frame.bytes);
        benchmark::DoNotOptimize(consensus.Rules().size());
    }
}

} // namespace

BENCHMARK_CAPTURE(Identify, frames_10000x64_modbus, 10000, 64, 64, &MODBUS)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_10000x64_random, 10000, 64, 64, nullptr)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_10000x64_random_no_solver, 10000, 64, 64, nullptr, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_crc32, 300, 200, 510, &CRC32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_modbus, 300, 200, 510, &MODBUS)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_random, 300, 200, 510, nullptr)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_random_no_solver, 300, 200, 510, nullptr, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_unknown_8bb7, 300, 200, 510, &P8BB7)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_unknown_1021_init_1234, 300, 200, 510, &P1021)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Identify, frames_300x200to510_unknown_32bit, 300, 200, 510, &P741B)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Consensus, six_methods_300x200to510, 300, 200, 510)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
