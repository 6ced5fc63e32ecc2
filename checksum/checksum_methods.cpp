#include "checksum/checksum_methods.h"

#include <cstdio>

namespace {

template <typename Register>
std::uint16_t Compute(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return Register::Result(RunRegister<Register>(frame, start, end));
}

ChecksumBytes Split(std::uint16_t value)
{
    return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
}

} // namespace

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
    return static_cast<std::uint8_t>(Compute<BccRegister>(frame, start, end));
}

std::uint8_t ComputeSum(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return static_cast<std::uint8_t>(Compute<SumRegister>(frame, start, end));
}

std::uint8_t ComputeLrc(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return static_cast<std::uint8_t>(Compute<LrcRegister>(frame, start, end));
}

ChecksumBytes ComputeCrc16(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return Split(Compute<Crc16Register>(frame, start, end));
}

ChecksumBytes ComputeCrc16S(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return Split(Compute<Crc16SRegister>(frame, start, end));
}

ChecksumBytes ComputeCrc32(std::span<const std::uint8_t> frame, std::size_t start, std::size_t end)
{
    return Split(Compute<Crc32Register>(frame, start, end));
}

std::uint16_t ComputeChecksum(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t start,
                              std::size_t end)
{
    return WithRegister(method, [&]<typename Register>(Register) { return Compute<Register>(frame, start, end); });
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
