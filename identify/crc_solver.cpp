#include "identify/crc_solver.h"

#include "identify/gf2_polynomial.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <random>
#include <tuple>
#include <utility>

// Only refin = refout is tried: no byte-wide CRC of the public catalogue reflects one side alone
// (those that do are 12 bits wide), and a third and fourth variant would double the cost of every
// rejection, which is what the identification spends most of its calls on.
//
// Notation: with reflection the message's bytes are bit-reversed and the check reflected, so that
// both variants solve the unreflected equation
//     check' = (init·x^(8n) + message·x^width) mod G  ^  xorout'
// for the generator G = x^width + poly, xorout' = xorout (reflected when reflecting).

namespace {

// A running GCD up to this degree lives in one word and is reduced a byte at a time.
constexpr int WORD_BITS = 56;
// Up to this many init bits left free by the lengths, every init is listed; beyond, one.
constexpr int MAX_FREE_INIT_BITS = 2;

constexpr std::array<std::uint8_t, 256> REVERSED_BYTES = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b)
        table[b] = static_cast<std::uint8_t>(ReflectBits(b, 8));
    return table;
}();

// ---- polynomials over GF(2) in one word: the coefficient of x^i is bit i

int Degree64(std::uint64_t a)
{
    return a == 0 ? -1 : 63 - std::countl_zero(a);
}

std::uint64_t Mod64(std::uint64_t a, std::uint64_t b)
{
    const int db = Degree64(b);
    for (int da = Degree64(a); da >= db; da = Degree64(a))
        a ^= b << (da - db);
    return a;
}

std::uint64_t Gcd64(std::uint64_t a, std::uint64_t b)
{
    while (b != 0) {
        a = Mod64(a, b);
        std::swap(a, b);
    }
    return a;
}

// The product, for factors whose degrees add up to less than 64.
std::uint64_t Mul64(std::uint64_t a, std::uint64_t b)
{
    std::uint64_t product = 0;
    for (; b != 0; b &= b - 1)
        product ^= a << std::countr_zero(b);
    return product;
}

Gf2Poly FromWord(std::uint64_t a)
{
    return a == 0 ? Gf2Poly{} : Gf2Poly{a};
}

// ---- factors of small degree

struct Factor {
    std::uint64_t poly;
    int degree;
    int multiplicity;
};

// The irreducible factors of degree d of `u`, which is square-free and a product of such
// factors only (Cantor and Zassenhaus: the trace map sends each factor's residue to 0 or 1).
bool SplitEqualDegree(const Gf2Poly& u, int d, std::mt19937_64& random, std::vector<std::uint64_t>& out)
{
    const int degree = Gf2Degree(u);
    if (degree == d) {
        out.push_back(u[0]);
        return true;
    }
    for (int attempt = 0; attempt < 256; ++attempt) {
        Gf2Poly a((degree + 63) / 64);
        for (std::uint64_t& word : a)
            word = random();
        if (degree % 64 != 0)
            a.back() &= (std::uint64_t{1} << (degree % 64)) - 1;
        Gf2Trim(a);
        Gf2Poly trace = a, power = a;
        for (int j = 1; j < d; ++j) {
            power = Gf2SquareMod(power, u);
            Gf2Add(trace, power);
        }
        const Gf2Poly part = Gf2Gcd(u, trace);
        if (Gf2Degree(part) > 0 && Gf2Degree(part) < degree) {
            Gf2Poly rest = u, quotient;
            Gf2Reduce(rest, part, &quotient);
            Gf2Trim(quotient);
            return SplitEqualDegree(part, d, random, out) && SplitEqualDegree(quotient, d, random, out);
        }
    }
    return false;
}

// Every irreducible factor of f of degree up to maxDegree other than x, with its multiplicity
// (distinct-degree factorisation: x^(2^i) - x is the product of all irreducibles whose degree
// divides i). False if a split failed.
bool SmallFactors(Gf2Poly f, int maxDegree, std::vector<Factor>& factors)
{
    Gf2DropFactorsX(f);
    std::mt19937_64 random(0x5EED);
    Gf2Poly power{2}; // x^(2^i) mod f
    if (Gf2Degree(f) >= 1)
        Gf2Reduce(power, f);
    for (int i = 1; i <= maxDegree && Gf2Degree(f) >= i; ++i) {
        power = Gf2SquareMod(power, f);
        Gf2Poly t = power;
        Gf2Add(t, Gf2Poly{2});
        const Gf2Poly u = Gf2Gcd(f, t);
        if (Gf2Degree(u) < 1)
            continue;
        std::vector<std::uint64_t> irreducibles;
        if (!SplitEqualDegree(u, i, random, irreducibles))
            return false;
        for (std::uint64_t p : irreducibles) {
            const Gf2Poly divisor = FromWord(p);
            int multiplicity = 0;
            for (;;) {
                Gf2Poly rest = f, quotient;
                Gf2Reduce(rest, divisor, &quotient);
                if (!rest.empty())
                    break;
                Gf2Trim(quotient);
                f = std::move(quotient);
                ++multiplicity;
            }
            factors.push_back({p, i, multiplicity});
        }
        Gf2Reduce(power, f);
    }
    return true;
}

// Products of the factors (each up to its multiplicity) of exactly the given degree; false when
// there are more than MAX_CRC_GENERATORS.
bool Products(const std::vector<Factor>& factors, std::size_t k, std::uint64_t product, int degree, int target,
              std::vector<std::uint64_t>& out)
{
    if (degree == target) {
        out.push_back(product);
        return out.size() <= MAX_CRC_GENERATORS;
    }
    if (k == factors.size())
        return true;
    std::uint64_t power = product;
    for (int e = 0; e <= factors[k].multiplicity && degree + e * factors[k].degree <= target; ++e) {
        if (!Products(factors, k + 1, power, degree + e * factors[k].degree, target, out))
            return false;
        power = Mul64(power, factors[k].poly);
    }
    return true;
}

// ---- the message as a polynomial

// Reduces a byte string, read as a polynomial with the first byte's top bit highest, modulo a
// generator of degree 8 to WORD_BITS.
class ByteReducer {
public:
    explicit ByteReducer(std::uint64_t generator) : m_degree(Degree64(generator))
    {
        m_mask = (std::uint64_t{1} << m_degree) - 1;
        std::uint64_t power = generator & m_mask; // x^degree
        for (unsigned bit = 1; bit < 256; bit <<= 1) {
            for (unsigned t = 0; t < bit; ++t)
                m_table[bit | t] = m_table[t] ^ power;
            power <<= 1;
            if (power >> m_degree)
                power ^= generator;
        }
    }
    std::uint64_t Step(std::uint64_t reg, std::uint8_t byte) const
    {
        return ((reg << 8) & m_mask) ^ byte ^ m_table[reg >> (m_degree - 8)];
    }

private:
    int m_degree;
    std::uint64_t m_mask = 0;
    std::array<std::uint64_t, 256> m_table{};
};

struct Pair {
    std::size_t group, member, span;
};

struct Problem {
    unsigned width;
    bool reflected;
    std::span<const CrcSample> samples;
    // Sample indices by message length; groups[k] is the start of the k-th run of one length.
    std::vector<std::size_t> order;
    std::vector<std::size_t> groups;
    // Each sample against the first of its length, the pairs whose messages differ over the
    // fewest bytes first: the first GCD costs the most, and on frames that carry no CRC it is
    // usually the last.
    std::vector<Pair> pairs;

    std::uint32_t Check(std::size_t i) const
    {
        return reflected ? ReflectBits(samples[i].check, width) : samples[i].check;
    }
    std::size_t Length(std::size_t group) const { return samples[order[groups[group]]].message.size(); }
    std::size_t GroupEnd(std::size_t group) const
    {
        return group + 1 < groups.size() ? groups[group + 1] : order.size();
    }
};

// message·x^width + check of sample i, modulo the reducer's generator.
std::uint64_t Residue(const ByteReducer& reducer, const Problem& problem, std::size_t i)
{
    std::uint64_t reg = 0;
    if (problem.reflected)
        for (std::uint8_t b : problem.samples[i].message)
            reg = reducer.Step(reg, REVERSED_BYTES[b]);
    else
        for (std::uint8_t b : problem.samples[i].message)
            reg = reducer.Step(reg, b);
    const std::uint32_t check = problem.Check(i);
    for (int shift = static_cast<int>(problem.width) - 8; shift >= 0; shift -= 8)
        reg = reducer.Step(reg, static_cast<std::uint8_t>(check >> shift));
    return reg;
}

// The difference of two samples of one length, a multiple of every generator that explains both.
Gf2Poly Difference(const Problem& problem, std::size_t i, std::size_t j)
{
    const auto a = problem.samples[i].message, b = problem.samples[j].message;
    const std::size_t n = a.size();
    Gf2Poly d((8 * n + problem.width + 63) / 64, 0);
    d[0] = problem.Check(i) ^ problem.Check(j);
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t v = a[k] ^ b[k];
        const std::size_t at = 8 * (n - 1 - k) + problem.width;
        d[at / 64] |= std::uint64_t{problem.reflected ? REVERSED_BYTES[v] : v} << (at % 64);
    }
    Gf2Trim(d);
    Gf2DropFactorsX(d);
    return d;
}

// ---- init and xorout for one generator

struct Equations {
    // Row with its highest bit at pivot p, and the right-hand side in bit 32.
    std::array<std::uint64_t, 32> rows{};
    int rank = 0;

    // False if the row contradicts the rows before.
    bool Insert(std::uint64_t row)
    {
        for (int p = Degree64(row & 0xFFFFFFFFu); p >= 0; p = Degree64(row & 0xFFFFFFFFu)) {
            if (rows[p] == 0) {
                rows[p] = row;
                ++rank;
                return true;
            }
            row ^= rows[p];
        }
        return row == 0;
    }
    // The solution with every free unknown 0 (rhs true), or the kernel vector of a free unknown.
    std::uint32_t Solve(bool rhs, std::uint32_t free) const
    {
        std::uint32_t x = free;
        for (int p = 0; p < 32; ++p)
            if (rows[p] != 0) {
                const std::uint32_t others = static_cast<std::uint32_t>(rows[p]) & ~(std::uint32_t{1} << p);
                const unsigned bit = (std::popcount(others & x) + (rhs ? (rows[p] >> 32) & 1 : 0)) & 1;
                x |= bit << p;
            }
        return x;
    }
};

struct InitChoice {
    std::uint32_t init;
    std::uint32_t xorout; // unreflected: the register's value that the check differs by
    bool known;
};

// Every init that makes residue(k) = init·x^(8·length k) + xorout' (mod G) for all groups k. The
// residues are asked for one group at a time, so a wrong generator costs only the groups it takes
// to contradict itself.
template <typename ResidueOf>
std::vector<InitChoice> SolveInit(std::uint64_t generator, const Problem& problem, ResidueOf residue)
{
    const unsigned width = problem.width;
    const std::uint64_t top = std::uint64_t{1} << width;
    const ByteReducer reducer(generator);
    auto mulMod = [&](std::uint64_t a, std::uint64_t b) { return Mod64(Mul64(a, b), generator); };

    // x^(8n) mod G for each group's length, walked upward.
    std::uint64_t power = 1;
    std::size_t length = 0;
    auto powerAt = [&](std::size_t k) {
        for (; length < problem.Length(k); ++length)
            power = reducer.Step(power, 0);
        return power;
    };
    const std::uint64_t power0 = powerAt(0), residue0 = residue(0);

    // The solutions so far are particular + span(kernel); a group that every one of them already
    // satisfies adds nothing, and after the first few groups that is the rule: two products
    // instead of a row reduction.
    Equations equations;
    std::uint32_t particular = 0;
    std::vector<std::uint32_t> kernel;
    bool any = false;
    for (std::size_t k = 1; k < problem.groups.size(); ++k) {
        const std::uint64_t q = powerAt(k) ^ power0;
        const std::uint64_t rhs = residue(k) ^ residue0;
        if (any && mulMod(particular, q) == rhs &&
            std::all_of(kernel.begin(), kernel.end(), [&](std::uint32_t v) { return mulMod(v, q) == 0; }))
            continue;
        // Column i of the map init -> init·q mod G is x^i·q mod G; equation j is its bit j.
        std::array<std::uint64_t, 32> columns{};
        std::uint64_t column = q;
        for (unsigned i = 0; i < width; ++i) {
            columns[i] = column;
            column <<= 1;
            if (column & top)
                column ^= generator;
        }
        for (unsigned j = 0; j < width; ++j) {
            std::uint64_t row = ((rhs >> j) & 1) << 32;
            for (unsigned i = 0; i < width; ++i)
                row |= ((columns[i] >> j) & 1) << i;
            if (!equations.Insert(row))
                return {};
        }
        particular = equations.Solve(true, 0);
        kernel.clear();
        for (unsigned f = 0; f < width; ++f)
            if (equations.rows[f] == 0)
                kernel.push_back(equations.Solve(false, std::uint32_t{1} << f));
        any = true;
    }
    if (!any) {
        kernel.clear();
        for (unsigned f = 0; f < width; ++f)
            kernel.push_back(std::uint32_t{1} << f);
    }

    std::vector<std::uint32_t> inits;
    const bool known = kernel.size() <= MAX_FREE_INIT_BITS;
    if (known) {
        for (std::uint32_t pick = 0; pick < (1u << kernel.size()); ++pick) {
            std::uint32_t candidate = particular;
            for (std::size_t b = 0; b < kernel.size(); ++b)
                if ((pick >> b) & 1)
                    candidate ^= kernel[b];
            inits.push_back(candidate);
        }
    } else {
        // The smallest: reduce by a kernel basis in echelon form, highest bits first.
        std::array<std::uint32_t, 32> basis{};
        for (std::uint32_t v : kernel) {
            for (int p = Degree64(v); p >= 0 && basis[p] != 0; p = Degree64(v))
                v ^= basis[p];
            if (v != 0)
                basis[Degree64(v)] = v;
        }
        std::uint32_t smallest = particular;
        for (int p = 31; p >= 0; --p)
            if (basis[p] != 0 && ((smallest >> p) & 1))
                smallest ^= basis[p];
        inits.push_back(smallest);
    }

    std::vector<InitChoice> choices;
    for (std::uint32_t candidate : inits)
        choices.push_back({candidate, static_cast<std::uint32_t>(residue0 ^ mulMod(candidate, power0)), known});
    return choices;
}

// ---- one reflection

void SolveReflection(const Problem& problem, std::vector<CrcSolution>& solutions)
{
    const int width = static_cast<int>(problem.width);

    const auto& pairs = problem.pairs;
    Gf2Poly gcd;
    std::size_t next = 0;
    for (; next < pairs.size(); ++next) {
        Gf2Poly d = Difference(problem, problem.order[problem.groups[pairs[next].group]], pairs[next].member);
        if (d.empty())
            continue;
        gcd = gcd.empty() ? std::move(d) : Gf2Gcd(std::move(gcd), std::move(d));
        if (Gf2Degree(gcd) < width)
            return;
        if (Gf2Degree(gcd) <= WORD_BITS) {
            ++next;
            break;
        }
    }
    if (gcd.empty())
        return; // no two samples of one length differ: nothing pins the generator

    // In one word: the remaining pairs by their residues, until the GCD is down to the width; the
    // pairs left after that are checked with the answers.
    std::vector<std::uint64_t> residues; // per group, modulo `small` at the time they were taken
    std::uint64_t small = 0;
    if (Gf2Degree(gcd) <= WORD_BITS) {
        small = gcd[0];
        ByteReducer reducer(small);
        residues.assign(problem.groups.size(), 0);
        std::vector<bool> known(problem.groups.size(), false);
        auto groupResidue = [&](std::size_t g) {
            if (!known[g]) {
                residues[g] = Residue(reducer, problem, problem.order[problem.groups[g]]);
                known[g] = true;
            }
            return Mod64(residues[g], small);
        };
        for (; next < pairs.size() && Degree64(small) > width; ++next) {
            const std::uint64_t first = groupResidue(pairs[next].group);
            const std::uint64_t r = Residue(reducer, problem, pairs[next].member);
            if (r == first)
                continue;
            small = Gcd64(small, r ^ first);
            if (Degree64(small) < width)
                return;
            reducer = ByteReducer(small);
        }
        if (Degree64(small) == width) {
            // The generator itself: the rest by the table CRC with init and xorout 0, which is
            // message·x^width mod G.
            const CCrcByteTable table({problem.width, static_cast<std::uint32_t>(small) & CrcMask(problem.width), 0,
                                       problem.reflected, problem.reflected, 0});
            for (std::size_t g = 0; g < residues.size(); ++g)
                if (!known[g]) {
                    const std::size_t i = problem.order[problem.groups[g]];
                    const std::uint32_t reg = table.Compute(problem.samples[i].message);
                    residues[g] = (problem.reflected ? ReflectBits(reg, problem.width) : reg) ^ problem.Check(i);
                    known[g] = true;
                }
        }
        for (std::size_t g = 0; g < residues.size(); ++g)
            residues[g] = groupResidue(g);
        gcd = FromWord(small);
    } else if (Gf2Degree(gcd) > MAX_CRC_FACTOR_BITS) {
        return;
    }

    std::vector<std::uint64_t> generators;
    if (Gf2Degree(gcd) == width) {
        if (gcd[0] & 1)
            generators.push_back(gcd[0]);
    } else {
        std::vector<Factor> factors;
        if (!SmallFactors(gcd, width, factors) || !Products(factors, 0, 1, 0, width, generators))
            return;
        std::sort(generators.begin(), generators.end());
    }

    for (std::uint64_t generator : generators) {
        std::vector<InitChoice> choices;
        if (!residues.empty()) {
            choices = SolveInit(generator, problem, [&](std::size_t g) { return Mod64(residues[g], generator); });
        } else {
            const ByteReducer reducer(generator);
            choices = SolveInit(generator, problem, [&](std::size_t g) {
                return Residue(reducer, problem, problem.order[problem.groups[g]]);
            });
        }
        for (const InitChoice& choice : choices) {
            CrcSolution solution;
            solution.parameters.width = problem.width;
            solution.parameters.poly = static_cast<std::uint32_t>(generator) & CrcMask(problem.width);
            solution.parameters.init = choice.init;
            solution.parameters.refin = solution.parameters.refout = problem.reflected;
            solution.parameters.xorout =
                problem.reflected ? ReflectBits(choice.xorout, problem.width) : choice.xorout;
            solution.initKnown = choice.known;
            const CCrcByteTable crc(solution.parameters);
            if (std::all_of(problem.samples.begin(), problem.samples.end(),
                            [&](const CrcSample& s) { return crc.Compute(s.message) == s.check; }))
                solutions.push_back(solution);
        }
    }
}

} // namespace

// Eight tables: m_tables[k][b] is the register that byte b leaves after k more zero bytes, so
// eight bytes go through at once (slicing by eight); the rest one at a time through m_tables[0].
CCrcByteTable::CCrcByteTable(const CrcParameters& parameters) : m_parameters(parameters)
{
    const unsigned width = parameters.width;
    const std::uint32_t poly = parameters.poly & CrcMask(width);
    auto& t = m_tables;
    if (parameters.refin) {
        const std::uint32_t reflected = ReflectBits(poly, width);
        for (std::uint32_t b = 0; b < 256; ++b) {
            std::uint32_t r = b;
            for (int k = 0; k < 8; ++k)
                r = (r & 1) ? (r >> 1) ^ reflected : r >> 1;
            t[0][b] = r;
        }
        for (std::size_t k = 1; k < t.size(); ++k)
            for (std::uint32_t b = 0; b < 256; ++b)
                t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
    } else {
        const std::uint32_t aligned = poly << (32 - width);
        for (std::uint32_t b = 0; b < 256; ++b) {
            std::uint32_t r = b << 24;
            for (int k = 0; k < 8; ++k)
                r = (r & 0x80000000u) ? (r << 1) ^ aligned : r << 1;
            t[0][b] = r;
        }
        for (std::size_t k = 1; k < t.size(); ++k)
            for (std::uint32_t b = 0; b < 256; ++b)
                t[k][b] = (t[k - 1][b] << 8) ^ t[0][t[k - 1][b] >> 24];
    }
}

std::uint32_t CCrcByteTable::Compute(std::span<const std::uint8_t> bytes) const
{
    const CrcParameters& p = m_parameters;
    const auto& t = m_tables;
    const std::uint32_t mask = CrcMask(p.width);
    const std::uint8_t* at = bytes.data();
    std::size_t left = bytes.size();
    std::uint32_t result;
    if (p.refin) {
        // The register kept reflected, its next bit in bit 0: the first bytes meet its low end.
        std::uint32_t reg = ReflectBits(p.init & mask, p.width);
        for (; left >= 8; left -= 8, at += 8) {
            reg ^= std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
                   std::uint32_t{at[3]} << 24;
            reg = t[7][reg & 0xFF] ^ t[6][(reg >> 8) & 0xFF] ^ t[5][(reg >> 16) & 0xFF] ^ t[4][reg >> 24] ^
                  t[3][at[4]] ^ t[2][at[5]] ^ t[1][at[6]] ^ t[0][at[7]];
        }
        for (; left > 0; --left, ++at)
            reg = (reg >> 8) ^ t[0][(reg ^ *at) & 0xFF];
        result = p.refout ? reg : ReflectBits(reg, p.width);
    } else {
        // The register at the top of 32 bits, its next bit in bit 31.
        const unsigned shift = 32 - p.width;
        std::uint32_t reg = (p.init & mask) << shift;
        for (; left >= 8; left -= 8, at += 8) {
            reg ^= std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
                   std::uint32_t{at[3]};
            reg = t[7][reg >> 24] ^ t[6][(reg >> 16) & 0xFF] ^ t[5][(reg >> 8) & 0xFF] ^ t[4][reg & 0xFF] ^
                  t[3][at[4]] ^ t[2][at[5]] ^ t[1][at[6]] ^ t[0][at[7]];
        }
        for (; left > 0; --left, ++at)
            reg = (reg << 8) ^ t[0][(reg >> 24) ^ *at];
        reg >>= shift;
        result = p.refout ? ReflectBits(reg, p.width) : reg;
    }
    return (result ^ p.xorout) & mask;
}

std::vector<CrcSolution> SolveCrc(unsigned width, std::span<const CrcSample> samples)
{
    if ((width != 8 && width != 16 && width != 24 && width != 32) || samples.empty())
        return {};
    if (std::any_of(samples.begin(), samples.end(), [&](const CrcSample& s) {
            return s.check > CrcMask(width) || s.message.size() > MAX_CRC_MESSAGE_BYTES;
        }))
        return {};

    Problem problem{width, false, samples, {}, {}, {}};
    problem.order.resize(samples.size());
    std::iota(problem.order.begin(), problem.order.end(), std::size_t{0});
    std::stable_sort(problem.order.begin(), problem.order.end(), [&](std::size_t a, std::size_t b) {
        return samples[a].message.size() < samples[b].message.size();
    });
    for (std::size_t k = 0; k < problem.order.size(); ++k)
        if (k == 0 || samples[problem.order[k]].message.size() != samples[problem.order[k - 1]].message.size())
            problem.groups.push_back(k);
    for (std::size_t g = 0; g < problem.groups.size(); ++g) {
        const auto first = samples[problem.order[problem.groups[g]]].message;
        for (std::size_t m = problem.groups[g] + 1; m < problem.GroupEnd(g); ++m) {
            const auto other = samples[problem.order[m]].message;
            const auto differ = std::mismatch(first.begin(), first.end(), other.begin()).first;
            problem.pairs.push_back({g, problem.order[m], static_cast<std::size_t>(first.end() - differ)});
        }
    }
    std::stable_sort(problem.pairs.begin(), problem.pairs.end(),
                     [](const Pair& a, const Pair& b) { return a.span < b.span; });

    std::vector<CrcSolution> solutions;
    for (bool reflected : {false, true}) {
        problem.reflected = reflected;
        SolveReflection(problem, solutions);
    }
    std::sort(solutions.begin(), solutions.end(), [](const CrcSolution& a, const CrcSolution& b) {
        return std::tuple(a.parameters.refin, a.parameters.poly, a.parameters.init) <
               std::tuple(b.parameters.refin, b.parameters.poly, b.parameters.init);
    });
    return solutions;
}
