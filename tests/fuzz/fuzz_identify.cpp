// Checksum identification on fuzzed logs. Whatever the frames: every rule reported holds in
// exactly the frames it says (each frame tested on its own with RuleHolds, and VerifyRule agrees
// on the count, the failing lines and whether it is structural), in at least the share asked of
// its class, no more rules a class than asked, ranked. A rule planted in every frame is reported
// when the frames show it: its value varies, the first two pairs of distinct frames hold it over
// ranges that differ, and the frames are enough that chance would not give it. A log's text reads
// into frames line by line as the hex grammar (or, extracting, the longest run of pairs) reads
// each line. libFuzzer's -timeout bounds the time an input may take.
//
// Input: an options byte (bit 0: the rest is a log's text, bit 1: extracting; bits 2-3: the
// share asked, 50, 75, 90 or 100 %; bit 4: every rule, else at most 10; bit 5: the solver for
// unknown CRCs), then for frames: the planted rule (model row, form, constant in 4 bytes, a byte of
// flags: high byte first, end counted from the last, a CRC of the next 9 bytes' parameters
// instead of the row (width, polynomial, init, xorout); start, end), then up to 12 frames, each a
// length byte (bit 7: a copy of the one before with one byte changed by the next two bytes; bit 6:
// the rule left out; length b % 33) and its bytes.

#include <algorithm>
#include <cmath>
#include <set>
#include <string_view>
#include <vector>

#include "identify/checksum_identify.h"
#include "identify/identify_log.h"
#include "common/hex_text.h"
#include "fuzz_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Frames longer than this stay out of the identification in a log's text (its sums search every
// pair of positions); the reading itself is checked for every line.
constexpr std::size_t MAX_IDENTIFIED_BYTES = 96;
constexpr std::size_t MAX_FRAMES = 12;

std::string Describe(const IdentifyRule& r)
{
    char text[160];
    std::snprintf(text, sizeof text, "model %u form %d k %X order %d enc %d input %d gap %u sep %u start %u %s %u block %u", r.model,
                  static_cast<int>(r.form), r.constant, static_cast<int>(r.order), static_cast<int>(r.encoding),
                  static_cast<int>(r.input), r.gap, r.separator, r.start, r.endFrom == RuleEnd::FromFirst ? "first" : "last", r.end,
                  r.block);
    return text;
}

// The identification's one form of a function: the plain value for a zero constant, the
// complement as k - value, an offset of the top bit as XOR; one-byte values low byte first.
IdentifyRule Canonical(IdentifyRule rule)
{
    const unsigned width = RuleWidth(rule);
    const std::uint32_t mask = CrcMask(width);
    if ((rule.form == ConstantForm::Plus || rule.form == ConstantForm::Xor) && rule.constant == 0)
        rule.form = ConstantForm::None;
    else if (rule.form == ConstantForm::Xor && rule.constant == mask)
        rule.form = ConstantForm::Minus;
    else if (rule.form == ConstantForm::Plus && rule.constant == (std::uint32_t{1} << (width - 1)))
        rule.form = ConstantForm::Xor;
    if (width == 8)
        rule.order = CheckOrder::LowFirst;
    return rule;
}

// Whether a pair of frames shows the rule to the pair search: it holds in both over at least two
// bytes for a one-byte value, and, counted alike in both, not over the same bytes and value.
bool PairShows(const IdentifyRule& rule, const Bytes& a, const Bytes& b)
{
    if (!RuleHolds(rule, a) || !RuleHolds(rule, b))
        return false;
    const RulePlace pa = RulePlaces(rule, a.size())[0], pb = RulePlaces(rule, b.size())[0];
    const std::size_t minLength = RuleWidth(rule) == 8 ? 2 : 1;
    if (pa.rangeLast - pa.rangeFirst + 1 < minLength || pb.rangeLast - pb.rangeFirst + 1 < minLength)
        return false;
    const bool aligned = rule.endFrom == RuleEnd::FromFirst || a.size() == b.size();
    if (!aligned || std::string_view(ChecksumModels()[rule.model].name) == "CRC32-LOW16")
        return true;
    return !std::equal(a.begin() + static_cast<std::ptrdiff_t>(pa.rangeFirst), a.begin() + static_cast<std::ptrdiff_t>(pa.checkLast + 1),
                       b.begin() + static_cast<std::ptrdiff_t>(pb.rangeFirst), b.begin() + static_cast<std::ptrdiff_t>(pb.checkLast + 1));
}

std::uint64_t Needed(double percent, std::size_t frames)
{
    const double needed = std::ceil(percent * static_cast<double>(frames) / 100.0 - 1e-9);
    return std::max<std::uint64_t>(1, static_cast<std::uint64_t>(std::max(0.0, needed)));
}

void CheckReport(const std::vector<IdentifyFrame>& frames, const IdentifyOptions& options, const IdentifyReport& report)
{
    FUZZ_CHECK(!report.cancelled && report.frames == frames.size());
    std::set<Bytes> distinct;
    for (const IdentifyFrame& frame : frames)
        distinct.insert(frame.bytes);
    FUZZ_CHECK(report.distinct == distinct.size(), std::to_string(report.distinct) + " of " + std::to_string(distinct.size()));

    std::size_t inClass = 0;
    for (std::size_t k = 0; k < report.rules.size(); ++k) {
        const IdentifiedRule& r = report.rules[k];
        FUZZ_CHECK(r.classByte.has_value() == report.classes);
        std::vector<const IdentifyFrame*> members;
        for (const IdentifyFrame& frame : frames)
            if (!report.classes || (!frame.bytes.empty() && frame.bytes[0] == *r.classByte))
                members.push_back(&frame);
        std::uint64_t held = 0;
        std::vector<std::uint64_t> failing;
        for (const IdentifyFrame* frame : members) {
            if (RuleHolds(r.rule, frame->bytes))
                ++held;
            else
                failing.push_back(frame->line);
        }
        FUZZ_CHECK(r.frames == members.size() && r.held == held && r.failing == failing,
                   Describe(r.rule) + ": said " + std::to_string(r.held) + " of " + std::to_string(r.frames) + ", holds in " +
                       std::to_string(held) + " of " + std::to_string(members.size()));
        const IdentifiedRule verified = VerifyRule(r.rule, members);
        FUZZ_CHECK(verified.held == r.held && verified.failing == r.failing && verified.structural == r.structural, Describe(r.rule));
        FUZZ_CHECK(r.held >= Needed(options.minSharePercent, members.size()), Describe(r.rule));
        const bool sameClass = k > 0 && report.rules[k - 1].classByte == r.classByte;
        inClass = sameClass ? inClass + 1 : 1;
        FUZZ_CHECK(inClass <= options.maxRules);
        if (sameClass)
            FUZZ_CHECK(!RanksBefore(r, report.rules[k - 1]), Describe(r.rule) + " ranks before " + Describe(report.rules[k - 1].rule));
    }
    if (report.classes) {
        std::set<std::uint8_t> classes;
        for (const IdentifiedRule& r : report.rules)
            classes.insert(*r.classByte);
        for (const IdentifyFrame& frame : frames) {
            const bool unclassified = std::find(report.unclassified.begin(), report.unclassified.end(), frame.line) != report.unclassified.end();
            if (!frame.bytes.empty() && classes.count(frame.bytes[0]))
                FUZZ_CHECK(!unclassified, "line " + std::to_string(frame.line));
            if (frame.bytes.empty())
                FUZZ_CHECK(unclassified, "line " + std::to_string(frame.line));
        }
    } else {
        FUZZ_CHECK(report.unclassified.empty());
    }
}

// The planted rule must be reported, where the frames show it.
void CheckPlanted(const IdentifyRule& planted, const std::vector<IdentifyFrame>& frames, const IdentifyReport& report)
{
    if (planted.model == SOLVED_CRC_MODEL)
        return;  // where the solver finds a CRC is its own target's and the unit tests' matter
    std::vector<const IdentifyFrame*> all;
    std::vector<const Bytes*> distinct;
    std::set<Bytes> seen;
    std::size_t longest = 0, shortest = SIZE_MAX;
    double meanLength = 0;
    for (const IdentifyFrame& frame : frames) {
        if (!RuleHolds(planted, frame.bytes))
            return;
        all.push_back(&frame);
        if (seen.insert(frame.bytes).second)
            distinct.push_back(&frame.bytes);
        longest = std::max(longest, frame.bytes.size());
        shortest = std::min(shortest, frame.bytes.size());
        meanLength += static_cast<double>(frame.bytes.size()) / static_cast<double>(frames.size());
    }
    if (distinct.size() < 4 || !(PairShows(planted, *distinct[0], *distinct[1]) || PairShows(planted, *distinct[2], *distinct[3])))
        return;
    if (VerifyRule(planted, all).structural)
        return;
    // Chance: the identification tries about 2 L^2 rules of a width per model and form (at most
    // 128 of them), each holding by chance in 2^-width of the frames; a learned constant costs a frame.
    const IdentifyRule canonical = Canonical(planted);
    const unsigned width = RuleWidth(canonical);
    const std::uint32_t mask = CrcMask(width);
    const bool standard = canonical.form == ConstantForm::None ||
                          (canonical.form == ConstantForm::Minus && (canonical.constant == 0 || canonical.constant == mask));
    const double learned = standard ? 0 : 1;
    if (width * (static_cast<double>(frames.size()) - learned) - std::log2(2 * meanLength * meanLength * 128) < 4)
        return;
    // Frames of one length: a range counted from the first byte is reported counted from the last.
    IdentifyRule expected = canonical;
    if (shortest == longest && expected.endFrom == RuleEnd::FromFirst) {
        expected.endFrom = RuleEnd::FromLast;
        expected.end = static_cast<std::uint16_t>(shortest - expected.end + 1);
    }
    const auto found = std::find_if(report.rules.begin(), report.rules.end(), [&](const IdentifiedRule& r) { return r.rule == expected; });
    std::string listed;
    for (const IdentifiedRule& r : report.rules)
        listed += "\n  " + Describe(r.rule) + " held " + std::to_string(r.held);
    FUZZ_CHECK(found != report.rules.end() && found->held == frames.size(), "planted " + Describe(expected) + " not reported; got" + listed);
}

void Identify(const std::vector<IdentifyFrame>& frames, const IdentifyOptions& options, const IdentifyRule* planted)
{
    std::vector<unsigned> progress;
    IdentifyOptions withProgress = options;
    withProgress.progress = [&](unsigned percent) { progress.push_back(percent); };
    const IdentifyReport report = IdentifyChecksums(frames, withProgress);
    CheckReport(frames, options, report);
    for (std::size_t k = 0; k < progress.size(); ++k)
        FUZZ_CHECK(progress[k] <= 100 && (k == 0 || progress[k] >= progress[k - 1]));
    if (planted)
        CheckPlanted(*planted, frames, report);
}

void Log(std::string_view text, bool extract, const IdentifyOptions& options)
{
    const IdentifyLog log = ReadIdentifyLog(text, extract);
    // Each line on its own: blank, refused, or the frame the grammar reads in it.
    std::vector<std::uint8_t> buffer(MAX_SEARCH_BYTES);
    std::size_t frame = 0, refused = 0;
    std::uint64_t number = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++number;
        std::size_t count = 0;
        const HexParseResult result = ParseHexText(line, buffer, count);
        if (result == HexParseResult::Empty)
            continue;
        const bool isFrame = frame < log.frames.size() && log.frames[frame].line == number;
        const bool isRefused = refused < log.refused.size() && log.refused[refused].line == number;
        FUZZ_CHECK(isFrame != isRefused, "line " + std::to_string(number) + ": " + Shown(line));
        if (isRefused) {
            FUZZ_CHECK(result != HexParseResult::Ok && !log.refused[refused].message.empty() && IsWellFormedUtf8(log.refused[refused].message));
            ++refused;
            continue;
        }
        const Bytes& bytes = log.frames[frame++].bytes;
        if (result == HexParseResult::Ok) {
            FUZZ_CHECK(std::equal(bytes.begin(), bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(count)),
                       Shown(line));
        } else {
            // Extracted: pairs that stand in the line, blank-separated.
            FUZZ_CHECK(extract && !bytes.empty(), Shown(line));
            std::string normal;
            for (char c : line) {
                const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
                if (blank && (normal.empty() || normal.back() != ' '))
                    normal += ' ';
                else if (!blank)
                    normal += c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
            }
            FUZZ_CHECK((" " + normal + " ").find(" " + FormatHexValue(bytes) + " ") != std::string::npos, Shown(line) + " -> " + FormatHexValue(bytes));
        }
    }
    FUZZ_CHECK(frame == log.frames.size() && refused == log.refused.size());

    std::vector<IdentifyFrame> frames;
    for (const IdentifyFrame& f : log.frames)
        if (f.bytes.size() <= MAX_IDENTIFIED_BYTES && frames.size() < MAX_FRAMES)
            frames.push_back(f);
    Identify(frames, options, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t choices = input.Byte();
    IdentifyOptions options;
    static constexpr double SHARES[] = {50, 75, 90, 100};
    options.minSharePercent = SHARES[(choices >> 2) & 3];
    options.maxRules = choices & 16 ? SIZE_MAX : 10;
    if (!(choices & 32))
        options.unknownCrc = nullptr;
    if (choices & 1) {
        Log(input.RestText(), choices & 2, options);
        return 0;
    }

    const auto models = ChecksumModels();
    IdentifyRule planted;
    planted.model = static_cast<std::uint16_t>(input.Byte() % models.size());
    const ChecksumModel& model = models[planted.model];
    const std::uint8_t form = input.Byte();
    planted.constant = input.Number<std::uint32_t>() & CrcMask(model.width);
    planted.form = model.learnsConstant ? static_cast<ConstantForm>(1 + form % 3) : ConstantForm::None;
    if (planted.form == ConstantForm::None)
        planted.constant = 0;
    const std::uint8_t flags = input.Byte();
    planted.order = flags & 1 ? CheckOrder::HighFirst : CheckOrder::LowFirst;
    planted.endFrom = flags & 2 ? RuleEnd::FromLast : RuleEnd::FromFirst;
    if (flags & 4) {
        planted.model = SOLVED_CRC_MODEL;
        planted.form = ConstantForm::None;
        planted.constant = 0;
        planted.solved.width = 8 * (1 + input.Byte() % 4);
        const std::uint32_t mask = CrcMask(planted.solved.width);
        planted.solved.poly = (input.Number<std::uint32_t>() & mask) | 1;
        planted.solved.init = input.Number<std::uint32_t>() & mask;
        planted.solved.xorout = input.Number<std::uint32_t>() & mask;
        planted.solved.refin = planted.solved.refout = flags & 8;
    }
    planted.start = static_cast<std::uint16_t>(1 + input.Byte() % 4);
    planted.end = static_cast<std::uint16_t>(1 + input.Byte() % 16);

    std::vector<IdentifyFrame> frames;
    while (!input.Empty() && frames.size() < MAX_FRAMES) {
        const std::uint8_t head = input.Byte();
        Bytes bytes;
        if (head & 0x80 && !frames.empty()) {
            bytes = frames.back().bytes;
            const std::uint8_t at = input.Byte(), change = input.Byte();
            if (!bytes.empty())
                bytes[at % bytes.size()] ^= change;
        } else {
            const std::span<const std::uint8_t> taken = input.Bytes(head % 33);
            bytes.assign(taken.begin(), taken.end());
        }
        const std::vector<RulePlace> places = RulePlaces(planted, bytes.size());
        if (!(head & 0x40) && !places.empty()) {
            const std::uint32_t value = *ComputeRuleCheck(planted, bytes, places[0]);
            const std::size_t n = places[0].checkLast - places[0].checkFirst + 1;
            for (std::size_t k = 0; k < n; ++k)
                bytes[places[0].checkFirst + k] =
                    static_cast<std::uint8_t>(value >> (8 * (planted.order == CheckOrder::LowFirst ? k : n - 1 - k)));
        }
        frames.push_back({frames.size() + 1, std::move(bytes)});
    }
    Identify(frames, options, &planted);
    return 0;
}
