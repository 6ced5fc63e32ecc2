#pragma once
// The six checksum methods over a byte range [start, end) of a frame, their lookup tables and
// the text of a result.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class ChecksumMethod : std::uint8_t { BCC, SUM, LRC, CRC16, CRC16S, CRC32 };

inline constexpr std::size_t CHECKSUM_METHOD_COUNT = 6;

// The order of the page's method list and of the workers started for "ALL".
inline constexpr std::array<ChecksumMethod, CHECKSUM_METHOD_COUNT> CHECKSUM_METHODS = {
    ChecksumMethod::BCC,   ChecksumMethod::SUM,    ChecksumMethod::LRC,
    ChecksumMethod::CRC16, ChecksumMethod::CRC16S, ChecksumMethod::CRC32,
};

/// "BCC", "SUM", "LRC", "CRC16", "CRC16S" or "CRC32".
const char* ChecksumMethodName(ChecksumMethod method);

/// Bytes of the result: 1 for BCC, SUM and LRC; 2 (low, high) for the CRC methods.
constexpr std::size_t ChecksumWidth(ChecksumMethod method)
{
    return method == ChecksumMethod::BCC || method == ChecksumMethod::SUM || method == ChecksumMethod::LRC ? 1 : 2;
}

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

inline constexpr CrcTable CRC16_TABLE = BuildCrc16Table();
inline constexpr CrcTable CRC32_TABLE = BuildCrc32Table();

inline constexpr std::uint16_t CRC16_INIT = 0xFFFF;
inline constexpr std::uint16_t CRC16S_INIT = 0x0000;
inline constexpr std::uint32_t CRC32_INIT = 0xFFFFFFFF;

/// One byte into a CRC16 register.
constexpr std::uint16_t StepCrc16(std::uint16_t crc, std::uint8_t b)
{
    return static_cast<std::uint16_t>((crc >> 8) ^ CRC16_TABLE[(crc ^ b) & 0xFF]);
}

/// One byte into a CRC16S register, bit by bit (polynomial 0x8005, most significant bit first).
constexpr std::uint16_t StepCrc16S(std::uint16_t crc, std::uint8_t b)
{
    crc = static_cast<std::uint16_t>(crc ^ (b << 8));
    for (int bit = 0; bit < 8; ++bit)
        crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x8005) : static_cast<std::uint16_t>(crc << 1);
    return crc;
}

/// One byte into a CRC32 register.
constexpr std::uint32_t StepCrc32(std::uint32_t crc, std::uint8_t b)
{
    return (crc >> 8) ^ CRC32_TABLE[(crc ^ b) & 0xFF];
}

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
/// CRC-16/UMTS (init 0, polynomial 0x8005 unreflected), computed bit by bit.
ChecksumBytes ComputeCrc16S(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);
/// Low 16 bits of the CRC-32 register without the final inversion (CRC-32/JAMCRC).
ChecksumBytes ComputeCrc32(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end);

/// Any method's result as a value: the one byte, or low | high << 8.
std::uint16_t ComputeChecksum(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t start,
                              std::size_t end);

/// "%02X" for a one-byte method, "%02X %02X" low byte first for a two-byte one.
std::string FormatChecksum(ChecksumMethod method, std::uint16_t value);
