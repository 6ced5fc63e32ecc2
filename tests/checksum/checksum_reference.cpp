#include "checksum_reference.h"

namespace {

struct CrcModel {
    int width;
    std::uint32_t polynomial;  // not reflected
    std::uint32_t init;
    bool reflected;            // input and output
};

std::uint32_t Reflect(std::uint32_t value, int bits)
{
    std::uint32_t out = 0;
    for (int b = 0; b < bits; ++b)
        if (value & (1u << b))
            out |= 1u << (bits - 1 - b);
    return out;
}

// The textbook shift register: one message bit at a time, most significant first.
std::uint32_t ModelCrc(const CrcModel& m, std::span<const std::uint8_t> bytes)
{
    const std::uint32_t top = 1u << (m.width - 1);
    const std::uint32_t mask = m.width == 32 ? 0xFFFFFFFFu : (1u << m.width) - 1;
    std::uint32_t reg = m.init;
    for (std::uint8_t byte : bytes) {
        const std::uint32_t in = m.reflected ? Reflect(byte, 8) : byte;
        for (int b = 7; b >= 0; --b) {
            const bool feedback = ((reg & top) != 0) != (((in >> b) & 1) != 0);
            reg = (reg << 1) & mask;
            if (feedback)
                reg ^= m.polynomial;
        }
    }
    return m.reflected ? Reflect(reg, m.width) : reg;
}

} // namespace

std::uint16_t ReferenceChecksum(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t start,
                                std::size_t end)
{
    const auto range = frame.subspan(start, end - start);
    unsigned x = 0, sum = 0;
    for (std::uint8_t b : range) {
        x ^= b;
        sum += b;
    }
    switch (method) {
    case ChecksumMethod::BCC: return static_cast<std::uint16_t>(x);
    case ChecksumMethod::SUM: return static_cast<std::uint16_t>(sum % 256);
    case ChecksumMethod::LRC: return static_cast<std::uint16_t>((256 - sum % 256) % 256);
    case ChecksumMethod::CRC16: return static_cast<std::uint16_t>(ModelCrc({16, 0x8005, 0xFFFF, true}, range));
    case ChecksumMethod::CRC16S: return static_cast<std::uint16_t>(ModelCrc({16, 0x8005, 0x0000, false}, range));
    case ChecksumMethod::CRC32:
        return static_cast<std::uint16_t>(ModelCrc({32, 0x04C11DB7, 0xFFFFFFFF, true}, range) & 0xFFFF);
    }
    return 0;
}

std::vector<ChecksumMatch> ReferenceSearch(ChecksumMethod method, std::span<const std::uint8_t> frame)
{
    const bool twoBytes = method == ChecksumMethod::CRC16 || method == ChecksumMethod::CRC16S ||
                          method == ChecksumMethod::CRC32;
    const long n = static_cast<long>(frame.size());
    std::vector<ChecksumMatch> matches;
    for (long i = 0; i <= n - 1; ++i) {
        for (long j = i + 1; twoBytes ? j <= n - 2 : j <= n - 1; ++j) {
            if (!twoBytes && j == i + 1)
                continue;
            const std::uint16_t v = ReferenceChecksum(method, frame, static_cast<std::size_t>(i), static_cast<std::size_t>(j));
            const bool match = twoBytes ? (v & 0xFF) == frame[j] && (v >> 8) == frame[j + 1] : v == frame[j];
            if (match)
                matches.push_back({method, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(j), v});
        }
    }
    return matches;
}
