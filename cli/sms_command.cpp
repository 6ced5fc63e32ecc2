// pdu --full and --join: the complete decode of SMS PDUs, and concatenated messages joined. Without
// them, pdu is the string formatting page's view (format_commands.cpp).

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/hex_text.h"
#include "common/text_utility.h"
#include "sms/sms_concat.h"
#include "sms/sms_log.h"
#include "sms/sms_pdu.h"

namespace {

// Text for a terminal: a control character of the message (UCS2 can hold any) shows as its picture,
// so it can neither move the cursor nor start an escape sequence. CR LF is one line break.
std::string Printable(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const auto c = static_cast<unsigned char>(utf8[k]);
        if (c == '\r' && k + 1 < utf8.size() && utf8[k + 1] == '\n')
            continue;
        if (c == 0xC2 && k + 1 < utf8.size() && static_cast<unsigned char>(utf8[k + 1]) < 0xA0) {
            out += "\xEF\xBF\xBD";  // a C1 control character
            ++k;
        } else if (c == '\n' || (c >= 0x20 && c != 0x7F)) {
            out += static_cast<char>(c);
        } else {
            AppendUtf8Character(out, c == 0x7F ? 0x2421 : 0x2400 + c);
        }
    }
    return out;
}

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

void AppendCsvField(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

const char* StateName(SmsFieldState state)
{
    switch (state) {
    case SmsFieldState::Decoded: return "decoded";
    case SmsFieldState::Truncated: return "truncated";
    case SmsFieldState::Missing: return "missing";
    }
    return "";
}

void AppendJsonValue(std::string& out, const SmsField& field)
{
    if (field.state == SmsFieldState::Missing)
        out += "null";
    else if (field.kind == SmsValueKind::Number || field.kind == SmsValueKind::Flag)
        out += field.value;
    else
        AppendJsonString(out, field.value);
}

void AppendJsonField(std::string& out, const SmsField& field)
{
    out += "{\"key\":";
    AppendJsonString(out, SmsFieldKey(field.id));
    out += ",\"name\":";
    AppendJsonString(out, SmsFieldName(field.id));
    out += ",\"offset\":" + DecimalText(field.offset) + ",\"length\":" + DecimalText(field.length) + ",\"state\":\"" +
           StateName(field.state) + "\",\"value\":";
    AppendJsonValue(out, field);
    out += ",\"text\":";
    AppendJsonString(out, field.text);
    if (!field.children.empty()) {
        out += ",\"fields\":[";
        for (std::size_t k = 0; k < field.children.size(); ++k) {
            if (k > 0)
                out += ',';
            AppendJsonField(out, field.children[k]);
        }
        out += ']';
    }
    out += '}';
}

void AppendJsonStrings(std::string& out, const std::vector<std::string>& items)
{
    out += '[';
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0)
            out += ',';
        AppendJsonString(out, items[k]);
    }
    out += ']';
}

std::string JsonPdu(std::uint64_t line, const std::string& frame, const SmsPdu& pdu)
{
    std::string out = "{\"line\":" + DecimalText(line) + ",\"pdu\":";
    AppendJsonString(out, frame);
    out += std::string(",\"form\":\"") + (pdu.centreFirst ? "smsc_first" : "tpdu_only") +
           "\",\"lengths_fit\":" + (pdu.lengthsFit ? "true" : "false") + ",\"type\":\"" + SmsMessageTypeName(pdu.type) + "\",\"address\":";
    AppendJsonString(out, pdu.address);
    out += ",\"text\":";
    AppendJsonString(out, pdu.text);
    out += ",\"concatenation\":";
    if (pdu.concatenation) {
        const SmsConcatenation& c = *pdu.concatenation;
        out += "{\"reference\":" + DecimalText(c.reference) + ",\"reference_bits\":" + (c.reference16 ? "16" : "8") +
               ",\"parts\":" + DecimalText(c.parts) + ",\"part\":" + DecimalText(c.part) + '}';
    } else {
        out += "null";
    }
    out += ",\"problems\":";
    AppendJsonStrings(out, pdu.problems);
    out += ",\"fields\":[";
    for (std::size_t k = 0; k < pdu.fields.size(); ++k) {
        if (k > 0)
            out += ',';
        AppendJsonField(out, pdu.fields[k]);
    }
    out += "]}";
    return out;
}

// CSV: one row a field, its place in the tree as a path of keys.
void CsvFields(std::string& out, std::uint64_t line, const std::string& parent, const std::vector<SmsField>& fields)
{
    for (const SmsField& field : fields) {
        const std::string path = parent.empty() ? SmsFieldKey(field.id) : parent + "." + SmsFieldKey(field.id);
        out += DecimalText(line) + ',';
        AppendCsvField(out, path);
        out += ',';
        AppendCsvField(out, SmsFieldName(field.id));
        out += ',' + DecimalText(field.offset) + ',' + DecimalText(field.length) + ',' + StateName(field.state) + ',';
        AppendCsvField(out, field.value);
        out += ',';
        AppendCsvField(out, field.text);
        out += "\r\n";
        CsvFields(out, line, path, field.children);
    }
}

std::string JsonMessage(std::size_t number, const SmsMessage& message, const std::vector<std::uint64_t>& lines)
{
    std::string out = "{\"message\":" + DecimalText(number) + ",\"type\":\"" + SmsMessageTypeName(message.type) + "\",\"address\":";
    AppendJsonString(out, message.address);
    if (message.concatenation) {
        out += ",\"reference\":" + DecimalText(message.concatenation->reference) + ",\"reference_bits\":" +
               (message.concatenation->reference16 ? "16" : "8") + ",\"parts\":" + DecimalText(message.concatenation->parts);
    } else {
        out += ",\"reference\":null,\"reference_bits\":null,\"parts\":1";
    }
    out += ",\"lines\":[";
    for (std::size_t k = 0; k < message.parts.size(); ++k) {
        if (k > 0)
            out += ',';
        out += message.parts[k] ? DecimalText(lines[*message.parts[k]]) : "null";
    }
    out += "],\"missing\":[";
    for (std::size_t k = 0; k < message.missing.size(); ++k)
        out += (k > 0 ? "," : "") + DecimalText(message.missing[k]);
    out += "],\"text\":";
    AppendJsonString(out, message.text);
    out += '}';
    return out;
}

void Write(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

} // namespace

int RunPduCommand(const CCommandLine& args, CliContext& context)
{
    const bool full = args.Has("--full");
    const bool join = args.Has("--join");
    if (!full && !join)
        return RunPdu(args, context);
    if (args.Has("--send") || args.Has("--receive"))
        throw CUsageError(CliTextOf(CliText::FullWithDirection));
    const OutputFormat format = ReadOutputFormat(args);
    if (full && join && format == OutputFormat::Csv)
        throw CUsageError(CliTextOf(CliText::CsvFullAndJoin));
    const std::size_t limit = args.Number("--limit", 1, 65535, MAX_HEX_BYTES);
    const bool extract = args.Has("--extract");

    CLineInput input(args, context);
    std::vector<std::uint8_t> buffer(limit);
    std::vector<SmsPdu> pdus;
    std::vector<std::uint64_t> lines;
    std::string out;
    bool any = false;
    // JSON: an array of PDUs or of messages; with both, an object holding the two arrays.
    if (full && join && format == OutputFormat::Json)
        out += "{\"pdus\":";
    if (full && format == OutputFormat::Json)
        out += '[';
    if (full && format == OutputFormat::Csv)
        out += std::string(CliTextOf(CliText::PduFieldsCsv)) + "\r\n";
    InputLine line;
    while (input.Next(line)) {
        std::string text = line.text;
        if (extract) {
            text = ExtractPduHex(text);
            if (text.empty() && !line.argument)
                continue;
        }
        std::size_t count = 0;
        const HexParseResult result = ParseHexText(text, buffer, count);
        if (result != HexParseResult::Ok || count == 0) {
            input.Refuse(line, result == HexParseResult::Ok || result == HexParseResult::Empty
                                   // The string formatting page has no message of its own for an empty frame.
                                   ? std::string(CliTextOf(CliText::NoFrame))
                                   : HexErrorText(HEX_PROFILE_STRING_FORMAT, result, limit));
            continue;
        }
        const std::span<const std::uint8_t> bytes(buffer.data(), count);
        SmsPdu pdu = DecodeSmsPdu(bytes);
        if (full) {
            const std::string frame = FormatHexValue(bytes);
            switch (format) {
            case OutputFormat::Text:
                if (input.Several() || join)
                    out += (any ? "\n" : "") + SmsFormat(SmsText::NameLine, {DecimalText(line.number)}) + ": " + frame + "\n";
                out += Printable(FormatSmsPdu(pdu));
                break;
            case OutputFormat::Csv:
                CsvFields(out, line.number, {}, pdu.fields);
                break;
            case OutputFormat::Json:
                out += (any ? "," : "") + JsonPdu(line.number, frame, pdu);
                break;
            }
            Write(context.out, out);
            out.clear();
        }
        any = true;
        if (join) {
            pdus.push_back(std::move(pdu));
            lines.push_back(line.number);
        }
    }
    if (full && format == OutputFormat::Json)
        out += join ? "]," : "]\n";
    if (join) {
        const std::vector<SmsMessage> messages = JoinSmsParts(pdus);
        std::vector<std::string> names;
        for (std::uint64_t number : lines)
            names.push_back(SmsFormat(SmsText::NameLine, {DecimalText(number)}));
        if (format == OutputFormat::Csv)
            out += std::string(CliTextOf(CliText::MessagesCsv)) + "\r\n";
        if (format == OutputFormat::Json)
            out += full ? "\"messages\":[" : "[";
        for (std::size_t m = 0; m < messages.size(); ++m) {
            const SmsMessage& message = messages[m];
            switch (format) {
            case OutputFormat::Text:
                out += (m > 0 || full ? "\n" : "") + Printable(FormatSmsMessage(message, m + 1, names));
                break;
            case OutputFormat::Csv: {
                std::string partLines, missing;
                for (const auto& part : message.parts)
                    partLines += (partLines.empty() ? "" : " ") + (part ? DecimalText(lines[*part]) : std::string("-"));
                for (unsigned part : message.missing)
                    missing += (missing.empty() ? "" : " ") + DecimalText(part);
                out += DecimalText(m + 1) + ',' + SmsMessageTypeName(message.type) + ',';
                AppendCsvField(out, message.address);
                out += ',' + (message.concatenation ? DecimalText(message.concatenation->reference) : std::string()) + ',' +
                       DecimalText(message.parts.size()) + ',' + partLines + ',' + missing + ',';
                AppendCsvField(out, message.text);
                out += "\r\n";
                break;
            }
            case OutputFormat::Json:
                out += (m > 0 ? "," : "") + JsonMessage(m + 1, message, lines);
                break;
            }
        }
        if (format == OutputFormat::Json)
            out += full ? "]}\n" : "]\n";
    }
    Write(context.out, out);
    return context.status;
}
