#pragma once
// When no model of the registry fits: the CRC of unknown parameters that explains the frames,
// found by trying where the value could stand (width, byte order, trailer, start of the range)
// and asking a solver for every CRC that explains the frames placed so.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "identify/checksum_identify.h"

struct UnknownCrcSample {
    std::span<const std::uint8_t> message;  // the covered bytes
    std::uint32_t check = 0;                // the value after them, read in the order tried
};

struct UnknownCrcSolution {
    CrcParameters parameters;
    bool initKnown = true;  // false: every sample had one length, init reported as 0
};

// Every CRC of `width` bits (8, 16, 32) that explains all samples; empty when none does.
using CrcSolver = std::function<std::vector<UnknownCrcSolution>(unsigned width, std::span<const UnknownCrcSample>)>;

/// The placements tried, each a width, an order, the bytes after the value and the range's
/// first byte; the range ends right before the value, counted from the last byte.
struct UnknownCrcPlacement {
    unsigned width;
    CheckOrder order;
    unsigned trailer;
    unsigned start;  // 1-based
};
std::vector<UnknownCrcPlacement> UnknownCrcPlacements();

/// The rules of the CRCs the solver finds for the frames, a catalogue row where the solution
/// is one. At most `maxSamples` frames of the log are given to the solver.
std::vector<IdentifyRule> SearchUnknownCrcs(std::span<const IdentifyFrame* const> frames, const CrcSolver& solve,
                                            std::size_t maxSamples = 64);
