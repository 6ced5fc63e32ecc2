#pragma once
// The byte analysis's texts (UTF-8): the decode pass's refusal, a found value's place and the
// lists' column titles.

#include <cstddef>
#include <cstdint>

#include "common/text_table.h"

#define VELMORRA_BYTES_TEXTS(X)             \
    X(NoRegion, "请选择解析区域！")         \
    X(HitPlace, "第%1字节 %2") /* offset, type */ \
    X(ColumnNumber, "序号")                 \
    X(ColumnStart, "起始位")                \
    X(ColumnType, "数据类型")               \
    X(ColumnOrder, "字节顺序")              \
    X(ColumnLength, "长度")                 \
    X(ColumnMemory, "内存块信息")           \
    X(ColumnValue, "数值")                  \
    X(ColumnScaled, "换算值")               \
    X(ColumnDifference, "误差")

enum class BytesText : std::uint8_t { VELMORRA_BYTES_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t BYTES_TEXT_COUNT = 0 VELMORRA_BYTES_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language.
const char* BytesTextOf(BytesText id);
const char* BytesTextOf(BytesText id, TextLanguage language);
