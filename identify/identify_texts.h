#pragma once
// The identification's texts (UTF-8) and a rule in words such as
// "CRC-16/XMODEM（高字节在前），第2字节 至 倒数第4字节，其后1字节结束符；300/300 帧".

#include <cstdint>
#include <span>
#include <string>

#include "common/text_table.h"
#include "identify/checksum_identify.h"

// printf formats; the comment names the arguments.
#define VELMORRA_IDENTIFY_TEXTS(X)                                                                    \
    X(LowFirst, "低字节在前") /* the value's order, for values of two bytes and more */                \
    X(HighFirst, "高字节在前")                                                                        \
    X(ModelWithOrder, "%s（%s）") /* model, order */                                                  \
    X(RangeFromFirst, "第%u字节 至 第%u字节") /* start, end */                                        \
    X(RangeFromLast, "第%u字节 至 倒数第%u字节")                                                      \
    X(Trailer, "，其后%u字节结束符") /* bytes after the value */                                      \
    X(HexValue, "，校验码为%u位16进制文本") /* hex digits */                                          \
    X(SeparatorValue, "，其后为“%s”及%u位16进制文本校验码") /* separator, hex digits */              \
    X(OverHexPairs, "，按16进制文本所表示的字节计算")                                                 \
    X(Blocks, "，其后每%u字节一个校验码") /* bytes a block */                                         \
    X(Held, "；%s/%s 帧") /* held, frames */                                                          \
    X(Structural, "（结构性：所覆盖字节的结果在每帧中都相同）")                                       \
    X(Failing, "；不成立：第%s行") /* lines */                                                        \
    X(MoreLines, "等共%s行") /* all lines */                                                          \
    X(PlusConstant, "%s + 0x%s") /* model, constant */                                                \
    X(XorConstant, "%s XOR 0x%s")                                                                     \
    X(Negated, "−%s") /* model */                                                                     \
    X(ConstantMinus, "0x%s − %s") /* constant, model */                                               \
    X(SolvedCrc, "CRC-%u（多项式 0x%s，初始值 0x%s，%s，%s，结果异或值 0x%s）")                       \
    /* width, poly, init, input reflection, output reflection, xorout */                              \
    X(SolvedInitUnknown, "（帧长不足以区分初始值与结果异或值，取可能的初始值中最小的）")               \
    X(InputReflected, "输入反转")                                                                     \
    X(InputNotReflected, "输入不反转")                                                                \
    X(OutputReflected, "输出反转")                                                                    \
    X(OutputNotReflected, "输出不反转")                                                               \
    X(Summary, "共 %s 帧（%s 种不同），%s 条规则") /* frames, distinct, rules */                      \
    X(NoRule, "没有在至少 %s%% 的帧中成立的校验规则") /* share */                                     \
    X(TooFewDistinct, "各帧都相同或只有一帧：无法把校验规则与巧合区分开")                             \
    X(ClassHeading, "首字节为 %02X 的帧（%s 帧）：") /* first byte, frames */                         \
    X(Unclassified, "不属于任何类的帧：第%s行") /* lines */                                           \
    X(Cancelled, "已停止")                                                                            \
    X(Comma, "，") /* between the parts of a rule */                                                  \
    X(LineSeparator, "、") /* between line numbers */

enum class IdentifyText : std::uint8_t { VELMORRA_IDENTIFY_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t IDENTIFY_TEXT_COUNT = 0 VELMORRA_IDENTIFY_TEXTS(VELMORRA_TEXT_ONE);

/// The text of that id in the current language.
const char* IdentifyTextOf(IdentifyText id);
const char* IdentifyTextOf(IdentifyText id, TextLanguage language);

/// The model with its constant: "SUM8 XOR 0x44", "0xFF − SUM8", "CRC-16/KERMIT".
std::string RuleModelText(const IdentifyRule& rule);

/// The rule in words, without the frames it holds in.
std::string RuleText(const IdentifyRule& rule);

/// The rule in words with the frames it holds in, structural and failing lines (the first
/// `maxLines` of them).
std::string IdentifiedRuleText(const IdentifiedRule& rule, std::size_t maxLines = 8);

/// Line numbers "3、17、250".
std::string LineListText(std::span<const std::uint64_t> lines, std::size_t maxLines);

/// printf into a std::string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
