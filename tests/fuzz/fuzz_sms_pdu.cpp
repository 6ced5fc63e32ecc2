// The complete SMS PDU decoder, the PDU in a log line, and the joining of concatenated parts.
// Whatever the bytes: no read outside them (each decode gets an exact-size copy), also for their
// prefixes (every one of a short PDU, those cut at a field's edge of a long one); the top-level fields tile the bytes from the first to the last, each child inside its
// field; a field cut short is Truncated or Missing and said so among the problems; every text is
// well-formed UTF-8; the rendering has a line for every field, in order. Built parts of one
// message decode to what was put in them and join to the same message in any order.
//
// Input: a mode byte, then
//   mode 0: the PDU's bytes;
//   mode 1: a log line, whose PDU (ExtractPduHex) is decoded;
//   mode 2: parts of a concatenated SMS-DELIVER: a byte of the total (1 + b % 6), two reference
//           bytes (low first; the 8-bit element takes the low one), a byte of flags (bits 0-1: GSM 7-bit, UCS2 or 8-bit data; bit 2: 16-bit
//           reference; bit 3: every third part from another sender), a byte seeding the order
//           they are joined in the second time, then up to 8 parts, each a part number byte
//           (b % (total + 2): 0 and total + 1 are invalid numbers), a length byte and the content.

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "common/hex_text.h"
#include "fuzz_support.h"
#include "sms/sms_concat.h"
#include "sms/sms_log.h"
#include "sms/sms_pdu.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Where(const SmsField& field)
{
    return std::string(SmsFieldKey(field.id)) + " at " + std::to_string(field.offset) + "+" + std::to_string(field.length) +
           " state " + std::to_string(static_cast<int>(field.state));
}

// Every field inside the bytes and inside its parent; texts well-formed; counts the cut fields.
void CheckField(const SmsField& field, std::size_t begin, std::size_t end, std::size_t size, std::size_t& cut)
{
    FUZZ_CHECK(*SmsFieldKey(field.id) != '\0' && *SmsFieldName(field.id) != '\0', Where(field));
    if (field.state == SmsFieldState::Missing) {
        FUZZ_CHECK(field.length == 0 && field.offset <= size, Where(field));
        ++cut;
    } else {
        FUZZ_CHECK(field.offset <= size && field.length <= size - field.offset, Where(field));
        if (field.length > 0)
            FUZZ_CHECK(field.offset >= begin && field.offset + field.length <= end, Where(field));
        cut += field.state == SmsFieldState::Truncated;
    }
    FUZZ_CHECK(IsWellFormedUtf8(field.value) && IsWellFormedUtf8(field.text), Where(field) + ": " + Shown(field.value) + " / " + Shown(field.text));
    const bool inside = field.length > 0;
    for (const SmsField& child : field.children)
        CheckField(child, inside ? field.offset : begin, inside ? field.offset + field.length : end, size, cut);
}

// A line for every field in pre-order: its name indented by depth, its bytes, its text.
void CheckRendering(const std::string& out, const std::vector<SmsField>& fields, int depth, std::size_t& at)
{
    for (const SmsField& field : fields) {
        const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        std::string range;
        if (field.state != SmsFieldState::Missing && field.length == 1)
            range = SmsFormat(SmsText::RenderRange, {std::to_string(field.offset + 1)});
        else if (field.state != SmsFieldState::Missing && field.length > 1)
            range = SmsFormat(SmsText::RenderRangeSpan, {std::to_string(field.offset + 1), std::to_string(field.offset + field.length)});
        std::string text;
        for (char c : field.text) {
            text += c;
            if (c == '\n')
                text += indent + "    ";
        }
        const std::string line = SmsFormat(SmsText::RenderLine, {indent + SmsFieldName(field.id), range, text}) + "\n";
        FUZZ_CHECK(out.compare(at, line.size(), line) == 0, Where(field) + ": expected " + Shown(line) + " at " + std::to_string(at) +
                                                               " of " + Shown(out));
        at += line.size();
        CheckRendering(out, field.children, depth + 1, at);
    }
}

void CheckPdu(const SmsPdu& pdu, std::size_t size, bool render)
{
    std::size_t cut = 0;
    for (const SmsField& field : pdu.fields)
        CheckField(field, 0, size, size, cut);
    if (size == 0) {
        FUZZ_CHECK(pdu.fields.empty() && !pdu.problems.empty());
        return;
    }
    // The top-level fields, in order, cover every byte once.
    FUZZ_CHECK(!pdu.fields.empty() && pdu.fields[0].id == SmsFieldId::Form);
    std::size_t pos = 0;
    bool extra = false;
    for (const SmsField& field : pdu.fields) {
        FUZZ_CHECK(field.offset == pos, Where(field) + ", expected at " + std::to_string(pos));
        pos += field.length;
        extra = extra || field.id == SmsFieldId::Extra;
    }
    FUZZ_CHECK(pos == size, "the fields end at " + std::to_string(pos) + " of " + std::to_string(size));
    FUZZ_CHECK(cut == 0 || !pdu.problems.empty(), "a field is cut, and no problem says so");
    if (pdu.lengthsFit) {
        FUZZ_CHECK(!extra);
        for (const SmsField& field : pdu.fields)
            FUZZ_CHECK(field.state == SmsFieldState::Decoded, "the lengths fit, yet " + Where(field));
    }
    FUZZ_CHECK(IsWellFormedUtf8(pdu.text) && IsWellFormedUtf8(pdu.address), Shown(pdu.text) + " / " + Shown(pdu.address));
    for (const std::string& problem : pdu.problems)
        FUZZ_CHECK(IsWellFormedUtf8(problem) && !problem.empty(), Shown(problem));
    if (!render)
        return;
    const std::string out = FormatSmsPdu(pdu);
    std::size_t at = 0;
    CheckRendering(out, pdu.fields, 0, at);
    if (!pdu.problems.empty()) {
        std::string tail = std::string(SmsTextOf(SmsText::RenderProblems)) + "\n";
        for (const std::string& problem : pdu.problems)
            tail += "  " + problem + "\n";
        FUZZ_CHECK(out.compare(at, std::string::npos, tail) == 0, Shown(out.substr(at)));
    } else {
        FUZZ_CHECK(at == out.size(), Shown(out.substr(at)));
    }
}

// Where the bytes end inside or at the edge of a field, one byte either side.
void AddCuts(const std::vector<SmsField>& fields, std::vector<std::size_t>& cuts)
{
    for (const SmsField& field : fields) {
        for (std::size_t at : {field.offset, field.offset + field.length})
            for (std::size_t n : {at - 1, at, at + 1})
                cuts.push_back(n);
        AddCuts(field.children, cuts);
    }
}

// The whole bytes and their prefixes, each from an exact-size copy: every prefix of a PDU of up
// to ALL_PREFIXES bytes; of a longer one (a decode costs about 0.1 ms here, a PDU has up to 176
// bytes) those that end where a field of the whole decode begins or ends, or a byte from there.
constexpr std::size_t ALL_PREFIXES = 64;

void DecodeAll(std::span<const std::uint8_t> bytes)
{
    const Bytes whole(bytes.begin(), bytes.end());
    const SmsPdu full = DecodeSmsPdu(whole);
    CheckPdu(full, whole.size(), true);
    std::vector<std::size_t> cuts;
    if (whole.size() <= ALL_PREFIXES) {
        for (std::size_t n = 0; n < whole.size(); ++n)
            cuts.push_back(n);
    } else {
        AddCuts(full.fields, cuts);
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    }
    for (std::size_t n : cuts) {
        if (n >= whole.size())
            continue;
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const SmsPdu pdu = DecodeSmsPdu(prefix);
        CheckPdu(pdu, n, false);
        // The bytes of a deliver or submit end inside its last field: no prefix fits that layout.
        if (full.lengthsFit && pdu.centreFirst == full.centreFirst && pdu.type == full.type &&
            (full.type == SmsMessageType::Deliver || full.type == SmsMessageType::Submit))
            FUZZ_CHECK(!pdu.lengthsFit, "a prefix of " + std::to_string(n) + " bytes fits");
    }
}

void LogLine(std::string_view line)
{
    const std::string hex = ExtractPduHex(line);
    if (hex.empty())
        return;
    // As it stands in the line, blanks made spaces.
    std::string blanked(line);
    std::replace_if(blanked.begin(), blanked.end(), [](char c) { return c == '\t' || c == '\r' || c == '\x1A'; }, ' ');
    FUZZ_CHECK(blanked.find(hex) != std::string::npos, Shown(line) + " -> " + Shown(hex));
    Bytes bytes(hex.size());
    std::size_t count = 0;
    FUZZ_CHECK(ParseHexText(hex, bytes, count) == HexParseResult::Ok && count >= MIN_PDU_BYTES, Shown(hex));
    bytes.resize(count);
    const SmsPdu pdu = DecodeSmsPdu(bytes);
    CheckPdu(pdu, count, true);
}

// ---- mode 2: parts built field by field

const Bytes CENTRE = {0x08, 0x91, 0x68, 0x31, 0x08, 0x10, 0x00, 0x05, 0xF0};  // +8613800100500
const Bytes SENDER = {0x0D, 0x91, 0x68, 0x31, 0x19, 0x32, 0x54, 0x76, 0xF8};  // +8613912345678
const Bytes OTHER = {0x0B, 0xA1, 0x31, 0x19, 0x32, 0x54, 0x76, 0xF8};         // 13912345678, national
const Bytes TIME_STAMP = {0x42, 0x50, 0x10, 0x21, 0x03, 0x54, 0x23};

// Septets packed least significant bit first from `firstBit` on, bit by bit.
void PackSeptets(Bytes& out, std::size_t base, std::size_t firstBit, std::span<const std::uint16_t> septets)
{
    out.resize(base + (firstBit + 7 * septets.size() + 7) / 8, 0);
    for (std::size_t bit = 0; bit < 7 * septets.size(); ++bit) {
        const std::size_t at = firstBit + bit;
        out[base + at / 8] = static_cast<std::uint8_t>(out[base + at / 8] | ((septets[bit / 7] >> (bit % 7)) & 1) << (at % 8));
    }
}

struct Part {
    Bytes pdu;
    std::vector<std::uint16_t> units;
    unsigned number;
    bool other;
};

Bytes BuildDeliver(int alphabet, bool wide, unsigned reference, unsigned total, unsigned number, bool other,
                   std::span<const std::uint16_t> units)
{
    Bytes pdu = CENTRE;
    pdu.push_back(0x44);  // SMS-DELIVER, no more messages, a user data header
    const Bytes& sender = other ? OTHER : SENDER;
    pdu.insert(pdu.end(), sender.begin(), sender.end());
    pdu.push_back(0x00);
    pdu.push_back(alphabet == 0 ? 0x00 : alphabet == 1 ? 0x08 : 0x04);
    pdu.insert(pdu.end(), TIME_STAMP.begin(), TIME_STAMP.end());
    const Bytes header = wide ? Bytes{0x06, 0x08, 0x04, std::uint8_t(reference >> 8), std::uint8_t(reference), std::uint8_t(total), std::uint8_t(number)}
                              : Bytes{0x05, 0x00, 0x03, std::uint8_t(reference), std::uint8_t(total), std::uint8_t(number)};
    const std::size_t udl = pdu.size();
    pdu.push_back(0);
    pdu.insert(pdu.end(), header.begin(), header.end());
    if (alphabet == 0) {
        const std::size_t headerSeptets = (header.size() * 8 + 6) / 7;
        pdu[udl] = static_cast<std::uint8_t>(headerSeptets + units.size());
        PackSeptets(pdu, udl + 1, headerSeptets * 7, units);
        std::copy(header.begin(), header.end(), pdu.begin() + static_cast<std::ptrdiff_t>(udl + 1));
    } else {
        for (std::uint16_t unit : units) {
            if (alphabet == 1)
                pdu.push_back(static_cast<std::uint8_t>(unit >> 8));
            pdu.push_back(static_cast<std::uint8_t>(unit));
        }
        pdu[udl] = static_cast<std::uint8_t>(pdu.size() - udl - 1);
    }
    return pdu;
}

// A message as it reads whatever the order its parts came in: its key, its parts by input, its text.
using Canonical = std::tuple<int, std::string, bool, unsigned, bool, unsigned, std::size_t, std::vector<std::size_t>,
                             std::vector<unsigned>, std::size_t, std::string>;

std::vector<Canonical> Canonicalise(const std::vector<SmsMessage>& messages, const std::vector<std::size_t>& original)
{
    std::vector<Canonical> out;
    for (const SmsMessage& m : messages) {
        std::vector<std::size_t> inputs;
        for (const auto& slot : m.parts)
            inputs.push_back(slot ? original[*slot] : SIZE_MAX);
        std::vector<std::size_t> all = inputs;
        for (const auto& [part, input] : m.duplicates)
            all.push_back(original[input]);
        std::sort(all.begin(), all.end());
        const bool duplicates = !m.duplicates.empty();
        // With a part seen twice, which copy fills its place depends on the order.
        out.emplace_back(static_cast<int>(m.type), m.address, m.concatenation.has_value(),
                         m.concatenation ? m.concatenation->reference : 0, m.concatenation && m.concatenation->reference16,
                         m.concatenation ? m.concatenation->parts : 0, m.concatenation ? 0 : inputs[0],
                         duplicates ? all : inputs, m.missing, m.duplicates.size(), duplicates ? std::string() : m.text);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void Parts(CFuzzInput& input)
{
    const unsigned total = 1 + input.Byte() % 6;
    const unsigned low = input.Byte();
    const unsigned reference = low | input.Byte() << 8;
    const std::uint8_t flags = input.Byte();
    const int alphabet = (flags & 3) % 3;
    const bool wide = flags & 4;
    const bool mixed = flags & 8;
    const std::uint8_t seed = input.Byte();
    const unsigned shownReference = wide ? reference : reference & 0xFF;

    std::vector<Part> parts;
    while (!input.Empty() && parts.size() < 8) {
        Part part;
        part.number = input.Byte() % (total + 2);
        part.other = mixed && parts.size() % 3 == 2;
        // Room for the header: 7-bit text at most 152 septets, UCS2 66 units, 8-bit 133 octets.
        const std::size_t room = alphabet == 0 ? 152 : alphabet == 1 ? 66 : 133;
        const std::size_t count = std::min<std::size_t>(input.Byte(), room);
        for (std::size_t k = 0; k < count && !input.Empty(); ++k) {
            if (alphabet == 1) {
                const unsigned high = input.Byte();
                part.units.push_back(static_cast<std::uint16_t>(high << 8 | input.Byte()));
            } else {
                part.units.push_back(alphabet == 0 ? input.Byte() & 0x7F : input.Byte());
            }
        }
        part.pdu = BuildDeliver(alphabet, wide, shownReference, total, part.number, part.other, part.units);
        parts.push_back(std::move(part));
    }

    std::vector<SmsPdu> pdus;
    for (const Part& part : parts) {
        SmsPdu pdu = DecodeSmsPdu(part.pdu);
        CheckPdu(pdu, part.pdu.size(), true);
        const std::string what = "part " + std::to_string(part.number) + " of " + std::to_string(total) + ": " + FormatSmsPdu(pdu);
        FUZZ_CHECK(pdu.lengthsFit && pdu.centreFirst && pdu.type == SmsMessageType::Deliver, what);
        FUZZ_CHECK(pdu.address == (part.other ? "13912345678" : "+8613912345678"), what);
        FUZZ_CHECK(pdu.alphabet == (alphabet == 0 ? SmsAlphabet::Gsm7 : alphabet == 1 ? SmsAlphabet::Ucs2 : SmsAlphabet::Data8), what);
        FUZZ_CHECK(pdu.textUnits == part.units, what);
        const bool valid = part.number >= 1 && part.number <= total;
        FUZZ_CHECK(pdu.concatenation.has_value() == valid, what);
        if (valid)
            FUZZ_CHECK(pdu.concatenation->reference == shownReference && pdu.concatenation->reference16 == wide &&
                           pdu.concatenation->parts == total && pdu.concatenation->part == part.number,
                       what);
        pdus.push_back(std::move(pdu));
    }

    std::vector<std::size_t> identity(pdus.size()), order(pdus.size());
    for (std::size_t k = 0; k < pdus.size(); ++k)
        identity[k] = order[k] = k;
    std::minstd_rand random(seed + 1u);
    std::shuffle(order.begin(), order.end(), random);
    std::vector<SmsPdu> shuffled;
    for (std::size_t k : order)
        shuffled.push_back(pdus[k]);

    const std::vector<SmsMessage> messages = JoinSmsParts(pdus);
    const std::vector<SmsMessage> again = JoinSmsParts(shuffled);
    for (const SmsMessage& m : messages) {
        FUZZ_CHECK(IsWellFormedUtf8(m.text), Shown(m.text));
        std::vector<unsigned> missing;
        for (std::size_t k = 0; k < m.parts.size(); ++k)
            if (!m.parts[k])
                missing.push_back(static_cast<unsigned>(k + 1));
        FUZZ_CHECK(m.missing == missing);
        const std::vector<std::string> names;
        FUZZ_CHECK(IsWellFormedUtf8(FormatSmsMessage(m, 1, names)));
    }
    const auto a = Canonicalise(messages, identity), b = Canonicalise(again, order);
    FUZZ_CHECK(a == b, "the parts joined in another order give another message: " + Shown(messages.empty() ? "" : messages[0].text) +
                           " / " + Shown(again.empty() ? "" : again[0].text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    switch (input.Byte() % 3) {
    case 0:
        DecodeAll(input.Rest());
        break;
    case 1:
        LogLine(input.RestText());
        break;
    default:
        Parts(input);
        break;
    }
    return 0;
}
