// The command line's line reading: the characters of a UTF-8 line as the window's boxes see them
// (against the well-formed byte sequences of the Unicode standard, table 3-7), and --extract's
// frame taken out of a log line (against a split into blank-separated words), which the hex
// grammar then takes whole.
//
// Input: the line.

#include <vector>

#include "cli/frame_input.h"
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

std::string ReferenceRun(std::string_view line)
{
    std::vector<std::string_view> words;
    for (std::size_t k = 0; k < line.size();) {
        const std::size_t start = line.find_first_not_of(" \t", k);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        k = end;
    }
    const auto pair = [](std::string_view w) { return w.size() == 2 && HexDigitValue(w[0]) >= 0 && HexDigitValue(w[1]) >= 0; };
    std::size_t best = 0, bestLength = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::size_t j = i;
        while (j < words.size() && pair(words[j]))
            ++j;
        if (j - i > bestLength)
            best = i, bestLength = j - i;
    }
    std::string run;
    for (std::size_t i = best; i < best + bestLength; ++i)
        run += std::string(words[i]) + (i + 1 < best + bestLength ? " " : "");
    return run;
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

    for (const std::string_view text : {line, std::string_view(characters)}) {
        const std::string run = LongestHexRun(text);
        FUZZ_CHECK(run == ReferenceRun(text), Shown(text) + " -> " + Shown(run));
        if (!run.empty()) {
            std::vector<std::uint8_t> bytes(run.size());
            std::size_t count = 0;
            FUZZ_CHECK(ParseHexText(run, bytes, count) == HexParseResult::Ok && 3 * count == run.size() + 1, run);
        }
    }
    return 0;
}
