// decode and find: the byte analysis page's decode pass over a region of each frame, and where in
// each frame a known reading stands.

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "bytes/bytes_columns.h"
#include "bytes/value_finder.h"
#include "bytes/variable_decoder.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/code_page.h"
#include "common/hex_text.h"
#include "convert/number_text.h"

namespace {

// The byte analysis page refuses its commands without data in these words.
const char* NoFrameText()
{
    return CliTextOf(CliText::NoFrameByteAnalysis);
}

// Rows stream under widths set before the first, so the core tables give them.
template <typename Column, std::size_t N>
std::array<OutputColumn, N> Columns(const std::array<BytesColumnEntry, N>& table)
{
    std::array<OutputColumn, N> columns;
    for (std::size_t c = 0; c < N; ++c)
        columns[c] = {ColumnTitle(static_cast<Column>(c)), table[c].key, table[c].number, table[c].textWidth};
    return columns;
}

// A variable of --vars as the list would hold it: the type's name and the length's text.
struct VariableCells {
    std::string type;
    std::string length;
};

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// A type name in any case ("float", "Float", "FLOAT").
const VariableTypeEntry* FindTypeNamed(std::string_view name)
{
    for (const VariableTypeEntry& entry : VARIABLE_TYPES)
        if (SameName(name, entry.name))
            return &entry;
    return nullptr;
}

// A whole number, or the usage error `refusal` with `what` and the text.
std::uint64_t ReadWhole(std::string_view text, CliText refusal, std::optional<std::string_view> what = std::nullopt)
{
    std::uint64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        throw CUsageError(what ? CliFormat(refusal, {*what, text}) : CliFormat(refusal, {text}));
    return value;
}

// "UCHAR,UINT,ANSI:5": each type with its length; a type alone takes the length the page writes
// when it is chosen.
std::vector<VariableCells> ReadVariables(const CCommandLine& args)
{
    const std::optional<std::string> text = args.Value("--vars");
    if (!text || text->empty())
        throw CUsageError(CliTextOf(CliText::MissingVariables));
    std::vector<VariableCells> rows;
    for (const std::string& part : Split(*text, ',')) {
        const std::vector<std::string> cells = Split(part, ':');
        const VariableTypeEntry* type = FindTypeNamed(cells[0]);
        if (!type || cells.size() > 2)
            throw CUsageError(CliFormat(CliText::UnknownVariable, {part}));
        // The length as a number, "01" as 1: it is what the pass reads and what JSON may hold.
        rows.push_back({type->name, cells.size() == 2 ? std::to_string(ReadWhole(cells[1], CliText::VariableLengthNotWhole, part))
                                                      : type->lengthWhenChosen});
    }
    return rows;
}

// "UINT=1,FLOAT=3": the checked button of each group, counted from 0 as the page lists them.
ByteOrderOptions ReadOrders(const CCommandLine& args)
{
    ByteOrderOptions options;
    const std::optional<std::string> text = args.Value("--order");
    if (!text)
        return options;
    for (const std::string& part : Split(*text, ',')) {
        const std::vector<std::string> cells = Split(part, '=');
        const VariableTypeEntry* type = cells.size() == 2 ? FindTypeNamed(cells[0]) : nullptr;
        if (!type || !type->order)
            throw CUsageError(CliFormat(CliText::BadOrder, {part}));
        const std::uint64_t index = ReadWhole(cells[1], CliText::OrderNotWhole, cells[0]);
        const std::size_t count = ByteOrdersOf(type->type).size();
        if (index >= count)
            throw CUsageError(CliFormat(CliText::OrderRange, {cells[0], std::to_string(count - 1)}));
        options.index[static_cast<std::size_t>(*type->order)] = static_cast<int>(index);
    }
    return options;
}

// "START:END", byte numbers counted from 1 as the checksum page counts them; the whole frame
// when absent.
std::pair<std::uint64_t, std::uint64_t> ReadRegion(const CCommandLine& args)
{
    const std::optional<std::string> text = args.Value("--region");
    if (!text)
        return {1, UINT64_MAX};
    const std::vector<std::string> cells = Split(*text, ':');
    if (cells.size() != 2)
        throw CUsageError(CliFormat(CliText::RegionShape, {*text}));
    const std::uint64_t start = ReadWhole(cells[0], CliText::RegionStartNotWhole);
    const std::uint64_t end = ReadWhole(cells[1], CliText::RegionEndNotWhole);
    if (start < 1 || end < start - 1)  // not end + 1 < start: that wraps for the largest end
        throw CUsageError(CliFormat(CliText::RegionOrder, {*text}));
    return {start, end};
}

std::string Decimal(std::uint64_t value)
{
    return std::to_string(value);
}

// A reading or a tolerance as the conversion page's number box checks it.
double ReadReading(const std::string& text, const char* what)
{
    if (const char* refused = NumberCheckText(CheckNumberText(text)))
        throw CUsageError(CliFormat(CliText::OptionRefused, {what, refused}));
    if (text.find_first_of("0123456789") == std::string::npos)
        throw CUsageError(CliFormat(CliText::OptionRefused, {what, NumberCheckText(NumberCheck::Illegal)}));
    return ReadFloating(text);
}

} // namespace

int RunDecode(const CCommandLine& args, CliContext& context)
{
    const std::vector<VariableCells> cells = ReadVariables(args);
    std::vector<VariableRow> rows;
    for (const VariableCells& variable : cells)
        rows.push_back(ReadVariableRow(variable.type, variable.length));
    const ByteOrderOptions options = ReadOrders(args);
    const auto [first, last] = ReadRegion(args);
    const OutputFormat format = ReadOutputFormat(args);
    CFrameInput input(args, HEX_PROFILE_BYTE_ANALYSIS, NoFrameText(), context);
    const auto columns = Columns<VariableColumn>(VARIABLE_COLUMNS);
    COutput output(context.out, format, {OutputLayout::FrameRows, columns}, input.Several());
    CliFrame frame;
    while (input.Next(frame)) {
        // The region within the frame, as bytes [head, tail).
        const std::uint64_t size = frame.bytes.size();
        const std::size_t head = std::min(first - 1, size);
        const std::size_t tail = std::min(last, size);
        const DecodeOutcome outcome = DecodeVariables(frame.bytes, head, std::max(head, tail), options, rows);
        output.BeginFrame(frame.line, FormatHexBytes(frame.bytes));
        if (*outcome.status)
            output.Note(outcome.status);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const DecodedVariable shown = r < outcome.rows.size() ? outcome.rows[r] : DecodedVariable{};
            const std::array<std::string, VARIABLE_COLUMN_COUNT> row{Decimal(r + 1), cells[r].type, cells[r].length,
                                                                     shown.memory, NarrowToUtf8(shown.value)};
            output.Row(row);
        }
        output.EndFrame();
    }
    output.Finish();
    return context.status;
}

int RunFind(const CCommandLine& args, CliContext& context)
{
    const std::optional<std::string> valueText = args.Value("--value");
    if (!valueText)
        throw CUsageError(CliTextOf(CliText::MissingReading));
    const double reading = ReadReading(*valueText, "--value");
    FindTolerance tolerance{0.05, false};
    if (std::optional<std::string> text = args.Value("--tolerance")) {
        tolerance.percent = !text->empty() && text->back() == '%';
        if (tolerance.percent)
            text->pop_back();
        tolerance.amount = ReadReading(*text, "--tolerance");
        if (tolerance.amount < 0)
            throw CUsageError(CliFormat(CliText::NegativeTolerance, {*args.Value("--tolerance")}));
    }
    std::vector<double> scales(std::begin(DEFAULT_SCALES), std::end(DEFAULT_SCALES));
    if (const std::optional<std::string> text = args.Value("--scales")) {
        scales.clear();
        for (const std::string& part : Split(*text, ','))
            scales.push_back(ReadReading(part, "--scales"));
    }
    const OutputFormat format = ReadOutputFormat(args);
    CFrameInput input(args, HEX_PROFILE_BYTE_ANALYSIS, NoFrameText(), context);
    const auto columns = Columns<HitColumn>(HIT_COLUMNS);
    COutput output(context.out, format, {OutputLayout::FrameRows, columns}, input.Several());
    CliFrame frame;
    while (input.Next(frame)) {
        const FindValueResult found = FindValue(frame.bytes, reading, tolerance, scales);
        output.BeginFrame(frame.line, FormatHexBytes(frame.bytes));
        for (std::size_t h = 0; h < found.hits.size(); ++h) {
            std::array<std::string, HIT_COLUMN_COUNT> cells;
            for (std::size_t c = 0; c < HIT_COLUMN_COUNT; ++c)
                cells[c] = HitCellText(static_cast<HitColumn>(c), found.hits[h], h + 1);
            output.Row(cells);
        }
        if (found.total == 0)
            output.Note(CliTextOf(CliText::ValueNotFound));
        else if (found.total > found.hits.size())
            output.Note(CliFormat(CliText::ValueFoundMore, {Decimal(found.total), Decimal(found.hits.size())}));
        output.EndFrame();
    }
    output.Finish();
    return context.status;
}
