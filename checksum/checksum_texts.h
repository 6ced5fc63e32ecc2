#pragma once
// The checksum analysis's texts (UTF-8): the result list's column titles, the page's refusal and
// the rule of a consensus in words (printf formats: method name, start, end).

#include <cstddef>
#include <cstdint>

#include "common/text_table.h"

#define VELMORRA_CHECKSUM_TEXTS(X)                      \
    X(ColumnNumber, "序号")                             \
    X(ColumnMethod, "校验方法")                         \
    X(ColumnStart, "起始位")                            \
    X(ColumnEnd, "结束位")                              \
    X(ColumnLength, "长度")                             \
    X(ColumnChecksum, "校验码")                         \
    X(ColumnContent, "校验内容")                        \
    X(NoData, "请输入要分析校验的数据！")               \
    X(RuleFromFirst, "%s, 第%u字节 至 第%u字节")        \
    X(RuleFromLast, "%s, 第%u字节 至 倒数第%u字节")

enum class ChecksumText : std::uint8_t { VELMORRA_CHECKSUM_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t CHECKSUM_TEXT_COUNT = 0 VELMORRA_CHECKSUM_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language.
const char* ChecksumTextOf(ChecksumText id);
const char* ChecksumTextOf(ChecksumText id, TextLanguage language);
