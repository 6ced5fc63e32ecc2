#pragma once
// The input of a subcommand: frames (or numbers) as arguments, or one per line from files and
// standard input, numbered across all of them in order; refused lines reported on standard error
// as "第 N 行: <message>".

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_context.h"
#include "cli/command_line.h"
#include "common/hex_input_profile.h"

/// The options every frame-reading subcommand takes.
std::span<const CliOption> FrameInputOptions();
/// The options every subcommand reading lines (not frames) takes.
std::span<const CliOption> LineInputOptions();

/// --min-share of a subcommand over many frames: a percentage above 0 and at most 100, or
/// `byDefault` when not given; anything else is a usage error.
double ReadSharePercent(const CCommandLine& args, double byDefault);

/// The characters of a UTF-8 line as the window's boxes see them: one narrow character per
/// character, "?" for one outside Latin-1 and for each byte that is no valid UTF-8.
std::string CharactersOf(std::string_view utf8);

struct InputLine {
    std::uint64_t number = 0;
    std::string text;                       // narrow characters (CharactersOf), without the line end
    const std::string* argument = nullptr;  // the command-line argument it is, if it is one
};

class CLineInput {
public:
    /// Sources: the positional arguments ("-" is standard input) and --file values, in order;
    /// standard input when there is none. With `joinBytes`, arguments that are each one byte
    /// ("01 03 00 0A" typed without quotes) are one input, at the place of the first.
    CLineInput(const CCommandLine& args, CliContext& context, bool joinBytes = false);
    ~CLineInput();
    CLineInput(const CLineInput&) = delete;
    CLineInput& operator=(const CLineInput&) = delete;

    /// The next line; false after the last.
    bool Next(InputLine& line);
    /// Refuses a line: "第 N 行: <message>" on standard error, exit status 1. An argument that
    /// names a file gets a hint: files are read with --file.
    void Refuse(const InputLine& line, std::string_view message);
    /// More than one input is possible: one frame argument alone is the only case without.
    bool Several() const { return m_several; }

private:
    struct Source {
        bool literal;       // a positional argument
        std::string value;  // the argument, or the file ("-" for standard input)
    };
    bool OpenNext();

    CliContext& m_context;
    std::vector<Source> m_sources;
    std::size_t m_next = 0;
    std::FILE* m_file = nullptr;
    bool m_firstLine = false;
    bool m_several = false;
    std::uint64_t m_number = 0;
    char* m_buffer = nullptr;
    std::size_t m_capacity = 0;
};

struct CliFrame {
    std::uint64_t line = 0;
    std::vector<std::uint8_t> bytes;
};

class CFrameInput {
public:
    /// Frames by the window's hex grammar and the profile's messages; --limit raises the limit,
    /// --extract takes the frame out of a log line (a line without one is refused). Arguments
    /// that are each one byte are one frame. `noDataText` refuses a line without bytes.
    CFrameInput(const CCommandLine& args, const HexInputProfile& profile, const char* noDataText, CliContext& context);

    /// The next accepted frame; refused lines are reported and passed over.
    bool Next(CliFrame& frame);
    std::size_t Limit() const { return m_buffer.size(); }
    bool Several() const { return m_lines.Several(); }

private:
    CLineInput m_lines;
    const HexInputProfile& m_profile;
    const char* m_noDataText;
    bool m_extract;
    std::vector<std::uint8_t> m_buffer;
};
