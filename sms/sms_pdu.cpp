#include "sms/sms_pdu.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>

namespace {

using Bytes = std::span<const std::uint8_t>;

struct FieldInfo {
    const char* key;
    SmsText name;
};

const FieldInfo FIELD_INFO[] = {
#define VELMORRA_SMS_FIELD_INFO(id, key, name) {key, SmsText::name},
    VELMORRA_SMS_FIELDS(VELMORRA_SMS_FIELD_INFO)
#undef VELMORRA_SMS_FIELD_INFO
};

// TS 23.040 clause 9.2.3.16 and 9.2.3.24: at most 160 septets or 140 octets of user data.
constexpr unsigned MAX_SEPTETS = 160;
constexpr unsigned MAX_OCTETS = 140;
// TS 24.011 clause 8.2.5.1: the SMS-centre address holds at most 11 octets after its length.
constexpr unsigned MAX_CENTRE_OCTETS = 11;
// TS 23.040 clause 9.1.2.5: an address has at most 20 digits.
constexpr unsigned MAX_ADDRESS_DIGITS = 20;

std::string T(SmsText id)
{
    return SmsTextOf(id);
}

std::string F(SmsText id, std::initializer_list<std::string_view> args)
{
    return SmsFormat(id, args);
}

std::string Decimal(long long value)
{
    char buffer[24];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

std::string Hex2(unsigned value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02X", value & 0xFF);
    return buffer;
}

std::string Hex4(unsigned value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
    return buffer;
}

std::string HexBytes(Bytes bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += Hex2(b);
    }
    return text;
}

std::string Join(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty())
            text += SmsTextOf(SmsText::ListSeparator);
        text += item;
    }
    return text;
}

SmsField MakeField(SmsFieldId id, std::size_t offset, std::size_t length, std::string value, std::string text,
                   SmsValueKind kind = SmsValueKind::Text)
{
    SmsField field;
    field.id = id;
    field.offset = offset;
    field.length = length;
    field.kind = kind;
    field.value = std::move(value);
    field.text = std::move(text);
    return field;
}

SmsField NumberField(SmsFieldId id, std::size_t offset, std::size_t length, long long number, std::string text)
{
    return MakeField(id, offset, length, Decimal(number), std::move(text), SmsValueKind::Number);
}

// One bit of the first octet: a yes/no with the words for this message type.
SmsField FlagField(SmsFieldId id, std::size_t offset, bool set, std::string text = {})
{
    return MakeField(id, offset, 1, set ? "true" : "false", text.empty() ? T(set ? SmsText::Yes : SmsText::No) : std::move(text),
                     SmsValueKind::Flag);
}

std::string TypeOfNumberWords(unsigned ton)
{
    static constexpr SmsText WORDS[] = {SmsText::TonUnknown,    SmsText::TonInternational, SmsText::TonNational,
                                        SmsText::TonNetwork,    SmsText::TonSubscriber,    SmsText::TonAlphanumeric,
                                        SmsText::TonAbbreviated, SmsText::TonReserved};
    return T(WORDS[ton & 7]);
}

std::string NumberingPlanWords(unsigned npi)
{
    switch (npi & 0x0F) {
    case 0x0:
        return T(SmsText::NpiUnknown);
    case 0x1:
        return T(SmsText::NpiIsdn);
    case 0x3:
        return T(SmsText::NpiData);
    case 0x4:
        return T(SmsText::NpiTelex);
    case 0x5:
    case 0x6:
        return T(SmsText::NpiCentreSpecific);
    case 0x8:
        return T(SmsText::NpiNational);
    case 0x9:
        return T(SmsText::NpiPrivate);
    case 0xA:
        return T(SmsText::NpiErmes);
    default:
        return T(SmsText::NpiReserved);
    }
}

std::string ProtocolWords(std::uint8_t pid)
{
    switch (pid >> 6) {
    case 0:
        if (pid & 0x20) {
            const unsigned device = pid & 0x1F;
            switch (device) {
            case 0x00: return F(SmsText::PidTelematic, {T(SmsText::DeviceImplicit)});
            case 0x01: return F(SmsText::PidTelematic, {T(SmsText::DeviceTelex)});
            case 0x02: return F(SmsText::PidTelematic, {T(SmsText::DeviceFaxGroup3)});
            case 0x03: return F(SmsText::PidTelematic, {T(SmsText::DeviceFaxGroup4)});
            case 0x04: return F(SmsText::PidTelematic, {T(SmsText::DeviceVoice)});
            case 0x05: return F(SmsText::PidTelematic, {T(SmsText::DeviceErmes)});
            case 0x06: return F(SmsText::PidTelematic, {T(SmsText::DevicePaging)});
            case 0x07: return F(SmsText::PidTelematic, {T(SmsText::DeviceVideotex)});
            case 0x08: return F(SmsText::PidTelematic, {F(SmsText::DeviceTeletex, {"-"})});
            case 0x09: return F(SmsText::PidTelematic, {F(SmsText::DeviceTeletex, {"PSPDN"})});
            case 0x0A: return F(SmsText::PidTelematic, {F(SmsText::DeviceTeletex, {"CSPDN"})});
            case 0x0B: return F(SmsText::PidTelematic, {F(SmsText::DeviceTeletex, {"PSTN"})});
            case 0x0C: return F(SmsText::PidTelematic, {F(SmsText::DeviceTeletex, {"ISDN"})});
            case 0x0D: return F(SmsText::PidTelematic, {T(SmsText::DeviceUci)});
            case 0x10: return F(SmsText::PidTelematic, {T(SmsText::DeviceMessageHandling)});
            case 0x11: return F(SmsText::PidTelematic, {T(SmsText::DeviceX400)});
            case 0x12: return F(SmsText::PidTelematic, {T(SmsText::DeviceEmail)});
            case 0x1F: return F(SmsText::PidTelematic, {T(SmsText::DeviceMobile)});
            default:
                return F(SmsText::PidTelematic, {T(device >= 0x18 ? SmsText::PidCentreSpecific : SmsText::PidReserved)});
            }
        }
        return pid == 0 ? T(SmsText::PidDefault) : F(SmsText::PidSmeProtocol, {Decimal(pid & 0x1F)});
    case 1: {
        const unsigned type = pid & 0x3F;
        if (type == 0)
            return T(SmsText::PidShortMessageType0);
        if (type >= 1 && type <= 7)
            return F(SmsText::PidReplace, {Decimal(type)});
        switch (type) {
        case 0x1E: return T(SmsText::PidEnhancedMessage);
        case 0x1F: return T(SmsText::PidReturnCall);
        case 0x3C: return T(SmsText::PidAnsi136);
        case 0x3D: return T(SmsText::PidMeDownload);
        case 0x3E: return T(SmsText::PidMeDepersonalization);
        case 0x3F: return T(SmsText::PidSimDownload);
        default: return T(SmsText::PidReserved);
        }
    }
    case 2:
        return T(SmsText::PidReserved);
    default:
        return T(SmsText::PidCentreSpecific);
    }
}

std::string StatusWords(std::uint8_t status)
{
    const auto reason = [](unsigned code) {
        switch (code & 0x1F) {
        case 0x00: return T(SmsText::ErrorCongestion);
        case 0x01: return T(SmsText::ErrorBusy);
        case 0x02: return T(SmsText::ErrorNoResponse);
        case 0x03: return T(SmsText::ErrorServiceRejected);
        case 0x04: return T(SmsText::ErrorQuality);
        case 0x05: return T(SmsText::ErrorInSme);
        default: return T((code & 0x1F) >= 0x10 ? SmsText::ErrorCentreSpecific : SmsText::ErrorReserved);
        }
    };
    if (status == 0x00)
        return T(SmsText::StatusReceived);
    if (status == 0x01)
        return T(SmsText::StatusForwarded);
    if (status == 0x02)
        return T(SmsText::StatusReplaced);
    if (status < 0x10)
        return T(SmsText::StatusCompleteReserved);
    if (status < 0x20)
        return T(SmsText::StatusCompleteSpecific);
    if (status < 0x40)
        return F(SmsText::StatusTrying, {reason(status)});
    if (status < 0x60) {
        static constexpr SmsText PERMANENT[] = {
            SmsText::ErrorRemoteProcedure, SmsText::ErrorIncompatible,       SmsText::ErrorConnectionRejected,
            SmsText::ErrorNotObtainable,   SmsText::ErrorQuality,            SmsText::ErrorNoInterworking,
            SmsText::ErrorExpired,         SmsText::ErrorDeletedByOriginator, SmsText::ErrorDeletedByCentre,
            SmsText::ErrorNoSuchMessage};
        const unsigned code = status - 0x40u;
        const std::string words = code < std::size(PERMANENT) ? T(PERMANENT[code])
                                  : T(code >= 0x10 ? SmsText::ErrorCentreSpecific : SmsText::ErrorReserved);
        return F(SmsText::StatusPermanent, {words});
    }
    if (status < 0x80)
        return F(SmsText::StatusGaveUp, {reason(status)});
    return T(SmsText::StatusReserved);
}

std::string CommandWords(std::uint8_t command)
{
    switch (command) {
    case 0: return T(SmsText::CommandEnquiry);
    case 1: return T(SmsText::CommandCancelReport);
    case 2: return T(SmsText::CommandDelete);
    case 3: return T(SmsText::CommandEnableReport);
    default: return T(command >= 0xE0 ? SmsText::CommandCentreSpecific : SmsText::CommandReserved);
    }
}

std::string ElementWords(std::uint8_t iei)
{
    switch (iei) {
    case 0x00: return T(SmsText::ElementConcatenation8);
    case 0x01: return T(SmsText::ElementSpecialIndication);
    case 0x04: return T(SmsText::ElementPorts8);
    case 0x05: return T(SmsText::ElementPorts16);
    case 0x06: return T(SmsText::ElementCentreControl);
    case 0x07: return T(SmsText::ElementHeaderSource);
    case 0x08: return T(SmsText::ElementConcatenation16);
    case 0x09: return T(SmsText::ElementWcmp);
    case 0x0A: return T(SmsText::ElementTextFormat);
    case 0x0B: case 0x0C: return T(SmsText::ElementSound);
    case 0x0D: case 0x0E: case 0x0F: return T(SmsText::ElementAnimation);
    case 0x10: case 0x11: case 0x12: return T(SmsText::ElementPicture);
    case 0x20: return T(SmsText::ElementEmailHeader);
    case 0x21: return T(SmsText::ElementHyperlink);
    case 0x22: return T(SmsText::ElementReplyAddress);
    case 0x23: return T(SmsText::ElementVoiceMail);
    case 0x24: return T(SmsText::ElementSingleShift);
    case 0x25: return T(SmsText::ElementLockingShift);
    default:
        if (iei >= 0x13 && iei <= 0x1A)
            return T(SmsText::ElementEms);
        if (iei >= 0x70 && iei <= 0x7F)
            return T(SmsText::ElementSimToolkit);
        if (iei >= 0x80 && iei <= 0x9F)
            return T(SmsText::ElementSmeSpecific);
        if (iei >= 0xC0 && iei <= 0xDF)
            return T(SmsText::ElementCentreSpecific);
        return T(SmsText::ElementReserved);
    }
}

std::string LanguageWords(std::uint8_t language, bool locking)
{
    static constexpr SmsText NAMES[] = {
        SmsText::LanguageTurkish,  SmsText::LanguageSpanish,   SmsText::LanguagePortuguese, SmsText::LanguageBengali,
        SmsText::LanguageGujarati, SmsText::LanguageHindi,     SmsText::LanguageKannada,    SmsText::LanguageMalayalam,
        SmsText::LanguageOriya,    SmsText::LanguagePunjabi,   SmsText::LanguageTamil,      SmsText::LanguageTelugu,
        SmsText::LanguageUrdu};
    const std::string name = language >= 1 && language <= std::size(NAMES) ? T(NAMES[language - 1])
                                                                            : F(SmsText::LanguageUnknown, {Decimal(language)});
    const bool known = locking ? HasGsmLockingTable(language) : HasGsmSingleTable(language);
    return F(known ? SmsText::Language : SmsText::LanguageNoTable, {Decimal(language), name});
}

// Minutes as the largest whole unit that fits, with hours and minutes together.
std::string DurationWords(unsigned minutes)
{
    if (minutes < 60)
        return F(SmsText::Minutes, {Decimal(minutes)});
    if (minutes % 60 != 0)
        return F(SmsText::HoursMinutes, {Decimal(minutes / 60), Decimal(minutes % 60)});
    return F(SmsText::Hours, {Decimal(minutes / 60)});
}

// TS 23.040 clause 9.2.3.12.1; sets the length in seconds.
std::string RelativeValidityWords(std::uint8_t vp, long long& seconds)
{
    if (vp <= 143) {
        seconds = (vp + 1) * 5 * 60LL;
        return DurationWords((vp + 1u) * 5);
    }
    if (vp <= 167) {
        seconds = (720 + (vp - 143) * 30) * 60LL;
        return DurationWords(720u + (vp - 143u) * 30);
    }
    if (vp <= 196) {
        seconds = (vp - 166) * 86400LL;
        return F(SmsText::Days, {Decimal(vp - 166)});
    }
    seconds = (vp - 192) * 7 * 86400LL;
    return F(SmsText::Weeks, {Decimal(vp - 192)});
}

// The decode of one assumed layout. Reads only through Has(); `m_pos` never passes the end.
class CTpduDecoder {
public:
    CTpduDecoder(Bytes bytes, SmsPdu& pdu) : m_bytes(bytes), m_pdu(pdu) {}

    void Decode(bool centreFirst, bool typeTwoAsCommand);

    std::size_t m_pos = 0;
    bool m_cut = false;          // some field ran past the end of the bytes
    bool m_implausible = false;  // a length or value no real PDU has

private:
    bool Has(std::size_t n) const { return m_bytes.size() - m_pos >= n; }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }
    SmsField Missing(SmsFieldId id);
    void Truncated(SmsField& field, std::size_t announced);
    SmsField Octet(SmsFieldId id, const std::function<void(SmsField&, std::uint8_t)>& describe);
    SmsField Address(SmsFieldId id, bool centre);
    SmsField TimeStamp(SmsFieldId id);
    SmsField FirstOctet(std::uint8_t fo, SmsMessageType type);
    SmsField Coding();
    SmsField Validity(unsigned format);
    void Deliver();
    void Submit(std::uint8_t fo);
    void StatusReport();
    void Command();
    void UserData(bool headerIndicator);
    void HeaderElements(Bytes header, std::size_t base, SmsField& headerField);
    void Content(Bytes content, std::size_t base, std::size_t headerOctets, unsigned udl, SmsField& userData);

    Bytes m_bytes;
    SmsPdu& m_pdu;
    bool m_headerIndicator = false;
    std::vector<std::string> m_missing;  // names of the fields the bytes end before
};

SmsField CTpduDecoder::Missing(SmsFieldId id)
{
    SmsField field = MakeField(id, m_pos, 0, {}, T(SmsText::Missing));
    field.state = SmsFieldState::Missing;
    m_cut = true;
    m_missing.push_back(SmsFieldName(id));
    return field;
}

void CTpduDecoder::Truncated(SmsField& field, std::size_t announced)
{
    field.state = SmsFieldState::Truncated;
    m_cut = true;
    m_pdu.problems.push_back(
        F(SmsText::ProblemTruncated, {SmsFieldName(field.id), Decimal(static_cast<long long>(announced)), Decimal(static_cast<long long>(field.length))}));
}

SmsField CTpduDecoder::Octet(SmsFieldId id, const std::function<void(SmsField&, std::uint8_t)>& describe)
{
    if (!Has(1))
        return Missing(id);
    const std::uint8_t value = m_bytes[m_pos];
    SmsField field = NumberField(id, m_pos, 1, value, Decimal(value));
    if (describe)
        describe(field, value);
    ++m_pos;
    return field;
}

SmsField CTpduDecoder::Address(SmsFieldId id, bool centre)
{
    if (!Has(1))
        return Missing(id);
    const std::size_t start = m_pos;
    const std::uint8_t length = m_bytes[m_pos];
    // The centre counts octets after its length octet; the others count digits (semi-octets).
    const std::size_t octets = centre ? length : 1 + (length + 1u) / 2;
    const bool hasTypeOctet = Has(2) && octets > 0;
    const unsigned ton = hasTypeOctet ? (m_bytes[m_pos + 1] >> 4) & 7 : 0;
    const bool alphanumeric = hasTypeOctet && ton == 5;

    SmsField field = MakeField(id, start, 0, {}, {});
    std::string lengthText;
    if (centre)
        lengthText = F(SmsText::CentreLength, {Decimal(length)});
    else if (alphanumeric)
        lengthText = F(SmsText::AlphanumericLength, {Decimal(length), Decimal(length * 4 / 7)});
    else
        lengthText = F(SmsText::Digits, {Decimal(length)});
    field.children.push_back(NumberField(SmsFieldId::AddressLength, m_pos, 1, length, lengthText));
    ++m_pos;
    if (centre ? length > MAX_CENTRE_OCTETS : length > MAX_ADDRESS_DIGITS) {
        m_implausible = true;
        m_pdu.problems.push_back(F(centre ? SmsText::ProblemCentreTooLong : SmsText::ProblemAddressTooLong, {Decimal(length)}));
    }
    if (octets == 0) {
        field.length = 1;
        field.text = T(SmsText::NumberNone);
        return field;
    }

    if (!Has(1)) {
        field.children.push_back(Missing(SmsFieldId::TypeOfAddress));
        field.children.push_back(Missing(SmsFieldId::Number));
        field.length = m_pos - start;
        field.state = SmsFieldState::Truncated;
        field.text = T(SmsText::Missing);
        return field;
    }
    const std::uint8_t type = m_bytes[m_pos];
    // The type octet's top bit is always set; a PDU read at the wrong place rarely has it.
    if (!(type & 0x80))
        m_implausible = true;
    field.children.push_back(NumberField(SmsFieldId::TypeOfAddress, m_pos, 1, type,
                                         F(SmsText::TypeOfAddress, {Hex2(type), TypeOfNumberWords(ton), NumberingPlanWords(type & 0x0F)})));
    ++m_pos;

    const std::size_t digitOctets = octets - 1;
    const std::size_t available = std::min(digitOctets, Remaining());
    const Bytes digits = m_bytes.subspan(m_pos, available);
    std::string number;
    if (alphanumeric) {
        const std::size_t characters = centre ? digitOctets * 8 / 7 : length * 4u / 7;
        number = GsmSeptetsToUtf8(UnpackGsmSeptets(digits, 0, characters));
    } else {
        static constexpr char DIGITS[] = "0123456789*#abcF";
        const std::size_t count = centre ? digitOctets * 2 : length;
        for (std::size_t k = 0; k < count && k / 2 < available; ++k) {
            const unsigned nibble = k % 2 == 0 ? digits[k / 2] & 0x0F : digits[k / 2] >> 4;
            if (nibble == 0x0F && k + 1 == count)
                break;  // the filler of an odd number of digits
            number += DIGITS[nibble];
        }
        if (ton == 1 && !number.empty())
            number.insert(number.begin(), '+');
    }
    SmsField numberField = MakeField(SmsFieldId::Number, m_pos, available, number, number.empty() ? T(SmsText::NumberEmpty) : number);
    m_pos += available;
    if (available < digitOctets)
        Truncated(numberField, digitOctets);
    field.children.push_back(numberField);

    field.length = m_pos - start;
    field.value = number;
    if (number.empty())
        field.text = T(SmsText::NumberEmpty);
    else if (alphanumeric)
        field.text = F(SmsText::NumberAlphanumeric, {number});
    else if (ton == 1)
        field.text = F(SmsText::NumberInternational, {number});
    else if (ton == 2)
        field.text = F(SmsText::NumberNational, {number});
    else
        field.text = F(SmsText::NumberOther, {number, TypeOfNumberWords(ton)});
    if (numberField.state != SmsFieldState::Decoded) {
        field.state = SmsFieldState::Truncated;
        field.text = F(SmsText::Truncated, {field.text});
    }
    if (id != SmsFieldId::Centre)
        m_pdu.address = number;
    return field;
}

// TS 23.040 clause 9.2.3.11: seven octets of swapped BCD digits, the last the time zone in signed
// quarter hours (its sign in bit 3).
SmsField CTpduDecoder::TimeStamp(SmsFieldId id)
{
    if (!Has(1))
        return Missing(id);
    if (!Has(7)) {
        SmsField field = MakeField(id, m_pos, Remaining(), HexBytes(m_bytes.subspan(m_pos)), {});
        field.text = F(SmsText::Truncated, {field.value});
        Truncated(field, 7);
        m_pos = m_bytes.size();
        return field;
    }
    const Bytes t = m_bytes.subspan(m_pos, 7);
    bool valid = true;
    int parts[6];
    std::string digits[6];
    for (int k = 0; k < 6; ++k) {
        const unsigned tens = t[k] & 0x0F, units = t[k] >> 4;
        valid = valid && tens <= 9 && units <= 9;
        parts[k] = static_cast<int>(tens * 10 + units);
        static constexpr char HEX[] = "0123456789ABCDEF";
        digits[k] = {HEX[tens], HEX[units]};
    }
    const unsigned zoneUnits = t[6] >> 4;
    valid = valid && zoneUnits <= 9;
    const int quarters = static_cast<int>((t[6] & 0x07) * 10 + zoneUnits) * (t[6] & 0x08 ? -1 : 1);
    valid = valid && parts[1] >= 1 && parts[1] <= 12 && parts[2] >= 1 && parts[2] <= 31 && parts[3] <= 23 &&
            parts[4] <= 59 && parts[5] <= 59;
    // Two-digit years: 90 to 99 are the 1990s (the oldest PDUs in circulation), the rest 20xx.
    const std::string century = valid ? (parts[0] >= 90 ? "19" : "20") : "";
    const std::string date = century + digits[0] + "-" + digits[1] + "-" + digits[2];
    const std::string time = digits[3] + ":" + digits[4] + ":" + digits[5];
    const int zoneMinutes = std::abs(quarters) * 15;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", quarters < 0 ? '-' : '+', zoneMinutes / 60, zoneMinutes % 60);
    SmsField field = MakeField(id, m_pos, 7, date + "T" + time + zone, {});
    const std::string signedQuarters = (quarters < 0 ? "" : "+") + Decimal(quarters);
    field.text = F(SmsText::TimeStamp, {date + " " + time, zone, signedQuarters});
    if (!valid) {
        field.value = HexBytes(t);
        field.text = F(SmsText::TimeInvalid, {field.text});
    }
    m_pos += 7;
    return field;
}

SmsField CTpduDecoder::FirstOctet(std::uint8_t fo, SmsMessageType type)
{
    const std::size_t at = m_pos;
    SmsField field = NumberField(SmsFieldId::FirstOctet, at, 1, fo, F(SmsText::Hex, {Hex2(fo)}));
    static constexpr SmsText TYPE_WORDS[] = {SmsText::TypeDeliver, SmsText::TypeSubmit, SmsText::TypeStatusReport,
                                             SmsText::TypeCommand, SmsText::TypeReserved};
    field.children.push_back(MakeField(SmsFieldId::MessageType, at, 1, SmsMessageTypeName(type),
                                       F(SmsText::ValueWords, {Decimal(fo & 3), T(TYPE_WORDS[static_cast<int>(type)])})));
    const auto bit = [fo](int n) { return (fo >> n & 1) != 0; };
    switch (type) {
    case SmsMessageType::Deliver:
    case SmsMessageType::StatusReport:
        // TP-MMS is set when there are no more messages.
        field.children.push_back(FlagField(SmsFieldId::MoreMessages, at, !bit(2),
                                           T(bit(2) ? SmsText::NoMoreMessages : SmsText::MoreMessagesWaiting)));
        field.children.push_back(FlagField(SmsFieldId::LoopPrevention, at, bit(3)));
        if (type == SmsMessageType::Deliver)
            field.children.push_back(FlagField(SmsFieldId::StatusReportIndication, at, bit(5)));
        else
            field.children.push_back(MakeField(SmsFieldId::StatusReportQualifier, at, 1, bit(5) ? "command" : "submit",
                                               T(bit(5) ? SmsText::QualifierCommand : SmsText::QualifierSubmit)));
        break;
    case SmsMessageType::Submit: {
        field.children.push_back(FlagField(SmsFieldId::RejectDuplicates, at, bit(2)));
        static constexpr const char* FORMATS[] = {"none", "enhanced", "relative", "absolute"};
        static constexpr SmsText FORMAT_WORDS[] = {SmsText::VpfNone, SmsText::VpfEnhanced, SmsText::VpfRelative,
                                                   SmsText::VpfAbsolute};
        const unsigned vpf = fo >> 3 & 3;
        field.children.push_back(MakeField(SmsFieldId::ValidityFormat, at, 1, FORMATS[vpf], T(FORMAT_WORDS[vpf])));
        field.children.push_back(FlagField(SmsFieldId::StatusReportRequest, at, bit(5)));
        break;
    }
    case SmsMessageType::Command:
        field.children.push_back(FlagField(SmsFieldId::StatusReportRequest, at, bit(5)));
        break;
    case SmsMessageType::Reserved:
        break;
    }
    if (type != SmsMessageType::Reserved) {
        field.children.push_back(FlagField(SmsFieldId::HeaderIndicator, at, bit(6), bit(6) ? T(SmsText::HeaderPresent) : std::string()));
        if (type == SmsMessageType::Deliver || type == SmsMessageType::Submit)
            field.children.push_back(FlagField(SmsFieldId::ReplyPath, at, bit(7)));
    }
    m_headerIndicator = bit(6);
    ++m_pos;
    return field;
}

// TS 23.038 clause 4.
SmsField CTpduDecoder::Coding()
{
    if (!Has(1))
        return Missing(SmsFieldId::Coding);
    const std::size_t at = m_pos;
    const std::uint8_t dcs = m_bytes[m_pos++];
    SmsAlphabet alphabet = SmsAlphabet::Gsm7;
    SmsText group = SmsText::GroupGeneral;
    SmsText alphabetWords = SmsText::AlphabetGsm;
    int messageClass = -1;
    bool compressed = false;
    std::string indication;
    const unsigned high = dcs >> 4;
    if (high <= 0x7) {
        group = high <= 0x3 ? SmsText::GroupGeneral : SmsText::GroupAutoDelete;
        compressed = (dcs & 0x20) != 0;
        if (dcs & 0x10)
            messageClass = dcs & 3;
        switch (dcs >> 2 & 3) {
        case 0: break;
        case 1: alphabet = SmsAlphabet::Data8; alphabetWords = SmsText::AlphabetData; break;
        case 2: alphabet = SmsAlphabet::Ucs2; alphabetWords = SmsText::AlphabetUcs2; break;
        default: alphabetWords = SmsText::AlphabetReserved; break;  // read as the default alphabet
        }
    } else if (high <= 0xB) {
        group = SmsText::GroupReserved;
        alphabetWords = SmsText::AlphabetReserved;
    } else if (high <= 0xE) {
        group = high == 0xC ? SmsText::GroupWaitingDiscard : high == 0xD ? SmsText::GroupWaitingStore : SmsText::GroupWaitingStoreUcs2;
        if (high == 0xE) {
            alphabet = SmsAlphabet::Ucs2;
            alphabetWords = SmsText::AlphabetUcs2;
        }
        static constexpr SmsText KINDS[] = {SmsText::WaitingVoice, SmsText::WaitingFax, SmsText::WaitingEmail, SmsText::WaitingOther};
        indication = F(dcs & 0x08 ? SmsText::IndicationActive : SmsText::IndicationInactive, {T(KINDS[dcs & 3])});
    } else {
        group = SmsText::GroupClass;
        messageClass = dcs & 3;
        if (dcs & 0x04) {
            alphabet = SmsAlphabet::Data8;
            alphabetWords = SmsText::AlphabetData;
        }
    }
    static constexpr SmsText CLASSES[] = {SmsText::Class0, SmsText::Class1, SmsText::Class2, SmsText::Class3};
    const std::string classWords = messageClass < 0 ? T(SmsText::ClassNone) : T(CLASSES[messageClass]);
    static constexpr const char* ALPHABET_NAMES[] = {"gsm7", "8bit", "ucs2"};

    SmsField field = NumberField(SmsFieldId::Coding, at, 1, dcs,
                                 F(SmsText::CodingSummary, {Hex2(dcs), T(alphabetWords), F(SmsText::ClassSummary, {classWords})}));
    field.children.push_back(MakeField(SmsFieldId::CodingGroup, at, 1, Decimal(high), T(group), SmsValueKind::Number));
    field.children.push_back(MakeField(SmsFieldId::Alphabet, at, 1, ALPHABET_NAMES[static_cast<int>(alphabet)], T(alphabetWords)));
    field.children.push_back(messageClass < 0 ? MakeField(SmsFieldId::MessageClass, at, 1, "none", classWords)
                                              : NumberField(SmsFieldId::MessageClass, at, 1, messageClass, classWords));
    if (high <= 0x7)
        field.children.push_back(FlagField(SmsFieldId::Compressed, at, compressed, compressed ? T(SmsText::CompressedYes) : std::string()));
    if (!indication.empty())
        field.children.push_back(MakeField(SmsFieldId::Indication, at, 1, (dcs & 0x08) ? "true" : "false", indication, SmsValueKind::Flag));
    m_pdu.alphabet = alphabet;
    m_pdu.compressed = compressed;
    return field;
}

// TS 23.040 clause 9.2.3.12: relative (1 octet), enhanced (7 octets) or absolute (a time stamp).
SmsField CTpduDecoder::Validity(unsigned format)
{
    if (format == 3)
        return TimeStamp(SmsFieldId::Validity);
    if (!Has(1))
        return Missing(SmsFieldId::Validity);
    const std::size_t at = m_pos;
    if (format == 2) {
        const std::uint8_t vp = m_bytes[m_pos++];
        long long seconds = 0;
        const std::string words = RelativeValidityWords(vp, seconds);
        return MakeField(SmsFieldId::Validity, at, 1, Decimal(seconds), F(SmsText::ValidityRelative, {Hex2(vp), words}),
                         SmsValueKind::Number);
    }
    const std::size_t available = std::min<std::size_t>(7, Remaining());
    const Bytes vp = m_bytes.subspan(m_pos, available);
    m_pos += available;
    const std::uint8_t indicator = vp[0];
    const unsigned kind = indicator & 7;
    SmsText kindWords = SmsText::EnhancedReserved;
    std::string value, words;
    const auto octet = [&](std::size_t k) -> int { return k < vp.size() ? vp[k] : -1; };
    switch (kind) {
    case 0:
        kindWords = SmsText::EnhancedNone;
        words = T(SmsText::EnhancedNone);
        break;
    case 1:
        kindWords = SmsText::EnhancedRelative;
        if (octet(1) >= 0) {
            long long seconds = 0;
            words = RelativeValidityWords(static_cast<std::uint8_t>(octet(1)), seconds);
            value = Decimal(seconds);
        }
        break;
    case 2:
        kindWords = SmsText::EnhancedSeconds;
        if (octet(1) >= 0) {
            value = Decimal(octet(1));
            words = F(SmsText::Seconds, {value});
        }
        break;
    case 3:
        kindWords = SmsText::EnhancedHms;
        if (octet(3) >= 0) {
            long long seconds = 0;
            for (std::size_t k = 1; k <= 3; ++k) {
                const int two = (vp[k] & 0x0F) * 10 + (vp[k] >> 4);
                seconds = seconds * 60 + two;
                words += (k > 1 ? ":" : "") + std::string{static_cast<char>('0' + (vp[k] & 0x0F) % 10),
                                                          static_cast<char>('0' + (vp[k] >> 4) % 10)};
            }
            value = Decimal(seconds);
        }
        break;
    default:
        break;
    }
    std::string indicatorWords = kindWords == SmsText::EnhancedReserved ? F(kindWords, {Decimal(kind)}) : T(kindWords);
    if (indicator & 0x40)
        indicatorWords = F(SmsText::EnhancedSingleShot, {indicatorWords});
    SmsField field = MakeField(SmsFieldId::Validity, at, available, value.empty() ? HexBytes(vp) : value,
                               words.empty() ? HexBytes(vp) : words, value.empty() ? SmsValueKind::Text : SmsValueKind::Number);
    field.children.push_back(NumberField(SmsFieldId::ValidityFunction, at, 1, indicator, F(SmsText::HexWords, {Hex2(indicator), indicatorWords})));
    if (available < 7) {
        field.text = F(SmsText::Truncated, {field.text});
        Truncated(field, 7);
    }
    return field;
}

void CTpduDecoder::Deliver()
{
    m_pdu.fields.push_back(Address(SmsFieldId::Originator, false));
    m_pdu.fields.push_back(Octet(SmsFieldId::Protocol, [](SmsField& f, std::uint8_t v) { f.text = F(SmsText::HexWords, {Hex2(v), ProtocolWords(v)}); }));
    m_pdu.fields.push_back(Coding());
    m_pdu.fields.push_back(TimeStamp(SmsFieldId::CentreTime));
    UserData(m_headerIndicator);
}

void CTpduDecoder::Submit(std::uint8_t fo)
{
    const unsigned format = fo >> 3 & 3;
    m_pdu.fields.push_back(Octet(SmsFieldId::MessageReference, nullptr));
    m_pdu.fields.push_back(Address(SmsFieldId::Destination, false));
    m_pdu.fields.push_back(Octet(SmsFieldId::Protocol, [](SmsField& f, std::uint8_t v) { f.text = F(SmsText::HexWords, {Hex2(v), ProtocolWords(v)}); }));
    m_pdu.fields.push_back(Coding());
    if (format != 0)
        m_pdu.fields.push_back(Validity(format == 1 ? 1 : format == 2 ? 2 : 3));
    UserData(m_headerIndicator);
}

void CTpduDecoder::StatusReport()
{
    m_pdu.fields.push_back(Octet(SmsFieldId::MessageReference, nullptr));
    m_pdu.fields.push_back(Address(SmsFieldId::Recipient, false));
    m_pdu.fields.push_back(TimeStamp(SmsFieldId::CentreTime));
    m_pdu.fields.push_back(TimeStamp(SmsFieldId::DischargeTime));
    m_pdu.fields.push_back(Octet(SmsFieldId::Status, [](SmsField& f, std::uint8_t v) { f.text = F(SmsText::HexWords, {Hex2(v), StatusWords(v)}); }));
    // The optional parameters follow only when the report carries them (clause 9.2.2.3).
    if (m_cut || !Has(1))
        return;
    const std::size_t at = m_pos;
    std::uint8_t indicator = m_bytes[m_pos++];
    // Further indicator octets follow while the extension bit is set; none of their bits is defined.
    while ((m_bytes[m_pos - 1] & 0x80) && Has(1))
        ++m_pos;
    std::vector<std::string> present;
    if (indicator & 1)
        present.push_back(SmsFieldName(SmsFieldId::Protocol));
    if (indicator & 2)
        present.push_back(SmsFieldName(SmsFieldId::Coding));
    if (indicator & 4)
        present.push_back(SmsFieldName(SmsFieldId::UserDataLength));
    m_pdu.fields.push_back(NumberField(SmsFieldId::Parameters, at, m_pos - at, indicator,
                                       present.empty() ? F(SmsText::ParametersNone, {Hex2(indicator)})
                                                       : F(SmsText::ParametersPresent, {Hex2(indicator), Join(present)})));
    if (indicator & 1)
        m_pdu.fields.push_back(Octet(SmsFieldId::Protocol, [](SmsField& f, std::uint8_t v) { f.text = F(SmsText::HexWords, {Hex2(v), ProtocolWords(v)}); }));
    if (indicator & 2)
        m_pdu.fields.push_back(Coding());
    if (indicator & 4)
        UserData(m_headerIndicator);
}

void CTpduDecoder::Command()
{
    m_pdu.fields.push_back(Octet(SmsFieldId::MessageReference, nullptr));
    m_pdu.fields.push_back(Octet(SmsFieldId::Protocol, [](SmsField& f, std::uint8_t v) { f.text = F(SmsText::HexWords, {Hex2(v), ProtocolWords(v)}); }));
    m_pdu.fields.push_back(Octet(SmsFieldId::CommandType, [](SmsField& f, std::uint8_t v) { f.text = F(SmsText::HexWords, {Hex2(v), CommandWords(v)}); }));
    m_pdu.fields.push_back(Octet(SmsFieldId::MessageNumber, nullptr));
    m_pdu.fields.push_back(Address(SmsFieldId::Destination, false));
    if (!Has(1)) {
        m_pdu.fields.push_back(Missing(SmsFieldId::CommandDataLength));
        m_pdu.fields.push_back(Missing(SmsFieldId::CommandData));
        return;
    }
    const std::uint8_t length = m_bytes[m_pos];
    m_pdu.fields.push_back(NumberField(SmsFieldId::CommandDataLength, m_pos, 1, length, F(SmsText::Octets, {Decimal(length)})));
    ++m_pos;
    if (length == 0)
        return;
    if (!Has(1)) {
        m_pdu.fields.push_back(Missing(SmsFieldId::CommandData));
        return;
    }
    const std::size_t available = std::min<std::size_t>(length, Remaining());
    const Bytes data = m_bytes.subspan(m_pos, available);
    SmsField field = MakeField(SmsFieldId::CommandData, m_pos, available, HexBytes(data), HexBytes(data));
    m_pos += available;
    if (available < length)
        Truncated(field, length);
    m_pdu.fields.push_back(std::move(field));
}

// TS 23.040 clause 9.2.3.16 and 9.2.3.24: the length counts septets for 7-bit text and octets
// otherwise; with a header, 7-bit text starts at the first septet boundary after it.
void CTpduDecoder::UserData(bool headerIndicator)
{
    if (!Has(1)) {
        m_pdu.fields.push_back(Missing(SmsFieldId::UserDataLength));
        m_pdu.fields.push_back(Missing(SmsFieldId::UserData));
        return;
    }
    const bool septets = m_pdu.alphabet == SmsAlphabet::Gsm7 && !m_pdu.compressed;
    const std::uint8_t udl = m_bytes[m_pos];
    m_pdu.fields.push_back(NumberField(SmsFieldId::UserDataLength, m_pos, 1, udl,
                                       F(septets ? SmsText::Septets : SmsText::Octets, {Decimal(udl)})));
    ++m_pos;
    if (udl > (septets ? MAX_SEPTETS : MAX_OCTETS))
        m_pdu.problems.push_back(F(SmsText::ProblemUserDataTooLong, {Decimal(udl)}));
    const std::size_t octets = septets ? (udl * 7u + 7) / 8 : udl;
    if (octets == 0)
        return;
    if (!Has(1)) {
        m_pdu.fields.push_back(Missing(SmsFieldId::UserData));
        return;
    }
    const std::size_t start = m_pos;
    const std::size_t available = std::min(octets, Remaining());
    const Bytes ud = m_bytes.subspan(start, available);
    m_pos += available;
    SmsField userData = MakeField(SmsFieldId::UserData, start, available, {}, F(SmsText::UserDataSummary, {Decimal(static_cast<long long>(octets))}));
    if (available < octets) {
        userData.text = F(SmsText::Truncated, {userData.text});
        Truncated(userData, octets);
    }

    std::size_t headerOctets = 0;
    if (headerIndicator) {
        const std::uint8_t udhl = ud[0];
        headerOctets = 1u + udhl;
        userData.children.push_back(NumberField(SmsFieldId::HeaderLength, start, 1, udhl, F(SmsText::Octets, {Decimal(udhl)})));
        if (headerOctets > octets)
            m_pdu.problems.push_back(F(SmsText::ProblemHeaderTooLong, {Decimal(udhl)}));
        const Bytes header = ud.subspan(1, std::min<std::size_t>(udhl, ud.size() - 1));
        SmsField headerField = MakeField(SmsFieldId::Header, start + 1, header.size(), HexBytes(header), F(SmsText::Octets, {Decimal(udhl)}));
        if (header.size() < udhl) {
            headerField.state = SmsFieldState::Truncated;
            headerField.text = F(SmsText::Truncated, {headerField.text});
        }
        HeaderElements(header, start + 1, headerField);
        userData.children.push_back(std::move(headerField));
    }
    Content(ud, start, headerOctets, udl, userData);
    m_pdu.fields.push_back(std::move(userData));
}

void CTpduDecoder::HeaderElements(Bytes header, std::size_t base, SmsField& headerField)
{
    for (std::size_t k = 0; k < header.size();) {
        const std::uint8_t iei = header[k];
        SmsField element = NumberField(SmsFieldId::Element, base + k, 1, iei, F(SmsText::ElementSummary, {Hex2(iei), ElementWords(iei)}));
        if (k + 1 >= header.size()) {
            element.state = SmsFieldState::Truncated;
            element.children.push_back(MakeField(SmsFieldId::ElementLength, base + k + 1, 0, {}, T(SmsText::Missing)));
            element.children.back().state = SmsFieldState::Missing;
            m_pdu.problems.push_back(F(SmsText::ProblemElementCut, {Hex2(iei)}));
            headerField.children.push_back(std::move(element));
            break;
        }
        const std::uint8_t length = header[k + 1];
        const std::size_t available = std::min<std::size_t>(length, header.size() - k - 2);
        const Bytes data = header.subspan(k + 2, available);
        const std::size_t at = base + k + 2;
        element.length = 2 + available;
        element.children.push_back(NumberField(SmsFieldId::ElementLength, base + k + 1, 1, length, F(SmsText::Octets, {Decimal(length)})));
        std::string summary;
        // An element cut off by the end of the header is shown as its bytes.
        const bool whole = available == length;
        if (!whole) {
            if (!data.empty())
                element.children.push_back(MakeField(SmsFieldId::ElementData, at, available, HexBytes(data), HexBytes(data)));
        } else if ((iei == 0x00 && length == 3) || (iei == 0x08 && length == 4)) {
            const bool wide = iei == 0x08;
            const unsigned reference = wide ? data[0] << 8 | data[1] : data[0];
            const unsigned parts = data[wide ? 2 : 1], part = data[wide ? 3 : 2];
            element.children.push_back(NumberField(SmsFieldId::Reference, at, wide ? 2 : 1, reference,
                                                   F(wide ? SmsText::Reference16 : SmsText::Reference8,
                                                     {wide ? Hex4(reference) : Hex2(reference), Decimal(reference)})));
            element.children.push_back(NumberField(SmsFieldId::Parts, at + (wide ? 2 : 1), 1, parts, Decimal(parts)));
            element.children.push_back(NumberField(SmsFieldId::Part, at + (wide ? 3 : 2), 1, part, Decimal(part)));
            summary = F(SmsText::PartOf, {Decimal(part), Decimal(parts)});
            // Clause 9.2.3.24.1: an element with a part number of 0 or past the total is ignored.
            if (part >= 1 && part <= parts) {
                if (!m_pdu.concatenation)
                    m_pdu.concatenation = SmsConcatenation{reference, wide, parts, part};
            } else {
                m_pdu.problems.push_back(F(SmsText::ProblemBadConcatenation, {Decimal(part), Decimal(parts)}));
            }
        } else if ((iei == 0x04 && length == 2) || (iei == 0x05 && length == 4)) {
            const bool wide = iei == 0x05;
            const unsigned destination = wide ? data[0] << 8 | data[1] : data[0];
            const unsigned originator = wide ? data[2] << 8 | data[3] : data[1];
            element.children.push_back(NumberField(SmsFieldId::DestinationPort, at, wide ? 2 : 1, destination, Decimal(destination)));
            element.children.push_back(NumberField(SmsFieldId::OriginatorPort, at + (wide ? 2 : 1), wide ? 2 : 1, originator, Decimal(originator)));
            summary = F(SmsText::PortsSummary, {Decimal(destination), Decimal(originator)});
        } else if ((iei == 0x24 || iei == 0x25) && length == 1) {
            const bool locking = iei == 0x25;
            summary = LanguageWords(data[0], locking);
            element.children.push_back(NumberField(locking ? SmsFieldId::LockingShift : SmsFieldId::SingleShift, at, 1, data[0], summary));
            (locking ? m_pdu.shiftTables.locking : m_pdu.shiftTables.single) = data[0];
        } else if (iei == 0x01 && length == 2) {
            static constexpr SmsText KINDS[] = {SmsText::WaitingVoice, SmsText::WaitingFax, SmsText::WaitingEmail, SmsText::WaitingOther};
            summary = F(SmsText::SpecialSummary, {T(KINDS[data[0] & 3]), Decimal(data[1]),
                                                  T(data[0] & 0x80 ? SmsText::SpecialStore : SmsText::SpecialDiscard)});
            element.children.push_back(MakeField(SmsFieldId::SpecialIndication, at, 2, HexBytes(data), summary));
        } else if (!data.empty()) {
            element.children.push_back(MakeField(SmsFieldId::ElementData, at, available, HexBytes(data), HexBytes(data)));
        }
        if (!summary.empty())
            element.text = F(SmsText::ValueWords, {element.text, summary});
        if (available < length) {
            element.state = SmsFieldState::Truncated;
            element.text = F(SmsText::Truncated, {element.text});
            m_pdu.problems.push_back(F(SmsText::ProblemElementCut, {Hex2(iei)}));
        }
        headerField.children.push_back(std::move(element));
        k += 2u + length;
    }
}

void CTpduDecoder::Content(Bytes ud, std::size_t start, std::size_t headerOctets, unsigned udl, SmsField& userData)
{
    const std::size_t textStart = std::min(headerOctets, ud.size());
    const Bytes content = ud.subspan(textStart);
    SmsField text = MakeField(m_pdu.alphabet == SmsAlphabet::Data8 || m_pdu.compressed ? SmsFieldId::Data : SmsFieldId::Text,
                              start + textStart, content.size(), {}, {});
    std::vector<std::uint16_t>& units = m_pdu.textUnits;
    if (m_pdu.alphabet == SmsAlphabet::Gsm7 && !m_pdu.compressed) {
        const std::size_t headerSeptets = (headerOctets * 8 + 6) / 7;
        const std::size_t fill = headerSeptets * 7 - headerOctets * 8;
        const std::size_t wanted = udl > headerSeptets ? udl - headerSeptets : 0;
        if (fill > 0 && textStart < ud.size())
            userData.children.push_back(NumberField(SmsFieldId::FillBits, start + textStart, 1, static_cast<long long>(fill),
                                                    F(SmsText::FillBitsText, {Decimal(static_cast<long long>(fill)),
                                                                              Decimal(static_cast<long long>(headerSeptets + 1))})));
        const std::vector<std::uint8_t> septets = UnpackGsmSeptets(ud, headerSeptets * 7, wanted);
        units.assign(septets.begin(), septets.end());
        if (septets.size() < wanted) {
            text.state = SmsFieldState::Truncated;
            m_pdu.problems.push_back(F(SmsText::ProblemTextShort, {Decimal(static_cast<long long>(wanted - septets.size()))}));
        }
    } else if (m_pdu.alphabet == SmsAlphabet::Ucs2 && !m_pdu.compressed) {
        for (std::size_t k = 0; k + 1 < content.size(); k += 2)
            units.push_back(static_cast<std::uint16_t>(content[k] << 8 | content[k + 1]));
        if (content.size() % 2 != 0)
            m_pdu.problems.push_back(T(SmsText::ProblemOddUcs2));
    } else {
        units.assign(content.begin(), content.end());
    }
    if (userData.state != SmsFieldState::Decoded)
        text.state = SmsFieldState::Truncated;
    m_pdu.text = SmsUnitsToText(units, m_pdu.alphabet, m_pdu.compressed, m_pdu.shiftTables);
    text.value = m_pdu.text;
    text.text = m_pdu.text;
    if (text.id == SmsFieldId::Data) {
        const bool printable = !content.empty() && std::all_of(content.begin(), content.end(), [](std::uint8_t b) { return b >= 0x20 && b < 0x7F; });
        if (printable)
            text.children.push_back(MakeField(SmsFieldId::Ascii, text.offset, text.length,
                                              std::string(content.begin(), content.end()), std::string(content.begin(), content.end())));
    }
    if (text.state != SmsFieldState::Decoded)
        text.text = F(SmsText::Truncated, {text.text});
    userData.children.push_back(std::move(text));
}

void CTpduDecoder::Decode(bool centreFirst, bool typeTwoAsCommand)
{
    if (centreFirst)
        m_pdu.fields.push_back(Address(SmsFieldId::Centre, true));
    if (!Has(1)) {
        m_pdu.fields.push_back(Missing(SmsFieldId::FirstOctet));
    } else {
        const std::uint8_t fo = m_bytes[m_pos];
        static constexpr SmsMessageType TYPES[] = {SmsMessageType::Deliver, SmsMessageType::Submit, SmsMessageType::StatusReport,
                                                   SmsMessageType::Reserved};
        SmsMessageType type = TYPES[fo & 3];
        if (type == SmsMessageType::StatusReport && typeTwoAsCommand)
            type = SmsMessageType::Command;
        m_pdu.type = type;
        m_pdu.fields.push_back(FirstOctet(fo, type));
        switch (type) {
        case SmsMessageType::Deliver: Deliver(); break;
        case SmsMessageType::Submit: Submit(fo); break;
        case SmsMessageType::StatusReport: StatusReport(); break;
        case SmsMessageType::Command: Command(); break;
        case SmsMessageType::Reserved: m_implausible = true; break;
        }
    }
    if (!m_missing.empty())
        m_pdu.problems.insert(m_pdu.problems.begin(),
                              F(SmsText::ProblemMissing, {Decimal(static_cast<long long>(m_bytes.size())), Join(m_missing)}));
    if (m_pos < m_bytes.size()) {
        const Bytes extra = m_bytes.subspan(m_pos);
        m_pdu.fields.push_back(MakeField(SmsFieldId::Extra, m_pos, extra.size(), HexBytes(extra), HexBytes(extra)));
        m_pdu.problems.push_back(F(SmsText::ProblemExtra, {Decimal(static_cast<long long>(extra.size()))}));
    }
}

// How well an assumed layout explains the bytes: the lengths fit exactly, bytes are left over, or
// the bytes end early; a layout with a length no real PDU has comes after every other.
int Score(const CTpduDecoder& decoder, std::size_t size)
{
    const int fit = decoder.m_cut ? 1 : decoder.m_pos < size ? 2 : 3;
    return (decoder.m_implausible ? 0 : 10) + fit;
}

} // namespace

SmsPdu DecodeSmsPdu(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) {
        SmsPdu pdu;
        pdu.problems.push_back(T(SmsText::ProblemNoData));
        return pdu;
    }
    // The modem's own listings begin with the SMS-centre field ("00" for none); the AT+CMGS text
    // often begins at the first octet. Type 2 is a status report from the network or a command to
    // it. Every reading is tried; the lengths decide, and the first reading wins a tie.
    SmsPdu best;
    int bestScore = -1;
    bool bestCommand = false;
    for (const bool centreFirst : {true, false}) {
        for (const bool command : {false, true}) {
            SmsPdu pdu;
            pdu.centreFirst = centreFirst;
            CTpduDecoder decoder(bytes, pdu);
            decoder.Decode(centreFirst, command);
            if (command && pdu.type != SmsMessageType::Command)
                continue;
            const int score = Score(decoder, bytes.size());
            if (score > bestScore) {
                pdu.lengthsFit = score % 10 == 3;
                best = std::move(pdu);
                bestScore = score;
                bestCommand = command;
            }
        }
    }
    const std::string form = T(best.centreFirst ? SmsText::FormCentreFirst : SmsText::FormTpduOnly);
    std::string formText = F(best.lengthsFit ? SmsText::FormFits : SmsText::FormDoesNotFit, {form});
    if (bestCommand && best.lengthsFit)
        formText = F(SmsText::FormAsCommand, {form});
    best.fields.insert(best.fields.begin(), MakeField(SmsFieldId::Form, 0, 0, best.centreFirst ? "smsc_first" : "tpdu_only", formText));
    return best;
}

std::string SmsUnitsToText(std::span<const std::uint16_t> units, SmsAlphabet alphabet, bool compressed, GsmShiftTables tables)
{
    if (!compressed && alphabet == SmsAlphabet::Gsm7) {
        std::vector<std::uint8_t> septets(units.begin(), units.end());
        return GsmSeptetsToUtf8(septets, tables);
    }
    if (!compressed && alphabet == SmsAlphabet::Ucs2)
        return Ucs2ToUtf8(units);
    std::vector<std::uint8_t> octets(units.begin(), units.end());
    return HexBytes(octets);
}

const char* SmsFieldKey(SmsFieldId id)
{
    const auto index = static_cast<std::size_t>(id);
    return index < std::size(FIELD_INFO) ? FIELD_INFO[index].key : "";
}

const char* SmsFieldName(SmsFieldId id)
{
    const auto index = static_cast<std::size_t>(id);
    return index < std::size(FIELD_INFO) ? SmsTextOf(FIELD_INFO[index].name) : "";
}

const char* SmsMessageTypeName(SmsMessageType type)
{
    switch (type) {
    case SmsMessageType::Deliver: return "SMS-DELIVER";
    case SmsMessageType::Submit: return "SMS-SUBMIT";
    case SmsMessageType::StatusReport: return "SMS-STATUS-REPORT";
    case SmsMessageType::Command: return "SMS-COMMAND";
    case SmsMessageType::Reserved: return "reserved";
    }
    return "";
}

namespace {

void RenderField(std::string& out, const SmsField& field, int depth)
{
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    std::string range;
    if (field.state != SmsFieldState::Missing && field.length == 1)
        range = F(SmsText::RenderRange, {Decimal(static_cast<long long>(field.offset + 1))});
    else if (field.state != SmsFieldState::Missing && field.length > 1)
        range = F(SmsText::RenderRangeSpan, {Decimal(static_cast<long long>(field.offset + 1)),
                                             Decimal(static_cast<long long>(field.offset + field.length))});
    // A text of several lines keeps its line breaks, each continued under the field.
    std::string text;
    for (char c : field.text) {
        text += c;
        if (c == '\n')
            text += indent + "    ";
    }
    out += F(SmsText::RenderLine, {indent + SmsFieldName(field.id), range, text});
    out += '\n';
    for (const SmsField& child : field.children)
        RenderField(out, child, depth + 1);
}

} // namespace

std::string FormatSmsPdu(const SmsPdu& pdu)
{
    std::string out;
    for (const SmsField& field : pdu.fields)
        RenderField(out, field, 0);
    if (!pdu.problems.empty()) {
        out += T(SmsText::RenderProblems);
        out += '\n';
        for (const std::string& problem : pdu.problems)
            out += "  " + problem + "\n";
    }
    return out;
}
