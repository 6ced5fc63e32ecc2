#pragma once
// The output of every subcommand in one of three formats: aligned text columns for people, CSV
// (RFC 4180) and JSON for programs. Written as it comes, so output never waits for the input's end.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

enum class OutputFormat { Text, Csv, Json };

enum class OutputLayout {
    Rows,         // one table, in text aligned to its widest cells at Finish; JSON: an object per row
    FrameRows,    // a table per frame; CSV rows start with the line; JSON: an object per frame holding its rows
    FrameFields,  // one record per frame; text: a line per field; JSON: an object per frame
};

// Columns are made when a subcommand runs, their titles in the language of the time.
struct OutputColumn {
    const char* title;       // the header in text and CSV (UTF-8)
    const char* key;         // the JSON key
    bool number = false;     // right-aligned in text, a JSON number (a string when the cell is none)
    std::size_t width = 0;   // text: at least this many columns
    bool inText = true;      // shown in the text format (CSV and JSON show every column)
};

struct OutputShape {
    OutputLayout layout;
    std::span<const OutputColumn> columns;
    CliText inputTitle = CliText::ColumnFrame;  // FrameFields: what the input is called in CSV
    const char* inputKey = "frame";
};

/// --format, which every subcommand takes.
std::span<const CliOption> OutputOptions();
/// The format asked for; throws CUsageError for an unknown one.
OutputFormat ReadOutputFormat(const CCommandLine& args);

/// Columns a UTF-8 text takes on a terminal: two for East Asian wide characters.
std::size_t DisplayWidth(std::string_view utf8);

class COutput {
public:
    /// `headings`: text format names each frame's line above it.
    COutput(std::FILE* out, OutputFormat format, const OutputShape& shape, bool headings);

    /// Text format: makes a column at least this wide from now on.
    void Widen(std::size_t column, std::size_t width);
    void BeginFrame(std::uint64_t line, std::string_view input);
    void Row(std::span<const std::string> cells);
    void EndFrame();
    /// A line of its own in the text format; nothing in CSV and JSON.
    void Note(std::string_view text);
    /// Closes the JSON array; call once after the last row.
    void Finish();

private:
    void Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), m_out); }
    void TextHeader();
    void TextCells(std::span<const std::string> cells, bool header);
    void CsvRecord(std::span<const std::string_view> fields);
    void JsonObjectStart();

    std::FILE* m_out;
    OutputFormat m_format;
    OutputShape m_shape;
    bool m_headings;
    std::vector<std::size_t> m_widths;
    std::uint64_t m_line = 0;
    std::string m_input;
    bool m_anyObject = false;    // JSON: an object was written
    bool m_anyRow = false;       // in this frame (or table, for Rows)
    bool m_anyFrame = false;
    std::string m_buffer;
    std::vector<std::vector<std::string>> m_rows;  // text, Rows: kept until Finish
};
