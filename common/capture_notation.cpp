#include "common/capture_notation.h"

#include <span>

#include "common/hex_text.h"

namespace {

const char* const CHINESE[] = {VELMORRA_CAPTURE_TEXTS(VELMORRA_TEXT_SOURCE)};

constexpr TextEntry<CaptureText> ENGLISH[] = {
    {CaptureText::NoHexData, "No hex data found"},
};
static_assert(IsCompleteTable(ENGLISH, CAPTURE_TEXT_COUNT));

// One number written in hex: "01" or "0102030A" (Plain), "0x01" (Prefixed), "\x01" (Escaped).
enum class Kind : std::uint8_t { Plain, Prefixed, Escaped };

struct Element {
    Kind kind;
    std::size_t begin;  // characters of the line
    std::size_t end;
    std::string_view digits;
    bool afterDash = false;  // Plain right after '-': a sign, unless it continues a chain
};

// Elements that make one piece: a single element, or a chain of numbers joined by one '-' or ':'.
struct Unit {
    std::size_t first;  // elements
    std::size_t last;
    bool chain;
    bool bytes;  // stands for bytes at all
};

// A clock time in the line; with a fraction ("10:00:01.123") it is a time stamp whatever else
// the line holds.
struct TimeSpan {
    std::size_t begin;
    std::size_t end;
    bool fraction;
};

bool IsHex(char c)
{
    return HexDigitValue(c) >= 0;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsWord(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Text beyond ASCII (a Chinese label, which reaches here as '?' or as its Latin-1 bytes)
// separates like a blank.
bool IsForeign(char c)
{
    return c == '?' || static_cast<unsigned char>(c) >= 0x80;
}

// What may stand right before and right after a number. Not '.', '/' or a letter: "3.14",
// "2024/05/01" and "COM3" hold no bytes.
bool Opens(char c)
{
    return IsBlank(c) || IsForeign(c) || std::string_view(":=,;([{<>\"'|").find(c) != std::string_view::npos;
}

bool Closes(char c)
{
    return IsBlank(c) || IsForeign(c) || std::string_view(":,;)]}<>\"'|-").find(c) != std::string_view::npos;
}

std::size_t CountDigits(std::string_view line, std::size_t at)
{
    std::size_t k = at;
    while (k < line.size() && IsDigit(line[k]))
        ++k;
    return k - at;
}

int Decimal(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// "9:30", "10:00:01", "10:00:01.123", "10:00:01,123" at `at`.
bool MatchTime(std::string_view line, std::size_t at, TimeSpan& span)
{
    std::size_t k = at;
    const std::size_t hourDigits = CountDigits(line, k);
    if (hourDigits < 1 || hourDigits > 2)
        return false;
    int values[3] = {Decimal(line.substr(k, hourDigits)), 0, 0};
    int parts = 1;
    k += hourDigits;
    while (parts < 3 && k < line.size() && line[k] == ':' && CountDigits(line, k + 1) == 2) {
        values[parts++] = Decimal(line.substr(k + 1, 2));
        k += 3;
    }
    if (parts < 2 || values[0] > 23 || values[1] > 59 || values[2] > 59)
        return false;
    bool fraction = false;
    if (k + 1 < line.size() && (line[k] == '.' || line[k] == ',') && IsDigit(line[k + 1])) {
        fraction = true;
        k += 1 + CountDigits(line, k + 1);
    }
    if (k < line.size() && (IsWord(line[k]) || line[k] == ':'))
        return false;  // "12:34:56:78" is a chain of bytes, not a time
    span = {at, k, fraction};
    return true;
}

std::vector<TimeSpan> FindTimes(std::string_view line)
{
    std::vector<TimeSpan> times;
    for (std::size_t i = 0; i < line.size();) {
        const char before = i == 0 ? ' ' : line[i - 1];
        // Not inside a chain of bytes ("AA:12:34") or a number ("1.10:00").
        const bool inChain = before == ':' && i >= 2 && IsHex(line[i - 2]);
        TimeSpan span;
        if (IsDigit(line[i]) && !IsWord(before) && !inChain && before != '.' && MatchTime(line, i, span)) {
            times.push_back(span);
            i = span.end;
        } else {
            ++i;
        }
    }
    return times;
}

std::vector<Element> ScanElements(std::string_view line, std::span<const TimeSpan> skipped)
{
    std::vector<Element> elements;
    const std::size_t n = line.size();
    const auto before = [&](std::size_t i) { return i == 0 ? ' ' : line[i - 1]; };
    const auto closes = [&](std::size_t j) { return j == n || Closes(line[j]); };
    std::size_t nextSkip = 0;
    std::size_t i = 0;
    while (i < n) {
        if (nextSkip < skipped.size() && i >= skipped[nextSkip].begin) {
            i = std::max(i, skipped[nextSkip++].end);
            continue;
        }
        const char c = line[i];
        if (c == '\\' && i + 3 < n && (line[i + 1] == 'x' || line[i + 1] == 'X') && IsHex(line[i + 2]) && IsHex(line[i + 3])) {
            elements.push_back({Kind::Escaped, i, i + 4, line.substr(i + 2, 2)});
            i += 4;
            continue;
        }
        const bool opened = Opens(before(i)) || before(i) == '-';
        if (opened && c == '0' && i + 2 < n && (line[i + 1] == 'x' || line[i + 1] == 'X') && IsHex(line[i + 2])) {
            std::size_t j = i + 2;
            while (j < n && IsHex(line[j]))
                ++j;
            if (closes(j) && before(i) != '-') {
                elements.push_back({Kind::Prefixed, i, j, line.substr(i + 2, j - i - 2)});
                i = j;
                continue;
            }
        } else if (opened && IsHex(c)) {
            std::size_t j = i;
            while (j < n && IsHex(line[j]))
                ++j;
            if (closes(j)) {
                elements.push_back({Kind::Plain, i, j, line.substr(i, j - i), i > 0 && before(i) == '-'});
                i = j;
                continue;
            }
        }
        if (IsWord(c)) {
            while (i < n && IsWord(line[i]))
                ++i;  // the rest of a word holds no number
        } else {
            ++i;
        }
    }
    return elements;
}

// A hex dump's offset: "00000010  01 02 …" (two blanks or more) or "00000010: 0102 …".
bool IsOffset(std::string_view line, const std::vector<Element>& elements)
{
    if (elements.size() < 2 || elements[0].kind != Kind::Plain || elements[0].digits.size() < 4)
        return false;
    for (std::size_t k = 0; k < elements[0].begin; ++k)
        if (!IsBlank(line[k]))
            return false;
    const std::string_view gap = line.substr(elements[0].end, elements[1].begin - elements[0].end);
    if (gap.starts_with(':'))
        return true;
    return gap.size() >= 2 && gap.find_first_not_of(" \t") == std::string_view::npos;
}

std::vector<Unit> MakeUnits(std::string_view line, const std::vector<Element>& elements, std::size_t first)
{
    std::vector<Unit> units;
    for (std::size_t k = first; k < elements.size();) {
        const Element& e = elements[k];
        if (e.kind != Kind::Plain) {
            units.push_back({k, k, false, true});
            ++k;
            continue;
        }
        std::size_t last = k;
        char joiner = 0;
        while (last + 1 < elements.size() && elements[last + 1].kind == Kind::Plain &&
               elements[last + 1].begin == elements[last].end + 1) {
            const char c = line[elements[last].end];
            if ((c != '-' && c != ':') || (joiner && c != joiner))
                break;
            joiner = c;
            ++last;
        }
        if (last > k) {
            // "01-02-03", "AA:BB:CC": every member one byte; "2024-05-01" is none.
            bool pairs = !e.afterDash;
            for (std::size_t m = k; m <= last; ++m)
                pairs = pairs && elements[m].digits.size() == 2;
            units.push_back({k, last, true, pairs});
        } else {
            units.push_back({k, k, false, e.digits.size() % 2 == 0 && !e.afterDash});
        }
        k = last + 1;
    }
    return units;
}

enum class Gap { None, Blanks, Comma, Other };

Gap ClassifyGap(std::string_view gap)
{
    if (gap.empty())
        return Gap::None;
    std::size_t commas = 0;
    for (char c : gap) {
        if (c == ',' || c == ';')
            ++commas;
        else if (!IsBlank(c))
            return Gap::Other;
    }
    return commas == 0 ? Gap::Blanks : commas == 1 ? Gap::Comma : Gap::Other;
}

bool Joins(std::string_view line, const std::vector<Element>& elements, const Unit& u, const Unit& v)
{
    if (!u.bytes || !v.bytes || u.chain || v.chain)
        return false;
    const Element& a = elements[u.last];
    const Element& b = elements[v.first];
    if (a.kind != b.kind)
        return false;
    const Gap gap = ClassifyGap(line.substr(a.end, b.begin - a.end));
    switch (a.kind) {
    case Kind::Plain:
        return gap == Gap::Blanks || (gap == Gap::Comma && a.digits.size() == 2 && b.digits.size() == 2);
    case Kind::Prefixed:
        return gap == Gap::Blanks || gap == Gap::Comma;
    case Kind::Escaped:
        return gap != Gap::Other;
    }
    return false;
}

void AppendBytes(std::string_view digits, std::vector<std::uint8_t>& bytes)
{
    std::size_t k = 0;
    if (digits.size() % 2 != 0) {
        bytes.push_back(static_cast<std::uint8_t>(HexDigitValue(digits[0])));  // "0x1": one byte
        k = 1;
    }
    for (; k + 1 < digits.size(); k += 2) {
        std::uint8_t byte = 0;
        ParseHexByte(digits[k], digits[k + 1], byte);
        bytes.push_back(byte);
    }
}

std::size_t ByteCount(const Element& e)
{
    return (e.digits.size() + 1) / 2;
}

// "9600", "1024", "115200" in a log are numbers: a lone unspaced run without a hex letter, shorter
// than four bytes.
bool IsDecimalNumber(const std::vector<Element>& elements, const std::vector<Unit>& units, std::size_t first,
                     std::size_t last)
{
    if (first != last || units[first].chain)
        return false;
    const Element& e = elements[units[first].first];
    if (e.kind != Kind::Plain || e.digits.size() <= 2 || e.digits.size() >= 8)
        return false;
    for (char c : e.digits)
        if (!IsDigit(c))
            return false;
    return true;
}

std::vector<std::uint8_t> LongestRun(std::string_view line, std::span<const TimeSpan> skipped, CaptureReading reading)
{
    const std::vector<Element> elements = ScanElements(line, skipped);
    const std::vector<Unit> units = MakeUnits(line, elements, IsOffset(line, elements) ? 1 : 0);

    std::size_t bestFirst = 0, bestLast = 0, bestBytes = 0;
    for (std::size_t first = 0; first < units.size();) {
        if (!units[first].bytes) {
            ++first;
            continue;
        }
        std::size_t last = first;
        while (last + 1 < units.size() && Joins(line, elements, units[last], units[last + 1]))
            ++last;
        std::size_t count = 0;
        for (std::size_t e = units[first].first; e <= units[last].last; ++e)
            count += ByteCount(elements[e]);
        const bool number = reading == CaptureReading::Log && IsDecimalNumber(elements, units, first, last);
        if (!number && count > bestBytes) {
            bestFirst = first;
            bestLast = last;
            bestBytes = count;
        }
        first = last + 1;
    }
    std::vector<std::uint8_t> bytes;
    if (bestBytes == 0)
        return bytes;
    bytes.reserve(bestBytes);
    for (std::size_t e = units[bestFirst].first; e <= units[bestLast].last; ++e)
        AppendBytes(elements[e].digits, bytes);
    return bytes;
}

} // namespace

std::vector<std::uint8_t> FindCaptureFrame(std::string_view line, CaptureReading reading)
{
    const std::vector<TimeSpan> times = FindTimes(line);
    std::vector<std::uint8_t> bytes = LongestRun(line, times, reading);
    if (!bytes.empty() || reading == CaptureReading::Log)
        return bytes;
    // Pasted alone, "01:02:03" is bytes; only a time with a fraction is surely a time stamp.
    std::vector<TimeSpan> stamps;
    for (const TimeSpan& time : times)
        if (time.fraction)
            stamps.push_back(time);
    return LongestRun(line, stamps, reading);
}

std::string ExtractLogFrame(std::string_view line)
{
    return FormatHexBytes(FindCaptureFrame(line, CaptureReading::Log));
}

std::string TidyCaptureText(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::vector<std::uint8_t> frame = FindCaptureFrame(line, CaptureReading::Paste);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return FormatHexBytes(bytes);
}

const char* CaptureTextOf(CaptureText text, TextLanguage language)
{
    return PickText(text, language, CHINESE, ENGLISH);
}

const char* CaptureTextOf(CaptureText text)
{
    return CaptureTextOf(text, CurrentTextLanguage());
}
