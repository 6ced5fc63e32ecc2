#pragma once
// When no model of the registry fits: the CRC of unknown parameters that explains the frames,
// found by trying where the value could stand (width, byte order, trailer, start of the range)
// and asking a solver for every CRC that explains the frames placed so.

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "identify/checksum_identify.h"
#include "identify/crc_solver.h"

using UnknownCrcSample = CrcSample;      // the covered bytes and the value after them, read in the order tried
using UnknownCrcSolution = CrcSolution;  // initKnown false: the frames' lengths cannot tell init from xorout

// Every CRC of `width` bits (8, 16, 32) that explains all samples; empty when none does.
using CrcSolver = std::function<std::vector<UnknownCrcSolution>(unsigned width, std::span<const UnknownCrcSample>)>;

/// SolveCrc as a CrcSolver: one answer per CRC, where the solver gives several init/xorout pairs
/// that compute the same value for every message (or for every length among the samples, when
/// init is not known); a catalogue entry where one is among them, else the canonical one. XORs
/// of 8- and 16-bit words (the generator x^w + 1) are left to the registry's XOR8 and XOR16.
std::vector<UnknownCrcSolution> SolveUnknownCrc(unsigned width, std::span<const UnknownCrcSample> samples);

/// Whether two CRCs of one width, generator and reflection compute the same value over every
/// message whose length is one of `lengths`; lengths 0 and 1 stand for every length.
bool SameCrcOver(const CrcParameters& a, const CrcParameters& b, std::span<const std::size_t> lengths);

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
/// is one. The solver sees a selection of the frames (none longer than 8 KiB), pairs of one
/// length first (it needs them); when it finds nothing in all of them, it is asked again about
/// small parts of the selection, so that a few corrupted frames do not hide the rule. A range
/// from bytes every frame has alike (a start flag, "68 L L 68") is found as the range after them
/// with another init, and reported from them where that gives a catalogue entry or a usual init.
/// Stops early when `cancel` is set.
std::vector<IdentifyRule> SearchUnknownCrcs(std::span<const IdentifyFrame* const> frames, const CrcSolver& solve,
                                            const std::atomic<bool>* cancel = nullptr);
