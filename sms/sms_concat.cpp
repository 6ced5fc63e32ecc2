#include "sms/sms_concat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>

namespace {

std::string Decimal(unsigned long long value)
{
    char buffer[24];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

bool SamePartOf(const SmsMessage& message, const SmsPdu& pdu)
{
    if (!message.concatenation || !pdu.concatenation)
        return false;
    const SmsConcatenation& a = *message.concatenation;
    const SmsConcatenation& b = *pdu.concatenation;
    return message.type == pdu.type && message.address == pdu.address && a.reference == b.reference &&
           a.reference16 == b.reference16 && a.parts == b.parts;
}

bool SameCoding(const SmsPdu& a, const SmsPdu& b)
{
    return a.alphabet == b.alphabet && a.compressed == b.compressed && a.shiftTables.locking == b.shiftTables.locking &&
           a.shiftTables.single == b.shiftTables.single;
}

// The parts' units are joined before they are read, so that a character split between two parts
// (a surrogate pair, an escape and its septet) comes out whole.
std::string JoinedText(const SmsMessage& message, std::span<const SmsPdu> pdus)
{
    std::string text;
    std::vector<std::uint16_t> run;
    const SmsPdu* runCoding = nullptr;
    const auto flush = [&] {
        if (runCoding)
            text += SmsUnitsToText(run, runCoding->alphabet, runCoding->compressed, runCoding->shiftTables);
        run.clear();
        runCoding = nullptr;
    };
    for (std::size_t k = 0; k < message.parts.size(); ++k) {
        if (!message.parts[k]) {
            flush();
            text += SmsFormat(SmsText::JoinMissingMarker, {Decimal(k + 1)});
            continue;
        }
        const SmsPdu& pdu = pdus[*message.parts[k]];
        if (runCoding && !SameCoding(*runCoding, pdu))
            flush();
        // 8-bit data of successive parts reads as one run of hex.
        if (runCoding && pdu.alphabet == SmsAlphabet::Data8)
            flush();
        runCoding = &pdu;
        run.insert(run.end(), pdu.textUnits.begin(), pdu.textUnits.end());
        if (pdu.alphabet == SmsAlphabet::Data8 || pdu.compressed) {
            flush();
            if (k + 1 < message.parts.size())
                text += ' ';
        }
    }
    flush();
    return text;
}

} // namespace

std::vector<SmsMessage> JoinSmsParts(std::span<const SmsPdu> pdus)
{
    std::vector<SmsMessage> messages;
    for (std::size_t i = 0; i < pdus.size(); ++i) {
        const SmsPdu& pdu = pdus[i];
        if (pdu.concatenation) {
            auto found = std::find_if(messages.begin(), messages.end(), [&](const SmsMessage& m) { return SamePartOf(m, pdu); });
            if (found != messages.end()) {
                std::optional<std::size_t>& slot = found->parts[pdu.concatenation->part - 1];
                if (slot)
                    found->duplicates.emplace_back(pdu.concatenation->part, i);
                else
                    slot = i;
                continue;
            }
        }
        SmsMessage message;
        message.type = pdu.type;
        message.address = pdu.address;
        message.concatenation = pdu.concatenation;
        message.parts.resize(pdu.concatenation ? pdu.concatenation->parts : 1);
        message.parts[pdu.concatenation ? pdu.concatenation->part - 1 : 0] = i;
        messages.push_back(std::move(message));
    }
    for (SmsMessage& message : messages) {
        for (std::size_t k = 0; k < message.parts.size(); ++k)
            if (!message.parts[k])
                message.missing.push_back(static_cast<unsigned>(k + 1));
        message.text = JoinedText(message, pdus);
    }
    return messages;
}

std::string FormatSmsMessage(const SmsMessage& message, std::size_t number, std::span<const std::string> names)
{
    const auto name = [&](std::size_t input) { return input < names.size() ? names[input] : Decimal(input + 1); };
    std::string party;
    if (!message.address.empty())
        party = SmsFormat(message.type == SmsMessageType::Deliver ? SmsText::JoinAddressFrom : SmsText::JoinAddressTo, {message.address});
    std::string kind = SmsTextOf(SmsText::JoinSingle);
    if (message.concatenation) {
        char reference[16];
        std::snprintf(reference, sizeof reference, message.concatenation->reference16 ? "0x%04X" : "0x%02X",
                      message.concatenation->reference);
        kind = SmsFormat(SmsText::JoinConcatenated, {reference, Decimal(message.concatenation->parts)});
    }
    std::string head = SmsMessageTypeName(message.type);
    if (!party.empty())
        head += SmsTextOf(SmsText::ListSeparatorComma) + party;
    std::string out = SmsFormat(SmsText::JoinMessage, {Decimal(number), head, kind}) + "\n";
    if (message.concatenation) {
        for (std::size_t k = 0; k < message.parts.size(); ++k) {
            out += "  ";
            out += message.parts[k] ? SmsFormat(SmsText::JoinPartFound, {Decimal(k + 1), name(*message.parts[k])})
                                    : SmsFormat(SmsText::JoinPartMissing, {Decimal(k + 1)});
            out += '\n';
        }
        for (const auto& [part, input] : message.duplicates)
            out += "  " + SmsFormat(SmsText::JoinPartDuplicate, {Decimal(part), name(input)}) + "\n";
    }
    if (!message.missing.empty()) {
        std::string list;
        for (unsigned part : message.missing)
            list += (list.empty() ? "" : SmsTextOf(SmsText::ListSeparator)) + Decimal(part);
        out += "  " + SmsFormat(SmsText::JoinMissingList, {list}) + "\n";
    }
    std::string text;
    for (char c : message.text) {
        text += c;
        if (c == '\n')
            text += "    ";
    }
    out += "  " + SmsFormat(SmsText::JoinText, {text}) + "\n";
    return out;
}
