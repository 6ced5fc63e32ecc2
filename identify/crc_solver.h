#pragma once
// The solver for unknown CRCs: width given, polynomial, init, xorout and reflection found from
// frames alone.
//
// Two messages of one length, XORed with their checks, cancel init and xorout: each such
// difference is a multiple of the generator, and the GCD of several gives it. Init then follows
// from a GF(2) system over messages of different lengths, xorout from any one.

#include <array>
#include <cstddef>
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

/// More divisors of the differences' GCD than this with the width's degree: the samples say too
/// little.
inline constexpr std::size_t MAX_CRC_GENERATORS = 1024;
/// A GCD longer than this is not factored (it takes one pair of frames of about 1 KB or more).
inline constexpr int MAX_CRC_FACTOR_BITS = 8192 + 64;
inline constexpr std::size_t MAX_CRC_MESSAGE_BYTES = std::size_t{1} << 24;

/// Every CRC of `width` bits (8, 16, 24 or 32; polynomial with its x^0 term; refin = refout) that
/// explains all samples, ordered by reflection, polynomial and init. Empty when none does, and
/// when the samples cannot pin one down: no two messages of one length that differ, more than
/// MAX_CRC_GENERATORS candidate generators, or a GCD to factor longer than MAX_CRC_FACTOR_BITS;
/// and for messages longer than MAX_CRC_MESSAGE_BYTES. Where (x + 1)^k divides the generator,
/// 2^k init/xorout pairs give the same CRC for every message: two or four are all listed, more
/// make one answer with initKnown false.
std::vector<CrcSolution> SolveCrc(unsigned width, std::span<const CrcSample> samples);

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
