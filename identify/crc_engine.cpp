#include "identify/crc_engine.h"

#include <stdexcept>
#include <utility>

CCrcEngine::CCrcEngine(const CrcParameters& p)
    : m_p(p)
    , m_mask(CrcMask(p.width))
    , m_flipOut(p.refin != p.refout)
{
    if (p.width < 8 || p.width > 32 || p.width % 8 != 0)
        throw std::invalid_argument("a byte-wide CRC is 8, 16, 24 or 32 bits wide");
    m_p.poly &= m_mask;
    m_p.init &= m_mask;
    m_p.xorout &= m_mask;
    const unsigned w = p.width;
    const std::uint32_t top = std::uint32_t{1} << (w - 1);
    const std::uint32_t reflectedPoly = ReflectBits(m_p.poly, w);
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t a;
        if (p.refin) {
            a = i;
            for (int bit = 0; bit < 8; ++bit)
                a = (a & 1) ? (a >> 1) ^ reflectedPoly : a >> 1;
        } else {
            a = i << (w - 8);
            for (int bit = 0; bit < 8; ++bit)
                a = (a & top) ? ((a << 1) ^ m_p.poly) & m_mask : (a << 1) & m_mask;
        }
        m_table[i] = a;
    }
    m_init = p.refin ? ReflectBits(m_p.init, w) : m_p.init;

    // F^-1 by Gauss-Jordan elimination on the columns of F, then a table per byte of the argument.
    std::array<std::uint32_t, 32> image{}, preimage{};
    for (unsigned t = 0; t < w; ++t) {
        image[t] = ShiftColumn(t);
        preimage[t] = std::uint32_t{1} << t;
    }
    for (unsigned s = 0; s < w; ++s) {
        const std::uint32_t bit = std::uint32_t{1} << s;
        unsigned pivot = s;
        while (pivot < w && !(image[pivot] & bit))
            ++pivot;
        if (pivot == w)
            throw std::invalid_argument("the CRC's polynomial has no x^0 term");
        std::swap(image[s], image[pivot]);
        std::swap(preimage[s], preimage[pivot]);
        for (unsigned k = 0; k < w; ++k)
            if (k != s && (image[k] & bit)) {
                image[k] ^= image[s];
                preimage[k] ^= preimage[s];
            }
    }
    for (unsigned byte = 0; byte < w / 8; ++byte)
        for (unsigned v = 0; v < 256; ++v)
            for (unsigned t = 0; t < 8; ++t)
                if (v & (1u << t))
                    m_inverse[byte][v] ^= preimage[8 * byte + t];
}
