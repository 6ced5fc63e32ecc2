// convert: the data conversion page, a number to its bytes or bytes to the number.

#include <array>
#include <string>

#include "cli/cli_commands.h"
#include "cli/command_line.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/hex_input_profile.h"
#include "convert/number_conversion.h"
#include "convert/number_text.h"

namespace {

constexpr const char* TYPE_NAMES[NUMBER_TYPE_COUNT] = {"short", "ushort", "long", "ulong", "float", "double"};


NumberType ReadType(const CCommandLine& args)
{
    const std::optional<std::string> name = args.Value("--type");
    if (!name)
        throw CUsageError(CliTextOf(CliText::MissingType));
    for (int type = 0; type < NUMBER_TYPE_COUNT; ++type)
        if (SameName(*name, TYPE_NAMES[type]))
            return static_cast<NumberType>(type);
    throw CUsageError(CliFormat(CliText::UnknownType, {*name}));
}

} // namespace

int RunConvert(const CCommandLine& args, CliContext& context)
{
    const NumberType type = ReadType(args);
    const bool fromBytes = args.Has("--bytes");
    const OutputFormat format = ReadOutputFormat(args);
    CLineInput input(args, context, fromBytes);
    const OutputColumn columns[] = {{CliTextOf(CliText::ColumnNumberBox), "number"}, {CliTextOf(CliText::ColumnArray), "array"}};
    const OutputShape shape{OutputLayout::FrameFields, columns, CliText::ColumnInput, "input"};
    COutput output(context.out, format, shape, input.Several());

    InputLine line;
    std::array<std::string, 2> cells;  // the number box and the array box afterwards
    while (input.Next(line)) {
        if (fromBytes) {
            // The array box: the hex grammar with its limit of 8 and its own texts.
            std::array<std::uint8_t, 8> bytes{};
            std::size_t count = 0;
            const HexParseResult result = ParseHexText(line.text, bytes, count);
            if (result != HexParseResult::Ok || count == 0) {
                const char* text = HexErrorText(HEX_PROFILE_CONVERSION, result);
                input.Refuse(line, text ? text : ARRAY_MISSING_TEXT);
                continue;
            }
            cells = {ConvertArrayToNumber(bytes, type), line.text};
        } else {
            // The number box refuses a text it would have emptied.
            if (line.text.empty()) {
                input.Refuse(line, NUMBER_MISSING_TEXT);
                continue;
            }
            if (const char* text = NumberCheckText(CheckNumberText(line.text))) {
                input.Refuse(line, text);
                continue;
            }
            const NumberConversion conversion = ConvertNumberToArray(line.text, type);
            cells = {conversion.numberText, conversion.arrayText};
        }
        // The number written back into the box meets the same check: a value the box refuses
        // (infinity, for one) leaves it empty with the message, and the array as it is.
        const char* refused = NumberCheckText(CheckNumberText(cells[0]));
        if (refused)
            cells[0].clear();
        output.BeginFrame(line.number, line.text);
        output.Row(cells);
        output.EndFrame();
        if (refused)
            input.Refuse(line, refused);
    }
    output.Finish();
    return context.status;
}
