#include "sms/sms_log.h"

#include <algorithm>

#include "common/hex_text.h"

namespace {

// Ctrl-Z ends the PDU typed after AT+CMGS; a log may show it as it is.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\x1A';
}

bool IsHexToken(std::string_view token)
{
    return !token.empty() && std::all_of(token.begin(), token.end(), [](char c) { return HexDigitValue(c) >= 0; });
}

} // namespace

std::string ExtractPduHex(std::string_view line)
{
    std::string_view run;                  // the longest blank-free run
    std::size_t pairsStart = 0, pairs = 0;  // the run of pairs being read
    std::size_t bestPairsStart = 0, bestPairsEnd = 0, bestPairs = 0;
    for (std::size_t k = 0; k < line.size();) {
        while (k < line.size() && IsBlank(line[k]))
            ++k;
        const std::size_t start = k;
        while (k < line.size() && !IsBlank(line[k]))
            ++k;
        const std::string_view token = line.substr(start, k - start);
        if (token.empty())
            break;
        const bool hex = IsHexToken(token);
        if (hex && token.size() % 2 == 0 && token.size() > run.size())
            run = token;
        if (hex && token.size() == 2) {
            if (pairs++ == 0)
                pairsStart = start;
            if (pairs > bestPairs) {
                bestPairs = pairs;
                bestPairsStart = pairsStart;
                bestPairsEnd = k;
            }
        } else {
            pairs = 0;
        }
    }
    if (bestPairs > run.size() / 2) {
        if (bestPairs < MIN_PDU_BYTES)
            return {};
        std::string text(line.substr(bestPairsStart, bestPairsEnd - bestPairsStart));
        std::replace_if(text.begin(), text.end(), IsBlank, ' ');
        return text;
    }
    return run.size() / 2 >= MIN_PDU_BYTES ? std::string(run) : std::string();
}
