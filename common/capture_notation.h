#pragma once
// Capture notations: the one place that turns what capture tools, logs and source code show
// (0x01,0x02, {0x01,0x02}, \x01\x02, 01-02-03, 01:02:03, 0102030A, hex dumps, log lines with time
// stamps and direction markers) into the hex grammar of the boxes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_table.h"

/// How a line is read. A log's time stamps never count as bytes; a paste takes a lone
/// "01:02:03" as bytes when nothing else in the line is.
enum class CaptureReading { Paste, Log };

/// The bytes of the longest frame written in one line (the first of equally long ones), or none.
/// Time stamps, dates, signed and decimal numbers and hex dump offsets are not frames.
std::vector<std::uint8_t> FindCaptureFrame(std::string_view line, CaptureReading reading);

/// The frame of a log line in the hex grammar ("01 02 03 "); empty when the line holds none.
std::string ExtractLogFrame(std::string_view line);

/// A pasted text: the frame of every line, joined in order, in the hex grammar; empty when no
/// line holds one.
std::string TidyCaptureText(std::string_view text);

// The texts of this module (UTF-8).
#define VELMORRA_CAPTURE_TEXTS(X) X(NoHexData, "没有找到16进制数据")

enum class CaptureText { VELMORRA_CAPTURE_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t CAPTURE_TEXT_COUNT = 0 VELMORRA_CAPTURE_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language.
const char* CaptureTextOf(CaptureText text);
const char* CaptureTextOf(CaptureText text, TextLanguage language);
