#pragma once
// The renderings of a frame on the string formatting page. Every text is narrow (GBK) bytes.

#include <cstdint>
#include <span>
#include <string>

// Which byte of each pair is the high byte of a UTF-16 code unit.
enum class UnicodeByteOrder : std::uint8_t {
    HighFirst,  // "FF1FF2"
    LowFirst,   // "FF2FF1"
};

/// Each byte as a character of the code page; a zero byte vanishes.
std::string RenderAscii(std::span<const std::uint8_t> bytes);

/// Byte pairs as UTF-16 code units (an odd last byte pairs with zero), up to the first zero unit.
std::string RenderUnicode(std::span<const std::uint8_t> bytes, UnicodeByteOrder order);

/// "%03d " per byte.
std::string RenderDecimal(std::span<const std::uint8_t> bytes);

/// The decimal value a byte reads as when taken for two BCD digits (0 to 105).
std::uint8_t BcdValue(std::uint8_t b);

/// "%02X " of BcdValue per byte.
std::string RenderBcd(std::span<const std::uint8_t> bytes);

/// Pairs of bytes 0x30-0x3F joined into one byte each, as "%02X "; otherwise "非3X3X编码格式" (in the current language).
std::string Render3x3x(std::span<const std::uint8_t> bytes);
