#include "identify/unknown_crc.h"

#include <set>
#include <string_view>
#include <unordered_set>

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
                                            std::size_t maxSamples)
{
    // Distinct frames, the longest log's worth of lengths first seen.
    std::vector<const IdentifyFrame*> distinct;
    std::unordered_set<std::string_view> seen;
    for (const IdentifyFrame* frame : frames)
        if (distinct.size() < maxSamples &&
            seen.insert(std::string_view(reinterpret_cast<const char*>(frame->bytes.data()), frame->bytes.size())).second)
            distinct.push_back(frame);

    std::vector<IdentifyRule> rules;
    std::vector<UnknownCrcSample> samples;
    for (const UnknownCrcPlacement& placement : UnknownCrcPlacements()) {
        const std::size_t bytes = placement.width / 8;
        IdentifyRule rule;
        rule.model = SOLVED_CRC_MODEL;
        rule.solved.width = placement.width;
        rule.order = placement.order;
        rule.start = static_cast<std::uint16_t>(placement.start);
        rule.endFrom = RuleEnd::FromLast;
        rule.end = static_cast<std::uint16_t>(1 + bytes + placement.trailer);
        samples.clear();
        for (const IdentifyFrame* frame : distinct) {
            const std::vector<RulePlace> places = RulePlaces(rule, frame->bytes.size());
            if (places.empty())
                continue;
            const RulePlace& place = places[0];
            samples.push_back({std::span(frame->bytes).subspan(place.rangeFirst, place.rangeLast - place.rangeFirst + 1),
                               *ReadRuleCheck(rule, frame->bytes, place)});
        }
        if (samples.size() < 2)
            continue;
        for (const UnknownCrcSolution& solution : solve(placement.width, samples)) {
            IdentifyRule found = rule;
            found.solved = solution.parameters;
            found.solvedInitKnown = solution.initKnown;
            // A catalogue model is named by its row.
            const auto models = ChecksumModels();
            for (std::size_t m = 0; m < models.size(); ++m)
                if (models[m].family == ModelFamily::Crc && models[m].crc == solution.parameters && solution.initKnown) {
                    found.model = static_cast<std::uint16_t>(m);
                    found.solved = {};
                }
            rules.push_back(found);
        }
    }
    return rules;
}
