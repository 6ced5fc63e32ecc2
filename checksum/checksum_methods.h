#pragma once
// The six checksum methods over a byte range [start, end) of a frame, and the text of a result.
// The methods themselves are their register types (checksum_registers.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "checksum/checksum_registers.h"

enum class ChecksumMethod : std::uint8_t { BCC, SUM, LRC, CRC16, CRC16S, CRC32 };

inline constexpr std::size_t CHECKSUM_METHOD_COUNT = 6;

// The order of the page's method list and of the workers started for "ALL".
inline constexpr std::array<ChecksumMethod, CHECKSUM_METHOD_COUNT> CHECKSUM_METHODS = {
    ChecksumMethod::BCC,   ChecksumMethod::SUM,    ChecksumMethod::LRC,
    ChecksumMethod::CRC16, ChecksumMethod::CRC16S, ChecksumMethod::CRC32,
};

/// "BCC", "SUM", "LRC", "CRC16", "CRC16S" or "CRC32".
const char* ChecksumMethodName(ChecksumMethod method);

/// A two-byte result.
struct ChecksumBytes {
    std::uint8_t low;
    std::uint8_t high;
    bool operator==(const ChecksumBytes&) const = default;
};

/// Exclusive or of the bytes.
std::uint8_t ComputeBcc(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);
/// Sum of the bytes modulo 256.
std::uint8_t ComputeSum(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);
/// Two's complement of the sum.
std::uint8_t ComputeLrc(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);
/// CRC-16/MODBUS, low byte first.
ChecksumBytes ComputeCrc16(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);
/// CRC-16/UMTS (init 0, polynomial 0x8005 unreflected).
ChecksumBytes ComputeCrc16S(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);
/// Low 16 bits of the CRC-32 register without the final inversion (CRC-32/JAMCRC).
ChecksumBytes ComputeCrc32(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);

/// Calls `f` with a value of the method's register type and returns what it returns.
template <typename F>
constexpr decltype(auto) WithRegister(ChecksumMethod method, F&& f)
{
    switch (method) {
    case ChecksumMethod::BCC: return f(BccRegister{});
    case ChecksumMethod::SUM: return f(SumRegister{});
    case ChecksumMethod::LRC: return f(LrcRegister{});
    case ChecksumMethod::CRC16: return f(Crc16Register{});
    case ChecksumMethod::CRC16S: return f(Crc16SRegister{});
    case ChecksumMethod::CRC32: break;
    }
    return f(Crc32Register{});
}

/// Bytes of the result: 1 for BCC, SUM and LRC; 2 (low, high) for the CRC methods.
constexpr std::size_t ChecksumWidth(ChecksumMethod method)
{
    return WithRegister(method, []<typename Register>(Register) { return Register::WIDTH; });
}

/// Any method's result as a value: the one byte, or low | high << 8.
std::uint16_t ComputeChecksum(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t start,
                              std::size_t end);

/// "%02X" for a one-byte method, "%02X %02X" low byte first for a two-byte one.
std::string FormatChecksum(ChecksumMethod method, std::uint16_t value);
