#include "identify/identify_log.h"

#include "checksum/checksum_search.h"
#include "common/hex_input_profile.h"

namespace {

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The longest run of blank-separated two-digit hex tokens, joined by blanks; the first of
// equally long ones.
std::string LongestPairRun(std::string_view line)
{
    std::string best, run;
    std::size_t bestCount = 0, count = 0;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && Blank(line[at]))
            ++at;
        std::size_t end = at;
        while (end < line.size() && !Blank(line[end]))
            ++end;
        const std::string_view token = line.substr(at, end - at);
        if (token.size() == 2 && HexDigitValue(token[0]) >= 0 && HexDigitValue(token[1]) >= 0) {
            run += token;
            ++count;
            if (count > bestCount) {
                bestCount = count;
                best = run;
            }
        } else if (!token.empty()) {
            run.clear();
            count = 0;
        }
        at = end;
    }
    return best;
}

} // namespace

IdentifyLog ReadIdentifyLog(std::string_view text, bool extract)
{
    IdentifyLog log;
    std::vector<std::uint8_t> buffer(MAX_SEARCH_BYTES);
    std::uint64_t number = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++number;
        std::size_t count = 0;
        HexParseResult result = ParseHexText(line, buffer, count);
        if (result == HexParseResult::Empty)
            continue;
        if (extract && (result == HexParseResult::BadDigit || result == HexParseResult::OddLength)) {
            const std::string run = LongestPairRun(line);
            if (!run.empty() && ParseHexText(run, buffer, count) == HexParseResult::Ok)
                result = HexParseResult::Ok;
        }
        if (result != HexParseResult::Ok) {
            log.refused.push_back({number, HexErrorText(HEX_PROFILE_CHECKSUM, result, MAX_SEARCH_BYTES), result});
            continue;
        }
        log.frames.push_back({number, {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(count)}});
    }
    return log;
}
