#pragma once
// The complete decode of an SMS PDU as GSM modems show and take it: the SMS-centre field (any
// length, or none) and the TP layer of 3GPP TS 23.040 clause 9.2 with the data coding of TS 23.038
// clause 4. Every field is either decoded or reported missing, with the bytes it covers, so that a
// view can mark them. Pure: bytes in, a value out; texts are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sms/sms_alphabet.h"
#include "sms/sms_texts.h"

// Every kind of field: its English key (JSON) and the text id of its name.
#define VELMORRA_SMS_FIELDS(X)                                            \
    X(Form, "form", FieldForm)                                            \
    X(Centre, "smsc", FieldCentre)                                        \
    X(AddressLength, "length", FieldAddressLength)                        \
    X(TypeOfAddress, "type_of_address", FieldTypeOfAddress)               \
    X(Number, "number", FieldNumber)                                      \
    X(FirstOctet, "first_octet", FieldFirstOctet)                         \
    X(MessageType, "message_type", FieldMessageType)                      \
    X(MoreMessages, "more_messages_to_send", FieldMoreMessages)           \
    X(LoopPrevention, "loop_prevention", FieldLoopPrevention)             \
    X(RejectDuplicates, "reject_duplicates", FieldRejectDuplicates)       \
    X(ValidityFormat, "validity_period_format", FieldValidityFormat)      \
    X(StatusReportRequest, "status_report_request", FieldStatusReportRequest) \
    X(StatusReportIndication, "status_report_indication", FieldStatusReportIndication) \
    X(StatusReportQualifier, "status_report_qualifier", FieldStatusReportQualifier) \
    X(HeaderIndicator, "user_data_header_indicator", FieldHeaderIndicator) \
    X(ReplyPath, "reply_path", FieldReplyPath)                            \
    X(MessageReference, "message_reference", FieldMessageReference)       \
    X(Originator, "originator", FieldOriginator)                          \
    X(Destination, "destination", FieldDestination)                       \
    X(Recipient, "recipient", FieldRecipient)                             \
    X(Protocol, "protocol_identifier", FieldProtocol)                     \
    X(Coding, "data_coding_scheme", FieldCoding)                          \
    X(CodingGroup, "coding_group", FieldCodingGroup)                      \
    X(Alphabet, "alphabet", FieldAlphabet)                                \
    X(MessageClass, "message_class", FieldMessageClass)                   \
    X(Compressed, "compressed", FieldCompressed)                          \
    X(Indication, "message_waiting", FieldIndication)                     \
    X(CentreTime, "service_centre_time_stamp", FieldCentreTime)           \
    X(DischargeTime, "discharge_time", FieldDischargeTime)                \
    X(Validity, "validity_period", FieldValidity)                         \
    X(ValidityFunction, "functionality_indicator", FieldValidityFunction) \
    X(Status, "status", FieldStatus)                                      \
    X(Parameters, "parameter_indicator", FieldParameters)                 \
    X(CommandType, "command_type", FieldCommandType)                      \
    X(MessageNumber, "message_number", FieldMessageNumber)                \
    X(CommandDataLength, "command_data_length", FieldCommandDataLength)   \
    X(CommandData, "command_data", FieldCommandData)                      \
    X(UserDataLength, "user_data_length", FieldUserDataLength)            \
    X(UserData, "user_data", FieldUserData)                               \
    X(HeaderLength, "user_data_header_length", FieldHeaderLength)         \
    X(Header, "user_data_header", FieldHeader)                            \
    X(Element, "information_element", FieldElement)                       \
    X(ElementLength, "length", FieldElementLength)                        \
    X(Concatenation, "concatenation", FieldConcatenation)                 \
    X(Reference, "reference", FieldReference)                             \
    X(Parts, "parts", FieldParts)                                         \
    X(Part, "part", FieldPart)                                            \
    X(Ports, "application_ports", FieldPorts)                             \
    X(DestinationPort, "destination_port", FieldDestinationPort)          \
    X(OriginatorPort, "originator_port", FieldOriginatorPort)             \
    X(SingleShift, "single_shift_language", FieldSingleShift)             \
    X(LockingShift, "locking_shift_language", FieldLockingShift)          \
    X(SpecialIndication, "special_indication", FieldSpecialIndication)    \
    X(ElementData, "data", FieldElementData)                              \
    X(FillBits, "fill_bits", FieldFillBits)                               \
    X(Text, "text", FieldText)                                            \
    X(Data, "data", FieldData)                                            \
    X(Ascii, "ascii", FieldAscii)                                         \
    X(Extra, "extra_bytes", FieldExtra)

enum class SmsFieldId : std::uint8_t {
#define VELMORRA_SMS_FIELD_ID(id, key, name) id,
    VELMORRA_SMS_FIELDS(VELMORRA_SMS_FIELD_ID)
#undef VELMORRA_SMS_FIELD_ID
};

enum class SmsFieldState : std::uint8_t {
    Decoded,
    Truncated,  // the bytes end inside it: decoded as far as they go
    Missing,    // the bytes end before it
};

// How `value` reads for a program (JSON).
enum class SmsValueKind : std::uint8_t { Text, Number, Flag };

struct SmsField {
    SmsFieldId id = SmsFieldId::Form;
    std::size_t offset = 0;  // its first byte in the PDU; where it would start when missing
    std::size_t length = 0;  // the bytes it covers (those there, when truncated; 0 when missing)
    SmsFieldState state = SmsFieldState::Decoded;
    SmsValueKind kind = SmsValueKind::Text;
    std::string value;  // for a program: a number, "true"/"false", an English name, digits or the text
    std::string text;   // for people, in Chinese words
    std::vector<SmsField> children;
};

enum class SmsMessageType : std::uint8_t { Deliver, Submit, StatusReport, Command, Reserved };

enum class SmsAlphabet : std::uint8_t { Gsm7, Data8, Ucs2 };

struct SmsConcatenation {
    unsigned reference = 0;
    bool reference16 = false;  // from the element with a 16-bit reference
    unsigned parts = 0;
    unsigned part = 0;  // 1 … parts
};

struct SmsPdu {
    bool centreFirst = true;  // the PDU begins with the SMS-centre field (else at the first octet)
    bool lengthsFit = false;  // the assumed layout ends exactly where the bytes end
    SmsMessageType type = SmsMessageType::Deliver;
    std::string address;  // the other party: originator, destination or recipient ("+" when international)
    std::optional<SmsConcatenation> concatenation;
    SmsAlphabet alphabet = SmsAlphabet::Gsm7;
    bool compressed = false;
    GsmShiftTables shiftTables;
    // The content as the alphabet gives it, for joining parts: septets, UTF-16 code units or octets.
    std::vector<std::uint16_t> textUnits;
    std::string text;  // UTF-8; 8-bit data and compressed content as hex
    std::vector<std::string> problems;  // missing fields and other faults, in words
    std::vector<SmsField> fields;
};

/// Decodes a PDU, with or without its leading SMS-centre field (whichever the lengths fit).
/// Never reads outside `bytes`.
SmsPdu DecodeSmsPdu(std::span<const std::uint8_t> bytes);

/// Every field, one line each, indented by depth, in Chinese words, then the problems.
std::string FormatSmsPdu(const SmsPdu& pdu);

/// The text of content units in an alphabet (what SmsPdu::text holds for them).
std::string SmsUnitsToText(std::span<const std::uint16_t> units, SmsAlphabet alphabet, bool compressed,
                           GsmShiftTables tables);

/// The English key of a field kind.
const char* SmsFieldKey(SmsFieldId id);
/// The name of a field kind, in words.
const char* SmsFieldName(SmsFieldId id);

/// The English name of a message type ("SMS-DELIVER").
const char* SmsMessageTypeName(SmsMessageType type);
