#pragma once
// A log as the identification dialog takes it: one frame a line, as hex pairs, or, when asked
// to extract, inside a serial monitor's line (timestamp, direction) as its longest run of
// blank-separated hex pairs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/hex_text.h"
#include "identify/checksum_identify.h"

struct IdentifyLogRefusal {
    std::uint64_t line = 0;
    std::string message;  // the hex grammar's message (UTF-8), in the language of the reading
    HexParseResult result = HexParseResult::Ok;  // what the grammar said, to word again in another language
};

struct IdentifyLog {
    std::vector<IdentifyFrame> frames;
    std::vector<IdentifyLogRefusal> refused;  // lines with text but no frame
};

/// The frames of a log's lines (blank lines are passed over), each at most 65,535 bytes.
IdentifyLog ReadIdentifyLog(std::string_view text, bool extract);
