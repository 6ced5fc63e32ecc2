#pragma once
// Concatenated messages (3GPP TS 23.040 clause 9.2.3.24.1): the parts of one message, found among
// any number of PDUs (the lines of a log), joined in part order, in whatever order they came.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sms/sms_pdu.h"

struct SmsMessage {
    SmsMessageType type = SmsMessageType::Deliver;
    std::string address;
    std::optional<SmsConcatenation> concatenation;  // reference and total; `part` unused
    // For each part number 1 … n, the index of its PDU among the input; empty where it is missing.
    std::vector<std::optional<std::size_t>> parts;
    std::vector<std::pair<unsigned, std::size_t>> duplicates;  // a part number seen again, and where
    std::vector<unsigned> missing;                             // part numbers no PDU carries
    std::string text;  // UTF-8, a marker in place of each missing part
};

/// Groups PDUs into messages: parts with the same type, other party, reference (8- or 16-bit)
/// and total are one message; every other PDU is a message of its own. In order of first sight.
std::vector<SmsMessage> JoinSmsParts(std::span<const SmsPdu> pdus);

/// A message in words: type and party, then each part with the name the caller gives its PDU
/// (`names[i]` for input i), the missing parts and the text.
std::string FormatSmsMessage(const SmsMessage& message, std::size_t number, std::span<const std::string> names);
