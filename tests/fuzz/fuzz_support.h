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

// A reference's own branches are no coverage to steer by, and tracing its comparisons costs much
// of an input's time: FUZZ_REFERENCE leaves a function (and what is inlined into it) out of the
// coverage instrumentation. The sanitizers still check it.
#define FUZZ_REFERENCE __attribute__((no_sanitize("coverage")))

// ASan keeps freed memory in quarantine to catch a use after free; its default of 256 MB makes
// nearly every allocation of an allocation-heavy target touch fresh pages, about half the time of
// some. An input's own frees stay well inside 16 MB, so a use after free within one input is still
// caught. ASAN_OPTIONS set by hand still wins. (Not inline: the runtime looks the symbol up, and
// each target is one translation unit.)
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=16";
}

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

/// Whether a text is well-formed UTF-8 (the Unicode standard, table 3-7).
inline bool IsWellFormedUtf8(std::string_view text)
{
    const auto in = [](unsigned v, unsigned low, unsigned high) { return v >= low && v <= high; };
    for (std::size_t k = 0; k < text.size();) {
        const auto b = [&](std::size_t at) { return at < text.size() ? static_cast<unsigned char>(text[at]) : 0x100u; };
        const unsigned b0 = b(k), b1 = b(k + 1), b2 = b(k + 2), b3 = b(k + 3);
        std::size_t length = 0;
        if (b0 <= 0x7F)
            length = 1;
        else if (in(b0, 0xC2, 0xDF) && in(b1, 0x80, 0xBF))
            length = 2;
        else if (((b0 == 0xE0 && in(b1, 0xA0, 0xBF)) || (in(b0, 0xE1, 0xEC) && in(b1, 0x80, 0xBF)) ||
                  (b0 == 0xED && in(b1, 0x80, 0x9F)) || (in(b0, 0xEE, 0xEF) && in(b1, 0x80, 0xBF))) &&
                 in(b2, 0x80, 0xBF))
            length = 3;
        else if (((b0 == 0xF0 && in(b1, 0x90, 0xBF)) || (in(b0, 0xF1, 0xF3) && in(b1, 0x80, 0xBF)) ||
                  (b0 == 0xF4 && in(b1, 0x80, 0x8F))) &&
                 in(b2, 0x80, 0xBF) && in(b3, 0x80, 0xBF))
            length = 4;
        if (length == 0)
            return false;
        k += length;
    }
    return true;
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
