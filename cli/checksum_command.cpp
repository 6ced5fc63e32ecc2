// checksum: the checksum page's rows for each frame, or the rules that hold across all frames.

#include <array>
#include <charconv>
#include <string>
#include <vector>

#include "checksum/checksum_columns.h"
#include "checksum/checksum_consensus.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/hex_text.h"
#include "common/text_utility.h"

namespace {

// The page's columns under their titles; JSON keys and alignment are the command line's.
std::array<OutputColumn, CHECKSUM_COLUMN_COUNT> RowColumns()
{
    constexpr const char* KEYS[] = {"number", "method", "start", "end", "length", "checksum", "content"};
    std::array<OutputColumn, CHECKSUM_COLUMN_COUNT> columns;
    for (std::size_t c = 0; c < CHECKSUM_COLUMN_COUNT; ++c) {
        const auto column = static_cast<ChecksumColumn>(c);
        const bool number = column == ChecksumColumn::Number || column == ChecksumColumn::Start ||
                            column == ChecksumColumn::End || column == ChecksumColumn::Length;
        columns[c] = {ChecksumColumnTitle(column), KEYS[c], number};
    }
    return columns;
}

enum RuleColumn { RULE_NUMBER, RULE_TEXT, RULE_METHOD, RULE_START, RULE_END, RULE_END_FROM, RULE_FRAMES, RULE_SHARE };

std::array<OutputColumn, 8> RuleColumns()
{
    return {{
        {CliTextOf(CliText::ColumnNumber), "number", true},
        {CliTextOf(CliText::ColumnRule), "rule"},
        {CliTextOf(CliText::ColumnMethod), "method", false, 0, false},
        {CliTextOf(CliText::ColumnStart), "start", true, 0, false},
        {CliTextOf(CliText::ColumnEnd), "end", true, 0, false},
        {CliTextOf(CliText::ColumnEndFrom), "end_from", false, 0, false},
        {CliTextOf(CliText::ColumnHeld), "frames", true},
        {CliTextOf(CliText::ColumnShare), "share", true},
    }};
}

std::size_t Digits(std::uint64_t value)
{
    std::size_t digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

std::vector<ChecksumMethod> ReadMethods(const CCommandLine& args)
{
    const std::string name = args.Value("--method").value_or("ALL");
    if (SameName(name, "ALL"))
        return {CHECKSUM_METHODS.begin(), CHECKSUM_METHODS.end()};
    for (ChecksumMethod method : CHECKSUM_METHODS)
        if (SameName(name, ChecksumMethodName(method)))
            return {method};
    throw CUsageError(CliFormat(CliText::UnknownMethod, {name}));
}

// A share in percent with at most one decimal, rounded: 8 of 9 frames is "88.9". Only every
// frame is "100": 9,999 of 10,000 stay "99.9".
std::string ShareText(std::uint64_t frames, std::uint64_t total)
{
    std::uint64_t tenths = (frames * 2000 + total) / (2 * total);
    if (tenths == 1000 && frames < total)
        tenths = 999;
    std::string text = DecimalText(tenths / 10);
    if (tenths % 10) {
        text += '.';
        text += static_cast<char>('0' + tenths % 10);
    }
    return text;
}

int ListRows(const CCommandLine& args, CliContext& context, std::span<const ChecksumMethod> methods,
             std::size_t minLength)
{
    const OutputFormat format = ReadOutputFormat(args);
    CFrameInput input(args, HEX_PROFILE_CHECKSUM, CHECKSUM_NO_DATA_TEXT, context);
    const auto columns = RowColumns();
    COutput output(context.out, format, {OutputLayout::FrameRows, columns}, input.Several());
    // Widths known before the first row, so rows stream: every number fits what the longest
    // frame could yield.
    const std::uint64_t limit = input.Limit();
    output.Widen(0, Digits(limit * (limit + 1) / 2 * methods.size()));
    for (std::size_t column = 2; column <= 4; ++column)
        output.Widen(column, Digits(limit));

    CliFrame frame;
    std::array<std::string, CHECKSUM_COLUMN_COUNT> cells;
    while (input.Next(frame)) {
        output.BeginFrame(frame.line, FormatHexBytes(frame.bytes));
        std::uint64_t number = 0;
        const ChecksumMatchSink sink = [&](std::span<const ChecksumMatch> matches) {
            for (const ChecksumMatch& match : matches) {
                ++number;
                for (std::size_t c = 0; c < CHECKSUM_COLUMN_COUNT; ++c)
                    cells[c] = ChecksumCellText(static_cast<ChecksumColumn>(c), match, number, frame.bytes);
                output.Row(cells);
            }
        };
        for (ChecksumMethod method : methods)
            SearchChecksums(method, frame.bytes, sink, {.minLength = minLength});
        output.EndFrame();
    }
    output.Finish();
    return context.status;
}

int ListRules(const CCommandLine& args, CliContext& context, std::span<const ChecksumMethod> methods,
              std::size_t minLength)
{
    const OutputFormat format = ReadOutputFormat(args);
    const double share = ReadSharePercent(args, 100);
    CFrameInput input(args, HEX_PROFILE_CHECKSUM, CHECKSUM_NO_DATA_TEXT, context);
    CChecksumConsensus consensus(methods, minLength);
    CliFrame frame;
    while (input.Next(frame))
        consensus.AddFrame(frame.bytes);

    const std::uint64_t total = consensus.FrameCount();
    const std::vector<ChecksumRuleCount> rules = consensus.Rules(share);
    const auto columns = RuleColumns();
    COutput output(context.out, format, {OutputLayout::Rows, columns}, false);
    output.Note(share == 100 ? CliFormat(CliText::ConsensusEvery, {DecimalText(total), DecimalText(rules.size())})
                             : CliFormat(CliText::ConsensusShare, {DecimalText(total), DecimalText(rules.size()),
                                                                   args.Value("--min-share").value_or("")}));
    std::array<std::string, columns.size()> cells;
    std::uint64_t number = 0;
    for (const ChecksumRuleCount& count : rules) {
        const ChecksumRule& rule = count.rule;
        cells[RULE_NUMBER] = DecimalText(++number);
        cells[RULE_TEXT] = ChecksumRuleText(rule);
        cells[RULE_METHOD] = ChecksumMethodName(rule.method);
        cells[RULE_START] = DecimalText(rule.start);
        cells[RULE_END] = DecimalText(rule.end);
        cells[RULE_END_FROM] = rule.endFrom == RuleEnd::FromLast ? "last" : "first";
        cells[RULE_FRAMES] = DecimalText(count.frames);
        cells[RULE_SHARE] = ShareText(count.frames, total);
        output.Row(cells);
    }
    output.Finish();
    return context.status;
}

} // namespace

int RunChecksum(const CCommandLine& args, CliContext& context)
{
    const std::vector<ChecksumMethod> methods = ReadMethods(args);
    const std::size_t minLength = args.Number("--min-length", 1, MAX_SEARCH_BYTES, 1);
    if (args.Has("--consensus"))
        return ListRules(args, context, methods, minLength);
    if (args.Has("--min-share"))
        throw CUsageError(CliTextOf(CliText::ShareWithoutConsensus));
    return ListRows(args, context, methods, minLength);
}
