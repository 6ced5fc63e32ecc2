#pragma once
// The identification's texts (UTF-8), one table, and a rule in words such as
// "CRC-16/XMODEM（高字节在前），第2字节 至 倒数第4字节，其后1字节结束符；300/300 帧".

#include <cstdint>
#include <span>
#include <string>

#include "identify/checksum_identify.h"

enum class IdentifyText : std::uint8_t {
    LowFirst,         // the value's order, for values of two bytes and more
    HighFirst,
    ModelWithOrder,   // %s model, %s order
    RangeFromFirst,   // %u start, %u end
    RangeFromLast,
    Trailer,          // %u bytes after the value
    HexValue,         // %u hex digits
    SeparatorValue,   // %s separator, %u hex digits
    OverHexPairs,
    Blocks,           // %u bytes a block
    Held,             // %s held, %s frames
    Structural,
    Failing,          // %s lines
    MoreLines,        // %s further lines
    PlusConstant,     // %s model, %s constant
    XorConstant,
    Negated,          // %s model
    ConstantMinus,    // %s constant, %s model
    SolvedCrc,        // %u width, %s poly, %s init, %s input reflection, %s output reflection, %s xorout
    SolvedInitUnknown,
    InputReflected,
    InputNotReflected,
    OutputReflected,
    OutputNotReflected,
    Summary,          // %s frames, %s distinct, %s rules
    NoRule,           // %s share
    TooFewDistinct,
    ClassHeading,     // %02X first byte, %s frames
    Unclassified,     // %s lines
    Cancelled,
};

/// The text of that id.
const char* IdentifyTextOf(IdentifyText id);

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
