// identify: which checksum a log's frames carry, as ranked rules in words or as JSON records.

#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "checksum/checksum_search.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/text_utility.h"
#include "identify/identify_texts.h"

namespace {

enum RuleColumn {
    RANK, RULE, MODEL, METHOD, START, END, END_FROM, TRAILER, ORDER, ENCODING, STRUCTURAL, HELD, FRAMES, FAILING, CLASS,
};

// CSV: a rule a record, under these titles.
std::array<OutputColumn, CLASS + 1> RuleColumns()
{
    return {{
        {CliTextOf(CliText::ColumnNumber), "rank", true},
        {CliTextOf(CliText::ColumnRule), "rule"},
        {CliTextOf(CliText::ColumnModel), "model"},
        {CliTextOf(CliText::ColumnMethod), "method"},
        {CliTextOf(CliText::ColumnStart), "start", true},
        {CliTextOf(CliText::ColumnEnd), "end", true},
        {CliTextOf(CliText::ColumnEndFrom), "end_from"},
        {CliTextOf(CliText::ColumnTrailer), "trailer", true},
        {CliTextOf(CliText::ColumnOrder), "order"},
        {CliTextOf(CliText::ColumnEncoding), "encoding"},
        {CliTextOf(CliText::ColumnStructural), "structural"},
        {CliTextOf(CliText::ColumnHeld), "held", true},
        {CliTextOf(CliText::ColumnFrames), "frames", true},
        {CliTextOf(CliText::ColumnFailing), "failing"},
        {CliTextOf(CliText::ColumnClass), "class"},
    }};
}

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            out += FormatText("\\u%04x", u);
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* OrderName(const IdentifyRule& rule)
{
    if (RuleWidth(rule) == 8)
        return nullptr;
    return rule.order == CheckOrder::LowFirst ? "low-first" : "high-first";
}

std::string ModelName(const IdentifyRule& rule)
{
    if (rule.model == SOLVED_CRC_MODEL)
        return "CRC-" + DecimalText(rule.solved.width);
    return ChecksumModels()[rule.model].name;
}

// The rule's parameters as they apply: a CRC's, a constant and how it meets the value, the
// text encoding's and the blocks'.
std::string JsonParameters(const IdentifyRule& rule)
{
    std::string json = "{\"width\":" + DecimalText(RuleWidth(rule));
    const bool solved = rule.model == SOLVED_CRC_MODEL;
    if (solved || ChecksumModels()[rule.model].family == ModelFamily::Crc) {
        const CrcParameters& p = solved ? rule.solved : ChecksumModels()[rule.model].crc;
        json += ",\"poly\":" + DecimalText(p.poly) + ",\"init\":" + DecimalText(p.init) + ",\"refin\":" +
                (p.refin ? "true" : "false") + ",\"refout\":" + (p.refout ? "true" : "false") +
                ",\"xorout\":" + DecimalText(p.xorout);
        if (solved)
            json += std::string(",\"init_known\":") + (rule.solvedInitKnown ? "true" : "false");
    }
    if (rule.form != ConstantForm::None) {
        static const char* const COMBINE[] = {"", "plus", "xor", "minus"};
        json += ",\"constant\":" + DecimalText(rule.constant) + ",\"combine\":\"" +
                COMBINE[static_cast<int>(rule.form)] + "\"";
    }
    if (rule.input == RuleInput::HexPairs)
        json += ",\"input\":\"hex-pairs\"";
    if (rule.gap)
        json += ",\"separator\":" + JsonString(std::string(1, static_cast<char>(rule.separator)));
    if (rule.block)
        json += ",\"block\":" + DecimalText(rule.block);
    return json + "}";
}

std::string JsonRule(const IdentifiedRule& identified, std::uint64_t rank)
{
    const IdentifyRule& rule = identified.rule;
    const auto method = RulePageMethod(rule);
    const auto trailer = RuleTrailer(rule);
    const char* order = OrderName(rule);
    std::string json = "{\"rank\":" + DecimalText(rank) + ",\"model\":" + JsonString(ModelName(rule)) +
                       ",\"method\":" + (method ? JsonString(ChecksumMethodName(*method)) : "null") +
                       ",\"parameters\":" + JsonParameters(rule) + ",\"start\":" + DecimalText(rule.start) +
                       ",\"end\":{\"position\":" + DecimalText(rule.end) + ",\"from\":\"" +
                       (rule.endFrom == RuleEnd::FromFirst ? "first" : "last") + "\"}" +
                       ",\"trailer\":" + (trailer ? DecimalText(*trailer) : "null") +
                       ",\"order\":" + (order ? JsonString(order) : "null") + ",\"encoding\":\"" +
                       (rule.encoding == CheckEncoding::Binary ? "binary" : "ascii-hex") + "\"" +
                       ",\"structural\":" + (identified.structural ? "true" : "false") +
                       ",\"held\":" + DecimalText(identified.held) + ",\"frames\":" + DecimalText(identified.frames) +
                       ",\"failing\":[";
    for (std::size_t k = 0; k < identified.failing.size(); ++k)
        json += (k ? "," : "") + DecimalText(identified.failing[k]);
    json += "],\"class\":" + (identified.classByte ? "\"" + FormatText("%02X", *identified.classByte) + "\"" : "null");
    return json + "}";
}

void Write(std::FILE* out, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

void WriteText(std::FILE* out, const IdentifyReport& report, double share)
{
    Write(out, FormatText(IdentifyTextOf(IdentifyText::Summary), DecimalText(report.frames).c_str(),
                          DecimalText(report.distinct).c_str(), DecimalText(report.rules.size()).c_str()) + "\n");
    if (report.distinct < 2 && report.frames > 0)
        Write(out, std::string(IdentifyTextOf(IdentifyText::TooFewDistinct)) + "\n");
    else if (report.rules.empty() && report.frames > 0)
        Write(out, FormatText(IdentifyTextOf(IdentifyText::NoRule), FormatText("%g", share).c_str()) + "\n");
    std::optional<std::uint8_t> heading;
    std::uint64_t rank = 0;
    for (const IdentifiedRule& rule : report.rules) {
        if (report.classes && (rank == 0 || rule.classByte != heading)) {
            heading = rule.classByte;
            Write(out, FormatText(IdentifyTextOf(IdentifyText::ClassHeading), unsigned{*heading},
                                  DecimalText(rule.frames).c_str()) + "\n");
        }
        Write(out, FormatText("%4llu  ", static_cast<unsigned long long>(++rank)) + IdentifiedRuleText(rule, 20) + "\n");
    }
    if (!report.unclassified.empty())
        Write(out, FormatText(IdentifyTextOf(IdentifyText::Unclassified), LineListText(report.unclassified, 20).c_str()) + "\n");
}

void WriteCsv(std::FILE* out, const IdentifyReport& report)
{
    const auto columns = RuleColumns();
    COutput output(out, OutputFormat::Csv, {OutputLayout::Rows, columns}, false);
    std::array<std::string, columns.size()> cells;
    std::uint64_t rank = 0;
    for (const IdentifiedRule& identified : report.rules) {
        const IdentifyRule& rule = identified.rule;
        const auto method = RulePageMethod(rule);
        const auto trailer = RuleTrailer(rule);
        const char* order = OrderName(rule);
        cells[RANK] = DecimalText(++rank);
        cells[RULE] = IdentifiedRuleText(identified, identified.failing.size());
        cells[MODEL] = ModelName(rule);
        cells[METHOD] = method ? ChecksumMethodName(*method) : "";
        cells[START] = DecimalText(rule.start);
        cells[END] = DecimalText(rule.end);
        cells[END_FROM] = rule.endFrom == RuleEnd::FromFirst ? "first" : "last";
        cells[TRAILER] = trailer ? DecimalText(*trailer) : "";
        cells[ORDER] = order ? order : "";
        cells[ENCODING] = rule.encoding == CheckEncoding::Binary ? "binary" : "ascii-hex";
        cells[STRUCTURAL] = identified.structural ? "true" : "false";
        cells[HELD] = DecimalText(identified.held);
        cells[FRAMES] = DecimalText(identified.frames);
        cells[FAILING].clear();
        for (std::uint64_t line : identified.failing)
            cells[FAILING] += (cells[FAILING].empty() ? "" : " ") + DecimalText(line);
        cells[CLASS] = identified.classByte ? FormatText("%02X", *identified.classByte) : "";
        output.Row(cells);
    }
    output.Finish();
}

} // namespace

int RunIdentify(const CCommandLine& args, CliContext& context)
{
    const OutputFormat format = ReadOutputFormat(args);
    IdentifyOptions options;
    options.minSharePercent = ReadSharePercent(args, 50);
    options.maxRules = args.Number("--top", 1, 1000, 10);
    CFrameInput input(args, HEX_PROFILE_CHECKSUM, CHECKSUM_NO_DATA_TEXT, context);
    std::vector<IdentifyFrame> frames;
    CliFrame frame;
    while (input.Next(frame))
        frames.push_back({frame.line, frame.bytes});

    const IdentifyReport report = IdentifyChecksums(frames, options);
    switch (format) {
    case OutputFormat::Text: WriteText(context.out, report, options.minSharePercent); break;
    case OutputFormat::Csv: WriteCsv(context.out, report); break;
    case OutputFormat::Json: {
        std::string json = "[";
        std::uint64_t rank = 0;
        for (const IdentifiedRule& rule : report.rules)
            json += (rank ? ",\n " : "") + JsonRule(rule, rank + 1), ++rank;
        Write(context.out, json + "]\n");
        break;
    }
    }
    return context.status;
}
