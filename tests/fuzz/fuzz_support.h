#pragma once
// What every fuzz target shares: a failed property aborts with its reason (libFuzzer then writes
// the input as a reproducer), and a reader that takes fields off the front of the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

[[noreturn]] inline void FuzzFailure(const char* file, int line, const char* condition, const std::string& detail)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n%s\n", file, line, condition, detail.c_str());
    std::abort();
}

// FUZZ_CHECK(condition) or FUZZ_CHECK(condition, detail): detail is a std::string-convertible
// text evaluated only on failure.
#define FUZZ_CHECK(condition, ...)                                                              \
    do {                                                                                        \
        if (!(condition))                                                                       \
            FuzzFailure(__FILE__, __LINE__, #condition, std::string(__VA_ARGS__));              \
    } while (false)

/// Printable form of a text for failure messages: bytes outside ASCII as \xNN.
inline std::string Shown(std::string_view text)
{
    std::string shown;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            shown += escaped;
        }
    }
    return shown;
}

// Fields from the front of the input; past its end every field reads as zero or empty, so any
// input, however short, is a whole case.
class CFuzzInput {
public:
    CFuzzInput(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    /// Little-endian, as a hex editor shows a seed.
    template <typename Value>
    Value Number()
    {
        std::uint64_t value = 0;
        for (std::size_t k = 0; k < sizeof(Value); ++k)
            value |= std::uint64_t{Byte()} << (8 * k);
        return static_cast<Value>(value);
    }

    bool Flag() { return Byte() & 1; }

    /// Up to `count` bytes.
    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        const std::size_t taken = count < m_size - m_at ? count : m_size - m_at;
        const std::span<const std::uint8_t> bytes(m_data + m_at, taken);
        m_at += taken;
        return bytes;
    }

    /// The bytes up to the next `separator` (which is consumed), or to the end.
    std::string_view TextUntil(char separator)
    {
        const std::size_t start = m_at;
        while (m_at < m_size && m_data[m_at] != static_cast<std::uint8_t>(separator))
            ++m_at;
        const std::string_view text(reinterpret_cast<const char*>(m_data) + start, m_at - start);
        if (m_at < m_size)
            ++m_at;
        return text;
    }

    std::span<const std::uint8_t> Rest() { return Bytes(m_size - m_at); }
    std::string_view RestText()
    {
        const std::span<const std::uint8_t> rest = Rest();
        return {reinterpret_cast<const char*>(rest.data()), rest.size()};
    }
    bool Empty() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};
