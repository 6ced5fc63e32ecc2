#include "identify/gf2_polynomial.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VELMORRA_GF2_CLMUL 1
#endif

namespace {

using U128 = unsigned __int128;

// a += b·x^shift, where a already has the words the sum needs.
void AddShifted(Gf2Poly& a, const Gf2Poly& b, std::size_t shift)
{
    const std::size_t q = shift / 64;
    const unsigned r = shift % 64;
    if (r == 0) {
        for (std::size_t i = 0; i < b.size(); ++i)
            a[i + q] ^= b[i];
        return;
    }
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        a[i + q] ^= (b[i] << r) | carry;
        carry = b[i] >> (64 - r);
    }
    if (carry != 0)
        a[b.size() + q] ^= carry;
}

// The highest set bit of a at or below `from`, -1 if none.
int DegreeBelow(const Gf2Poly& a, int from)
{
    for (int w = from / 64; w >= 0; --w)
        if (a[w] != 0)
            return w * 64 + 63 - std::countl_zero(a[w]);
    return -1;
}

int Degree128(U128 a)
{
    const auto high = static_cast<std::uint64_t>(a >> 64), low = static_cast<std::uint64_t>(a);
    return high != 0 ? 127 - std::countl_zero(high) : low != 0 ? 63 - std::countl_zero(low) : -1;
}

int Degree64(std::uint64_t a)
{
    return a == 0 ? -1 : 63 - std::countl_zero(a);
}

// Bits shift .. shift + 127 of a.
U128 Window(const Gf2Poly& a, std::size_t shift)
{
    auto word = [&](std::size_t i) { return i < a.size() ? a[i] : 0; };
    const std::size_t q = shift / 64;
    const unsigned r = shift % 64;
    std::uint64_t w0 = word(q), w1 = word(q + 1), w2 = word(q + 2);
    if (r != 0) {
        w0 = (w0 >> r) | (w1 << (64 - r));
        w1 = (w1 >> r) | (w2 << (64 - r));
    }
    return U128{w1} << 64 | w0;
}

constexpr std::array<std::uint16_t, 256> SPREAD_BYTES = [] {
    std::array<std::uint16_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b)
        for (unsigned i = 0; i < 8; ++i)
            table[b] |= static_cast<std::uint16_t>(((b >> i) & 1) << (2 * i));
    return table;
}();

#ifdef VELMORRA_GF2_CLMUL
// (u0·a + u1·b, v0·a + v1·b) into (na, nb), for cofactors of up to 64 bits; a is the longer.
__attribute__((target("pclmul"))) void Combine(const Gf2Poly& a, const Gf2Poly& b, std::uint64_t u0, std::uint64_t u1,
                                               std::uint64_t v0, std::uint64_t v1, Gf2Poly& na, Gf2Poly& nb)
{
    const std::size_t n = a.size();
    na.assign(n + 1, 0);
    nb.assign(n + 1, 0);
    const __m128i cu = _mm_set_epi64x(static_cast<long long>(u1), static_cast<long long>(u0));
    const __m128i cv = _mm_set_epi64x(static_cast<long long>(v1), static_cast<long long>(v0));
    __m128i carry = _mm_setzero_si128(); // high halves for (na, nb)
    for (std::size_t i = 0; i < n; ++i) {
        const __m128i ab = _mm_set_epi64x(static_cast<long long>(i < b.size() ? b[i] : 0), static_cast<long long>(a[i]));
        const __m128i pu = _mm_xor_si128(_mm_clmulepi64_si128(ab, cu, 0x00), _mm_clmulepi64_si128(ab, cu, 0x11));
        const __m128i pv = _mm_xor_si128(_mm_clmulepi64_si128(ab, cv, 0x00), _mm_clmulepi64_si128(ab, cv, 0x11));
        const __m128i low = _mm_unpacklo_epi64(pu, pv), high = _mm_unpackhi_epi64(pu, pv);
        const __m128i word = _mm_xor_si128(low, carry);
        na[i] = static_cast<std::uint64_t>(_mm_cvtsi128_si64(word));
        nb[i] = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(word, word)));
        carry = high;
    }
    na[n] = static_cast<std::uint64_t>(_mm_cvtsi128_si64(carry));
    nb[n] = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(carry, carry)));
    Gf2Trim(na);
    Gf2Trim(nb);
}

// Lehmer's idea for polynomials: run Euclid on the leading 128 bits of both, recording the steps
// as a 2×2 matrix of cofactors, for as long as the window still decides each step (a row's window
// is exact down to the degree of its cofactors); then apply the matrix to the whole polynomials at
// once, about 64 steps for two passes of carry-less products.
Gf2Poly GcdByWindows(Gf2Poly a, Gf2Poly b)
{
    if (Gf2Degree(a) < Gf2Degree(b))
        std::swap(a, b);
    Gf2Poly na, nb;
    while (!b.empty()) {
        const int da = Gf2Degree(a), db = Gf2Degree(b);
        if (da < 192)
            return Gf2GcdBySteps(std::move(a), std::move(b));
        if (da - db >= 64) {
            Gf2Reduce(a, b);
            std::swap(a, b);
            continue;
        }
        const std::size_t shift = static_cast<std::size_t>(da - 127);
        U128 wa = Window(a, shift), wb = Window(b, shift);
        std::uint64_t u0 = 1, u1 = 0, v0 = 0, v1 = 1; // a' = u0·a + u1·b, b' = v0·a + v1·b
        int du = 0, dv = 0;                           // the rows' cofactor degrees
        int steps = 0;
        while (wb != 0) {
            const int ea = Degree128(wa), eb = Degree128(wb);
            const int k = ea - eb;
            if (ea < du || eb < dv || dv + k > 63)
                break;
            wa ^= wb << k;
            u0 ^= v0 << k;
            u1 ^= v1 << k;
            du = Degree64(u0 | u1);
            ++steps;
            if (Degree128(wa) < eb) {
                std::swap(wa, wb);
                std::swap(u0, v0);
                std::swap(u1, v1);
                std::swap(du, dv);
            }
        }
        if (steps == 0) {
            Gf2Reduce(a, b);
            std::swap(a, b);
            continue;
        }
        Combine(a, b, u0, u1, v0, v1, na, nb);
        std::swap(a, na);
        std::swap(b, nb);
        if (Gf2Degree(a) < Gf2Degree(b))
            std::swap(a, b);
    }
    return a;
}
#endif

} // namespace

int Gf2Degree(const Gf2Poly& a)
{
    return a.empty() ? -1 : static_cast<int>(a.size() * 64 - 1) - std::countl_zero(a.back());
}

void Gf2Trim(Gf2Poly& a)
{
    while (!a.empty() && a.back() == 0)
        a.pop_back();
}

void Gf2Add(Gf2Poly& a, const Gf2Poly& b)
{
    if (a.size() < b.size())
        a.resize(b.size(), 0);
    for (std::size_t i = 0; i < b.size(); ++i)
        a[i] ^= b[i];
    Gf2Trim(a);
}

void Gf2Reduce(Gf2Poly& a, const Gf2Poly& b, Gf2Poly* quotient)
{
    const int db = Gf2Degree(b);
    int da = Gf2Degree(a);
    if (quotient)
        quotient->assign(da >= db ? (da - db) / 64 + 1 : 0, 0);
    while (da >= db) {
        AddShifted(a, b, static_cast<std::size_t>(da - db));
        if (quotient)
            (*quotient)[(da - db) / 64] |= std::uint64_t{1} << ((da - db) % 64);
        da = DegreeBelow(a, da);
    }
    a.resize(da < 0 ? 0 : da / 64 + 1);
}

Gf2Poly Gf2SquareMod(const Gf2Poly& a, const Gf2Poly& f)
{
    // Squaring over GF(2) only spreads the bits.
    Gf2Poly square(2 * a.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (unsigned k = 0; k < 8; ++k)
            square[2 * i + k / 4] |= std::uint64_t{SPREAD_BYTES[(a[i] >> (8 * k)) & 0xFF]} << (16 * (k % 4));
    Gf2Trim(square);
    Gf2Reduce(square, f);
    return square;
}

void Gf2DropFactorsX(Gf2Poly& a)
{
    std::size_t q = 0;
    while (q < a.size() && a[q] == 0)
        ++q;
    if (q == a.size())
        return;
    const unsigned r = static_cast<unsigned>(std::countr_zero(a[q]));
    if (q == 0 && r == 0)
        return;
    for (std::size_t i = q; i < a.size(); ++i)
        a[i - q] = (a[i] >> r) | (r != 0 && i + 1 < a.size() ? a[i + 1] << (64 - r) : 0);
    a.resize(a.size() - q);
    Gf2Trim(a);
}

Gf2Poly Gf2GcdBySteps(Gf2Poly a, Gf2Poly b)
{
    if (Gf2Degree(a) < Gf2Degree(b))
        std::swap(a, b);
    while (!b.empty()) {
        Gf2Reduce(a, b);
        std::swap(a, b);
    }
    return a;
}

Gf2Poly Gf2Gcd(Gf2Poly a, Gf2Poly b)
{
#ifdef VELMORRA_GF2_CLMUL
    static const bool clmul = __builtin_cpu_supports("pclmul");
    if (clmul)
        return GcdByWindows(std::move(a), std::move(b));
#endif
    return Gf2GcdBySteps(std::move(a), std::move(b));
}
