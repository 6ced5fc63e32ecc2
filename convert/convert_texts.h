#pragma once
// The data conversion's texts (UTF-8): its messages for a missing or refused input.

#include <cstddef>
#include <cstdint>

#include "common/text_table.h"

#define VELMORRA_CONVERT_TEXTS(X)                   \
    X(NumberMissing, "请输入数据")                  \
    X(ArrayMissing, "请输入要转换的数组")           \
    X(NumberTooLong, "输入数据长度异常")            \
    X(NumberIllegal, "输入数据非法")

enum class ConvertText : std::uint8_t { VELMORRA_CONVERT_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t CONVERT_TEXT_COUNT = 0 VELMORRA_CONVERT_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language.
const char* ConvertTextOf(ConvertText id);
const char* ConvertTextOf(ConvertText id, TextLanguage language);
