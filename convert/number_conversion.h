#pragma once
// Numbers of six types to the bytes that hold them in memory, least significant byte first, and back.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// In the order of the page's type buttons.
enum class NumberType { Short, UnsignedShort, Long, UnsignedLong, Float, Double };

inline constexpr int NUMBER_TYPE_COUNT = 6;

struct NumberConversion {
    std::string arrayText;   // the bytes, "%02X" with single blanks
    std::string numberText;  // the value the bytes really hold
};

/// Number of bytes a value of the type takes.
int NumberTypeWidth(NumberType type);

/// Rounds to the nearest float as IEEE 754 does, giving +-infinity beyond the float range.
float RoundToFloat(double value);

/// Reads the number text as the type and returns its bytes and the text of the value they hold.
NumberConversion ConvertNumberToArray(std::string_view numberText, NumberType type);

/// Reads a value of the type from the start of the bytes (missing bytes count as zero).
std::string ConvertArrayToNumber(std::span<const std::uint8_t> bytes, NumberType type);
