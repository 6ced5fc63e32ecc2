#include "cli/cli_output.h"

#include <algorithm>
#include <cwchar>
#include <locale.h>

#include "common/text_utility.h"

namespace {

const CliOption OUTPUT_OPTIONS[] = {
    {"--format", CliText::ValueFormat, CliText::OptionFormat},
};

// The output is UTF-8 whatever the locale says, and under LC_ALL=C (as in scripts and the tests)
// wcwidth knows only ASCII: the widths come from glibc's built-in C.UTF-8 character table.
locale_t Utf8CharacterTable()
{
    static const locale_t table = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return table;
}

// Text for a terminal: control characters as their pictures (U+2400 on), so a captured byte can
// neither move the cursor nor start an escape sequence. CR LF is one line break, as in the window.
std::string Printable(std::string_view text, bool keepLineBreaks)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (keepLineBreaks && c == '\r' && k + 1 < text.size() && text[k + 1] == '\n')
            continue;
        if ((keepLineBreaks && c == '\n') || (c >= 0x20 && c != 0x7F)) {
            out += static_cast<char>(c);
        } else {
            AppendUtf8Character(out, c == 0x7F ? 0x2421 : 0x2400 + c);
        }
    }
    return out;
}

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    std::size_t plain = 0;  // start of the run of characters that need no escape
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text.substr(plain, k - plain));
        plain = k + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            out += "\\u00";
            out += HEX_DIGITS_LOWER[c >> 4];
            out += HEX_DIGITS_LOWER[c & 0xF];
        }
        }
    }
    out.append(text.substr(plain));
    out += '"';
}

// RFC 8259's number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?. "inf", "nan", "01" and ""
// are no JSON numbers.
bool IsJsonNumber(std::string_view text)
{
    std::size_t k = 0;
    const auto digits = [&] {
        const std::size_t start = k;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9')
            ++k;
        return k - start;
    };
    if (k < text.size() && text[k] == '-')
        ++k;
    const std::size_t first = k;
    const std::size_t integer = digits();
    if (integer == 0 || (integer > 1 && text[first] == '0'))
        return false;
    if (k < text.size() && text[k] == '.') {
        ++k;
        if (digits() == 0)
            return false;
    }
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
        ++k;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            ++k;
        if (digits() == 0)
            return false;
    }
    return k == text.size();
}

} // namespace

std::span<const CliOption> OutputOptions()
{
    return OUTPUT_OPTIONS;
}

OutputFormat ReadOutputFormat(const CCommandLine& args)
{
    const std::string format = args.Value("--format").value_or("text");
    if (format == "text")
        return OutputFormat::Text;
    if (format == "csv")
        return OutputFormat::Csv;
    if (format == "json")
        return OutputFormat::Json;
    throw CUsageError(CliFormat(CliText::UnknownFormat, {format}));
}

std::size_t DisplayWidth(std::string_view utf8)
{
    const locale_t table = Utf8CharacterTable();
    const locale_t caller = table ? uselocale(table) : nullptr;
    std::size_t width = 0;
    for (std::size_t k = 0; k < utf8.size();) {
        const char32_t c = NextUtf8(utf8, k);
        // A byte of no character and a character wcwidth cannot place show as one replacement mark.
        const int columns = c == NO_CHARACTER ? -1 : wcwidth(static_cast<wchar_t>(c));
        width += columns < 0 ? 1 : static_cast<std::size_t>(columns);
    }
    if (table)
        uselocale(caller);
    return width;
}

COutput::COutput(std::FILE* out, OutputFormat format, const OutputShape& shape, bool headings)
    : m_out(out)
    , m_format(format)
    , m_shape(shape)
    , m_headings(headings)
{
    for (const OutputColumn& column : shape.columns)
        m_widths.push_back(std::max(column.width, DisplayWidth(column.title)));
    if (m_format == OutputFormat::Csv) {
        std::vector<std::string_view> titles;
        if (m_shape.layout != OutputLayout::Rows)
            titles.push_back(CliTextOf(CliText::ColumnLine));
        if (m_shape.layout == OutputLayout::FrameFields)
            titles.push_back(CliTextOf(m_shape.inputTitle));
        for (const OutputColumn& column : shape.columns)
            titles.push_back(column.title);
        CsvRecord(titles);
    } else if (m_format == OutputFormat::Json) {
        Write("[");
    }
}

void COutput::Widen(std::size_t column, std::size_t width)
{
    if (column < m_widths.size() && width > m_widths[column])
        m_widths[column] = width;
}

void COutput::TextCells(std::span<const std::string> cells, bool header)
{
    m_buffer.clear();
    std::size_t pending = 0;  // blanks owed before the next cell, so no line ends in blanks
    std::string printable;
    for (std::size_t c = 0; c < cells.size() && c < m_shape.columns.size(); ++c) {
        const OutputColumn& column = m_shape.columns[c];
        if (!column.inText)
            continue;
        // Plain ASCII, the usual cell, is shown as it is and is as wide as it is long.
        std::string_view text = cells[c];
        std::size_t width = text.size();
        if (!std::all_of(text.begin(), text.end(), [](char ch) { return ch >= 0x20 && ch < 0x7F; })) {
            printable = header ? cells[c] : Printable(cells[c], false);
            text = printable;
            width = DisplayWidth(text);
        }
        const std::size_t fill = m_widths[c] > width ? m_widths[c] - width : 0;
        if (column.number)
            pending += fill;
        m_buffer.append(pending, ' ');
        m_buffer += text;
        pending = column.number ? 2 : fill + 2;
    }
    m_buffer += '\n';
    Write(m_buffer);
}

void COutput::TextHeader()
{
    std::vector<std::string> titles;
    for (const OutputColumn& column : m_shape.columns)
        titles.emplace_back(column.title);
    TextCells(titles, true);
}

void COutput::CsvRecord(std::span<const std::string_view> fields)
{
    m_buffer.clear();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k > 0)
            m_buffer += ',';
        const std::string_view field = fields[k];
        if (std::none_of(field.begin(), field.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; })) {
            m_buffer += field;
            continue;
        }
        m_buffer += '"';
        for (char c : field) {
            if (c == '"')
                m_buffer += '"';
            m_buffer += c;
        }
        m_buffer += '"';
    }
    m_buffer += "\r\n";
    Write(m_buffer);
}

void COutput::JsonObjectStart()
{
    Write(m_anyObject ? ",\n" : "\n");
    m_anyObject = true;
}

void COutput::BeginFrame(std::uint64_t line, std::string_view input)
{
    m_line = line;
    m_input.assign(input);
    m_anyRow = false;
    if (m_format == OutputFormat::Text) {
        if (m_anyFrame && (m_headings || m_shape.layout == OutputLayout::FrameRows))
            Write("\n");
        if (m_headings) {
            std::string_view shown = input;
            while (!shown.empty() && shown.back() == ' ')
                shown.remove_suffix(1);
            Write(CliFormat(CliText::FrameHeading, {DecimalText(line), Printable(shown, false)}) + "\n");
        }
        if (m_shape.layout == OutputLayout::FrameRows)
            TextHeader();
    } else if (m_format == OutputFormat::Json && m_shape.layout == OutputLayout::FrameRows) {
        JsonObjectStart();
        m_buffer = "{\"line\": " + DecimalText(line) + ", \"" + m_shape.inputKey + "\": ";
        AppendJsonString(m_buffer, input);
        m_buffer += ", \"rows\": [";
        Write(m_buffer);
    }
    m_anyFrame = true;
}

void COutput::Row(std::span<const std::string> cells)
{
    const std::span<const OutputColumn> columns = m_shape.columns;
    switch (m_format) {
    case OutputFormat::Text:
        if (m_shape.layout == OutputLayout::FrameFields) {
            std::size_t shown = 0, labelWidth = 0;
            for (std::size_t c = 0; c < columns.size(); ++c)
                if (columns[c].inText) {
                    ++shown;
                    labelWidth = std::max(labelWidth, DisplayWidth(columns[c].title));
                }
            for (std::size_t c = 0; c < cells.size() && c < columns.size(); ++c) {
                if (!columns[c].inText)
                    continue;
                // A single field needs no label; the others align, continuation lines too.
                const std::string text = Printable(cells[c], true);
                const std::string indent(shown > 1 ? labelWidth + 2 : 0, ' ');
                m_buffer.clear();
                if (shown > 1) {
                    m_buffer.append(columns[c].title);
                    if (!text.empty())
                        m_buffer.append(labelWidth + 2 - DisplayWidth(columns[c].title), ' ');
                }
                for (char ch : text) {
                    m_buffer += ch;
                    if (ch == '\n')
                        m_buffer += indent;
                }
                m_buffer += '\n';
                Write(m_buffer);
            }
        } else if (m_shape.layout == OutputLayout::Rows) {
            m_rows.emplace_back(cells.begin(), cells.end());
            for (std::size_t c = 0; c < cells.size(); ++c)
                Widen(c, DisplayWidth(Printable(cells[c], false)));
        } else {
            TextCells(cells, false);
        }
        break;
    case OutputFormat::Csv: {
        std::vector<std::string_view> fields;
        const std::string line = DecimalText(m_line);
        if (m_shape.layout != OutputLayout::Rows)
            fields.push_back(line);
        if (m_shape.layout == OutputLayout::FrameFields)
            fields.push_back(m_input);
        fields.insert(fields.end(), cells.begin(), cells.end());
        CsvRecord(fields);
        break;
    }
    case OutputFormat::Json: {
        m_buffer.clear();
        if (m_shape.layout == OutputLayout::FrameRows) {
            m_buffer += m_anyRow ? ",\n  {" : "\n  {";
        } else {
            JsonObjectStart();
            m_buffer += '{';
            if (m_shape.layout == OutputLayout::FrameFields) {
                m_buffer += "\"line\": " + DecimalText(m_line) + ", \"" + m_shape.inputKey + "\": ";
                AppendJsonString(m_buffer, m_input);
                m_buffer += ", ";
            }
        }
        for (std::size_t c = 0; c < cells.size() && c < columns.size(); ++c) {
            if (c > 0)
                m_buffer += ", ";
            AppendJsonString(m_buffer, columns[c].key);
            m_buffer += ": ";
            // A number column's cell is copied only when it is a JSON number: never invalid JSON.
            if (columns[c].number && IsJsonNumber(cells[c]))
                m_buffer += cells[c];
            else
                AppendJsonString(m_buffer, cells[c]);
        }
        m_buffer += '}';
        Write(m_buffer);
        break;
    }
    }
    m_anyRow = true;
}

void COutput::EndFrame()
{
    if (m_format == OutputFormat::Json && m_shape.layout == OutputLayout::FrameRows)
        Write(m_anyRow ? "\n]}" : "]}");
}

void COutput::Note(std::string_view text)
{
    if (m_format == OutputFormat::Text) {
        Write(Printable(text, true));
        Write("\n");
    }
}

void COutput::Finish()
{
    if (m_format == OutputFormat::Text && !m_rows.empty()) {
        TextHeader();
        for (const std::vector<std::string>& row : m_rows)
            TextCells(row, false);
        m_rows.clear();
    }
    if (m_format == OutputFormat::Json)
        Write(m_anyObject ? "\n]\n" : "]\n");
    std::fflush(m_out);
}
