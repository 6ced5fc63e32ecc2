#pragma once
// PDUs as they stand in logs: a modem's listing puts one on a line of its own as a run of hex
// digits ("0791…"), between lines such as "+CMGL: 1,0,,29" and "OK"; other tools write the bytes
// as blank-separated pairs after a time stamp.

#include <cstddef>
#include <string>
#include <string_view>

// The shortest TPDU (SMS-SUBMIT to an empty address, no text) has 7 octets.
inline constexpr std::size_t MIN_PDU_BYTES = 7;

/// The hex of the PDU a log line holds: its longest blank-free run of hex digits of even length,
/// or its longest run of blank-separated two-digit pairs, whichever has more bytes; empty when
/// that is shorter than MIN_PDU_BYTES ("+CMGS: 12" holds none).
std::string ExtractPduHex(std::string_view line);
