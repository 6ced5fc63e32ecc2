#include "identify/unknown_crc.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace {

// The solver's selection: pairs of frames of one length (each pair is one difference, and the
// GCD of the differences gives the generator), then single frames of other lengths (they tell
// init from xorout).
constexpr std::size_t MAX_PAIRS = 16;
constexpr std::size_t MAX_SINGLES = 16;
// A part asked about when the whole selection explains nothing: two pairs and two single frames,
// so that a few corrupted frames leave most parts clean.
constexpr std::size_t PART_PAIRS = 2;
constexpr std::size_t PART_SINGLES = 2;
// One difference alone leaves every divisor of it a candidate, and factoring a long one is the
// costliest thing the solver does: a call needs at least two.
constexpr std::size_t MIN_DIFFERENCES = 2;
// Longer frames are left to the catalogue: the GCD of two differences grows with the square of
// their length (about 0.2 s a placement for two frames of 64 KiB, where 8 KiB take 3 ms).
constexpr std::size_t MAX_SOLVED_FRAME = 8192;
// Of the first bytes, those every frame has alike are folded into init (a range from them is the
// range after them with another init).
constexpr std::size_t MAX_SHARED = 16;
// More answers than this, equivalent ones counted once: the frames do not pin the CRC down (as
// periodic frames, whose differences have many factors, do not), and none is given.
constexpr std::size_t MAX_ANSWERS = 4;
// Parts asked at most after the whole selection, until one explains the frames: where there is
// no CRC every one is asked in vain, and any two corrupted frames leave one of three clean.
constexpr std::size_t MAX_FAILED_PARTS = 3;

using FrameSet = std::vector<const IdentifyFrame*>;

struct Selection {
    FrameSet all;
    std::vector<FrameSet> parts;
};

Selection Select(std::span<const IdentifyFrame* const> frames)
{
    // Distinct frames by length, the lengths in the order they first appear.
    std::unordered_set<std::string_view> seen;
    std::unordered_map<std::size_t, std::size_t> groupOf;
    std::vector<FrameSet> groups;
    for (const IdentifyFrame* frame : frames) {
        if (frame->bytes.size() > MAX_SOLVED_FRAME)
            continue;
        if (!seen.insert(std::string_view(reinterpret_cast<const char*>(frame->bytes.data()), frame->bytes.size())).second)
            continue;
        const auto [at, added] = groupOf.emplace(frame->bytes.size(), groups.size());
        if (added)
            groups.emplace_back();
        groups[at->second].push_back(frame);
    }
    // Pairs a length at a time, so that neighbouring pairs differ in length; a length's odd
    // frame out still makes a difference with the others of its length.
    std::vector<std::array<const IdentifyFrame*, 2>> pairs;
    FrameSet odd;
    for (std::size_t round = 0; pairs.size() < MAX_PAIRS; ++round) {
        bool any = false;
        for (std::size_t g = 0; g < groups.size() && pairs.size() < MAX_PAIRS; ++g) {
            const FrameSet& group = groups[g];
            if (group.size() >= 2 * round + 2) {
                pairs.push_back({group[2 * round], group[2 * round + 1]});
                any = true;
            } else if (round > 0 && group.size() == 2 * round + 1) {
                odd.push_back(group[2 * round]);
            }
        }
        if (!any)
            break;
    }
    FrameSet singles;
    for (std::size_t g = 0; g < groups.size() && singles.size() < MAX_SINGLES; ++g)
        if (groups[g].size() == 1)
            singles.push_back(groups[g][0]);

    Selection selection;
    for (const auto& pair : pairs)
        selection.all.insert(selection.all.end(), pair.begin(), pair.end());
    selection.all.insert(selection.all.end(), odd.begin(), odd.end());
    selection.all.insert(selection.all.end(), singles.begin(), singles.end());
    const std::size_t parts = pairs.size() / PART_PAIRS;
    for (std::size_t p = 0; parts > 1 && p < parts; ++p) {
        FrameSet part;
        for (std::size_t k = p * PART_PAIRS; k < (p + 1) * PART_PAIRS; ++k)
            part.insert(part.end(), pairs[k].begin(), pairs[k].end());
        for (std::size_t k = p * PART_SINGLES; k < (p + 1) * PART_SINGLES && k < singles.size(); ++k)
            part.push_back(singles[k]);
        selection.parts.push_back(std::move(part));
    }
    return selection;
}

// Whether one of the value's bytes is the same in every sample.
bool ConstantByte(std::span<const UnknownCrcSample> samples, std::size_t bytes)
{
    for (std::size_t b = 0; b < bytes; ++b)
        if (std::all_of(samples.begin(), samples.end(), [&](const UnknownCrcSample& s) {
                return ((s.check ^ samples[0].check) >> (8 * b) & 0xFF) == 0;
            }))
            return true;
    return false;
}

std::vector<std::size_t> Lengths(std::span<const UnknownCrcSample> samples)
{
    std::vector<std::size_t> lengths;
    for (const UnknownCrcSample& sample : samples)
        lengths.push_back(sample.message.size());
    std::sort(lengths.begin(), lengths.end());
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    return lengths;
}

// Differences of messages of one length among the samples.
std::size_t Differences(std::span<const UnknownCrcSample> samples)
{
    return samples.size() - Lengths(samples).size();
}

// Among CRCs that compute the same values, the one reported when none is a catalogue entry:
// xorout 0, else all ones, else init 0, else all ones, else the smallest init. Devices that
// set one of them mostly leave the other at zero, and so the device's own pair is the one named
// (a CRC-16 of 0x1021 started at 0x1234 stays that, not its twin with a xorout).
auto CanonicalKey(const CrcParameters& p)
{
    const std::uint32_t mask = CrcMask(p.width);
    const auto usual = [&](std::uint32_t v) { return v == 0 ? 0 : v == mask ? 1 : 2; };
    return std::tuple(usual(p.xorout), usual(p.init), p.init);
}

// Which of the first bytes every frame has alike (a start flag, an address, a repeated start
// byte after a length), as that byte or none.
std::vector<std::optional<std::uint8_t>> SharedBytes(std::span<const IdentifyFrame* const> frames)
{
    std::vector<std::optional<std::uint8_t>> shared;
    for (std::size_t at = 0; at < MAX_SHARED && frames.size() >= 2 && frames[0]->bytes.size() > at; ++at) {
        const auto same = [&](const IdentifyFrame* frame) {
            return frame->bytes.size() > at && frame->bytes[at] == frames[0]->bytes[at];
        };
        shared.push_back(std::all_of(frames.begin(), frames.end(), same) ? std::optional(frames[0]->bytes[at])
                                                                          : std::nullopt);
    }
    return shared;
}

struct Twin {
    std::size_t start;  // 1-based, in the shared bytes before the solved range
    CrcParameters crc;
};

// A CRC whose range starts earlier, over shared first bytes, and computes the same as `solved`
// (which starts right after them) over messages of `lengths`: a catalogue entry, else, where
// init is known, one whose init and xorout are both 0 or all ones, where `solved` is neither
// such. Its init, run over those bytes, is an init of `solved`'s kind.
std::optional<Twin> PrefixTwin(const UnknownCrcSolution& solution, std::span<const std::size_t> lengths,
                               std::span<const std::uint8_t> prefix)
{
    const CrcParameters& solved = solution.parameters;
    const std::uint32_t mask = CrcMask(solved.width);
    const auto usual = [&](std::uint32_t v) { return v == 0 || v == mask; };
    const auto models = ChecksumModels();
    const auto isCatalogue = [&](const CrcParameters& p) {
        return std::any_of(models.begin(), models.end(),
                           [&](const ChecksumModel& m) { return m.family == ModelFamily::Crc && m.crc == p; });
    };
    if (isCatalogue(solved))
        return std::nullopt;
    // `p` started `before` bytes earlier, as a CRC that starts where `solved` does.
    const auto shifted = [&](const CrcParameters& p, std::span<const std::uint8_t> before) {
        CrcParameters after = p;
        after.init = ComputeCrcBitwise({p.width, p.poly, p.init, p.refin, false, 0}, before);
        return after;
    };
    const auto sameFrom = [&](std::size_t start, const CrcParameters& p) {
        return SameCrcOver(shifted(p, prefix.subspan(start - 1)), solved, lengths);
    };
    for (std::size_t start = 1; start <= prefix.size(); ++start)
        for (const ChecksumModel& model : models)
            if (model.family == ModelFamily::Crc && model.crc.width == solved.width && model.crc.poly == solved.poly &&
                model.crc.refin == solved.refin && model.crc.refout == solved.refout && sameFrom(start, model.crc))
                return Twin{start, model.crc};
    if (!solution.initKnown || (usual(solved.init) && usual(solved.xorout)))
        return std::nullopt;
    for (std::size_t start = 1; start <= prefix.size(); ++start)
        for (std::uint32_t init : {0u, mask}) {
            // The xorout that makes the two agree over no bytes.
            CrcParameters p{solved.width, solved.poly, init, solved.refin, solved.refout, 0};
            p.xorout = ComputeCrcBitwise(solved, {}) ^ ComputeCrcBitwise(shifted(p, prefix.subspan(start - 1)), {});
            if (usual(p.xorout) && sameFrom(start, p))
                return Twin{start, p};
        }
    return std::nullopt;
}

// A solved rule that is a catalogue model is named by its row.
void Name(IdentifyRule& rule)
{
    const auto models = ChecksumModels();
    if (!rule.solvedInitKnown)
        return;
    for (std::size_t m = 0; m < models.size(); ++m)
        if (models[m].family == ModelFamily::Crc && models[m].crc == rule.solved) {
            rule.model = static_cast<std::uint16_t>(m);
            rule.solved = {};
            return;
        }
}

} // namespace

bool SameCrcOver(const CrcParameters& a, const CrcParameters& b, std::span<const std::size_t> lengths)
{
    if (a.width != b.width || a.poly != b.poly || a.refin != b.refin || a.refout != b.refout)
        return false;
    if (a == b)
        return true;
    // The two differ over a message of n bytes by a value of n alone (init's part shifted n
    // bytes, and the xorouts), whatever the bytes: zeros tell it. Equal over 0 and 1 bytes, that
    // part is unchanged by a byte's shift, so equal over every length.
    const CCrcByteTable ta(a), tb(b);
    const std::size_t longest = lengths.empty() ? 0 : *std::max_element(lengths.begin(), lengths.end());
    const std::vector<std::uint8_t> zeros(longest, 0);
    return std::all_of(lengths.begin(), lengths.end(), [&](std::size_t n) {
        const std::span<const std::uint8_t> message(zeros.data(), n);
        return ta.Compute(message) == tb.Compute(message);
    });
}

std::vector<UnknownCrcSolution> SolveUnknownCrc(unsigned width, std::span<const UnknownCrcSample> samples)
{
    static constexpr std::size_t EVERY_LENGTH[] = {0, 1};
    const std::vector<CrcSolution> solutions = SolveCrc(width, samples);
    if (solutions.empty())
        return {};
    const std::vector<std::size_t> lengths = Lengths(samples);
    const auto over = [&](const UnknownCrcSolution& s) {
        return s.initKnown ? std::span<const std::size_t>(EVERY_LENGTH) : std::span<const std::size_t>(lengths);
    };
    std::vector<UnknownCrcSolution> answers;
    for (const CrcSolution& solution : solutions) {
        if (solution.parameters.poly == 1 && width <= 16)
            continue;
        const auto same = std::find_if(answers.begin(), answers.end(), [&](const UnknownCrcSolution& a) {
            return a.initKnown == solution.initKnown && SameCrcOver(a.parameters, solution.parameters, over(a));
        });
        if (same == answers.end())
            answers.push_back(solution);
        else if (CanonicalKey(solution.parameters) < CanonicalKey(same->parameters))
            *same = solution;
    }
    if (answers.size() > MAX_ANSWERS)
        return {};
    for (UnknownCrcSolution& answer : answers)
        for (const ChecksumModel& model : ChecksumModels())
            if (model.family == ModelFamily::Crc && SameCrcOver(model.crc, answer.parameters, over(answer))) {
                answer = {model.crc, true};
                break;
            }
    return answers;
}

std::vector<UnknownCrcPlacement> UnknownCrcPlacements()
{
    // 16 bits first: the widths unknown CRCs of devices have most often.
    std::vector<UnknownCrcPlacement> placements;
    for (unsigned width : {16u, 32u, 8u})
        for (unsigned trailer = 0; trailer <= 2; ++trailer)
            for (unsigned start = 1; start <= 4; ++start)
                for (CheckOrder order : {CheckOrder::LowFirst, CheckOrder::HighFirst}) {
                    if (width == 8 && order == CheckOrder::HighFirst)
                        continue;
                    placements.push_back({width, order, trailer, start});
                }
    return placements;
}

std::vector<IdentifyRule> SearchUnknownCrcs(std::span<const IdentifyFrame* const> frames, const CrcSolver& solve,
                                            const std::atomic<bool>* cancel)
{
    const Selection selection = Select(frames);
    const std::vector<std::optional<std::uint8_t>> shared = SharedBytes(frames);
    const auto isShared = [&](std::size_t start) { return start - 1 < shared.size() && shared[start - 1]; };
    std::set<std::tuple<unsigned, CheckOrder, unsigned, std::size_t>> asked;
    std::vector<IdentifyRule> rules;
    std::vector<UnknownCrcSample> samples;
    for (const UnknownCrcPlacement& placement : UnknownCrcPlacements()) {
        // A range from a byte every frame has alike is the range after it with another init:
        // asked for once, from the next byte that varies, and its twins that start on the shared
        // bytes found below.
        std::size_t start = placement.start;
        while (isShared(start))
            ++start;
        if (!asked.emplace(placement.width, placement.order, placement.trailer, start).second)
            continue;
        std::size_t runStart = start;
        while (runStart > 1 && isShared(runStart - 1))
            --runStart;
        std::vector<std::uint8_t> prefix;
        for (std::size_t at = runStart; at < start; ++at)
            prefix.push_back(*shared[at - 1]);
        const std::size_t bytes = placement.width / 8;
        IdentifyRule rule;
        rule.model = SOLVED_CRC_MODEL;
        rule.solved.width = placement.width;
        rule.order = placement.order;
        rule.start = static_cast<std::uint16_t>(start);
        rule.endFrom = RuleEnd::FromLast;
        rule.end = static_cast<std::uint16_t>(1 + bytes + placement.trailer);
        const auto place = [&](const FrameSet& set) {
            samples.clear();
            for (const IdentifyFrame* frame : set) {
                const std::size_t length = frame->bytes.size();
                if (length < rule.end || length - rule.end + 1 < rule.start)
                    continue;
                const RulePlace at{rule.start - 1u, length - rule.end, length - rule.end + 1, length - rule.end + bytes};
                samples.push_back({std::span(frame->bytes).subspan(at.rangeFirst, at.rangeLast - at.rangeFirst + 1),
                                   *ReadRuleCheck(rule, frame->bytes, at)});
            }
            return Differences(samples) >= MIN_DIFFERENCES;
        };
        const auto ask = [&] {
            bool any = false;
            for (const UnknownCrcSolution& solution : solve(placement.width, samples)) {
                IdentifyRule found = rule;
                found.solved = solution.parameters;
                found.solvedInitKnown = solution.initKnown;
                if (!prefix.empty()) {
                    static constexpr std::size_t EVERY_LENGTH[] = {0, 1};
                    const std::vector<std::size_t> lengths = Lengths(samples);
                    const auto over = solution.initKnown ? std::span<const std::size_t>(EVERY_LENGTH)
                                                         : std::span<const std::size_t>(lengths);
                    if (const auto twin = PrefixTwin(solution, over, prefix)) {
                        found.start = static_cast<std::uint16_t>(runStart + twin->start - 1);
                        found.solved = twin->crc;
                        found.solvedInitKnown = true;
                    }
                }
                Name(found);
                if (std::find(rules.begin(), rules.end(), found) == rules.end())
                    rules.push_back(found);
                any = true;
            }
            return any;
        };
        const auto cancelled = [&] { return cancel && cancel->load(std::memory_order_relaxed); };
        if (cancelled())
            return rules;
        // A byte of the value that is the same in every frame is none of a CRC's: it is a
        // constant trailer byte read as one, and the CRC over the range and the real value's first
        // bytes would "explain" the rest of the value with that byte as its xorout.
        if (!place(selection.all) || ConstantByte(samples, bytes))
            continue;
        if (ask())
            continue;
        std::size_t failed = 0;
        for (const FrameSet& part : selection.parts) {
            if (cancelled() || failed == MAX_FAILED_PARTS)
                break;
            if (place(part) && ask())
                break;
            ++failed;
        }
    }
    return rules;
}

UnknownCrcSearch SolvedCrcSearch()
{
    return [](std::span<const IdentifyFrame* const> frames, const std::atomic<bool>* cancel) {
        return SearchUnknownCrcs(frames, SolveUnknownCrc, cancel);
    };
}
