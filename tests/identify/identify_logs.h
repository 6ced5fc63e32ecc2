#pragma once
// Generated logs for the identification tests: random payloads of varied lengths, each frame
// closed by a checksum computed here by the definitions themselves (the bit-by-bit CRC, plain
// loops for the sums), never by the identification's own fast paths.

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "identify/checksum_identify.h"

using Bytes = std::vector<std::uint8_t>;

inline Bytes RandomBytes(std::mt19937& random, std::size_t count)
{
    Bytes bytes(count);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

/// `value` in `bytes` bytes, low byte first or high byte first.
inline void AppendValue(Bytes& frame, std::uint32_t value, std::size_t bytes, bool highFirst)
{
    for (std::size_t k = 0; k < bytes; ++k)
        frame.push_back(static_cast<std::uint8_t>(value >> (8 * (highFirst ? bytes - 1 - k : k))));
}

/// "%02X" per byte, upper case, no blanks.
inline void AppendHex(Bytes& frame, std::uint32_t value, std::size_t bytes, bool lower = false)
{
    const char* digits = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    for (std::size_t k = bytes; k-- > 0;) {
        frame.push_back(static_cast<std::uint8_t>(digits[(value >> (8 * k + 4)) & 0xF]));
        frame.push_back(static_cast<std::uint8_t>(digits[(value >> (8 * k)) & 0xF]));
    }
}

inline std::uint32_t Sum(const Bytes& bytes, std::size_t first, std::size_t end)
{
    std::uint32_t sum = 0;
    for (std::size_t k = first; k < end; ++k)
        sum += bytes[k];
    return sum;
}

inline std::uint32_t Xor(const Bytes& bytes, std::size_t first, std::size_t end)
{
    std::uint32_t x = 0;
    for (std::size_t k = first; k < end; ++k)
        x ^= bytes[k];
    return x;
}

/// `count` frames numbered as lines 1, 2, ...
inline std::vector<IdentifyFrame> MakeLog(std::size_t count, const std::function<Bytes(std::size_t)>& make)
{
    std::vector<IdentifyFrame> log;
    for (std::size_t k = 0; k < count; ++k)
        log.push_back({k + 1, make(k)});
    return log;
}
