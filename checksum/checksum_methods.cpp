#include "checksum/checksum_methods.h"

#include <cstdio>

static_assert(CRC16_TABLE[1] == 0xC0C1 && CRC16_TABLE[255] == 0x4040);
static_assert(CRC32_TABLE[1] == 0x77073096);

const char* ChecksumMethodName(ChecksumMethod method)
{
    switch (method) {
    case ChecksumMethod::BCC: return "BCC";
    case ChecksumMethod::SUM: return "SUM";
    case ChecksumMethod::LRC: return "LRC";
    case ChecksumMethod::CRC16: return "CRC16";
    case ChecksumMethod::CRC16S: return "CRC16S";
    case ChecksumMethod::CRC32: return "CRC32";
    }
    return "";
}

std::uint8_t ComputeBcc(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    std::uint8_t result = 0;
    for (std::size_t k = start; k < end; ++k)
        result ^= frame[k];
    return result;
}

std::uint8_t ComputeSum(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    std::uint8_t result = 0;
    for (std::size_t k = start; k < end; ++k)
        result = static_cast<std::uint8_t>(result + frame[k]);
    return result;
}

std::uint8_t ComputeLrc(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return static_cast<std::uint8_t>(-ComputeSum(frame, start, end));
}

ChecksumBytes ComputeCrc16(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    std::uint16_t crc = CRC16_INIT;
    for (std::size_t k = start; k < end; ++k)
        crc = StepCrc16(crc, frame[k]);
    return {static_cast<std::uint8_t>(crc & 0xFF), static_cast<std::uint8_t>(crc >> 8)};
}

ChecksumBytes ComputeCrc16S(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    std::uint16_t crc = CRC16S_INIT;
    for (std::size_t k = start; k < end; ++k)
        crc = StepCrc16S(crc, frame[k]);
    return {static_cast<std::uint8_t>(crc & 0xFF), static_cast<std::uint8_t>(crc >> 8)};
}

ChecksumBytes ComputeCrc32(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    std::uint32_t crc = CRC32_INIT;
    for (std::size_t k = start; k < end; ++k)
        crc = StepCrc32(crc, frame[k]);
    return {static_cast<std::uint8_t>(crc & 0xFF), static_cast<std::uint8_t>((crc >> 8) & 0xFF)};
}

std::uint16_t ComputeChecksum(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t start,
                              std::size_t end)
{
    ChecksumBytes bytes{};
    switch (method) {
    case ChecksumMethod::BCC: return ComputeBcc(frame, start, end);
    case ChecksumMethod::SUM: return ComputeSum(frame, start, end);
    case ChecksumMethod::LRC: return ComputeLrc(frame, start, end);
    case ChecksumMethod::CRC16: bytes = ComputeCrc16(frame, start, end); break;
    case ChecksumMethod::CRC16S: bytes = ComputeCrc16S(frame, start, end); break;
    case ChecksumMethod::CRC32: bytes = ComputeCrc32(frame, start, end); break;
    }
    return static_cast<std::uint16_t>(bytes.low | bytes.high << 8);
}

std::string FormatChecksum(ChecksumMethod method, std::uint16_t value)
{
    char text[8];
    if (ChecksumWidth(method) == 1)
        std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    else
        std::snprintf(text, sizeof text, "%02X %02X", value & 0xFF, value >> 8);
    return text;
}
