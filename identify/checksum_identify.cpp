#include "identify/checksum_identify.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_set>

#include "checksum/checksum_search.h"
#include "common/hex_text.h"
#include "identify/crc_engine.h"

namespace {

constexpr std::size_t SAMPLE_FRAMES = 8;   // distinct frames a round looks at
constexpr std::size_t PAIRS = 2;           // of them, the first four form two pairs
constexpr std::size_t MAX_ROUNDS = 3;
constexpr double GOOD_SHARE = 0.9;         // a round that finds such a rule ends the search
constexpr std::size_t MAX_PAIR_HITS = 4096;     // per model and pair: more means degenerate frames
constexpr std::size_t MAX_JOIN_STEPS = 1 << 18;
constexpr std::size_t MIN_CLASS_FRAMES = 4;  // fewer frames tell a rule from chance too weakly
constexpr std::size_t MAX_CLASSES = 8;       // the largest; the rest stay unclassified
constexpr std::size_t BLOCK_TRIES = 3;     // top rules tried as the first block of a block rule
constexpr std::size_t MAX_BLOCK = 255;
constexpr std::int64_t NO_CHECK = -1;
constexpr double CHANCE_BITS = -3;         // at most 1/8 of a rule expected by chance
// A solved CRC holds in at least three frames of four.
constexpr std::uint64_t SOLVED_SHARE_NUMERATOR = 3, SOLVED_SHARE_DENOMINATOR = 4;
// In frames longer than this the sums' quadratic pair search looks for values only near the
// frame's ends (a value counted from the first byte within the first EDGE_FIRST positions, from
// the last within the last EDGE_LAST), and the page's CRC32 walk is left out.
constexpr std::size_t LONG_FRAME = 2048;
constexpr std::size_t EDGE_FIRST = 512;
constexpr std::size_t EDGE_LAST = 64;

using Frames = std::span<const IdentifyFrame* const>;

enum class ViewKind : std::uint8_t { Binary, HexPairs, Text };

// What the models read in a frame and where values stand. Binary: the bytes, values as bytes.
// HexPairs: the bytes the hex pairs from `shift` on encode, values as hex text. Text: the
// characters, values as hex text `shift` (0 or 1: a separator) characters after the range.
struct ViewLayout {
    ViewKind kind;
    unsigned shift;
};

struct ViewFrame {
    const IdentifyFrame* frame = nullptr;
    std::vector<std::uint8_t> v;
    std::vector<std::uint32_t> bad;             // HexPairs: prefix count of pairs that are no hex
    std::vector<std::uint64_t> sum, weighted;   // prefix sums of v[t] and of t * v[t]
    std::vector<std::uint32_t> sum255, sum65521;  // the sums modulo 255 and 65521
    std::vector<std::uint8_t> x, xEven, xOdd;   // prefix XORs: all, at even and at odd positions
    std::array<std::vector<std::int64_t>, 8> checks;  // by (bytes - 1) * 2 + order
    std::size_t Length() const { return v.size(); }
};

ViewFrame BuildView(const IdentifyFrame& frame, ViewLayout layout)
{
    ViewFrame view;
    view.frame = &frame;
    const std::vector<std::uint8_t>& b = frame.bytes;
    if (layout.kind == ViewKind::HexPairs) {
        const std::size_t m = b.size() > layout.shift ? (b.size() - layout.shift) / 2 : 0;
        view.v.assign(m, 0);
        view.bad.assign(m + 1, 0);
        for (std::size_t d = 0; d < m; ++d) {
            const std::size_t at = layout.shift + 2 * d;
            const bool ok = ParseHexByte(static_cast<char>(b[at]), static_cast<char>(b[at + 1]), view.v[d]);
            if (!ok)
                view.v[d] = 0;
            view.bad[d + 1] = view.bad[d] + (ok ? 0 : 1);
        }
    } else {
        view.v = b;
    }
    const std::size_t m = view.v.size();
    view.sum.assign(m + 1, 0);
    view.weighted.assign(m + 1, 0);
    view.x.assign(m + 1, 0);
    view.xEven.assign(m + 1, 0);
    view.xOdd.assign(m + 1, 0);
    view.sum255.assign(m + 1, 0);
    view.sum65521.assign(m + 1, 0);
    for (std::size_t t = 0; t < m; ++t) {
        view.sum255[t + 1] = (view.sum255[t] + view.v[t]) % 255;
        view.sum65521[t + 1] = (view.sum65521[t] + view.v[t]) % 65521;
        const std::uint8_t byte = view.v[t];
        view.sum[t + 1] = view.sum[t] + byte;
        view.weighted[t + 1] = view.weighted[t] + t * std::uint64_t{byte};
        view.x[t + 1] = static_cast<std::uint8_t>(view.x[t] ^ byte);
        view.xEven[t + 1] = static_cast<std::uint8_t>(view.xEven[t] ^ (t % 2 == 0 ? byte : 0));
        view.xOdd[t + 1] = static_cast<std::uint8_t>(view.xOdd[t] ^ (t % 2 == 1 ? byte : 0));
    }
    return view;
}

// The values standing at every position j of the view (value | separator << 32), as written
// with `bytes` bytes in that order.
const std::vector<std::int64_t>& Checks(ViewFrame& view, ViewLayout layout, std::size_t bytes, CheckOrder order)
{
    std::vector<std::int64_t>& checks = view.checks[(bytes - 1) * 2 + static_cast<std::size_t>(order)];
    if (!checks.empty())
        return checks;
    const std::size_t m = view.Length();
    const std::vector<std::uint8_t>& raw = view.frame->bytes;
    checks.assign(m + 1, NO_CHECK);
    for (std::size_t j = 0; j <= m; ++j) {
        std::uint32_t value = 0;
        std::uint64_t separator = 0;
        bool ok = true;
        for (std::size_t k = 0; k < bytes && ok; ++k) {
            std::uint8_t byte = 0;
            if (layout.kind == ViewKind::Text) {
                const std::size_t at = j + layout.shift + 2 * k;
                ok = at + 1 < raw.size() && ParseHexByte(static_cast<char>(raw[at]), static_cast<char>(raw[at + 1]), byte);
            } else {
                ok = j + k < m && (view.bad.empty() || view.bad[j + k + 1] == view.bad[j + k]);
                if (ok)
                    byte = view.v[j + k];
            }
            const std::size_t shift = order == CheckOrder::LowFirst ? k : bytes - 1 - k;
            value |= std::uint32_t{byte} << (8 * shift);
        }
        if (ok && layout.kind == ViewKind::Text && layout.shift == 1) {
            ok = j < raw.size() && HexDigitValue(static_cast<char>(raw[j])) < 0;
            if (ok)
                separator = raw[j];
        }
        if (ok)
            checks[j] = static_cast<std::int64_t>(value | separator << 32);
    }
    return checks;
}

// The rule a view's range [i, j) with its value at j stands for, in a frame of `length` bytes.
IdentifyRule RuleAt(ViewLayout layout, std::size_t i, std::size_t j, RuleEnd from, const ViewFrame& view)
{
    IdentifyRule rule;
    const std::size_t length = view.frame->bytes.size();
    std::size_t first = i, last = j - 1;  // 0-based characters or bytes, inclusive
    if (layout.kind == ViewKind::HexPairs) {
        first = layout.shift + 2 * i;
        last = layout.shift + 2 * j - 1;
        rule.encoding = CheckEncoding::HexText;
        rule.input = RuleInput::HexPairs;
    } else if (layout.kind == ViewKind::Text) {
        rule.encoding = CheckEncoding::HexText;
        rule.gap = static_cast<std::uint8_t>(layout.shift);
        if (layout.shift)
            rule.separator = view.frame->bytes[j];
    }
    rule.start = static_cast<std::uint16_t>(first + 1);
    rule.endFrom = from;
    rule.end = static_cast<std::uint16_t>(from == RuleEnd::FromFirst ? last + 1 : length - last);
    return rule;
}

// The offset from a view position in frame a to the one in frame b that ends as far from the
// last byte; none when no such position exists.
std::optional<std::ptrdiff_t> LastOffset(ViewLayout layout, const ViewFrame& a, const ViewFrame& b)
{
    const auto diff = static_cast<std::ptrdiff_t>(b.frame->bytes.size()) - static_cast<std::ptrdiff_t>(a.frame->bytes.size());
    if (layout.kind != ViewKind::HexPairs)
        return diff;
    if (diff % 2 != 0)
        return std::nullopt;
    return diff / 2;
}

// ---- Models whose value over a range follows from prefix sums in O(1) ----

enum class RangeKind : std::uint8_t { Sum8, Xor8, Sum16, Xor16, Fletcher8, Fletcher16, Adler32 };

std::optional<RangeKind> RangeKindOf(const ChecksumModel& model)
{
    static const std::pair<std::string_view, RangeKind> KINDS[] = {
        {"SUM8", RangeKind::Sum8},           {"XOR8", RangeKind::Xor8},
        {"SUM16", RangeKind::Sum16},         {"XOR16", RangeKind::Xor16},
        {"FLETCHER-8", RangeKind::Fletcher8}, {"FLETCHER-16", RangeKind::Fletcher16},
        {"ADLER-32", RangeKind::Adler32},
    };
    for (const auto& [name, kind] : KINDS)
        if (name == model.name)
            return kind;
    return std::nullopt;
}

template <RangeKind K>
inline std::uint32_t RangeValue(const ViewFrame& f, std::size_t i, std::size_t j)
{
    if constexpr (K == RangeKind::Sum8)
        return static_cast<std::uint32_t>(f.sum[j] - f.sum[i]) & 0xFF;
    else if constexpr (K == RangeKind::Sum16)
        return static_cast<std::uint32_t>(f.sum[j] - f.sum[i]) & 0xFFFF;
    else if constexpr (K == RangeKind::Xor8)
        return f.x[j] ^ f.x[i];
    else if constexpr (K == RangeKind::Xor16) {
        const std::uint32_t even = f.xEven[j] ^ f.xEven[i], odd = f.xOdd[j] ^ f.xOdd[i];
        return i % 2 == 0 ? even << 8 | odd : odd << 8 | even;
    } else {
        // sum of b_t and sum of (j - t) * b_t over the range
        const std::uint64_t s = f.sum[j] - f.sum[i];
        const std::uint64_t w = j * s - (f.weighted[j] - f.weighted[i]);
        if constexpr (K == RangeKind::Fletcher8)
            return static_cast<std::uint32_t>(s & 0xFF) | static_cast<std::uint32_t>(w & 0xFF) << 8;
        else if constexpr (K == RangeKind::Fletcher16)
            return static_cast<std::uint32_t>(s % 255) | static_cast<std::uint32_t>(w % 255) << 8;
        else
            return static_cast<std::uint32_t>((1 + s) % 65521) |
                   static_cast<std::uint32_t>(((j - i) + w) % 65521) << 16;
    }
}

template <typename F>
decltype(auto) WithRangeKind(RangeKind kind, F&& f)
{
    switch (kind) {
    case RangeKind::Sum8: return f.template operator()<RangeKind::Sum8>();
    case RangeKind::Xor8: return f.template operator()<RangeKind::Xor8>();
    case RangeKind::Sum16: return f.template operator()<RangeKind::Sum16>();
    case RangeKind::Xor16: return f.template operator()<RangeKind::Xor16>();
    case RangeKind::Fletcher8: return f.template operator()<RangeKind::Fletcher8>();
    case RangeKind::Fletcher16: return f.template operator()<RangeKind::Fletcher16>();
    case RangeKind::Adler32: break;
    }
    return f.template operator()<RangeKind::Adler32>();
}

// A rule that holds in both frames of a pair, in view positions of the first.
struct PairHit {
    std::uint32_t i, j;
    CheckOrder order;
    ConstantForm form;
    std::uint32_t constant;
};

bool SameRange(const ViewFrame& a, const ViewFrame& b, std::size_t i, std::size_t j)
{
    return std::equal(a.v.begin() + static_cast<std::ptrdiff_t>(i), a.v.begin() + static_cast<std::ptrdiff_t>(j),
                      b.v.begin() + static_cast<std::ptrdiff_t>(i));
}

// Every range [i, ja) of a that holds in a and, ending as far from its first (d = 0) or last
// byte, in b, for every order and constant form; false when there were too many.
template <RangeKind K>
bool RangePairHits(const ViewFrame& a, const ViewFrame& b, std::ptrdiff_t d, std::size_t minLength, unsigned width,
                   bool learns, std::span<const CheckOrder> orders,
                   const std::array<const std::vector<std::int64_t>*, 2>& ca,
                   const std::array<const std::vector<std::int64_t>*, 2>& cb, std::vector<PairHit>& hits)
{
    const std::uint32_t mask = CrcMask(width);
    const auto ma = static_cast<std::ptrdiff_t>(a.Length()), mb = static_cast<std::ptrdiff_t>(b.Length());
    const bool hex = !a.bad.empty();
    for (std::ptrdiff_t i = 0; i + static_cast<std::ptrdiff_t>(minLength) <= ma; ++i) {
        const std::ptrdiff_t low = std::max(i + static_cast<std::ptrdiff_t>(minLength), i + static_cast<std::ptrdiff_t>(minLength) - d);
        const std::ptrdiff_t high = std::min(ma, mb - d);
        const bool edges = static_cast<std::size_t>(ma) > LONG_FRAME;
        for (std::ptrdiff_t ja = low; ja <= high; ++ja) {
            if (edges && ja > static_cast<std::ptrdiff_t>(EDGE_FIRST) && ja < ma - static_cast<std::ptrdiff_t>(EDGE_LAST)) {
                ja = ma - static_cast<std::ptrdiff_t>(EDGE_LAST) - 1;
                continue;
            }
            const std::ptrdiff_t jb = ja + d;
            if (hex && (a.bad[ja] != a.bad[i] || b.bad[jb] != b.bad[i]))
                continue;
            if constexpr (K == RangeKind::Fletcher16 || K == RangeKind::Adler32) {
                // Fixed models: the first sum must already match in both frames, without a division.
                const std::uint64_t modulus = K == RangeKind::Fletcher16 ? 255 : 65521;
                const std::uint64_t add = K == RangeKind::Adler32 ? 1 : 0;
                const auto low = [&](const ViewFrame& f, std::ptrdiff_t j) {
                    const std::vector<std::uint32_t>& mod = K == RangeKind::Fletcher16 ? f.sum255 : f.sum65521;
                    const std::uint64_t s = add + mod[j] + modulus - mod[i];
                    return s >= 2 * modulus ? s - 2 * modulus : s >= modulus ? s - modulus : s;
                };
                const std::uint64_t lowA = low(a, ja), lowB = low(b, jb);
                bool any = false;
                for (std::size_t o = 0; o < orders.size() && !any; ++o) {
                    const std::int64_t checkA = (*ca[o])[ja], checkB = (*cb[o])[jb];
                    any = checkA >= 0 && checkB >= 0 && (static_cast<std::uint64_t>(checkA) & (K == RangeKind::Adler32 ? 0xFFFF : 0xFF)) == lowA &&
                          (static_cast<std::uint64_t>(checkB) & (K == RangeKind::Adler32 ? 0xFFFF : 0xFF)) == lowB;
                }
                if (!any)
                    continue;
            }
            const std::uint32_t va = RangeValue<K>(a, i, ja), vb = RangeValue<K>(b, i, jb);
            for (std::size_t o = 0; o < orders.size(); ++o) {
                const std::int64_t checkA = (*ca[o])[ja], checkB = (*cb[o])[jb];
                if (checkA < 0 || checkB < 0 || (checkA >> 32) != (checkB >> 32))
                    continue;
                const auto xa = static_cast<std::uint32_t>(checkA), xb = static_cast<std::uint32_t>(checkB);
                const std::size_t before = hits.size();
                const auto hit = [&](ConstantForm form, std::uint32_t k) {
                    hits.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(ja), orders[o], form, k});
                };
                if (!learns) {
                    if (va == xa && vb == xb)
                        hit(ConstantForm::None, 0);
                } else {
                    if (((xa - va) & mask) == ((xb - vb) & mask))
                        hit(ConstantForm::Plus, (xa - va) & mask);
                    if ((xa ^ va) == (xb ^ vb))
                        hit(ConstantForm::Xor, xa ^ va);
                    if (((xa + va) & mask) == ((xb + vb) & mask))
                        hit(ConstantForm::Minus, (xa + va) & mask);
                }
                // A range and value the same in both frames tell nothing.
                if (hits.size() != before && d == 0 && xa == xb && SameRange(a, b, i, ja))
                    hits.resize(before);
                if (hits.size() > MAX_PAIR_HITS)
                    return false;
            }
        }
    }
    return true;
}

// ---- CRCs: prefix keys ----
//
// With S_k the register over the first k bytes from 0 and F = Step(., 0), the register over
// [i, j) from the initial register is S_j ^ F^(j-i)(S_i ^ init). It equals the register C_j of
// the value standing at j exactly when F^-i(S_i ^ init) == F^-j(S_j ^ C_j): a key of the start
// and a key of the end. F^-k is kept as its columns, the same for every model of one polynomial
// and reflection; Z_k = F^-k(S_k) too.

struct CrcPowers {
    unsigned width = 0;
    std::vector<std::uint32_t> columns;  // F^-k's column t at k * width + t
    std::uint32_t Apply(std::size_t k, std::uint32_t value) const
    {
        const std::uint32_t* column = columns.data() + k * width;
        std::uint32_t r = 0;
        while (value) {
            r ^= column[__builtin_ctz(value)];
            value &= value - 1;
        }
        return r;
    }
};

CrcPowers BuildPowers(const CCrcEngine& engine, std::size_t longest)
{
    CrcPowers powers;
    powers.width = engine.Parameters().width;
    const unsigned w = powers.width;
    powers.columns.resize((longest + 1) * w);
    for (unsigned t = 0; t < w; ++t)
        powers.columns[t] = std::uint32_t{1} << t;
    for (std::size_t k = 1; k <= longest; ++k)
        for (unsigned t = 0; t < w; ++t)
            powers.columns[k * w + t] = engine.Unshift(powers.columns[(k - 1) * w + t]);
    return powers;
}

struct CrcKeys {
    std::vector<std::uint32_t> start;            // by i
    std::array<std::vector<std::int64_t>, 2> end;  // by order, by j: key, or NO_CHECK
    std::array<const std::vector<std::int64_t>*, 2> checks{};  // by order: the values standing at j
};

std::vector<std::uint32_t> NormalisedPrefix(const CCrcEngine& engine, const CrcPowers& powers, const ViewFrame& view)
{
    std::vector<std::uint32_t> z(view.Length() + 1);
    std::uint32_t s = 0;
    for (std::size_t k = 0; k <= view.Length(); ++k) {
        z[k] = powers.Apply(k, s);
        if (k < view.Length())
            s = engine.Step(s, view.v[k]);
    }
    return z;
}

CrcKeys BuildKeys(const CCrcEngine& engine, const CrcPowers& powers, const std::vector<std::uint32_t>& z,
                  ViewFrame& view, ViewLayout layout, std::span<const CheckOrder> orders)
{
    CrcKeys keys;
    const std::size_t m = view.Length();
    keys.start.resize(m + 1);
    std::uint32_t init = engine.InitRegister();
    for (std::size_t k = 0; k <= m; ++k) {
        keys.start[k] = z[k] ^ init;
        init = engine.Unshift(init);
    }
    const std::size_t bytes = engine.Parameters().width / 8;
    for (std::size_t o = 0; o < orders.size(); ++o) {
        const std::vector<std::int64_t>& checks = Checks(view, layout, bytes, orders[o]);
        keys.checks[o] = &checks;
        keys.end[o].assign(m + 1, NO_CHECK);
        for (std::size_t j = 0; j <= m; ++j)
            if (checks[j] >= 0)
                keys.end[o][j] = z[j] ^ powers.Apply(j, engine.RegisterOf(static_cast<std::uint32_t>(checks[j])));
    }
    return keys;
}

// The starts of one frame grouped by key: a hash table with chains, each chain by falling i.
class CStartIndex {
public:
    CStartIndex(const std::vector<std::uint32_t>& keys, std::size_t count)
        : m_keys(keys)
    {
        unsigned bits = 4;
        while ((std::size_t{1} << bits) < 2 * count)
            ++bits;
        m_shift = 32 - bits;
        m_head.assign(std::size_t{1} << bits, -1);
        m_next.assign(count, -1);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t h = Slot(keys[i]);
            m_next[i] = m_head[h];
            m_head[h] = static_cast<std::int32_t>(i);
        }
    }
    std::int32_t First(std::uint32_t key) const { return m_head[Slot(key)]; }
    std::int32_t Next(std::int32_t i) const { return m_next[static_cast<std::size_t>(i)]; }
    std::uint32_t Key(std::int32_t i) const { return m_keys[static_cast<std::size_t>(i)]; }

private:
    std::size_t Slot(std::uint32_t key) const { return (key * 0x9E3779B1u) >> m_shift; }
    const std::vector<std::uint32_t>& m_keys;
    unsigned m_shift;
    std::vector<std::int32_t> m_head, m_next;
};

bool CrcPairHits(const ViewFrame& a, const ViewFrame& b, const CrcKeys& ka, const CStartIndex& starts,
                 const CrcKeys& kb, std::ptrdiff_t d, std::size_t minLength, std::span<const CheckOrder> orders,
                 std::vector<PairHit>& hits)
{
    const std::size_t ma = a.Length(), mb = b.Length();
    std::size_t steps = 0;
    for (std::size_t o = 0; o < orders.size(); ++o) {
        for (std::size_t ja = minLength; ja <= ma; ++ja) {
            const std::int64_t key = ka.end[o][ja];
            if (key < 0)
                continue;
            for (std::int32_t at = starts.First(static_cast<std::uint32_t>(key)); at >= 0; at = starts.Next(at)) {
                if (++steps > MAX_JOIN_STEPS)
                    return false;
                const auto i = static_cast<std::size_t>(at);
                if (starts.Key(at) != static_cast<std::uint32_t>(key) || i + minLength > ja)
                    continue;
                const std::ptrdiff_t jb = static_cast<std::ptrdiff_t>(ja) + d;
                if (jb < static_cast<std::ptrdiff_t>(i + minLength) || jb > static_cast<std::ptrdiff_t>(mb))
                    continue;
                if (kb.end[o][jb] < 0 || kb.start[i] != static_cast<std::uint32_t>(kb.end[o][jb]))
                    continue;
                if (!a.bad.empty() && (a.bad[ja] != a.bad[i] || b.bad[jb] != b.bad[i]))
                    continue;
                const std::int64_t checkA = (*ka.checks[o])[ja], checkB = (*kb.checks[o])[jb];
                if ((checkA >> 32) != (checkB >> 32))
                    continue;  // another separator
                if (d == 0 && checkA == checkB && SameRange(a, b, i, ja))
                    continue;  // a range and value the same in both frames tell nothing
                hits.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(ja), orders[o], ConstantForm::None, 0});
                if (hits.size() > MAX_PAIR_HITS)
                    return false;
            }
        }
    }
    return true;
}

// ---- Rules: canonical form, ordering, verification ----

// One form per function: the plain value, the complement as k - value, a top-bit offset as XOR.
void Canonicalise(IdentifyRule& rule)
{
    const unsigned width = RuleWidth(rule);
    const std::uint32_t mask = CrcMask(width), top = std::uint32_t{1} << (width - 1);
    if ((rule.form == ConstantForm::Plus || rule.form == ConstantForm::Xor) && rule.constant == 0) {
        rule.form = ConstantForm::None;
    } else if (rule.form == ConstantForm::Xor && rule.constant == mask) {
        rule.form = ConstantForm::Minus;
    } else if (rule.form == ConstantForm::Plus && rule.constant == top) {
        rule.form = ConstantForm::Xor;
    }
    if (width == 8)
        rule.order = CheckOrder::LowFirst;
}

auto RuleTuple(const IdentifyRule& r)
{
    return std::tuple(r.model, r.solved.width, r.solved.poly, r.solved.init, r.solved.refin, r.solved.refout,
                      r.solved.xorout, r.solvedInitKnown, r.form, r.constant, r.order, r.encoding, r.input, r.gap, r.separator, r.start,
                      r.endFrom, r.end, r.block);
}

struct RuleLess {
    bool operator()(const IdentifyRule& a, const IdentifyRule& b) const { return RuleTuple(a) < RuleTuple(b); }
};

// The first place's value and the covered bytes, when the rule holds in the frame.
struct Evaluation {
    bool holds = false;
    std::uint32_t value = 0;
    std::size_t covered = 0;
    RulePlace first{};
};

Evaluation Evaluate(const IdentifyRule& rule, std::span<const std::uint8_t> frame)
{
    Evaluation result;
    const std::vector<RulePlace> places = RulePlaces(rule, frame.size());
    if (places.empty())
        return result;
    for (std::size_t k = 0; k < places.size(); ++k) {
        const auto check = ReadRuleCheck(rule, frame, places[k]);
        if (!check || ComputeRuleCheck(rule, frame, places[k]) != check)
            return result;
        if (k == 0) {
            result.value = *check;
            result.first = places[0];
        }
        result.covered += places[k].rangeLast - places[k].rangeFirst + 1;
    }
    result.holds = true;
    return result;
}

struct Verified {
    IdentifiedRule result;
    std::size_t shortest = 0, longest = 0;  // lengths of the frames it holds in
    // The differences of the value between those frames, as a GF(2) basis. A CRC's span its
    // width; the values of frames of flag bytes (00 and 01) span a few bits, and a frame tells
    // only those.
    std::array<std::uint32_t, 32> differences{};
    unsigned Bits() const
    {
        const auto rank = static_cast<std::uint64_t>(
            std::count_if(differences.begin(), differences.end(), [](std::uint32_t v) { return v != 0; }));
        // Independent differences as many as the frames allow tell no bound.
        return rank + 1 >= result.held ? RuleWidth(result.rule) : static_cast<unsigned>(rank);
    }
    void AddDifference(std::uint32_t d)
    {
        while (d != 0) {
            const int top = 31 - std::countl_zero(d);
            if (differences[top] == 0) {
                differences[top] = d;
                return;
            }
            d ^= differences[top];
        }
    }
};

// Whether each byte of a binary value is the same in every frame or a copy of one covered byte
// (at the same place from the range's start, or as far before the value): a value such a rule
// "explains" is already in the frame, as L L in 68 L L 68 is.
class CCopyTracker {
public:
    void Add(std::span<const std::uint8_t> frame, const RulePlace& place)
    {
        const std::size_t bytes = place.checkLast - place.checkFirst + 1;
        if (m_bytes.empty()) {
            m_bytes.resize(bytes);
            for (std::size_t t = 0; t < bytes; ++t) {
                Byte& byte = m_bytes[t];
                const std::size_t at = place.checkFirst + t;
                byte.value = frame[at];
                for (std::size_t p = place.rangeFirst; p <= place.rangeLast; ++p)
                    if (frame[p] == frame[at]) {
                        byte.fromStart.push_back(p - place.rangeFirst);
                        byte.before.push_back(at - p);
                    }
            }
            return;
        }
        for (std::size_t t = 0; t < m_bytes.size() && t < bytes; ++t) {
            Byte& byte = m_bytes[t];
            const std::size_t at = place.checkFirst + t;
            byte.constant = byte.constant && frame[at] == byte.value;
            std::erase_if(byte.fromStart, [&](std::size_t d) {
                return place.rangeFirst + d > place.rangeLast || frame[place.rangeFirst + d] != frame[at];
            });
            std::erase_if(byte.before, [&](std::size_t d) {
                return at < d || at - d < place.rangeFirst || frame[at - d] != frame[at];
            });
        }
    }
    std::size_t ConstantBytes() const
    {
        return static_cast<std::size_t>(std::count_if(m_bytes.begin(), m_bytes.end(), [](const Byte& b) { return b.constant; }));
    }
    bool Explained() const
    {
        return !m_bytes.empty() && std::all_of(m_bytes.begin(), m_bytes.end(), [](const Byte& b) {
            return b.constant || !b.fromStart.empty() || !b.before.empty();
        });
    }

private:
    struct Byte {
        std::uint8_t value = 0;
        bool constant = true;
        std::vector<std::size_t> fromStart, before;
    };
    std::vector<Byte> m_bytes;
};

// Tests the rule in every frame; gives up (returns none) once more than `maxFailing` fail.
std::optional<Verified> Verify(const IdentifyRule& rule, Frames frames, std::uint64_t maxFailing,
                               const std::atomic<bool>* cancel)
{
    Verified verified;
    IdentifiedRule& r = verified.result;
    r.rule = rule;
    r.frames = frames.size();
    std::optional<std::uint32_t> firstValue;
    bool varies = false;
    CCopyTracker copies;
    const bool binary = rule.encoding == CheckEncoding::Binary;
    std::uint64_t covered = 0;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        if (cancel && (k & 255) == 0 && cancel->load(std::memory_order_relaxed))
            return std::nullopt;
        const Evaluation e = Evaluate(rule, frames[k]->bytes);
        if (!e.holds) {
            r.failing.push_back(frames[k]->line);
            if (r.failing.size() > maxFailing)
                return std::nullopt;
            continue;
        }
        ++r.held;
        covered += e.covered;
        const std::size_t length = frames[k]->bytes.size();
        verified.shortest = r.held == 1 ? length : std::min(verified.shortest, length);
        verified.longest = std::max(verified.longest, length);
        if (!firstValue)
            firstValue = e.value;
        verified.AddDifference(e.value ^ *firstValue);
        if (*firstValue != e.value)
            varies = true;
        if (binary)
            copies.Add(frames[k]->bytes, e.first);
    }
    r.structural = !varies || (binary && copies.Explained());
    if (binary && r.held >= 3)
        r.constantBytes = static_cast<unsigned>(copies.ConstantBytes());
    r.meanRange = r.held ? static_cast<double>(covered) / static_cast<double>(r.held) : 0;
    return verified;
}

// ln Γ(x). std::lgamma writes the sign to the global signgam: two identifications at once (two
// dialogs' workers) would race on it.
double LogGamma(double x)
{
    int sign = 0;
    return ::lgamma_r(x, &sign);
}

// log2 of the number of rules expected to hold by chance in `held` of `frames` frames as often
// as this one: the rules of its value's width tried over every range, each holding in a random
// frame with probability 2^-width, a learned constant costing one frame; a solved CRC's
// polynomial, init and xorout cost one each (init and xorout one together where the frames'
// lengths cannot tell them apart), and one more for the placements and parts it was sought in.
// `bits`: the bits a held frame tells, where fewer than the width.
double ChanceBits(const IdentifiedRule& rule, double meanLength, std::optional<unsigned> bits = std::nullopt)
{
    static const std::array<double, 5> variants = [] {
        std::array<double, 5> count{};
        for (const ChecksumModel& model : ChecksumModels())
            count[model.width / 8] += (model.learnsConstant ? 3 : 1) * (model.width > 8 ? 2 : 1);
        return count;
    }();
    const unsigned width = RuleWidth(rule.rule);
    const double tried = std::max(1.0, meanLength * meanLength * 2 * std::max(1.0, variants[width / 8]));
    const double n = static_cast<double>(rule.frames), h = static_cast<double>(rule.held);
    const double choose = (LogGamma(n + 1) - LogGamma(h + 1) - LogGamma(n - h + 1)) / std::log(2.0);
    // The negation and the complement are forms of their own, not a constant learned.
    const std::uint32_t mask = CrcMask(width);
    const bool standard = rule.rule.form == ConstantForm::None ||
                          (rule.rule.form == ConstantForm::Minus && (rule.rule.constant == 0 || rule.rule.constant == mask));
    const double learned = rule.rule.model == SOLVED_CRC_MODEL ? (rule.rule.solvedInitKnown ? 4 : 3) : standard ? 0 : 1;
    return std::log2(tried) + choose - bits.value_or(width) * (h - learned);
}

std::uint64_t Needed(double sharePercent, std::size_t frames)
{
    const double needed = std::ceil(sharePercent * static_cast<double>(frames) / 100.0 - 1e-9);
    return std::max<std::uint64_t>(1, static_cast<std::uint64_t>(std::max(0.0, needed)));
}

// Progress over nested stages: each stage maps its own 0..1 into a part of the whole.
class CProgress {
public:
    CProgress(const IdentifyOptions& options)
        : m_report(options.progress)
    {
    }
    void Set(double fraction)
    {
        const auto percent = static_cast<unsigned>(std::clamp(m_low + (m_high - m_low) * fraction, 0.0, 1.0) * 100);
        if (m_report && percent > m_last) {
            m_last = percent;
            m_report(percent);
        }
    }
    // Narrows the range to [low, high] of the current one until the returned guard ends.
    struct Scope {
        CProgress& progress;
        double low, high;
        ~Scope()
        {
            progress.m_low = low;
            progress.m_high = high;
        }
    };
    Scope Narrow(double low, double high)
    {
        Scope previous{*this, m_low, m_high};
        const double width = m_high - m_low;
        m_high = m_low + width * high;
        m_low = m_low + width * low;
        return previous;
    }

private:
    std::function<void(unsigned)> m_report;
    unsigned m_last = 0;
    double m_low = 0, m_high = 1;
};

class CAnalysis {
public:
    CAnalysis(Frames frames, const IdentifyOptions& options, CProgress& progress)
        : m_frames(frames)
        , m_options(options)
        , m_progress(progress)
    {
    }

    // Ranked rules held in at least the needed share; false when cancelled.
    bool Run(std::vector<IdentifiedRule>& ranked);
    std::uint64_t Distinct() const { return m_distinct.size(); }

private:
    bool Cancelled() const { return m_options.cancel && m_options.cancel->load(std::memory_order_relaxed); }
    void SampleCandidates(std::span<const IdentifyFrame* const> sample, std::set<IdentifyRule, RuleLess>& out);
    void ViewCandidates(std::span<const IdentifyFrame* const> sample, ViewLayout layout,
                        std::set<IdentifyRule, RuleLess>& out);
    void AddHits(ViewLayout layout, const ViewFrame& a, std::uint16_t model, std::span<const PairHit> hits, bool bothEnds,
                 RuleEnd from, std::set<IdentifyRule, RuleLess>& out);
    bool VerifyAll(const std::set<IdentifyRule, RuleLess>& candidates, std::vector<Verified>& verified);
    void TryBlocks(std::vector<Verified>& verified);

    Frames m_frames;
    const IdentifyOptions& m_options;
    CProgress& m_progress;
    std::vector<const IdentifyFrame*> m_distinct;
    std::set<IdentifyRule, RuleLess> m_tried;
};

void CAnalysis::AddHits(ViewLayout layout, const ViewFrame& a, std::uint16_t model, std::span<const PairHit> hits,
                        bool bothEnds, RuleEnd from, std::set<IdentifyRule, RuleLess>& out)
{
    for (const PairHit& hit : hits) {
        for (RuleEnd end : {from, RuleEnd::FromLast}) {
            IdentifyRule rule = RuleAt(layout, hit.i, hit.j, end, a);
            rule.model = model;
            rule.order = hit.order;
            rule.form = hit.form;
            rule.constant = hit.constant;
            Canonicalise(rule);
            if (!RuleTrailer(rule) && end == RuleEnd::FromLast)
                continue;
            out.insert(rule);
            if (!bothEnds)
                break;
        }
    }
}

void CAnalysis::ViewCandidates(std::span<const IdentifyFrame* const> sample, ViewLayout layout,
                               std::set<IdentifyRule, RuleLess>& out)
{
    const std::size_t pairFrames = std::min(sample.size() / 2, PAIRS) * 2;
    std::vector<ViewFrame> views;
    for (std::size_t k = 0; k < pairFrames; ++k)
        views.push_back(BuildView(*sample[k], layout));
    const std::span<const ChecksumModel> models = ChecksumModels();
    static constexpr CheckOrder BOTH[] = {CheckOrder::LowFirst, CheckOrder::HighFirst};

    std::vector<PairHit> hits;
    // Every pair in both ways of counting the end; a pair of one length counts both at once.
    const auto forPairs = [&](auto&& pairHits, std::uint16_t model) {
        for (std::size_t p = 0; p + 1 < views.size(); p += 2) {
            ViewFrame& a = views[p];
            ViewFrame& b = views[p + 1];
            const bool sameLength = a.frame->bytes.size() == b.frame->bytes.size();
            hits.clear();
            if (pairHits(a, b, std::ptrdiff_t{0}))
                AddHits(layout, a, model, hits, sameLength, RuleEnd::FromFirst, out);
            if (sameLength)
                continue;
            const auto d = LastOffset(layout, a, b);
            hits.clear();
            if (d && pairHits(a, b, *d))
                AddHits(layout, a, model, hits, false, RuleEnd::FromLast, out);
        }
    };

    // Models by prefix sums.
    for (std::size_t m = 0; m < models.size() && !Cancelled(); ++m) {
        const auto kind = RangeKindOf(models[m]);
        if (!kind)
            continue;
        const std::size_t bytes = ModelBytes(models[m]);
        const std::span<const CheckOrder> orders(BOTH, bytes > 1 ? 2 : 1);
        const std::size_t minLength = bytes == 1 ? 2 : 1;
        forPairs(
            [&](ViewFrame& a, ViewFrame& b, std::ptrdiff_t d) {
                std::array<const std::vector<std::int64_t>*, 2> ca{}, cb{};
                for (std::size_t o = 0; o < orders.size(); ++o) {
                    ca[o] = &Checks(a, layout, bytes, orders[o]);
                    cb[o] = &Checks(b, layout, bytes, orders[o]);
                }
                return WithRangeKind(*kind, [&]<RangeKind K>() {
                    return RangePairHits<K>(a, b, d, minLength, models[m].width, models[m].learnsConstant, orders, ca,
                                            cb, hits);
                });
            },
            static_cast<std::uint16_t>(m));
    }

    // CRCs by prefix keys, grouped by polynomial and reflection.
    std::map<std::tuple<unsigned, std::uint32_t, bool>, std::vector<std::size_t>> groups;
    for (std::size_t m = 0; m < models.size(); ++m)
        if (models[m].family == ModelFamily::Crc)
            groups[{models[m].width, models[m].crc.poly, models[m].crc.refin}].push_back(m);
    std::size_t longest = 0;
    for (const ViewFrame& view : views)
        longest = std::max(longest, view.Length());
    for (const auto& [group, members] : groups) {
        if (Cancelled())
            return;
        const CCrcEngine& shared = CatalogueEngine(members.front());
        const CrcPowers powers = BuildPowers(shared, longest);
        std::vector<std::vector<std::uint32_t>> z;
        for (const ViewFrame& view : views)
            z.push_back(NormalisedPrefix(shared, powers, view));
        for (std::size_t m : members) {
            const CCrcEngine& engine = CatalogueEngine(m);
            const std::size_t bytes = ModelBytes(models[m]);
            const std::span<const CheckOrder> orders(BOTH, bytes > 1 ? 2 : 1);
            const std::size_t minLength = bytes == 1 ? 2 : 1;
            std::vector<CrcKeys> keys;
            keys.reserve(views.size());  // the indexes keep references to the start keys
            std::vector<CStartIndex> starts;
            for (std::size_t k = 0; k < views.size(); ++k) {
                keys.push_back(BuildKeys(engine, powers, z[k], views[k], layout, orders));
                // Only the first frame of a pair is searched by key.
                const std::size_t count = k % 2 == 0 && views[k].Length() >= minLength ? views[k].Length() - minLength + 1 : 0;
                starts.emplace_back(keys.back().start, count);
            }
            forPairs(
                [&](ViewFrame& a, ViewFrame& b, std::ptrdiff_t d) {
                    const auto pair = static_cast<std::size_t>(&a - views.data());
                    return CrcPairHits(a, b, keys[pair], starts[pair], keys[pair + 1], d, minLength, orders, hits);
                },
                static_cast<std::uint16_t>(m));
        }
    }

    // The page's CRC32 is only half a register: its matches come from the page's own search.
    if (layout.kind == ViewKind::Binary) {
        const auto page = FindChecksumModel("CRC32-LOW16");
        for (std::size_t p = 0; page && p + 1 < views.size(); p += 2) {
            const ViewFrame& a = views[p];
            if (a.Length() > LONG_FRAME)
                continue;
            const std::vector<ChecksumMatch> matches = FindChecksums(ChecksumMethod::CRC32, a.frame->bytes);
            for (std::size_t k = 0; k < matches.size() && k < MAX_PAIR_HITS; ++k) {
                const PairHit hit{static_cast<std::uint32_t>(matches[k].start - 1u), matches[k].end,
                                  CheckOrder::LowFirst, ConstantForm::None, 0};
                for (RuleEnd end : {RuleEnd::FromFirst, RuleEnd::FromLast}) {
                    IdentifyRule rule = RuleAt(layout, hit.i, hit.j, end, a);
                    rule.model = static_cast<std::uint16_t>(*page);
                    if (RuleHolds(rule, views[p + 1].frame->bytes))
                        out.insert(rule);
                }
            }
        }
    }
}

bool TextLike(std::span<const IdentifyFrame* const> sample)
{
    std::size_t text = 0, all = 0;
    for (const IdentifyFrame* frame : sample)
        for (std::uint8_t b : frame->bytes) {
            ++all;
            text += (b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n' || b == '\t';
        }
    return all > 0 && text * 20 >= all * 19;
}

void CAnalysis::SampleCandidates(std::span<const IdentifyFrame* const> sample, std::set<IdentifyRule, RuleLess>& out)
{
    std::set<IdentifyRule, RuleLess> paired;
    ViewCandidates(sample, {ViewKind::Binary, 0}, paired);
    if (TextLike(sample))
        for (ViewLayout layout : {ViewLayout{ViewKind::HexPairs, 0}, ViewLayout{ViewKind::HexPairs, 1},
                              ViewLayout{ViewKind::Text, 0}, ViewLayout{ViewKind::Text, 1}})
            ViewCandidates(sample, layout, paired);
    // Keep what holds in nearly all of the sample: a corrupted frame or two may be among them.
    const std::size_t n = sample.size();
    const std::size_t needed = n <= 3 ? n : std::max<std::size_t>(3, n - std::max<std::size_t>(1, n / 4));
    for (const IdentifyRule& rule : paired) {
        if (m_tried.count(rule))
            continue;
        std::size_t held = 0;
        for (std::size_t k = 0; k < n && held + (n - k) >= needed; ++k)
            held += RuleHolds(rule, sample[k]->bytes);
        if (held >= needed)
            out.insert(rule);
    }
}

bool CAnalysis::VerifyAll(const std::set<IdentifyRule, RuleLess>& candidates, std::vector<Verified>& verified)
{
    const std::uint64_t needed = Needed(m_options.minSharePercent, m_frames.size());
    const std::uint64_t maxFailing = m_frames.size() - std::min<std::uint64_t>(needed, m_frames.size());
    std::size_t done = 0;
    for (const IdentifyRule& rule : candidates) {
        m_progress.Set(static_cast<double>(done++) / static_cast<double>(candidates.size()));
        if (!m_tried.insert(rule).second)
            continue;
        std::optional<Verified> v = Verify(rule, m_frames, maxFailing, m_options.cancel);
        if (Cancelled())
            return false;
        if (v)
            verified.push_back(std::move(*v));
    }
    return true;
}

void CAnalysis::TryBlocks(std::vector<Verified>& verified)
{
    std::sort(verified.begin(), verified.end(),
              [](const Verified& a, const Verified& b) { return RanksBefore(a.result, b.result); });
    std::vector<Verified> found;
    for (std::size_t r = 0; r < verified.size() && r < BLOCK_TRIES && !Cancelled(); ++r) {
        const IdentifiedRule& base = verified[r].result;
        const IdentifyRule& rule = base.rule;
        if (base.structural || rule.endFrom != RuleEnd::FromFirst || rule.encoding != CheckEncoding::Binary ||
            rule.gap || rule.block)
            continue;
        // Block lengths from the longest frame the rule holds in with bytes after its value: the
        // ranges after the value that are followed by their own value.
        const IdentifyFrame* longest = nullptr;
        for (const IdentifyFrame* frame : m_frames) {
            const auto places = RulePlaces(rule, frame->bytes.size());
            if (!places.empty() && places[0].checkLast + 1 < frame->bytes.size() &&
                (!longest || frame->bytes.size() > longest->bytes.size()) && RuleHolds(rule, frame->bytes))
                longest = frame;
        }
        if (!longest)
            continue;
        const std::vector<std::uint8_t>& bytes = longest->bytes;
        const RulePlace first = RulePlaces(rule, bytes.size())[0];
        const std::size_t checkLength = RuleCheckLength(rule);
        const std::size_t from = first.checkLast + 1;
        // The lengths whose range after the value is followed by its own value; where that range
        // reaches the frame's end it is the last, shorter block, and a longer block fits too:
        // the round lengths are tried then.
        std::set<std::size_t> lengths;
        for (std::size_t length = 1; length <= MAX_BLOCK && from + length + checkLength <= bytes.size(); ++length) {
            const RulePlace place{from, from + length - 1, from + length, from + length + checkLength - 1};
            if (ReadRuleCheck(rule, bytes, place) != ComputeRuleCheck(rule, bytes, place))
                continue;
            lengths.insert(length);
            if (place.checkLast + 1 == bytes.size())
                for (std::size_t round = 2; round <= MAX_BLOCK; round *= 2)
                    if (round > length)
                        lengths.insert(round);
        }
        // Most frames held; then a round length; then the shortest.
        std::optional<Verified> best;
        const auto round = [](std::size_t n) { return (n & (n - 1)) == 0; };
        for (std::size_t length : lengths) {
            IdentifyRule blocked = rule;
            blocked.block = static_cast<std::uint16_t>(length);
            std::optional<Verified> v = Verify(blocked, m_frames, base.failing.size(), m_options.cancel);
            if (v && (!best || v->result.held > best->result.held ||
                      (v->result.held == best->result.held && round(length) && !round(best->result.rule.block))))
                best = std::move(v);
        }
        if (best && best->result.held >= base.held)
            found.push_back(std::move(*best));
    }
    for (Verified& v : found)
        verified.push_back(std::move(v));
}

bool CAnalysis::Run(std::vector<IdentifiedRule>& ranked)
{
    {
        std::unordered_set<std::string_view> seen;
        for (const IdentifyFrame* frame : m_frames)
            if (seen.insert(std::string_view(reinterpret_cast<const char*>(frame->bytes.data()), frame->bytes.size())).second)
                m_distinct.push_back(frame);
    }
    if (m_distinct.size() < 2)
        return true;

    const std::uint64_t good = static_cast<std::uint64_t>(std::ceil(GOOD_SHARE * static_cast<double>(m_frames.size())));
    std::vector<Verified> verified;
    bool found = false;
    for (std::size_t round = 0; round < MAX_ROUNDS && !found; ++round) {
        const std::size_t first = round * SAMPLE_FRAMES;
        if (first + 2 > m_distinct.size())
            break;
        const std::size_t count = std::min(SAMPLE_FRAMES, m_distinct.size() - first);
        const auto sample = std::span<const IdentifyFrame* const>(m_distinct).subspan(first, count);
        std::set<IdentifyRule, RuleLess> candidates;
        {
            auto scope = m_progress.Narrow(round / double(MAX_ROUNDS), (round + 0.6) / double(MAX_ROUNDS));
            SampleCandidates(sample, candidates);
        }
        if (Cancelled())
            return false;
        {
            auto scope = m_progress.Narrow((round + 0.6) / double(MAX_ROUNDS), (round + 1) / double(MAX_ROUNDS));
            if (!VerifyAll(candidates, verified))
                return false;
        }
        for (const Verified& v : verified)
            found = found || (!v.result.structural && v.result.held >= good);
    }

    double meanLength = 0;
    for (const IdentifyFrame* frame : m_frames)
        meanLength += static_cast<double>(frame->bytes.size()) / static_cast<double>(m_frames.size());
    if (!found && m_options.unknownCrc) {
        std::set<IdentifyRule, RuleLess> solved;
        for (IdentifyRule& rule : m_options.unknownCrc(m_frames, m_options.cancel))
            solved.insert(rule);
        const std::size_t before = verified.size();
        if (!VerifyAll(solved, verified))
            return false;
        // A CRC fitted to values the frames already hold (periodic frames, copied bytes) tells
        // nothing: the solver finds one for nearly any such frames. Nor does one that holds in
        // little more than the frames it was fitted to: the solver is asked about parts of the
        // frames so that a few corrupted ones do not hide a CRC, not to explain half of them. And
        // where the frames' bytes take few values (flags of 00 and 01), so does the value, and a
        // frame tells only as many bits as its differences span.
        verified.erase(std::remove_if(verified.begin() + static_cast<std::ptrdiff_t>(before), verified.end(),
                                      [&](const Verified& v) {
                                          return v.result.structural ||
                                                 v.result.held * SOLVED_SHARE_DENOMINATOR <
                                                     v.result.frames * SOLVED_SHARE_NUMERATOR ||
                                                 ChanceBits(v.result, meanLength, v.Bits()) > CHANCE_BITS;
                                      }),
                       verified.end());
    }
    TryBlocks(verified);
    if (Cancelled())
        return false;

    // Frames of one length: a range counted from the first byte is the same as its twin counted
    // from the last; keep the latter.
    std::set<IdentifyRule, RuleLess> sameLengthTwins;
    for (const Verified& v : verified) {
        const IdentifyRule& r = v.result.rule;
        if (r.endFrom == RuleEnd::FromLast && r.block == 0 && v.shortest == v.longest) {
            IdentifyRule twin = r;
            twin.endFrom = RuleEnd::FromFirst;
            twin.end = static_cast<std::uint16_t>(v.shortest - r.end + 1);
            sameLengthTwins.insert(twin);
        }
    }
    for (Verified& v : verified) {
        if (v.shortest == v.longest && sameLengthTwins.count(v.result.rule))
            continue;
        ranked.push_back(std::move(v.result));
    }
    std::sort(ranked.begin(), ranked.end(), RanksBefore);
    const std::uint64_t needed = Needed(m_options.minSharePercent, m_frames.size());
    // Rules that chance alone would give as often are no answer (a few long frames hold
    // thousands of one-byte sums with some constant by chance).
    std::erase_if(ranked, [&](const IdentifiedRule& r) {
        return r.held < needed || (!r.structural && ChanceBits(r, meanLength) > CHANCE_BITS);
    });
    if (ranked.size() > m_options.maxRules)
        ranked.resize(m_options.maxRules);
    return true;
}

std::uint64_t BestHeld(const std::vector<IdentifiedRule>& ranked)
{
    for (const IdentifiedRule& r : ranked)
        if (!r.structural)
            return r.held;
    return 0;
}

} // namespace

bool RanksBefore(const IdentifiedRule& a, const IdentifiedRule& b)
{
    if (a.structural != b.structural)
        return !a.structural;
    if (a.held != b.held)
        return a.held > b.held;
    // A value read over blocks explains more than the first block's alone.
    if ((a.rule.block != 0) != (b.rule.block != 0))
        return a.rule.block != 0;
    // A byte of the value that never changes checks nothing: "CS 16" read as a 16-bit sum
    // plus 0x1600 is the 8-bit sum and the stop byte.
    const unsigned wa = RuleWidth(a.rule) - 8 * std::min(a.constantBytes, RuleWidth(a.rule) / 8),
                   wb = RuleWidth(b.rule) - 8 * std::min(b.constantBytes, RuleWidth(b.rule) / 8);
    if (wa != wb)
        return wa > wb;
    const unsigned ca = RuleComplexity(a.rule), cb = RuleComplexity(b.rule);
    if (ca != cb)
        return ca < cb;
    // Two solved CRCs that hold alike and start apart differ by constant first bytes that one of
    // them folds into its init; the one that leaves them out ranks first, as framing bytes are
    // mostly left out of a CRC (and as the catalogue's CRCs are found after them).
    if (a.rule.model == SOLVED_CRC_MODEL && b.rule.model == SOLVED_CRC_MODEL && a.rule.start != b.rule.start)
        return a.rule.start > b.rule.start;
    if (a.meanRange != b.meanRange)
        return a.meanRange > b.meanRange;
    return RuleTuple(a.rule) < RuleTuple(b.rule);
}

IdentifiedRule VerifyRule(const IdentifyRule& rule, std::span<const IdentifyFrame* const> frames)
{
    return Verify(rule, frames, frames.size(), nullptr)->result;
}

IdentifyReport IdentifyChecksums(std::span<const IdentifyFrame> frames, const IdentifyOptions& options)
{
    IdentifyReport report;
    report.frames = frames.size();
    std::vector<IdentifyFrame> cut;  // frames over the longest a rule can count, cut to it
    std::vector<const IdentifyFrame*> all;
    for (const IdentifyFrame& frame : frames)
        if (frame.bytes.size() > MAX_SEARCH_BYTES)
            cut.push_back({frame.line, {frame.bytes.begin(), frame.bytes.begin() + MAX_SEARCH_BYTES}});
    for (std::size_t k = 0, c = 0; k < frames.size(); ++k)
        all.push_back(frames[k].bytes.size() > MAX_SEARCH_BYTES ? &cut[c++] : &frames[k]);

    CProgress progress(options);
    std::vector<IdentifiedRule> global;
    {
        auto scope = progress.Narrow(0, 0.5);
        CAnalysis analysis(all, options, progress);
        if (!analysis.Run(global)) {
            report.cancelled = true;
            return report;
        }
        report.distinct = analysis.Distinct();
    }
    const std::uint64_t globalBest = BestHeld(global);

    // Where no rule holds in every frame, frames that begin alike may each have their own.
    if (globalBest < frames.size()) {
        std::map<std::uint8_t, std::vector<const IdentifyFrame*>> byFirst;
        for (const IdentifyFrame* frame : all)
            if (!frame->bytes.empty())
                byFirst[frame->bytes[0]].push_back(frame);
        // The largest groups, largest first.
        std::vector<std::uint8_t> formed;
        for (const auto& [first, members] : byFirst)
            if (members.size() >= MIN_CLASS_FRAMES)
                formed.push_back(first);
        std::stable_sort(formed.begin(), formed.end(),
                         [&](std::uint8_t a, std::uint8_t b) { return byFirst[a].size() > byFirst[b].size(); });
        if (formed.size() > MAX_CLASSES)
            formed.resize(MAX_CLASSES);
        std::vector<std::pair<std::uint8_t, std::vector<IdentifiedRule>>> classes;
        std::uint64_t covered = 0;
        if (formed.size() >= 2) {
            for (std::size_t done = 0; done < formed.size(); ++done) {
                const std::uint8_t first = formed[done];
                auto scope = progress.Narrow(0.5 + 0.5 * done / formed.size(), 0.5 + 0.5 * (done + 1) / formed.size());
                std::vector<IdentifiedRule> ranked;
                CAnalysis analysis(byFirst[first], options, progress);
                if (!analysis.Run(ranked)) {
                    report.cancelled = true;
                    return report;
                }
                covered += BestHeld(ranked);
                for (IdentifiedRule& r : ranked)
                    r.classByte = first;
                classes.emplace_back(first, std::move(ranked));
            }
        }
        if (covered > globalBest) {
            report.classes = true;
            for (auto& [first, ranked] : classes)
                for (IdentifiedRule& r : ranked)
                    report.rules.push_back(std::move(r));
            for (const IdentifyFrame* frame : all)
                if (frame->bytes.empty() || std::find(formed.begin(), formed.end(), frame->bytes[0]) == formed.end())
                    report.unclassified.push_back(frame->line);
            progress.Set(1);
            return report;
        }
    }
    report.rules = std::move(global);
    if (options.progress)
        options.progress(100);
    return report;
}
