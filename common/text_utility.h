#pragma once
// Small text pieces that core, the command line and the window all need: decimal numbers, hex
// digits and UTF-8. Narrow (GBK) text goes through common/code_page.h instead.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

inline constexpr char HEX_DIGITS_UPPER[] = "0123456789ABCDEF";
inline constexpr char HEX_DIGITS_LOWER[] = "0123456789abcdef";

/// The value in decimal digits, with a "-" before a negative one.
std::string DecimalText(std::int64_t value);
std::string DecimalText(std::uint64_t value);
// The other integer types pick the overload of their signedness.
template <typename T>
    requires std::is_integral_v<T> && (!std::is_same_v<T, std::int64_t>) && (!std::is_same_v<T, std::uint64_t>)
std::string DecimalText(T value)
{
    if constexpr (std::is_signed_v<T>)
        return DecimalText(static_cast<std::int64_t>(value));
    else
        return DecimalText(static_cast<std::uint64_t>(value));
}

/// Appends the UTF-8 bytes of `c`; a surrogate or a value beyond U+10FFFF becomes U+FFFD.
void AppendUtf8Character(std::string& out, char32_t c);

inline constexpr char32_t NO_CHARACTER = 0xFFFFFFFF;

/// The character of the well-formed UTF-8 sequence at `at`, moving `at` past it. For a byte that
/// starts none (a stray or cut-off sequence, an overlong form, a surrogate, beyond U+10FFFF),
/// NO_CHARACTER, moving `at` past that one byte. `at` must be inside `utf8`.
char32_t NextUtf8(std::string_view utf8, std::size_t& at);
