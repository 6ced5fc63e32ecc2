#pragma once
// Narrow text is GBK, the code page the interface is written for, whatever the machine's locale.
// Both directions go through glibc iconv; each thread keeps its own converters, so any thread may
// call these at any time.

#include <string>
#include <string_view>

/// GBK bytes of UTF-16 code units, converted unit by unit; "?" for a unit GBK has no code for.
std::string WideToNarrow(std::u16string_view units);

/// UTF-16 of GBK bytes for display; each invalid or cut-off sequence becomes U+FFFD.
std::u16string NarrowToWide(std::string_view narrow);

/// UTF-8 of UTF-16 code units; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::u16string_view units);

/// GBK bytes of UTF-8 text (the program's own texts); "?" for a character GBK has no code for and
/// for each byte that is no valid UTF-8.
std::string Utf8ToNarrow(std::string_view utf8);

/// UTF-8 of GBK bytes, for output outside the window; as NarrowToWide for bad sequences.
std::string NarrowToUtf8(std::string_view narrow);
