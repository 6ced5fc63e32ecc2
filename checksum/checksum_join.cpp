#include "checksum/checksum_join.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

// S_k below is the register over the first k bytes of the frame.
//
// Difference registers (BCC, SUM, LRC, from INIT = 0): the register over [i, j) is
// Remove(S_j, S_i), so the range matches the checksum c_j after it exactly when
// S_i == Remove(S_j, RegisterOf(c_j)).
//
// Linear registers (CRC16, CRC16S): Step(r, b) = F(r) ^ Step(0, b) with F = Step(., 0) linear
// and invertible. With S started from 0 the register over [i, j) from INIT is
// S_j ^ F^(j-i)(S_i ^ INIT); applying F^-j to the match condition separates the two ends:
// F^-i(S_i ^ INIT) == F^-j(S_j ^ RegisterOf(c_j)).

// F and its inverse as GF(2) matrices, derived from the register's own Step.
template <typename Register>
struct Gf2Shift {
    using Value = typename Register::Value;
    static constexpr int BITS = 8 * sizeof(Value);
    using Columns = std::array<Value, BITS>;  // column t is the image of bit t

    static constexpr Columns ShiftColumns()
    {
        Columns columns{};
        for (int t = 0; t < BITS; ++t)
            columns[t] = Register::Step(static_cast<Value>(Value{1} << t), 0);
        return columns;
    }

    // Gauss-Jordan elimination on (image, preimage) pairs until every image is a unit vector.
    static constexpr Columns InverseColumns()
    {
        Columns image = ShiftColumns();
        Columns preimage{};
        for (int t = 0; t < BITS; ++t)
            preimage[t] = static_cast<Value>(Value{1} << t);
        for (int s = 0; s < BITS; ++s) {
            const Value bit = static_cast<Value>(Value{1} << s);
            int pivot = s;
            while (pivot < BITS && !(image[pivot] & bit))
                ++pivot;
            if (pivot == BITS)
                throw "the register's shift is not invertible";  // fails the constant evaluation
            std::swap(image[s], image[pivot]);
            std::swap(preimage[s], preimage[pivot]);
            for (int k = 0; k < BITS; ++k)
                if (k != s && (image[k] & bit)) {
                    image[k] = static_cast<Value>(image[k] ^ image[s]);
                    preimage[k] = static_cast<Value>(preimage[k] ^ preimage[s]);
                }
        }
        return preimage;
    }

    // F^-1 a byte of the argument at a time.
    static constexpr std::array<std::array<Value, 256>, sizeof(Value)> InverseTables()
    {
        const Columns inverse = InverseColumns();
        std::array<std::array<Value, 256>, sizeof(Value)> tables{};
        for (std::size_t byte = 0; byte < sizeof(Value); ++byte)
            for (int v = 0; v < 256; ++v)
                for (int t = 0; t < 8; ++t)
                    if (v & (1 << t))
                        tables[byte][v] = static_cast<Value>(tables[byte][v] ^ inverse[8 * byte + t]);
        return tables;
    }

    static constexpr auto INVERSE = InverseTables();

    // What the keys rely on, checked on a few values: Step(r, b) ^ Step(r', b') == Step(r ^ r', b ^ b').
    static constexpr bool LINEAR = [] {
        for (std::uint32_t k = 1; k < 64; ++k) {
            const auto r = static_cast<Value>(k * 0x9E3779B9u), q = static_cast<Value>(k * 0x85EBCA6Bu);
            const auto b = static_cast<std::uint8_t>(k * 37), c = static_cast<std::uint8_t>(k * 101);
            if ((Register::Step(r, b) ^ Register::Step(q, c)) != Register::Step(static_cast<Value>(r ^ q), static_cast<std::uint8_t>(b ^ c)))
                return false;
        }
        return true;
    }();

    static Value Unshift(Value v)
    {
        Value r = 0;
        for (std::size_t byte = 0; byte < sizeof(Value); ++byte)
            r = static_cast<Value>(r ^ INVERSE[byte][(v >> (8 * byte)) & 0xFF]);
        return r;
    }

    static Value Apply(const Columns& m, Value v)
    {
        Value r = 0;
        for (int t = 0; t < BITS; ++t)
            r = static_cast<Value>(r ^ (m[t] & static_cast<Value>(-static_cast<Value>((v >> t) & 1))));
        return r;
    }
};

// startKeys[i] for i <= last start, endKeys[j] for j <= n - WIDTH.
template <typename Register, std::size_t WIDTH>
void ComputeKeys(std::span<const std::uint8_t> frame, std::vector<typename Register::Value>& startKeys,
                 std::vector<typename Register::Value>& endKeys)
{
    using Value = typename Register::Value;
    const std::size_t n = frame.size();
    const std::uint8_t* bytes = frame.data();
    startKeys.resize(n - WIDTH + 1);
    endKeys.resize(n - WIDTH + 1);
    if constexpr (Register::ALGEBRA == RegisterAlgebra::Difference) {
        Value s = Register::INIT;
        for (std::size_t k = 0; k + WIDTH <= n; ++k) {
            startKeys[k] = s;
            endKeys[k] = Register::Remove(s, Register::RegisterOf(ChecksumAt(bytes, WIDTH, k)));
            s = Register::Step(s, bytes[k]);
        }
    } else {
        using Shift = Gf2Shift<Register>;
        static_assert(Shift::LINEAR, "a register marked Linear must step linearly");
        typename Shift::Columns power{};  // F^-k
        for (int t = 0; t < Shift::BITS; ++t)
            power[t] = static_cast<Value>(Value{1} << t);
        Value s = 0;
        Value init = Register::INIT;  // F^-k(INIT)
        for (std::size_t k = 0; k + WIDTH <= n; ++k) {
            const Value base = Shift::Apply(power, s);
            startKeys[k] = static_cast<Value>(base ^ init);
            endKeys[k] = static_cast<Value>(
                base ^ Shift::Apply(power, Register::RegisterOf(ChecksumAt(bytes, WIDTH, k))));
            s = Register::Step(s, bytes[k]);
            for (Value& column : power)
                column = Shift::Unshift(column);
            init = Shift::Unshift(init);
        }
    }
}

// Positions first..last sorted by key, equal keys by position: a stable radix sort, one pass per
// key byte, so the cost stays linear whatever the keys.
template <typename Value>
void SortByKey(const std::vector<Value>& keys, std::size_t first, std::size_t last, std::vector<std::uint32_t>& out,
               std::vector<std::uint32_t>& scratch)
{
    out.clear();
    for (std::size_t k = first; k <= last; ++k)
        out.push_back(static_cast<std::uint32_t>(k));
    scratch.resize(out.size());
    for (std::size_t byte = 0; byte < sizeof(Value); ++byte) {
        std::array<std::uint32_t, 257> start{};
        for (std::uint32_t p : out)
            ++start[((keys[p] >> (8 * byte)) & 0xFF) + 1];
        for (std::size_t v = 0; v < 256; ++v)
            start[v + 1] += start[v];
        for (std::uint32_t p : out)
            scratch[start[(keys[p] >> (8 * byte)) & 0xFF]++] = p;
        out.swap(scratch);
    }
}

template <typename Register, std::size_t WIDTH>
bool Join(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
          const ChecksumSearchOptions& options)
{
    using Value = typename Register::Value;
    const auto [any, shortest, lastStart, lastEnd] = MatchBoundsOf(WIDTH, frame.size(), options.minLength);
    if (!any)
        return true;
    const std::uint8_t* bytes = frame.data();

    std::vector<Value> startKeys, endKeys;
    ComputeKeys<Register, WIDTH>(frame, startKeys, endKeys);

    // The ends grouped by key, each group in increasing position.
    std::vector<std::uint32_t> ends, starts, scratch;
    SortByKey(endKeys, shortest, lastEnd, ends, scratch);
    SortByKey(startKeys, 0, lastStart, starts, scratch);

    // Merge the sorted starts into the groups: the group of each start, or none.
    constexpr std::uint32_t NONE = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> groupOf(lastStart + 1, NONE);
    std::vector<std::uint32_t> groupBegin, groupEnd;
    std::size_t e = 0;
    for (std::uint32_t i : starts) {
        const Value key = startKeys[i];
        while (e < ends.size() && endKeys[ends[e]] < key)
            ++e;
        if (e == ends.size() || endKeys[ends[e]] != key)
            continue;
        if (groupBegin.empty() || endKeys[ends[groupBegin.back()]] != key) {
            std::size_t stop = e;
            while (stop < ends.size() && endKeys[ends[stop]] == key)
                ++stop;
            groupBegin.push_back(static_cast<std::uint32_t>(e));
            groupEnd.push_back(static_cast<std::uint32_t>(stop));
        }
        groupOf[i] = static_cast<std::uint32_t>(groupBegin.size() - 1);
    }

    // Starts in increasing order; the ends of a group below a start's shortest range never match
    // a later start either, so each group's cursor only moves forward.
    std::vector<std::uint32_t>& cursor = groupBegin;
    std::vector<ChecksumMatch> batch;
    for (std::size_t i = 0; i <= lastStart; ++i) {
        if (options.cancel && options.cancel->load(std::memory_order_relaxed))
            return false;
        const std::uint32_t g = groupOf[i];
        if (g == NONE)
            continue;
        std::uint32_t c = cursor[g];
        while (c < groupEnd[g] && ends[c] < i + shortest)
            ++c;
        cursor[g] = c;
        if (c == groupEnd[g])
            continue;
        batch.clear();
        for (; c < groupEnd[g]; ++c) {
            const std::uint32_t j = ends[c];
            batch.push_back({method, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(j),
                             ChecksumAt(bytes, WIDTH, j)});
        }
        sink(batch);
    }
    return true;
}

} // namespace

bool CanJoin(ChecksumMethod method)
{
    return WithRegister(method, []<typename Register>(Register) { return Register::ALGEBRA != RegisterAlgebra::None; });
}

bool JoinChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                   const ChecksumSearchOptions& options)
{
    frame = frame.first(std::min(frame.size(), MAX_SEARCH_BYTES));
    return WithRegister(method, [&]<typename Register>(Register) {
        if constexpr (Register::ALGEBRA == RegisterAlgebra::None)
            return true;
        else
            return Join<Register, Register::WIDTH>(method, frame, sink, options);
    });
}
