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

// The string formatting page has no message of its own for an empty frame; its views stay empty.
constexpr char NO_FRAME_TEXT[] = "请输入数据";

const OutputColumn PDU_COLUMNS[] = {{"PDU解析", "pdu"}};

const OutputColumn RENDER_COLUMNS[] = {
    {"ASCII解析", "ascii"},
    {"UNICODE解析(FF1FF2)", "unicode_ff1ff2"},
    {"UNICODE解析(FF2FF1)", "unicode_ff2ff1"},
    {"10进制数据", "decimal"},
    {"BCD解析(16进制表示)", "bcd"},
    {"3X3X转换", "3x3x"},
};

// Each frame as one record; `views` gives its cells (narrow GBK texts) in column order.
template <std::size_t N, typename Views>
int ShowViews(const CCommandLine& args, CliContext& context, const OutputColumn (&columns)[N], Views views)
{
    const OutputFormat format = ReadOutputFormat(args);
    CFrameInput input(args, HEX_PROFILE_STRING_FORMAT, NO_FRAME_TEXT, context);
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
        throw CUsageError("--send 与 --receive 只能选一个");
    const int direction = args.Has("--receive") ? PDU_DIRECTION_RECEIVE : PDU_DIRECTION_SEND;
    return ShowViews(args, context, PDU_COLUMNS, [&](std::span<const std::uint8_t> frame) {
        // The page decodes its box's normal form without the blanks.
        std::string text = FormatHexBytes(frame);
        std::erase(text, ' ');
        return std::array<std::string, 1>{DecodePdu(text, direction)};
    });
}

int RunRender(const CCommandLine& args, CliContext& context)
{
    return ShowViews(args, context, RENDER_COLUMNS, [](std::span<const std::uint8_t> frame) {
        return std::array<std::string, 6>{RenderAscii(frame),   RenderUnicode(frame, BYTE_ORDER_HIGH_FIRST),
                                          RenderUnicode(frame, BYTE_ORDER_LOW_FIRST), RenderDecimal(frame),
                                          RenderBcd(frame),     Render3x3x(frame)};
    });
}
