#pragma once
// Hexadecimal frame text: the grammar every page shares, and the text renderings of bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::size_t MAX_HEX_BYTES = 512;

enum class HexParseResult { Ok, Empty, OddLength, TooLong, BadDigit };

/// Value of one hex digit ("0"-"9", "A"-"F", "a"-"f"), or -1 for any other character.
int HexDigitValue(char c);

/// Value of one pair of hex digits; false when either character is not a hex digit.
bool ParseHexByte(char high, char low, std::uint8_t& byte);

/// Parses a hex text into `buffer` (its size is the byte limit); blanks are ignored anywhere.
/// The whole buffer is zeroed once the length checks pass; `count` is set only on Ok.
HexParseResult ParseHexText(std::string_view text, std::span<std::uint8_t> buffer, std::size_t& count);

/// "%02X " per byte: upper-case pairs, one blank after every byte.
std::string FormatHexBytes(std::span<const std::uint8_t> bytes);

/// A single value of 1, 2, 4 or 8 bytes: "%02X" per byte, single blanks between, none at the end.
std::string FormatHexValue(std::span<const std::uint8_t> bytes);
