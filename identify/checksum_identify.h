#pragma once
// Which checksum does this device use: from a log of raw frames, the rules (model, range, where
// the value stands) that hold in most of them, ranked so that the real one comes first.
//
// The first frames decide which rules can still hold: two pairs of distinct frames give every
// rule that holds in both frames of a pair (prefix keys for the CRCs, prefix sums for the
// rest), the first eight distinct frames keep those that hold in nearly all of them, and only
// those are then tested in every frame. When none holds, the next frames are tried the same way.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "identify/identify_rule.h"

struct IdentifyFrame {
    std::uint64_t line = 0;  // the log's line number, for the frames a rule fails in
    std::vector<std::uint8_t> bytes;
};

// When no model fits: the CRCs found for the frames by trying placements of an unknown CRC.
// Receives the frames and the cancel flag; returns rules with model SOLVED_CRC_MODEL (or a
// catalogue row).
using UnknownCrcSearch = std::function<std::vector<IdentifyRule>(std::span<const IdentifyFrame* const> frames,
                                                                 const std::atomic<bool>* cancel)>;

/// The search through the solver for unknown CRCs (unknown_crc.h): the identification's default.
UnknownCrcSearch SolvedCrcSearch();

struct IdentifyOptions {
    double minSharePercent = 50;  // rules held in fewer of their class's frames are left out
    std::size_t maxRules = 10;    // at most this many per class
    const std::atomic<bool>* cancel = nullptr;
    // Called on the working thread with 0 to 100, never decreasing.
    std::function<void(unsigned percent)> progress;
    UnknownCrcSearch unknownCrc = SolvedCrcSearch();  // none: no unknown CRC is searched
};

struct IdentifiedRule {
    IdentifyRule rule;
    bool structural = false;             // its value is the same in every frame it holds in, or
                                         // every byte of it a covered byte's copy
    std::uint64_t held = 0;
    std::uint64_t frames = 0;            // frames of its class (all frames without classes)
    std::vector<std::uint64_t> failing;  // line numbers of the frames it does not hold in
    std::optional<std::uint8_t> classByte;
    double meanRange = 0;                // bytes covered, mean over the frames held
    unsigned constantBytes = 0;          // bytes of its binary value alike in every frame it
                                         // holds in (three or more), such as a stop byte
};

struct IdentifyReport {
    std::uint64_t frames = 0;
    std::uint64_t distinct = 0;               // frames that differ from every earlier one
    bool classes = false;                     // rules are per first byte
    std::vector<IdentifiedRule> rules;        // ranked; with classes, class after class
    std::vector<std::uint64_t> unclassified;  // with classes: lines of frames in no class
    bool cancelled = false;
};

/// Identifies the rules of the frames (each frame at most 65,535 bytes; longer ones are cut).
IdentifyReport IdentifyChecksums(std::span<const IdentifyFrame> frames, const IdentifyOptions& options = {});

/// Tests the rule in every frame: frames held, failing lines, structural or not.
IdentifiedRule VerifyRule(const IdentifyRule& rule, std::span<const IdentifyFrame* const> frames);

/// Ranking: rules over varying bytes before structural ones, more frames held, a wider value
/// (counting only the bytes that vary), the simpler model, the longer range.
bool RanksBefore(const IdentifiedRule& a, const IdentifiedRule& b);
