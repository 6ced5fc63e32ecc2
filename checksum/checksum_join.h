#pragma once
// The range search without the quadratic walk. For BCC, SUM, LRC, CRC16 and CRC16S the range
// [i, j) is followed by its checksum exactly when a key of its start equals a key of its end,
// both computed in one pass over the frame; joining the keys (grouped by a radix sort) then finds
// every match in time linear in the frame plus the matches. CRC32 compares only half of its
// register, so its matches are no such equality.

#include "checksum/checksum_search.h"

/// Whether JoinChecksums can search the method (every method but CRC32).
bool CanJoin(ChecksumMethod method);

/// SearchChecksums by the key join: the same matches in the same order and batches. Reports
/// nothing and returns true for a method it cannot join.
bool JoinChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                   const ChecksumSearchOptions& options = {});
