#pragma once
// Where in a frame, in which type and byte order, a reading the user already knows stands: every
// offset decoded as every numeric type of the byte analysis page, under each of its byte orders,
// times each scale factor, compared with the reading.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bytes/variable_types.h"

struct FindTolerance {
    double amount = 0;     // absolute, or percent of the reading
    bool percent = false;
};

inline constexpr double DEFAULT_SCALES[] = {1, 0.1, 0.01, 0.001};

/// At most this many hits are kept, the best ranked; the count of all is reported beside them.
inline constexpr std::size_t MAX_VALUE_HITS = 200;

/// The widest BCD number tried, in bytes.
inline constexpr std::size_t MAX_BCD_BYTES = 4;

struct ValueHit {
    std::size_t offset;   // of the first byte, counted from 1
    VariableType type;
    std::size_t width;    // bytes
    int order;            // index into ByteOrdersOf(type); 0 for a type without byte orders
    std::size_t scale;    // index into the scales tried
    double factor;        // that scale factor
    double value;         // the decoded number
    double scaled;        // value times the scale factor
    double difference;    // |scaled - reading|
    std::string memory;   // the bytes as the page's memory column shows them
    std::string valueText;  // the decoded number as text (BCD: its decimal digits)
    std::string scaledText; // the scaled number as a reader would write it
    std::string differenceText;  // |scaledText - reading| to the digits the two are written with
};

struct FindValueResult {
    std::vector<ValueHit> hits;  // ranked; at most MAX_VALUE_HITS
    std::size_t total = 0;       // hits found before the cut
};

/// Every placement of the reading in the frame within the tolerance, ranked by difference, then
/// by plainer readings: earlier scales, the first byte order before the others, wider types,
/// earlier orders and offsets. Of the
/// placements of one type at one offset that give the same scaled value only the best is kept, so
/// a run of equal bytes does not fill the list with copies. Non-finite and denormal FLOAT values,
/// and scaled values or differences past the double range, are never hits; a tolerance that is
/// past it finds nothing.
FindValueResult FindValue(std::span<const std::uint8_t> frame, double reading, const FindTolerance& tolerance,
                          std::span<const double> scales = DEFAULT_SCALES);

/// The caption of the hit's byte order ("FF3 FF4 FF1 FF2"), or "" for a type without byte orders.
const char* HitOrderCaption(const ValueHit& hit);

/// The hit's value as the list shows it: "230.5", or with a factor other than 1 "2305×0.1=230.5" (UTF-8).
std::string HitValueText(const ValueHit& hit);

/// One line that names the hit as its row does: "第8字节 FLOAT FF3 FF4 FF1 FF2 = 230.5",
/// "第8字节 UINT FF2 FF1 = 100×0.1=10.0" (UTF-8), in the current language.
std::string DescribeHit(const ValueHit& hit);
