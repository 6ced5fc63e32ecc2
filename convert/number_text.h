#pragma once
// The decimal number text of the conversion page: what may be typed, what is accepted, and how
// the text is read as an integer or a floating value.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/convert_texts.h"

/// Blanks removed, a number text may hold at most this many characters.
inline constexpr std::size_t MAX_NUMBER_CHARS = 64;

enum class NumberCheck { Ok, TooLong, Illegal };

// The conversion page's messages (UTF-8), in the current language: looked up where they are used,
// the names kept from when they were constants.
#define NUMBER_MISSING_TEXT (ConvertTextOf(ConvertText::NumberMissing))
#define ARRAY_MISSING_TEXT (ConvertTextOf(ConvertText::ArrayMissing))

/// "输入数据长度异常" for TooLong, "输入数据非法" for Illegal (in the current language), nullptr for Ok.
const char* NumberCheckText(NumberCheck check);

/// Whether a character typed into the number box may reach it, given the box's current text.
bool AcceptNumberKey(char32_t typed, std::string_view currentText);

/// Checks a whole number text: length after removing blanks, then the legal characters.
NumberCheck CheckNumberText(std::string_view text);

/// Leading optional sign and decimal digits, accumulated in 32 bits with wrap-around; else 0.
std::int32_t ReadInteger(std::string_view text);

/// The longest leading decimal floating-point number, as a double; else 0. The point is always '.'.
double ReadFloating(std::string_view text);
