#pragma once
// The solver for unknown CRCs: width given, polynomial, init, xorout and reflection found from
// frames alone.
//
// Two messages of one length, XORed with their checks, cancel init and xorout: each such
// difference is a multiple of the generator, and the GCD of several gives it. Init then follows
// from a GF(2) system over messages of different lengths, xorout from any one.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "identify/crc_parameters.h"

/// One frame's covered bytes and the check value found after them, read as an integer of the
/// CRC's width (the caller has already put the check bytes in the order it tries).
struct CrcSample {
    std::span<const std::uint8_t> message;
    std::uint32_t check = 0;
};

/// A CRC that reproduces every sample's check. initKnown false: the samples' lengths leave more
/// than four inits that fit (every sample has one length, or the lengths differ only by what the
/// polynomial cannot see); init is then the smallest of them (0 when every sample has one length)
/// and xorout the one that goes with it.
struct CrcSolution {
    CrcParameters parameters;
    bool initKnown = true;
};

/// Every CRC of `width` bits (8, 16, 24 or 32; polynomial with its x^0 term; refin = refout) that
/// explains all samples, ordered by reflection, polynomial and init; empty when none does, and
/// also when the samples cannot pin one down: no two messages of one length that differ, a
/// generator left among more than MAX_CRC_GENERATORS divisors, or only differences longer than
/// MAX_CRC_FACTOR_BITS bits to factor. Where a polynomial has the factor x + 1, two init/xorout
/// pairs give the same CRC for every message; both are listed.
std::vector<CrcSolution> SolveCrc(unsigned width, std::span<const CrcSample> samples);

inline constexpr std::size_t MAX_CRC_GENERATORS = 1024;
inline constexpr int MAX_CRC_FACTOR_BITS = 8192 + 64;

/// A CRC through byte tables (eight bytes a step), any width from 1 to 32; the solver's own check
/// on every answer.
class CCrcByteTable {
public:
    explicit CCrcByteTable(const CrcParameters& parameters);
    std::uint32_t Compute(std::span<const std::uint8_t> bytes) const;

private:
    CrcParameters m_parameters;
    std::array<std::array<std::uint32_t, 256>, 8> m_tables{};
};
