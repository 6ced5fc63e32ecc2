#include "checksum/checksum_search.h"

#include <algorithm>
#include <array>

#include "checksum/checksum_join.h"
#include "common/hex_text.h"

namespace {

// For a fixed start the register over [i, j) is the register over [i, j - 1) advanced by one
// byte, so each start costs one pass to the end of the frame: O(n^2) per method. CHAINS starts
// walk side by side over the same bytes: their registers do not depend on each other, so the
// processor overlaps their steps instead of waiting for each table lookup in turn.
template <typename Register>
bool Walk(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
          const ChecksumSearchOptions& options)
{
    constexpr std::size_t WIDTH = Register::WIDTH;
    constexpr std::size_t CHAINS = 8;
    using Value = typename Register::Value;
    const std::size_t n = frame.size();
    const auto [any, shortest, lastStart, lastEnd] = MatchBoundsOf(WIDTH, n, options.minLength);
    if (!any)
        return true;
    const std::uint8_t* bytes = frame.data();
    std::vector<std::uint16_t> standing(lastEnd + 1);
    for (std::size_t j = 0; j <= lastEnd; ++j)
        standing[j] = ChecksumAt(bytes, WIDTH, j);

    std::array<std::vector<ChecksumMatch>, CHAINS> found;
    for (std::size_t first = 0; first <= lastStart; first += CHAINS) {
        if (options.cancel && options.cancel->load(std::memory_order_relaxed))
            return false;
        const std::size_t chains = std::min(CHAINS, lastStart - first + 1);
        // j is the index of the first checksum byte; the range is bytes i .. j - 1. Each chain
        // walks alone up to the first j of the last chain, then all go on together.
        const std::size_t together = first + chains - 1 + shortest;
        std::array<Value, CHAINS> reg{};
        const auto test = [&](std::size_t chain, std::size_t j) {
            const std::uint16_t value = Register::Result(reg[chain]);
            if (value == standing[j]) [[unlikely]]
                found[chain].push_back({method, static_cast<std::uint16_t>(first + chain + 1), static_cast<std::uint16_t>(j), value});
        };
        for (std::size_t chain = 0; chain < chains; ++chain) {
            const std::size_t i = first + chain;
            reg[chain] = RunRegister<Register>(frame, i, i + shortest - 1);
            for (std::size_t j = i + shortest; j < together && j <= lastEnd; ++j) {
                reg[chain] = Register::Step(reg[chain], bytes[j - 1]);
                test(chain, j);
            }
        }
        if (chains == CHAINS) {
            for (std::size_t j = together; j <= lastEnd; ++j)
                for (std::size_t chain = 0; chain < CHAINS; ++chain) {
                    reg[chain] = Register::Step(reg[chain], bytes[j - 1]);
                    test(chain, j);
                }
        } else {
            for (std::size_t j = together; j <= lastEnd; ++j)
                for (std::size_t chain = 0; chain < chains; ++chain) {
                    reg[chain] = Register::Step(reg[chain], bytes[j - 1]);
                    test(chain, j);
                }
        }
        for (std::size_t chain = 0; chain < chains; ++chain)
            if (!found[chain].empty()) {
                sink(found[chain]);
                found[chain].clear();
            }
    }
    return true;
}

} // namespace

bool WalkChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                   const ChecksumSearchOptions& options)
{
    frame = frame.first(std::min(frame.size(), MAX_SEARCH_BYTES));
    return WithRegister(method, [&]<typename Register>(Register) { return Walk<Register>(method, frame, sink, options); });
}

bool SearchChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                     const ChecksumSearchOptions& options)
{
    // The join is the faster of the two at every length, 512 bytes included (README, Performance).
    return CanJoin(method) ? JoinChecksums(method, frame, sink, options) : WalkChecksums(method, frame, sink, options);
}

std::vector<ChecksumMatch> FindChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame,
                                         const ChecksumSearchOptions& options)
{
    std::vector<ChecksumMatch> matches;
    SearchChecksums(
        method, frame,
        [&](std::span<const ChecksumMatch> batch) { matches.insert(matches.end(), batch.begin(), batch.end()); },
        options);
    return matches;
}

std::string FormatMatchContent(const ChecksumMatch& match, std::span<const std::uint8_t> frame)
{
    if (match.start < 1 || match.end < match.start || match.end > frame.size())
        return {};
    return FormatHexBytes(frame.subspan(match.start - 1u, MatchLength(match)));
}
