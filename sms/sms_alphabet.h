#pragma once
// The alphabets of SMS user data (3GPP TS 23.038): the GSM 7-bit default alphabet with its
// extension table and the national language shift tables (clause 6.2.1, Annex A), the packing of
// septets into octets, and UCS2. Every text comes out as UTF-8.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr std::uint8_t GSM_ESCAPE = 0x1B;

// National language identifiers of TS 23.038 clause 6.2.1.2.4 this program has tables for.
inline constexpr std::uint8_t GSM_LANGUAGE_DEFAULT = 0;
inline constexpr std::uint8_t GSM_LANGUAGE_TURKISH = 1;
inline constexpr std::uint8_t GSM_LANGUAGE_SPANISH = 2;
inline constexpr std::uint8_t GSM_LANGUAGE_PORTUGUESE = 3;

/// The tables a message's user data header selects; 0 is the default alphabet.
struct GsmShiftTables {
    std::uint8_t locking = GSM_LANGUAGE_DEFAULT;
    std::uint8_t single = GSM_LANGUAGE_DEFAULT;
};

/// Whether the locking shift table of a language is known (Spanish has none in the standard).
bool HasGsmLockingTable(std::uint8_t language);
/// Whether the single shift table of a language is known.
bool HasGsmSingleTable(std::uint8_t language);

/// `count` septets packed least significant bit first, starting `firstBit` bits into `bytes`;
/// fewer when the bytes end first (only whole septets are read).
std::vector<std::uint8_t> UnpackGsmSeptets(std::span<const std::uint8_t> bytes, std::size_t firstBit, std::size_t count);

/// The characters of a septet, UTF-8, under the given tables; an escape takes the next septet
/// from the single shift table, falling back to the locking table's character where it has none.
std::string GsmSeptetsToUtf8(std::span<const std::uint8_t> septets, GsmShiftTables tables = {});

/// Big-endian UTF-16 units as UTF-8: surrogate pairs joined, a lone surrogate U+FFFD.
std::string Ucs2ToUtf8(std::span<const std::uint16_t> units);
