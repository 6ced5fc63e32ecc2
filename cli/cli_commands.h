#pragma once
// The subcommands of velmorra-cli, one table: adding a subcommand is one row here and its Run
// function (see README, Development).

#include <span>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/command_line.h"

// Shared options a subcommand takes besides its own.
enum CliOptionGroups : unsigned {
    FRAME_INPUT = 1,  // --file, --extract, --limit: frames by the window's hex grammar
    LINE_INPUT = 2,   // --file: lines of its own kind (numbers, byte arrays)
    OUTPUT = 4,       // --format
};

struct CliCommand {
    const char* name;
    CliText synopsis;      // what follows "velmorra-cli <name>" in the usage line
    CliText summary;       // one line in the list of subcommands
    CliText description;   // the paragraph of its --help
    std::span<const CliOption> options;  // its own options
    unsigned groups;                     // CliOptionGroups
    int (*run)(const CCommandLine& args, CliContext& context);
};

/// Every subcommand, in the order the help lists them.
std::span<const CliCommand> CliCommands();

/// Everything a subcommand accepts: its own options, the shared ones, --lang and --help.
std::vector<CliOption> CliOptionsOf(const CliCommand& command);

/// Runs the whole command line (without the program name) and returns the exit status. Speaks
/// the current text language, or the one `--lang en|zh` names (before or after the subcommand)
/// for the run; the language is as before when it returns.
int RunCli(std::span<const std::string> args, CliContext& context);

// The subcommands, each in its own file.
int RunChecksum(const CCommandLine& args, CliContext& context);
int RunPdu(const CCommandLine& args, CliContext& context);
int RunPduCommand(const CCommandLine& args, CliContext& context);  // --full and --join, else RunPdu
int RunRender(const CCommandLine& args, CliContext& context);
int RunConvert(const CCommandLine& args, CliContext& context);
int RunDecode(const CCommandLine& args, CliContext& context);
int RunFind(const CCommandLine& args, CliContext& context);
int RunIdentify(const CCommandLine& args, CliContext& context);
