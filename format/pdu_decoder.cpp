#include "format/pdu_decoder.h"

#include <algorithm>

#include "common/code_page.h"
#include "common/hex_text.h"
#include "common/text_utility.h"
#include "format/format_texts.h"

namespace {

// The decoders do not validate: a character that is no hex digit counts as 0.
int DigitOrZero(char c)
{
    return std::max(0, HexDigitValue(c));
}

std::string Label(StringFormatText id, std::initializer_list<std::string_view> args = {})
{
    return StringFormatNarrow(id, args);
}

// Reads fields front to back; the lengths in the text may point anywhere, so everything past
// its end reads as "0" and nothing outside it is touched.
class CPduReader {
public:
    explicit CPduReader(std::string_view text)
        : m_text(text)
    {
    }

    std::string Chars(std::size_t count)
    {
        std::string chars(count, '0');
        if (m_position < m_text.size()) {
            const std::string_view present = m_text.substr(m_position, count);
            chars.replace(0, present.size(), present);
        }
        m_position += count;
        return chars;
    }

    unsigned Octet() { return HexTextToBytes(Chars(2))[0]; }
    void Skip(std::size_t count) { m_position += count; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

// The SMS-centre line; leaves the reader after the centre's address.
std::string ReadServiceCentre(CPduReader& reader)
{
    const unsigned length = reader.Octet();
    const std::size_t digits = ((length - 1) * 2) & 0xFF;
    reader.Skip(2);  // type of address, not used
    return Label(StringFormatText::PduCentre) + SwapSemiOctets(reader.Chars(digits)) + "\r\n";
}

// An address given by its digit count, with the length and type-of-address octets before it.
std::string ReadAddress(CPduReader& reader)
{
    unsigned digits = reader.Octet();
    if (digits % 2 != 0)
        ++digits;
    reader.Skip(2);
    return SwapSemiOctets(reader.Chars(digits));
}

std::string ProtocolLine(unsigned protocol)
{
    return Label(protocol == 0 ? StringFormatText::PduProtocolPlain : StringFormatText::PduProtocolOther) + "\r\n";
}

std::string CodingLine(unsigned coding)
{
    const char* name = coding == 0 ? "7-bit" : coding == 8 ? "UCS2" : "8-bit";
    return Label(StringFormatText::PduCoding) + name + "\r\n";
}

std::string ValidityLine(unsigned v)
{
    int number = 0;
    StringFormatText line = StringFormatText::PduValidityWeeks;
    if (v <= 143) {
        number = static_cast<int>((v + 1) * 5);
        line = StringFormatText::PduValidityMinutes;
    } else if (v <= 167) {
        number = static_cast<int>((v - 143) / 2 + 12);  // half hours dropped
        line = StringFormatText::PduValidityHours;
    } else if (v <= 196) {
        number = static_cast<int>(v - 166);
        line = StringFormatText::PduValidityDays;
    } else {
        number = static_cast<int>(v - 192);
    }
    return Label(line, {DecimalText(number)}) + "\r\n";
}

std::string UpToZero(std::string text)
{
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

// The length line and the content line, the end both layouts share.
std::string ReadUserData(CPduReader& reader, unsigned coding)
{
    const unsigned length = reader.Octet();
    std::string lines = Label(StringFormatText::PduLength) + DecimalText(static_cast<int>(length)) + "\r\n";
    std::string content;
    if (coding == 0) {
        const std::size_t octets = (7 * length + 7) / 8;
        for (std::uint8_t septet : UnpackSeptets(HexTextToBytes(reader.Chars(2 * octets)))) {
            if (septet == 0)
                break;
            content += static_cast<char>(septet);
        }
    } else if (coding == 8) {
        content = UpToZero(Ucs2ToNarrow(HexTextToBytes(reader.Chars(2 * length))));
    } else {
        const std::vector<std::uint8_t> bytes = HexTextToBytes(reader.Chars(2 * length));
        content = UpToZero(std::string(bytes.begin(), bytes.end()));
    }
    return lines + Label(StringFormatText::PduContent) + content;
}

} // namespace

std::vector<std::uint8_t> HexTextToBytes(std::string_view chars)
{
    std::vector<std::uint8_t> bytes(chars.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(DigitOrZero(chars[2 * i]) << 4 | DigitOrZero(chars[2 * i + 1]));
    return bytes;
}

std::string SwapSemiOctets(std::string_view chars)
{
    std::string digits;
    digits.reserve(chars.size());
    for (std::size_t k = 0; 2 * k + 1 < chars.size(); ++k) {
        digits += chars[2 * k + 1];
        digits += chars[2 * k];
    }
    if (!digits.empty() && digits.back() == 'F')
        digits.pop_back();
    return digits;
}

std::vector<std::uint8_t> UnpackSeptets(std::span<const std::uint8_t> bytes)
{
    const std::size_t count = bytes.size() + bytes.size() / 7;
    std::vector<std::uint8_t> septets(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t bit = 7 * i;
        const std::size_t octet = bit / 8;
        const unsigned shift = bit % 8;
        unsigned value = bytes[octet] >> shift;
        if (shift > 1 && octet + 1 < bytes.size())
            value |= static_cast<unsigned>(bytes[octet + 1]) << (8 - shift);
        septets[i] = static_cast<std::uint8_t>(value & 0x7F);
    }
    return septets;
}

std::string Ucs2ToNarrow(std::span<const std::uint8_t> bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    std::string narrow = WideToNarrow(units);
    if (narrow.size() > PDU_CONTENT_BYTES)
        return {};
    return narrow;
}

std::string DecodeSendPdu(std::string_view text)
{
    CPduReader reader(text);
    std::string lines = ReadServiceCentre(reader);
    reader.Skip(4);  // first octet and message reference
    lines += Label(StringFormatText::PduDestination) + ReadAddress(reader) + "\r\n";
    lines += ProtocolLine(reader.Octet());
    const unsigned coding = reader.Octet();
    lines += CodingLine(coding);
    lines += ValidityLine(reader.Octet());
    return lines + ReadUserData(reader, coding);
}

std::string DecodeReceivePdu(std::string_view text)
{
    CPduReader reader(text);
    std::string lines = ReadServiceCentre(reader);
    reader.Skip(2);  // first octet
    lines += Label(StringFormatText::PduOriginator) + ReadAddress(reader) + "\r\n";
    lines += ProtocolLine(reader.Octet());
    const unsigned coding = reader.Octet();
    lines += CodingLine(coding);
    // Year, month, day, hours, minutes, seconds; the time zone is not shown.
    const std::string s = SwapSemiOctets(reader.Chars(14));
    lines += Label(StringFormatText::PduTimeStamp) + "20" + s.substr(0, 2) + "-" + s.substr(2, 2) + "-" + s.substr(4, 2) + " " +
             s.substr(6, 2) + ":" + s.substr(8, 2) + ":" + s.substr(10, 2) + "\r\n";
    return lines + ReadUserData(reader, coding);
}

std::string DecodePdu(std::string_view text, PduDirection direction)
{
    if (!text.starts_with("089"))
        return Label(StringFormatText::NotPdu);
    return direction == PduDirection::Receive ? DecodeReceivePdu(text) : DecodeSendPdu(text);
}
