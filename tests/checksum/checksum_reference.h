#pragma once
// The search by its literal definition, with CRCs from their catalogue parameters bit by bit:
// slow and independent of the tables and the carried registers of the real search.

#include <cstdint>
#include <span>
#include <vector>

#include "checksum/checksum_search.h"

/// The method's value over [start, end), from the method's catalogue parameters.
std::uint16_t ReferenceChecksum(ChecksumMethod method, std::span<const std::uint8_t> frame, std::size_t start,
                                std::size_t end);

/// Every range i..j-1 followed by its checksum, each computed from the range's start.
std::vector<ChecksumMatch> ReferenceSearch(ChecksumMethod method, std::span<const std::uint8_t> frame);
