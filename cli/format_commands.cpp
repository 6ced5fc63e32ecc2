// pdu and render: the string formatting page's views of each frame.

#include <array>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/code_page.h"
#include "common/hex_text.h"
#include "format/hex_views.h"
#include "format/pdu_decoder.h"

namespace {

std::array<OutputColumn, 1> PduColumns()
{
    return {{{CliTextOf(CliText::ColumnPdu), "pdu"}}};
}

std::array<OutputColumn, 6> RenderColumns()
{
    return {{
        {CliTextOf(CliText::ColumnAscii), "ascii"},
        {CliTextOf(CliText::ColumnUnicodeHighFirst), "unicode_ff1ff2"},
        {CliTextOf(CliText::ColumnUnicodeLowFirst), "unicode_ff2ff1"},
        {CliTextOf(CliText::ColumnDecimal), "decimal"},
        {CliTextOf(CliText::ColumnBcd), "bcd"},
        {CliTextOf(CliText::Column3x3x), "3x3x"},
    }};
}

// Each frame as one record; `views` gives its cells (narrow GBK texts) in column order.
template <std::size_t N, typename Views>
int ShowViews(const CCommandLine& args, CliContext& context, const std::array<OutputColumn, N>& columns, Views views)
{
    const OutputFormat format = ReadOutputFormat(args);
    // The string formatting page has no message of its own for an empty frame; its views stay empty.
    CFrameInput input(args, HEX_PROFILE_STRING_FORMAT, CliTextOf(CliText::NoFrame), context);
    COutput output(context.out, format, {OutputLayout::FrameFields, columns}, input.Several());
    CliFrame frame;
    std::array<std::string, N> cells;
    while (input.Next(frame)) {
        const std::array<std::string, N> narrow = views(frame.bytes);
        for (std::size_t c = 0; c < N; ++c)
            cells[c] = NarrowToUtf8(narrow[c]);
        output.BeginFrame(frame.line, FormatHexBytes(frame.bytes));
        output.Row(cells);
        output.EndFrame();
    }
    output.Finish();
    return context.status;
}

} // namespace

int RunPdu(const CCommandLine& args, CliContext& context)
{
    if (args.Has("--send") && args.Has("--receive"))
        throw CUsageError(CliTextOf(CliText::BothDirections));
    const PduDirection direction = args.Has("--receive") ? PduDirection::Receive : PduDirection::Send;
    return ShowViews(args, context, PduColumns(), [&](std::span<const std::uint8_t> frame) {
        // The page decodes its box's normal form without the blanks.
        std::string text = FormatHexBytes(frame);
        std::erase(text, ' ');
        return std::array<std::string, 1>{DecodePdu(text, direction)};
    });
}

int RunRender(const CCommandLine& args, CliContext& context)
{
    return ShowViews(args, context, RenderColumns(), [](std::span<const std::uint8_t> frame) {
        return std::array<std::string, 6>{RenderAscii(frame),   RenderUnicode(frame, UnicodeByteOrder::HighFirst),
                                          RenderUnicode(frame, UnicodeByteOrder::LowFirst), RenderDecimal(frame),
                                          RenderBcd(frame),     Render3x3x(frame)};
    });
}
