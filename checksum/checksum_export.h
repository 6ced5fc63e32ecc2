#pragma once
// The result list as text for other programs: tab-separated lines for the clipboard, CSV
// (RFC 4180) for a file; the column titles first, every cell as the list shows it.

#include <cstdint>
#include <span>
#include <string>

#include "checksum/checksum_columns.h"

enum class TableText { TabSeparated, Csv };

/// The line of the column titles, with its line end ("\n"; CSV "\r\n").
std::string ChecksumTitleLine(TableText kind);

/// The line of one row, numbered `number`, with its line end.
std::string ChecksumRowLine(const ChecksumMatch& match, std::uint64_t number, std::span<const std::uint8_t> frame,
                            TableText kind);

/// What a CSV file starts with, so that spreadsheets read its Chinese titles as UTF-8.
inline constexpr char CSV_FILE_START[] = "\xEF\xBB\xBF";
