#pragma once
// Where a selection in the hex box lands in the ASCII view and back. The hex box holds three
// characters per byte (two digits and a blank); the ASCII view is taken as one character per
// byte, so zero bytes and double-byte characters make the mirrored range drift.

#include <cstddef>
#include <optional>
#include <string_view>

struct TextRange {
    std::size_t start;
    std::size_t end;  // one past the last character
};

/// The ASCII-view range of the hex-box selection `selected` starting at `start`; nothing when
/// it does not both start and end inside a byte's digits.
std::optional<TextRange> HexSelectionToAscii(std::size_t start, std::string_view selected);

/// The hex-box range of an ASCII-view selection.
TextRange AsciiSelectionToHex(TextRange selection);
