// The solver for unknown CRCs: every solution is a CRC of the width asked (polynomial with its x^0
// term, refin = refout) that reproduces every sample by the bit-by-bit definition, the solutions
// in their order; samples of which no two of one length differ give none. With checks made by a
// planted CRC, the planted one is among the solutions whenever the samples determine it: when the
// GCD of the differences of equal-length samples (worked out here, bit by bit) leaves at most
// 2^10 candidate generators. Where init is known, the planted init is listed; where not, the one
// answer for its polynomial still reproduces every sample.
//
// Input: a byte of width (8, 16, 24, 32) and reflection, polynomial, init and xorout (4 bytes
// each, little-endian), a byte of flags (bit 0: checks read from the input instead of computed),
// then up to 12 samples, each a length byte (bit 7: as long as the one before; bit 6: a copy of
// the one before with one byte changed, by the next two bytes: where and by what; else length
// b % 33) and its bytes, then, where checks are read, its check (4 bytes, little-endian).

#include <algorithm>
#include <tuple>
#include <vector>

#include "identify/crc_solver.h"
#include "fuzz_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- polynomials over GF(2), the coefficient of x^i bit i of word i / 64

using Poly = std::vector<std::uint64_t>;

FUZZ_REFERENCE int Degree(const Poly& a)
{
    for (std::size_t w = a.size(); w-- > 0;)
        if (a[w])
            return static_cast<int>(64 * w) + 63 - __builtin_clzll(a[w]);
    return -1;
}

FUZZ_REFERENCE bool Bit(const Poly& a, int i)
{
    return (a[static_cast<std::size_t>(i) / 64] >> (i % 64)) & 1;
}

FUZZ_REFERENCE void FlipBit(Poly& a, int i)
{
    a[static_cast<std::size_t>(i) / 64] ^= std::uint64_t{1} << (i % 64);
}

// a mod b, one leading term at a time.
FUZZ_REFERENCE Poly Mod(Poly a, const Poly& b)
{
    const int db = Degree(b);
    for (int da = Degree(a); da >= db; da = Degree(a))
        for (int i = 0; i <= db; ++i)
            if (Bit(b, i))
                FlipBit(a, i + da - db);
    return a;
}

FUZZ_REFERENCE Poly Gcd(Poly a, Poly b)
{
    while (Degree(b) >= 0) {
        a = Mod(std::move(a), b);
        std::swap(a, b);
    }
    return a;
}

// The difference of two samples of one length as the CRC's equation sees it: the XOR of the
// messages (first byte highest, each byte bit-reversed when reflected) times x^width, plus the
// XOR of the checks (reflected when reflected).
FUZZ_REFERENCE Poly Difference(unsigned width, bool reflected, const Bytes& a, const Bytes& b, std::uint32_t checkA, std::uint32_t checkB)
{
    const std::size_t n = a.size();
    Poly d((8 * n + width + 64) / 64 + 1, 0);
    const std::uint32_t check = checkA ^ checkB;
    for (unsigned i = 0; i < width; ++i)
        if ((check >> (reflected ? width - 1 - i : i)) & 1)
            FlipBit(d, static_cast<int>(i));
    for (std::size_t k = 0; k < n; ++k)
        for (int bit = 0; bit < 8; ++bit)
            if (((a[k] ^ b[k]) >> (reflected ? 7 - bit : bit)) & 1)
                FlipBit(d, static_cast<int>(8 * (n - 1 - k) + width) + bit);
    return d;
}

FUZZ_REFERENCE std::uint32_t Bitwise(const CrcParameters& p, const Bytes& message)
{
    return ComputeCrcBitwise(p, message);
}

std::string Describe(const CrcParameters& p)
{
    char text[96];
    std::snprintf(text, sizeof text, "width %u poly %X init %X xorout %X refl %d", p.width, p.poly, p.init, p.xorout, p.refin);
    return text;
}

std::string Describe(const std::vector<CrcSolution>& solutions)
{
    std::string text = std::to_string(solutions.size()) + " solutions:";
    for (const CrcSolution& s : solutions)
        text += " [" + Describe(s.parameters) + (s.initKnown ? "" : ", init unknown") + "]";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t shape = input.Byte();
    const unsigned width = 8 * (1 + shape % 4);
    const std::uint32_t mask = CrcMask(width);
    CrcParameters planted;
    planted.width = width;
    planted.poly = (input.Number<std::uint32_t>() & mask) | 1;
    planted.init = input.Number<std::uint32_t>() & mask;
    planted.xorout = input.Number<std::uint32_t>() & mask;
    planted.refin = planted.refout = shape & 4;
    const bool readChecks = input.Byte() & 1;

    std::vector<Bytes> messages;
    std::vector<std::uint32_t> checks;
    while (!input.Empty() && messages.size() < 12) {
        const std::uint8_t head = input.Byte();
        Bytes message;
        if (head & 0x40 && !messages.empty()) {
            message = messages.back();
            const std::uint8_t at = input.Byte(), change = input.Byte();
            if (!message.empty())
                message[at % message.size()] ^= change;
        } else {
            const std::size_t length = head & 0x80 && !messages.empty() ? messages.back().size() : head % 33;
            const std::span<const std::uint8_t> bytes = input.Bytes(length);
            message.assign(bytes.begin(), bytes.end());
            message.resize(length);
        }
        checks.push_back(readChecks ? input.Number<std::uint32_t>() & mask : Bitwise(planted, message));
        messages.push_back(std::move(message));
    }
    std::vector<CrcSample> samples;
    for (std::size_t k = 0; k < messages.size(); ++k)
        samples.push_back({messages[k], checks[k]});

    const std::vector<CrcSolution> solutions = SolveCrc(width, samples);
    for (std::size_t s = 0; s < solutions.size(); ++s) {
        const CrcParameters& p = solutions[s].parameters;
        FUZZ_CHECK(p.width == width && (p.poly & 1) && p.poly <= mask && p.init <= mask && p.xorout <= mask && p.refin == p.refout,
                   Describe(solutions));
        for (std::size_t k = 0; k < messages.size(); ++k)
            FUZZ_CHECK(Bitwise(p, messages[k]) == checks[k], "sample " + std::to_string(k) + " not reproduced: " + Describe(solutions));
        if (s > 0) {
            const CrcParameters& q = solutions[s - 1].parameters;
            FUZZ_CHECK(std::tuple(q.refin, q.poly, q.init) < std::tuple(p.refin, p.poly, p.init), Describe(solutions));
        }
    }

    // The GCD of the differences of samples of one length, each with the first of its length.
    bool differ = false;
    Poly gcd;
    for (std::size_t a = 0; a < messages.size(); ++a)
        for (std::size_t b = a + 1; b < messages.size(); ++b) {
            if (messages[a].size() != messages[b].size() || (messages[a] == messages[b] && checks[a] == checks[b]))
                continue;
            differ = true;
            if (readChecks)
                continue;
            const Poly d = Difference(width, planted.refin, messages[a], messages[b], checks[a], checks[b]);
            Poly generator(2, 0);
            generator[0] = planted.poly;
            FlipBit(generator, static_cast<int>(width));
            FUZZ_CHECK(Degree(Mod(d, generator)) < 0, "the planted CRC does not divide a difference");
            gcd = gcd.empty() ? d : Gcd(gcd, d);
        }
    if (!differ) {
        FUZZ_CHECK(solutions.empty(), Describe(solutions));
        return 0;
    }
    if (readChecks)
        return 0;
    // Factors of x are no generator's.
    int low = 0;
    while (low <= Degree(gcd) && !Bit(gcd, low))
        ++low;
    if (Degree(gcd) - low > static_cast<int>(width) + 10)
        return 0;  // more than 2^10 divisors of the width's degree may be: the solver may give up

    const auto same = [&](const CrcSolution& s) { return s.parameters.poly == planted.poly && s.parameters.refin == planted.refin; };
    const auto found = std::find_if(solutions.begin(), solutions.end(), same);
    FUZZ_CHECK(found != solutions.end(), "planted " + Describe(planted) + " not found; " + Describe(solutions));
    if (found->initKnown)
        FUZZ_CHECK(std::find_if(solutions.begin(), solutions.end(), [&](const CrcSolution& s) { return s.parameters == planted; }) !=
                       solutions.end(),
                   "planted " + Describe(planted) + " not listed; " + Describe(solutions));
    else
        FUZZ_CHECK(std::count_if(solutions.begin(), solutions.end(), same) == 1, Describe(solutions));
    return 0;
}
