#pragma once
// A rule of the identification: a model, where in a frame it reads and where its value stands.
// The range starts at a byte counted from the first; it ends at a byte counted from the first or
// back from the last (as the consensus of the checksum page's methods counts); the value follows
// the range directly, written in binary or as hex text, and may be followed by trailer bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "checksum/checksum_consensus.h"
#include "identify/checksum_models.h"
#include "identify/crc_parameters.h"

// How a learned constant k meets the model's value v.
enum class ConstantForm : std::uint8_t {
    None,   // v
    Plus,   // v + k (k = 0: the plain sum)
    Xor,    // v XOR k
    Minus,  // k - v (k = 0: the negation, LRC; k = all ones: the complement)
};

enum class CheckOrder : std::uint8_t { LowFirst, HighFirst };

enum class CheckEncoding : std::uint8_t {
    Binary,   // the value's bytes
    HexText,  // two ASCII hex digits per byte, upper or lower case
};

enum class RuleInput : std::uint8_t {
    Bytes,     // the model reads the range's bytes as they stand
    HexPairs,  // the range is hex text; the model reads the bytes it encodes (Modbus ASCII)
};

// Index of a CRC the identification solved, not a row of ChecksumModels().
inline constexpr std::uint16_t SOLVED_CRC_MODEL = 0xFFFF;

struct IdentifyRule {
    std::uint16_t model = 0;  // row of ChecksumModels(), or SOLVED_CRC_MODEL
    CrcParameters solved{};   // the solved CRC's parameters
    bool solvedInitKnown = true;  // false: the frames' lengths cannot tell init from xorout
    ConstantForm form = ConstantForm::None;
    std::uint32_t constant = 0;
    CheckOrder order = CheckOrder::LowFirst;
    CheckEncoding encoding = CheckEncoding::Binary;
    RuleInput input = RuleInput::Bytes;
    std::uint8_t gap = 0;        // bytes between the range and a hex text value ("*"), 0 or 1
    std::uint8_t separator = 0;  // the byte in that gap
    std::uint16_t start = 1;     // 1-based from the first byte
    RuleEnd endFrom = RuleEnd::FromLast;
    std::uint16_t end = 1;       // 1-based from the first byte, or from the last
    std::uint16_t block = 0;     // > 0: after the first range's value, a value after every `block` bytes
    bool operator==(const IdentifyRule&) const = default;
};

/// Bits of the rule's value.
unsigned RuleWidth(const IdentifyRule& rule);
/// Bytes the value takes in a frame: its bytes, or two characters per byte.
std::size_t RuleCheckLength(const IdentifyRule& rule);
/// The model's value combined with the rule's constant.
std::uint32_t ApplyConstant(ConstantForm form, std::uint32_t constant, std::uint32_t value, unsigned width);
/// The model's value over `bytes` (before the constant).
std::uint32_t ComputeRuleModel(const IdentifyRule& rule, std::span<const std::uint8_t> bytes);

/// Bytes after the value, for a rule whose range ends counted from the last byte.
std::optional<unsigned> RuleTrailer(const IdentifyRule& rule);

// Where a rule reads in one frame: the covered ranges and the values after them, 0-based,
// [first, last] inclusive. A block rule has one of each per block.
struct RulePlace {
    std::size_t rangeFirst, rangeLast;
    std::size_t checkFirst, checkLast;
};

/// The places of the rule in a frame of `length` bytes; empty when it does not fit.
std::vector<RulePlace> RulePlaces(const IdentifyRule& rule, std::size_t length);

/// The value standing at a place, read as the rule writes it; none when it is not valid there
/// (a hex digit missing).
std::optional<std::uint32_t> ReadRuleCheck(const IdentifyRule& rule, std::span<const std::uint8_t> frame,
                                           const RulePlace& place);

/// The rule's value over a place's range (constant applied); none when the range is not valid
/// input (hex pairs that are no hex text).
std::optional<std::uint32_t> ComputeRuleCheck(const IdentifyRule& rule, std::span<const std::uint8_t> frame,
                                              const RulePlace& place);

/// Whether the rule holds in the frame: every place fits and every value stands there. The
/// reference every faster test of the identification is compared with.
bool RuleHolds(const IdentifyRule& rule, std::span<const std::uint8_t> frame);

/// The checksum page's method this rule is, where it is one (binary, low byte first, no
/// constant beyond the method's own, no trailer rules on the value).
std::optional<ChecksumMethod> RulePageMethod(const IdentifyRule& rule);

/// Simplicity: rules that tie rank the lower first.
unsigned RuleComplexity(const IdentifyRule& rule);
