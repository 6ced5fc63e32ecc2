#pragma once
// The seven columns of a checksum result row: titles and cell texts, for the page's list and
// the command line alike.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "checksum/checksum_search.h"

enum class ChecksumColumn { Number, Method, Start, End, Length, Checksum, Content };

inline constexpr std::size_t CHECKSUM_COLUMN_COUNT = 7;

/// "序号", "校验方法", "起始位", "结束位", "长度", "校验码" or "校验内容" (UTF-8), in the current language.
const char* ChecksumColumnTitle(ChecksumColumn column);

/// The cell text of a row whose number (1-based) is `number`; the content needs the frame.
std::string ChecksumCellText(ChecksumColumn column, const ChecksumMatch& match, std::uint64_t number,
                             std::span<const std::uint8_t> frame);
