#include "cli/cli_commands.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/text_language.h"
#include "common/version.h"

namespace {

constexpr char PROGRAM[] = "velmorra-cli";

const CliOption HELP_OPTION{"--help", CliText::None, CliText::OptionHelp};
const CliOption LANG_OPTION{"--lang", CliText::ValueLanguage, CliText::OptionLanguage};

const CliOption CHECKSUM_OPTIONS[] = {
    {"--method", CliText::ValueMethod, CliText::OptionMethod},
    {"--min-length", CliText::ValueCount, CliText::OptionMinLength},
    {"--consensus", CliText::None, CliText::OptionConsensus},
    {"--min-share", CliText::ValueShare, CliText::OptionConsensusShare},
};

const CliOption PDU_OPTIONS[] = {
    {"--send", CliText::None, CliText::OptionSend},
    {"--receive", CliText::None, CliText::OptionReceive},
    {"--full", CliText::None, CliText::OptionFull},
    {"--join", CliText::None, CliText::OptionJoin},
};

const CliOption CONVERT_OPTIONS[] = {
    {"--type", CliText::ValueType, CliText::OptionType},
    {"--bytes", CliText::None, CliText::OptionBytes},
};

const CliOption DECODE_OPTIONS[] = {
    {"--vars", CliText::ValueVariables, CliText::OptionVariables},
    {"--region", CliText::ValueRegion, CliText::OptionRegion},
    {"--order", CliText::ValueOrders, CliText::OptionOrders},
};

const CliOption FIND_OPTIONS[] = {
    {"--value", CliText::ValueReading, CliText::OptionReading},
    {"--tolerance", CliText::ValueTolerance, CliText::OptionTolerance},
    {"--scales", CliText::ValueScales, CliText::OptionScales},
};

const CliOption IDENTIFY_OPTIONS[] = {
    {"--min-share", CliText::ValueShare, CliText::OptionIdentifyShare},
    {"--top", CliText::ValueCount, CliText::OptionTop},
};

const CliCommand COMMANDS[] = {
    {"checksum", CliText::ChecksumSynopsis, CliText::ChecksumSummary, CliText::ChecksumDescription, CHECKSUM_OPTIONS,
     FRAME_INPUT | OUTPUT, RunChecksum},
    {"pdu", CliText::PduSynopsis, CliText::PduSummary, CliText::PduDescription, PDU_OPTIONS, FRAME_INPUT | OUTPUT,
     RunPduCommand},
    {"render", CliText::RenderSynopsis, CliText::RenderSummary, CliText::RenderDescription, {}, FRAME_INPUT | OUTPUT,
     RunRender},
    {"convert", CliText::ConvertSynopsis, CliText::ConvertSummary, CliText::ConvertDescription, CONVERT_OPTIONS,
     LINE_INPUT | OUTPUT, RunConvert},
    {"decode", CliText::DecodeSynopsis, CliText::DecodeSummary, CliText::DecodeDescription, DECODE_OPTIONS,
     FRAME_INPUT | OUTPUT, RunDecode},
    {"find", CliText::FindSynopsis, CliText::FindSummary, CliText::FindDescription, FIND_OPTIONS, FRAME_INPUT | OUTPUT,
     RunFind},
    {"identify", CliText::IdentifySynopsis, CliText::IdentifySummary, CliText::IdentifyDescription, IDENTIFY_OPTIONS,
     FRAME_INPUT | OUTPUT, RunIdentify},
};

void Print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

// "  name  help" lines, the help texts aligned.
void PrintList(std::FILE* out, const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::size_t width = 0;
    for (const auto& [name, help] : entries)
        width = std::max(width, DisplayWidth(name));
    for (const auto& [name, help] : entries)
        Print(out, "  " + name + std::string(width + 2 - DisplayWidth(name), ' ') + help + "\n");
}

// An option as the help lists it: "--method 方法".
std::string OptionSynopsis(const CliOption& option)
{
    return option.TakesValue() ? std::string(option.name) + " " + CliTextOf(option.valueName) : option.name;
}

void PrintProgramHelp(std::FILE* out)
{
    Print(out, CliFormat(CliText::ProgramTitle, {PROGRAM, VELMORRA_VERSION}) + "\n\n" +
                   CliFormat(CliText::ProgramUsage, {PROGRAM}) + "\n\n" + CliTextOf(CliText::ProgramSubcommands) + "\n");
    std::vector<std::pair<std::string, std::string>> entries;
    for (const CliCommand& command : COMMANDS)
        entries.emplace_back(command.name, CliTextOf(command.summary));
    PrintList(out, entries);
    Print(out, std::string("\n") + CliTextOf(CliText::ProgramOptions) + "\n");
    PrintList(out, {{OptionSynopsis(LANG_OPTION), CliTextOf(LANG_OPTION.help)}});
    Print(out, "\n");
    Print(out, CliFormat(CliText::ProgramFooter, {PROGRAM}) + "\n");
}

void PrintCommandHelp(std::FILE* out, const CliCommand& command)
{
    Print(out, CliFormat(CliText::CommandUsage, {PROGRAM, command.name, CliTextOf(command.synopsis)}) + "\n\n" +
                   CliTextOf(command.description) + "\n\n");
    if (command.groups & FRAME_INPUT)
        Print(out, std::string(CliTextOf(CliText::CommandFrameInput)) + "\n\n");
    else if (command.groups & LINE_INPUT)
        Print(out, std::string(CliTextOf(CliText::CommandLineInput)) + "\n\n");
    Print(out, std::string(CliTextOf(CliText::CommandOptions)) + "\n");
    std::vector<std::pair<std::string, std::string>> entries;
    for (const CliOption& option : CliOptionsOf(command))
        entries.emplace_back(OptionSynopsis(option), CliTextOf(option.help));
    PrintList(out, entries);
}

// The language --lang names, wherever it stands before a "--" (the last one counts); nothing
// when none does.
std::optional<std::string> LanguageOption(std::span<const std::string> args)
{
    std::optional<std::string> name;
    for (std::size_t k = 0; k < args.size() && args[k] != "--"; ++k) {
        if (args[k] == LANG_OPTION.name && k + 1 < args.size())
            name = args[++k];
        else if (args[k].starts_with(std::string(LANG_OPTION.name) + "="))
            name = args[k].substr(std::strlen(LANG_OPTION.name) + 1);
    }
    return name;
}

// Sets the language for as long as it lives, and puts the one before back.
class CLanguageScope {
public:
    CLanguageScope()
        : m_before(CurrentTextLanguage())
    {
    }
    ~CLanguageScope() { SetTextLanguage(m_before); }
    CLanguageScope(const CLanguageScope&) = delete;
    CLanguageScope& operator=(const CLanguageScope&) = delete;

private:
    TextLanguage m_before;
};

} // namespace

std::span<const CliCommand> CliCommands()
{
    return COMMANDS;
}

std::vector<CliOption> CliOptionsOf(const CliCommand& command)
{
    std::vector<CliOption> options(command.options.begin(), command.options.end());
    if (command.groups & FRAME_INPUT)
        options.insert(options.end(), FrameInputOptions().begin(), FrameInputOptions().end());
    if (command.groups & LINE_INPUT)
        options.insert(options.end(), LineInputOptions().begin(), LineInputOptions().end());
    if (command.groups & OUTPUT)
        options.insert(options.end(), OutputOptions().begin(), OutputOptions().end());
    options.push_back(LANG_OPTION);
    options.push_back(HELP_OPTION);
    return options;
}

int RunCli(std::span<const std::string> args, CliContext& context)
{
    const CLanguageScope scope;
    if (const std::optional<std::string> name = LanguageOption(args)) {
        const std::optional<TextLanguage> language = LanguageNamed(*name);
        if (!language) {
            Print(context.err, CliFormat(CliText::UnknownLanguage, {PROGRAM, *name}) + "\n");
            return EXIT_USAGE;
        }
        SetTextLanguage(*language);
    }
    // --lang before the subcommand is the program's option; after it, the subcommand's.
    while (!args.empty() && (args[0] == LANG_OPTION.name || args[0].starts_with(std::string(LANG_OPTION.name) + "="))) {
        if (args[0] == LANG_OPTION.name && args.size() < 2) {
            Print(context.err, std::string(PROGRAM) + ": " + CliFormat(CliText::OptionNeedsValue, {LANG_OPTION.name}) + "\n");
            return EXIT_USAGE;
        }
        args = args.subspan(args[0] == LANG_OPTION.name ? 2 : 1);
    }
    if (args.empty()) {
        PrintProgramHelp(context.err);
        return EXIT_USAGE;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintProgramHelp(context.out);
        return EXIT_ALL_READ;
    }
    if (args[0] == "--version") {
        Print(context.out, std::string(PROGRAM) + " " + VELMORRA_VERSION + "\n");
        return EXIT_ALL_READ;
    }
    const auto command = std::find_if(std::begin(COMMANDS), std::end(COMMANDS),
                                      [&](const CliCommand& c) { return args[0] == c.name; });
    if (command == std::end(COMMANDS)) {
        Print(context.err, CliFormat(CliText::UnknownSubcommand, {PROGRAM, args[0]}) + "\n");
        return EXIT_USAGE;
    }
    try {
        const std::vector<CliOption> options = CliOptionsOf(*command);
        const CCommandLine commandLine(args.subspan(1), options);
        if (commandLine.Has(HELP_OPTION.name)) {
            PrintCommandHelp(context.out, *command);
            return EXIT_ALL_READ;
        }
        context.Raise(command->run(commandLine, context));
    } catch (const CUsageError& error) {
        std::fflush(context.out);
        Print(context.err, CliFormat(CliText::UsageError, {PROGRAM, command->name, error.what()}) + "\n");
        return EXIT_USAGE;
    }
    return context.status;
}
