// The solver for unknown CRCs: polynomials outside the catalogue found from 300 frames, long
// frames, one pair to factor, and the rejection of frames that carry no CRC, which is what the
// identification asks of it for most placements.

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "identify/crc_solver.h"
#include "identify/gf2_polynomial.h"

namespace {

// Not the Mersenne twister: its output bits obey a linear recurrence over GF(2), which long
// messages turn into polynomial structure no device's data has.
std::uint64_t Next(std::uint64_t& state)
{
    std::uint64_t z = state += 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

struct Frames {
    std::vector<std::vector<std::uint8_t>> messages;
    std::vector<CrcSample> samples;
};

// `count` messages of low..high bytes with the model's check, or a random one when no model.
Frames MakeFrames(const CrcParameters* model, unsigned width, std::size_t count, std::size_t low, std::size_t high)
{
    std::uint64_t state = count * 1000 + low;
    Frames frames;
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<std::uint8_t> message(low + Next(state) % (high - low + 1));
        for (std::uint8_t& b : message)
            b = static_cast<std::uint8_t>(Next(state));
        frames.messages.push_back(std::move(message));
    }
    for (const auto& message : frames.messages) {
        const std::uint32_t check = model ? CCrcByteTable(*model).Compute(message)
                                          : static_cast<std::uint32_t>(Next(state)) & CrcMask(width);
        frames.samples.push_back({message, check});
    }
    return frames;
}

void Solve(benchmark::State& state, CrcParameters model, std::size_t count, std::size_t low, std::size_t high)
{
    const Frames frames = MakeFrames(&model, model.width, count, low, high);
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<CrcSolution> solutions = SolveCrc(model.width, frames.samples);
        found = solutions.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["solutions"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(Solve, 0x8BB7 reflected / 300 frames of 200-510 bytes,
                  CrcParameters{16, 0x8BB7, 0, true, true, 0}, 300, 200, 510)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, 0x1021 init 0x1234 / 300 frames of 200-510 bytes,
                  CrcParameters{16, 0x1021, 0x1234, false, false, 0}, 300, 200, 510)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, 32-bit 0x741B8CD7 / 300 frames of 200-510 bytes,
                  CrcParameters{32, 0x741B8CD7, 0xDEADBEEF, true, true, 0x5A5A5A5A}, 300, 200, 510)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, CRC-32/ISO-HDLC / 3 frames of 65535 bytes,
                  CrcParameters{32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF}, 3, 65535, 65535)
    ->Unit(benchmark::kMillisecond);
// Two frames of one length and one other: the GCD is a single difference of 8,200 bits, factored.
BENCHMARK_CAPTURE(Solve, CRC-16/KERMIT / one pair of 1024 bytes factored,
                  CrcParameters{16, 0x1021, 0, true, true, 0}, 2, 1024, 1024)
    ->Unit(benchmark::kMillisecond);

// 300 frames of 200-510 bytes whose last bytes are no CRC: both reflections rejected.
void Reject(benchmark::State& state)
{
    const unsigned width = static_cast<unsigned>(state.range(0));
    const Frames frames = MakeFrames(nullptr, width, 300, 200, 510);
    for (auto _ : state) {
        const std::vector<CrcSolution> solutions = SolveCrc(width, frames.samples);
        if (!solutions.empty())
            state.SkipWithError("a CRC explained random checks");
        benchmark::DoNotOptimize(solutions);
    }
    state.SetLabel("width " + std::to_string(width));
}
BENCHMARK(Reject)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// The GCD of two random 524,000-bit polynomials (two frames of 65,535 bytes), by windows of 128
// bits with carry-less products, and by single steps.
void Gcd(benchmark::State& state)
{
    std::uint64_t seed = 7;
    Gf2Poly a(8192), b(8192);
    for (std::uint64_t& w : a)
        w = Next(seed);
    for (std::uint64_t& w : b)
        w = Next(seed);
    const auto gcd = state.range(0) ? Gf2Gcd : Gf2GcdBySteps;
    for (auto _ : state)
        benchmark::DoNotOptimize(gcd(a, b));
    state.SetLabel(state.range(0) ? "windows" : "steps");
}
BENCHMARK(Gcd)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Gcd)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
