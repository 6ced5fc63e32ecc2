#pragma once
// The string formatting views' texts (UTF-8 here; the views return them as narrow GBK text, as
// the rest of their output): the PDU view's labels and the two refusals.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text_table.h"

#define VELMORRA_STRING_FORMAT_TEXTS(X)                 \
    X(PduCentre, "SMSC号码:")                           \
    X(PduDestination, "发送号码:")                      \
    X(PduOriginator, "回复号码:")                       \
    X(PduProtocolPlain, "协议标识:普通GSM类型")         \
    X(PduProtocolOther, "协议标识:未识别")              \
    X(PduCoding, "编码方式:")                           \
    X(PduValidityMinutes, "有效期:%1分钟")              \
    X(PduValidityHours, "有效期:%1小时")                \
    X(PduValidityDays, "有效期:%1天")                   \
    X(PduValidityWeeks, "有效期:%1周")                  \
    X(PduTimeStamp, "服务时间戳:")                      \
    X(PduLength, "信息长度:")                           \
    X(PduContent, "信息内容:")                          \
    X(NotPdu, "非PDU编码格式")                          \
    X(Not3x3x, "非3X3X编码格式")

enum class StringFormatText : std::uint8_t { VELMORRA_STRING_FORMAT_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t STRING_FORMAT_TEXT_COUNT = 0 VELMORRA_STRING_FORMAT_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language (UTF-8).
const char* StringFormatTextOf(StringFormatText id);
const char* StringFormatTextOf(StringFormatText id, TextLanguage language);

/// The text in the current language with its arguments, as narrow GBK text.
std::string StringFormatNarrow(StringFormatText id, std::initializer_list<std::string_view> args = {});
