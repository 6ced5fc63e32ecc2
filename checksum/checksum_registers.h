#pragma once
// One register type per checksum method: what the method keeps while it reads a range byte by
// byte, and how that register becomes the checksum. The single computation (Compute*), the
// carried walk of the range search and the prefix-key join all run these types, so each method
// is defined here once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

using CrcTable = std::array<std::uint32_t, 256>;

/// Reflected table of a right-shifting CRC with the given reflected polynomial.
constexpr CrcTable BuildReflectedTable(std::uint32_t polynomial)
{
    CrcTable table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t a = i;
        for (int bit = 0; bit < 8; ++bit)
            a = (a & 1) ? (a >> 1) ^ polynomial : a >> 1;
        table[i] = a;
    }
    return table;
}

/// CRC-16/MODBUS table (polynomial 0x8005 reflected, 0xA001).
constexpr CrcTable BuildCrc16Table() { return BuildReflectedTable(0xA001); }

/// CRC-32 table (polynomial 0x04C11DB7 reflected, 0xEDB88320).
constexpr CrcTable BuildCrc32Table() { return BuildReflectedTable(0xEDB88320); }

/// One byte into a CRC16S register, bit by bit (polynomial 0x8005, most significant bit first).
constexpr std::uint16_t StepCrc16SBits(std::uint16_t crc, std::uint8_t b)
{
    crc = static_cast<std::uint16_t>(crc ^ (b << 8));
    for (int bit = 0; bit < 8; ++bit)
        crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x8005) : static_cast<std::uint16_t>(crc << 1);
    return crc;
}

/// The eight bit steps of CRC16S folded into one table: they depend only on the byte and the
/// register's high byte.
constexpr CrcTable BuildCrc16STable()
{
    CrcTable table{};
    for (std::uint32_t i = 0; i < 256; ++i)
        table[i] = StepCrc16SBits(0, static_cast<std::uint8_t>(i));
    return table;
}

inline constexpr CrcTable CRC16_TABLE = BuildCrc16Table();
inline constexpr CrcTable CRC16S_TABLE = BuildCrc16STable();
inline constexpr CrcTable CRC32_TABLE = BuildCrc32Table();

// What the prefix-key join may assume of a register (S_k is the register over the first k bytes):
enum class RegisterAlgebra {
    Difference,  // the register over [i, j) is Remove(S_j, S_i), S started from INIT
    Linear,      // Step is linear over GF(2) in register and byte together, Step(r, 0) invertible
    None,        // the checksum is only part of the register: no key pair exists
};

// Each register: WIDTH (bytes of the checksum in the frame), Value, INIT, Step (one byte in)
// and Result (the checksum: the one byte, or low | high << 8). The joinable ones also give
// RegisterOf, the register whose Result is a given checksum.

struct BccRegister {
    static constexpr std::size_t WIDTH = 1;
    using Value = std::uint8_t;
    static constexpr Value INIT = 0;
    static constexpr RegisterAlgebra ALGEBRA = RegisterAlgebra::Difference;
    static constexpr Value Step(Value r, std::uint8_t b) { return static_cast<Value>(r ^ b); }
    static constexpr std::uint16_t Result(Value r) { return r; }
    static constexpr Value RegisterOf(std::uint16_t checksum) { return static_cast<Value>(checksum); }
    static constexpr Value Remove(Value whole, Value head) { return static_cast<Value>(whole ^ head); }
};

struct SumRegister {
    static constexpr std::size_t WIDTH = 1;
    using Value = std::uint8_t;
    static constexpr Value INIT = 0;
    static constexpr RegisterAlgebra ALGEBRA = RegisterAlgebra::Difference;
    static constexpr Value Step(Value r, std::uint8_t b) { return static_cast<Value>(r + b); }
    static constexpr std::uint16_t Result(Value r) { return r; }
    static constexpr Value RegisterOf(std::uint16_t checksum) { return static_cast<Value>(checksum); }
    static constexpr Value Remove(Value whole, Value head) { return static_cast<Value>(whole - head); }
};

// The sum, negated only when it becomes the checksum.
struct LrcRegister : SumRegister {
    static constexpr std::uint16_t Result(Value r) { return static_cast<Value>(-r); }
    static constexpr Value RegisterOf(std::uint16_t checksum) { return static_cast<Value>(-checksum); }
};

struct Crc16Register {
    static constexpr std::size_t WIDTH = 2;
    using Value = std::uint16_t;
    static constexpr Value INIT = 0xFFFF;
    static constexpr RegisterAlgebra ALGEBRA = RegisterAlgebra::Linear;
    static constexpr Value Step(Value r, std::uint8_t b)
    {
        return static_cast<Value>((r >> 8) ^ CRC16_TABLE[(r ^ b) & 0xFF]);
    }
    static constexpr std::uint16_t Result(Value r) { return r; }
    static constexpr Value RegisterOf(std::uint16_t checksum) { return checksum; }
};

struct Crc16SRegister {
    static constexpr std::size_t WIDTH = 2;
    using Value = std::uint16_t;
    static constexpr Value INIT = 0x0000;
    static constexpr RegisterAlgebra ALGEBRA = RegisterAlgebra::Linear;
    static constexpr Value Step(Value r, std::uint8_t b)
    {
        return static_cast<Value>((r << 8) ^ CRC16S_TABLE[(r >> 8) ^ b]);
    }
    static constexpr std::uint16_t Result(Value r) { return r; }
    static constexpr Value RegisterOf(std::uint16_t checksum) { return checksum; }
};

// Only the low 16 bits are the checksum; there is no final inversion.
struct Crc32Register {
    static constexpr std::size_t WIDTH = 2;
    using Value = std::uint32_t;
    static constexpr Value INIT = 0xFFFFFFFF;
    static constexpr RegisterAlgebra ALGEBRA = RegisterAlgebra::None;
    static constexpr Value Step(Value r, std::uint8_t b) { return (r >> 8) ^ CRC32_TABLE[(r ^ b) & 0xFF]; }
    static constexpr std::uint16_t Result(Value r) { return static_cast<std::uint16_t>(r & 0xFFFF); }
};

/// The register of bytes [start, end) of the frame, from INIT.
template <typename Register>
constexpr typename Register::Value RunRegister(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    typename Register::Value r = Register::INIT;
    for (std::size_t k = start; k < end; ++k)
        r = Register::Step(r, frame[k]);
    return r;
}

static_assert(CRC16_TABLE[1] == 0xC0C1 && CRC16_TABLE[255] == 0x4040);
static_assert(CRC32_TABLE[1] == 0x77073096);
static_assert(Crc16SRegister::Step(0x1234, 0x56) == StepCrc16SBits(0x1234, 0x56));
