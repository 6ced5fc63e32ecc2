// The command line's line reading: the characters of a UTF-8 line as the window's boxes see them
// (against the well-formed byte sequences of the Unicode standard, table 3-7), and --extract's
// frame taken out of them, which the hex grammar then takes whole. The notations themselves are
// fuzz_capture_notation's.
//
// Input: the line.

#include <vector>

#include "cli/frame_input.h"
#include "common/capture_notation.h"
#include "common/hex_text.h"
#include "fuzz_support.h"

namespace {

// Length of the well-formed UTF-8 sequence at k, or 0.
std::size_t WellFormedLength(std::string_view text, std::size_t k, char32_t& c)
{
    const auto b = [&](std::size_t at) { return at < text.size() ? static_cast<unsigned char>(text[at]) : 0x100u; };
    const auto in = [](unsigned v, unsigned low, unsigned high) { return v >= low && v <= high; };
    const unsigned b0 = b(k), b1 = b(k + 1), b2 = b(k + 2), b3 = b(k + 3);
    std::size_t length = 0;
    if (b0 <= 0x7F)
        length = 1;
    else if (in(b0, 0xC2, 0xDF) && in(b1, 0x80, 0xBF))
        length = 2;
    else if ((b0 == 0xE0 && in(b1, 0xA0, 0xBF)) || (in(b0, 0xE1, 0xEC) && in(b1, 0x80, 0xBF)) ||
             (b0 == 0xED && in(b1, 0x80, 0x9F)) || (in(b0, 0xEE, 0xEF) && in(b1, 0x80, 0xBF)))
        length = in(b2, 0x80, 0xBF) ? 3 : 0;
    else if ((b0 == 0xF0 && in(b1, 0x90, 0xBF)) || (in(b0, 0xF1, 0xF3) && in(b1, 0x80, 0xBF)) || (b0 == 0xF4 && in(b1, 0x80, 0x8F)))
        length = in(b2, 0x80, 0xBF) && in(b3, 0x80, 0xBF) ? 4 : 0;
    c = 0;
    for (std::size_t t = 0; t < length; ++t)
        c = t == 0 ? b0 & (length == 1 ? 0x7F : 0x7F >> length) : c << 6 | (b(k + t) & 0x3F);
    return length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    std::string expected;
    for (std::size_t k = 0; k < line.size();) {
        char32_t c = 0;
        const std::size_t length = WellFormedLength(line, k, c);
        expected += length == 0 || c > 0xFF ? '?' : static_cast<char>(c);
        k += length ? length : 1;
    }
    const std::string characters = CharactersOf(line);
    FUZZ_CHECK(characters == expected, Shown(line) + " -> " + Shown(characters));

    // --extract reads the characters: its frame is their log frame in the hex grammar, which the
    // grammar takes whole and which, read again as a log line, is itself. Text beyond ASCII only
    // separates, so the frame is the same as in the raw bytes.
    const std::string frame = ExtractLogFrame(characters);
    const std::vector<std::uint8_t> found = FindCaptureFrame(characters, CaptureReading::Log);
    FUZZ_CHECK(frame.size() == 3 * found.size(), Shown(characters) + " -> " + Shown(frame));
    FUZZ_CHECK(found == FindCaptureFrame(line, CaptureReading::Log), Shown(line) + " -> " + Shown(frame));
    if (!frame.empty()) {
        std::vector<std::uint8_t> bytes(found.size());
        std::size_t count = 0;
        FUZZ_CHECK(ParseHexText(frame, bytes, count) == HexParseResult::Ok && count == found.size() && bytes == found,
                   Shown(characters) + " -> " + Shown(frame));
        FUZZ_CHECK(ExtractLogFrame(frame) == frame, Shown(frame) + " -> " + Shown(ExtractLogFrame(frame)));
    }
    return 0;
}
