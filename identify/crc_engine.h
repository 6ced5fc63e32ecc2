#pragma once
// A byte-wide CRC of any catalogue parameters, a byte at a time through one table. It works on
// the register as the catalogue's bit-by-bit definition keeps it, mirrored when the input is
// reflected, so that one step is a shift and a table look-up either way. The step is affine over
// GF(2) and its shift F = Step(., 0) is invertible for every polynomial with the x^0 term, which
// is what the prefix keys of the identification rely on.

#include <array>
#include <cstdint>
#include <span>

#include "identify/crc_parameters.h"

class CCrcEngine {
public:
    /// `p.width` is 8, 16, 24 or 32.
    explicit CCrcEngine(const CrcParameters& p);

    const CrcParameters& Parameters() const { return m_p; }

    /// The catalogue value of `bytes`.
    std::uint32_t Compute(std::span<const std::uint8_t> bytes) const { return Result(Run(InitRegister(), bytes)); }

    std::uint32_t InitRegister() const { return m_init; }
    std::uint32_t Step(std::uint32_t reg, std::uint8_t byte) const
    {
        return m_p.refin ? (reg >> 8) ^ m_table[(reg ^ byte) & 0xFF]
                         : ((reg << 8) & m_mask) ^ m_table[((reg >> (m_p.width - 8)) ^ byte) & 0xFF];
    }
    std::uint32_t Run(std::uint32_t reg, std::span<const std::uint8_t> bytes) const
    {
        for (std::uint8_t b : bytes)
            reg = Step(reg, b);
        return reg;
    }
    /// The catalogue value of a register.
    std::uint32_t Result(std::uint32_t reg) const { return (m_flipOut ? ReflectBits(reg, m_p.width) : reg) ^ m_p.xorout; }
    /// The register whose Result is `value`.
    std::uint32_t RegisterOf(std::uint32_t value) const
    {
        value = (value ^ m_p.xorout) & m_mask;
        return m_flipOut ? ReflectBits(value, m_p.width) : value;
    }
    /// F^-1, the inverse of a step over a zero byte.
    std::uint32_t Unshift(std::uint32_t reg) const
    {
        std::uint32_t r = 0;
        for (unsigned byte = 0; byte < m_p.width / 8; ++byte)
            r ^= m_inverse[byte][(reg >> (8 * byte)) & 0xFF];
        return r;
    }
    /// F applied to the register with only bit t set: column t of the shift.
    std::uint32_t ShiftColumn(unsigned t) const { return Step(std::uint32_t{1} << t, 0); }

private:
    CrcParameters m_p;
    std::uint32_t m_mask;
    std::uint32_t m_init;
    bool m_flipOut;  // the register's bit order differs from the result's
    std::array<std::uint32_t, 256> m_table{};
    std::array<std::array<std::uint32_t, 256>, 4> m_inverse{};
};
