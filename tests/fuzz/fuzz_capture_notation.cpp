// Capture notations: the frame of a line in both readings, and a paste tidied into the hex
// grammar. A frame found is written in the line, byte after byte, in one of the notations
// (pairs, runs, 0x…, \x…, chains joined by '-' or ':'); a paste's frame is never shorter than a
// log's; the log frame is ExtractLogFrame's; a tidied paste is the frames of its lines in the
// grammar, and tidies into itself. A time stamp alone is never a frame, and before pairs it is
// passed over; bytes written in any one notation read back as themselves.
//
// Input: a mode byte, then
//   mode 0: a text, read line by line and tidied as a whole;
//   mode 1: a time stamp's fields (hour, minute, second, fraction, form and surroundings, 7 bytes)
//           then up to 32 bytes to write after it as pairs;
//   mode 2: a notation byte (see Write), a byte of surroundings, then up to 48 bytes to write.

#include <algorithm>
#include <vector>

#include "common/capture_notation.h"
#include "common/hex_text.h"
#include "fuzz_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

int Digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '-' || c == ':';
}

// Whether `bytes` stand in the line from some character on as hex numbers, each a run of digits
// (an even number of them, or any number after "0x"; exactly two after "\x"), separated by
// blanks, commas, semicolons, '-' or ':' (nothing before a "\x").
FUZZ_REFERENCE bool WrittenIn(std::string_view line, const Bytes& bytes)
{
    const std::size_t n = line.size();
    for (std::size_t s = 0; s < n; ++s) {
        std::size_t at = s, matched = 0;
        bool first = true;
        for (;;) {
            std::size_t p = at;
            while (!first && p < n && IsSeparator(line[p]))
                ++p;
            const bool escaped = p + 3 < n && line[p] == '\\' && (line[p + 1] == 'x' || line[p + 1] == 'X') && Digit(line[p + 2]) >= 0 &&
                                 Digit(line[p + 3]) >= 0;
            if (!first && p == at && !escaped)
                break;
            Bytes token;
            if (escaped) {
                token.push_back(static_cast<std::uint8_t>(Digit(line[p + 2]) << 4 | Digit(line[p + 3])));
                p += 4;
            } else {
                const bool prefixed = p + 2 < n && line[p] == '0' && (line[p + 1] == 'x' || line[p + 1] == 'X') && Digit(line[p + 2]) >= 0;
                const std::size_t from = prefixed ? p + 2 : p;
                std::size_t end = from;
                while (end < n && Digit(line[end]) >= 0)
                    ++end;
                const std::size_t digits = end - from;
                if (digits == 0 || (!prefixed && digits % 2 != 0))
                    break;
                std::size_t k = from;
                if (digits % 2 != 0)
                    token.push_back(static_cast<std::uint8_t>(Digit(line[k++])));
                for (; k < end; k += 2)
                    token.push_back(static_cast<std::uint8_t>(Digit(line[k]) << 4 | Digit(line[k + 1])));
                p = end;
            }
            if (matched + token.size() > bytes.size() || !std::equal(token.begin(), token.end(), bytes.begin() + static_cast<std::ptrdiff_t>(matched)))
                break;
            matched += token.size();
            if (matched == bytes.size())
                return true;
            at = p;
            first = false;
        }
    }
    return false;
}

std::string Hex(const Bytes& bytes)
{
    return FormatHexBytes(bytes);
}

void CheckLine(std::string_view line)
{
    const Bytes paste = FindCaptureFrame(line, CaptureReading::Paste);
    const Bytes log = FindCaptureFrame(line, CaptureReading::Log);
    FUZZ_CHECK(paste.empty() || WrittenIn(line, paste), Shown(line) + " -> " + Hex(paste));
    FUZZ_CHECK(log.empty() || WrittenIn(line, log), Shown(line) + " -> " + Hex(log));
    FUZZ_CHECK(paste.size() >= log.size(), Shown(line) + ": paste " + Hex(paste) + ", log " + Hex(log));
    FUZZ_CHECK(ExtractLogFrame(line) == Hex(log), Shown(line));
}

void Text(std::string_view text)
{
    Bytes joined;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        CheckLine(line);
        const Bytes frame = FindCaptureFrame(line, CaptureReading::Paste);
        joined.insert(joined.end(), frame.begin(), frame.end());
    }
    const std::string tidied = TidyCaptureText(text);
    FUZZ_CHECK(tidied == Hex(joined), Shown(text) + " -> " + Shown(tidied));
    FUZZ_CHECK(TidyCaptureText(tidied) == tidied, Shown(tidied) + " -> " + Shown(TidyCaptureText(tidied)));
    if (!tidied.empty()) {
        Bytes bytes(joined.size());
        std::size_t count = 0;
        FUZZ_CHECK(ParseHexText(tidied, bytes, count) == HexParseResult::Ok && bytes == joined, Shown(tidied));
    }
}

std::string TwoDigits(unsigned value)
{
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string Pairs(const Bytes& bytes, bool lower)
{
    std::string text;
    for (std::uint8_t b : bytes) {
        static constexpr char UPPER[] = "0123456789ABCDEF", LOWER[] = "0123456789abcdef";
        const char* digits = lower ? LOWER : UPPER;
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

void TimeStamp(CFuzzInput& input)
{
    const unsigned hour = input.Byte() % 24, minute = input.Byte() % 60, second = input.Byte() % 60;
    const std::uint8_t fraction = input.Byte(), form = input.Byte(), around = input.Byte();
    const bool lower = input.Flag();
    std::string stamp = form & 1 ? TwoDigits(hour) : std::to_string(hour);
    stamp += ":" + TwoDigits(minute);
    if (form & 2)
        stamp += ":" + TwoDigits(second);
    const std::size_t fractionDigits = fraction % 7;  // 0: none
    if (fractionDigits > 0) {
        stamp += form & 4 ? ',' : '.';
        for (std::size_t k = 0; k < fractionDigits; ++k)
            stamp += static_cast<char>('0' + (fraction + 3 * k) % 10);
    }
    static constexpr const char* OPEN[] = {"", "[", "(", "<", " ", "2024-05-01 "};
    static constexpr const char* CLOSE[] = {"", "]", ")", ">", " ", ""};
    const std::size_t a = around % std::size(OPEN);
    const std::string line = OPEN[a] + stamp + CLOSE[a];

    FUZZ_CHECK(FindCaptureFrame(line, CaptureReading::Log).empty(), Shown(line));
    if (fractionDigits > 0)
        FUZZ_CHECK(FindCaptureFrame(line, CaptureReading::Paste).empty(), Shown(line));

    const std::span<const std::uint8_t> rest = input.Bytes(32);
    if (rest.empty())
        return;
    const Bytes bytes(rest.begin(), rest.end());
    const std::string direction = around & 0x80 ? " RX: " : " ";
    const std::string logged = line + direction + Pairs(bytes, lower);
    FUZZ_CHECK(FindCaptureFrame(logged, CaptureReading::Log) == bytes, Shown(logged));
    FUZZ_CHECK(FindCaptureFrame(logged, CaptureReading::Paste) == bytes, Shown(logged));
}

// The bytes in one notation: 0 pairs "01 02", 1 run "0102", 2 "0x01,0x02", 3 "{0x01, 0x02}",
// 4 "0x01 0x02", 5 "\x01\x02", 6 "\x01, \x02", 7 "01-02", 8 "01:02", 9 "01,02", 10 a hex dump
// line "00000010  01 02", 11 "0x0102" (one number), 12 "0x1,0x2" (no leading zero).
std::string Write(const Bytes& bytes, unsigned notation, bool lower)
{
    static constexpr char UPPER[] = "0123456789ABCDEF", LOWER[] = "0123456789abcdef";
    const char* digits = lower ? LOWER : UPPER;
    const auto two = [&](std::uint8_t b) { return std::string{digits[b >> 4], digits[b & 15]}; };
    std::string text;
    const auto join = [&](const char* before, const char* between, bool trimmed) {
        for (std::size_t k = 0; k < bytes.size(); ++k) {
            if (k > 0)
                text += between;
            text += before;
            text += trimmed && bytes[k] < 16 ? std::string{digits[bytes[k]]} : two(bytes[k]);
        }
    };
    switch (notation) {
    case 0: join("", " ", false); break;
    case 1: join("", "", false); break;
    case 2: join("0x", ",", false); break;
    case 3: text = "{"; join("0x", ", ", false); text += "}"; break;
    case 4: join("0x", " ", false); break;
    case 5: join("\\x", "", false); break;
    case 6: join("\\x", ", ", false); break;
    case 7: join("", "-", false); break;
    case 8: join("", ":", false); break;
    case 9: join("", ",", false); break;
    case 10: text = "00000010  "; join("", " ", false); break;
    case 11: text = "0x"; join("", "", false); break;
    default: join("0x", ",", true); break;
    }
    return text;
}

void Notation(CFuzzInput& input)
{
    const std::uint8_t choice = input.Byte(), around = input.Byte();
    const unsigned notation = choice % 13;
    const bool lower = choice & 0x80;
    const std::span<const std::uint8_t> rest = input.Bytes(48);
    if (rest.empty())
        return;
    const Bytes bytes(rest.begin(), rest.end());
    const std::string written = Write(bytes, notation, lower);
    // A hex dump's offset stands at the start of its line.
    static constexpr const char* BEFORE[] = {"", "TX: ", "[10:00:01.123] ", "2024-05-01 10:00:01,5 <- ", "data = "};
    const std::string line = (notation == 10 ? std::string() : BEFORE[around % std::size(BEFORE)]) + written + (around & 0x80 ? " (ok)" : "");

    FUZZ_CHECK(FindCaptureFrame(line, CaptureReading::Paste) == bytes, Shown(line) + " -> " + Hex(FindCaptureFrame(line, CaptureReading::Paste)));
    // A log takes "01:02:03" as a time, "1234" as a number.
    const bool number = notation == 1 && written.size() > 2 && written.size() < 8 &&
                        std::all_of(written.begin(), written.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (notation != 8 && !number)
        FUZZ_CHECK(FindCaptureFrame(line, CaptureReading::Log) == bytes, Shown(line) + " -> " + Hex(FindCaptureFrame(line, CaptureReading::Log)));
    CheckLine(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    switch (input.Byte() % 3) {
    case 0:
        Text(input.RestText());
        break;
    case 1:
        TimeStamp(input);
        break;
    default:
        Notation(input);
        break;
    }
    return 0;
}
