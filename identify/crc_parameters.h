#pragma once
// A CRC as the public catalogue of parametrised CRC algorithms describes it: width, polynomial
// (unreflected, without its top bit), initial register, whether input bytes and the result are
// reflected, and the value XORed onto the result. Widths 1 to 32.

#include <cstdint>
#include <span>

struct CrcParameters {
    unsigned width = 0;
    std::uint32_t poly = 0;
    std::uint32_t init = 0;
    bool refin = false;
    bool refout = false;
    std::uint32_t xorout = 0;
    bool operator==(const CrcParameters&) const = default;
};

/// All ones in the low `width` bits.
constexpr std::uint32_t CrcMask(unsigned width)
{
    return width >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << width) - 1;
}

/// The low `width` bits of `value` in reverse order.
constexpr std::uint32_t ReflectBits(std::uint32_t value, unsigned width)
{
    std::uint32_t r = 0;
    for (unsigned i = 0; i < width; ++i, value >>= 1)
        r = (r << 1) | (value & 1);
    return r;
}

/// The CRC of `bytes`, one bit at a time exactly as the catalogue defines it: the reference that
/// every faster computation is compared with.
constexpr std::uint32_t ComputeCrcBitwise(const CrcParameters& p, std::span<const std::uint8_t> bytes)
{
    const std::uint32_t top = std::uint32_t{1} << (p.width - 1);
    const std::uint32_t mask = CrcMask(p.width);
    std::uint32_t reg = p.init & mask;
    for (std::uint8_t byte : bytes) {
        const std::uint32_t in = p.refin ? ReflectBits(byte, 8) : byte;
        for (int bit = 7; bit >= 0; --bit) {
            const bool feedback = ((reg & top) != 0) != (((in >> bit) & 1) != 0);
            reg = (reg << 1) & mask;
            if (feedback)
                reg ^= p.poly & mask;
        }
    }
    if (p.refout)
        reg = ReflectBits(reg, p.width);
    return (reg ^ p.xorout) & mask;
}
