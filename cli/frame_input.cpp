#include "cli/frame_input.h"

#include <cerrno>
#include <charconv>
#include <optional>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "checksum/checksum_search.h"
#include "common/capture_notation.h"
#include "common/text_utility.h"

namespace {

const CliOption FILE_OPTION{"--file", CliText::ValueFile, CliText::OptionFile};

const CliOption FRAME_OPTIONS[] = {
    FILE_OPTION,
    {"--extract", CliText::None, CliText::OptionExtract},
    {"--limit", CliText::ValueCount, CliText::OptionLimit},
};

void Print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

// One byte as an argument: two hex digits, blanks aside.
bool IsOneByte(std::string_view text)
{
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    return digits.size() == 2 && HexDigitValue(digits[0]) >= 0 && HexDigitValue(digits[1]) >= 0;
}

} // namespace

double ReadSharePercent(const CCommandLine& args, double byDefault)
{
    const std::optional<std::string> text = args.Value("--min-share");
    if (!text)
        return byDefault;
    double share = 0;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, share);
    if (result.ec != std::errc() || result.ptr != end || !(share > 0 && share <= 100))
        throw CUsageError(CliFormat(CliText::ShareRange, {*text}));
    return share;
}

std::span<const CliOption> FrameInputOptions()
{
    return FRAME_OPTIONS;
}

std::span<const CliOption> LineInputOptions()
{
    return {&FILE_OPTION, 1};
}

std::string CharactersOf(std::string_view utf8)
{
    std::string chars;
    chars.reserve(utf8.size());
    for (std::size_t k = 0; k < utf8.size();) {
        const char32_t c = NextUtf8(utf8, k);  // NO_CHARACTER too is beyond 0xFF
        chars += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return chars;
}

CLineInput::CLineInput(const CCommandLine& args, CliContext& context, bool joinBytes)
    : m_context(context)
{
    std::size_t literals = 0;
    bool allBytes = true;
    for (const CCommandLine::Item& item : args.Items()) {
        if (item.name.empty() && item.value != "-") {
            m_sources.push_back({true, item.value});
            ++literals;
            allBytes = allBytes && IsOneByte(item.value);
        } else if (item.name.empty() || item.name == FILE_OPTION.name) {
            m_sources.push_back({false, item.value});
        }
    }
    if (joinBytes && literals > 1 && allBytes) {
        // "checksum 01 03 00 00 00 0A C5 CD": the shell split one frame into its bytes.
        std::vector<Source> sources;
        std::size_t frame = SIZE_MAX;
        for (Source& source : m_sources) {
            if (source.literal && frame != SIZE_MAX) {
                sources[frame].value += " " + source.value;
                continue;
            }
            if (source.literal)
                frame = sources.size();
            sources.push_back(std::move(source));
        }
        m_sources = std::move(sources);
        literals = 1;
    }
    if (m_sources.empty())
        m_sources.push_back({false, "-"});
    m_several = literals < m_sources.size() || literals > 1;
}

CLineInput::~CLineInput()
{
    if (m_file && m_file != stdin)
        std::fclose(m_file);
    std::free(m_buffer);
}

bool CLineInput::OpenNext()
{
    while (m_next < m_sources.size()) {
        const Source& source = m_sources[m_next];
        if (source.literal)
            return true;
        m_file = source.value == "-" ? stdin : std::fopen(source.value.c_str(), "rb");
        if (m_file) {
            m_firstLine = true;
            return true;
        }
        Print(m_context.err, CliFormat(CliText::CannotRead, {source.value, std::strerror(errno)}) + "\n");
        m_context.Raise(EXIT_USAGE);
        ++m_next;
    }
    return false;
}

bool CLineInput::Next(InputLine& line)
{
    for (;;) {
        if (!m_file && !OpenNext())
            return false;
        if (!m_file) {
            line.number = ++m_number;
            line.argument = &m_sources[m_next++].value;
            line.text = CharactersOf(*line.argument);
            return true;
        }
        const ssize_t length = getline(&m_buffer, &m_capacity, m_file);
        if (length < 0) {
            if (std::ferror(m_file)) {
                Print(m_context.err, CliFormat(CliText::CannotRead, {m_sources[m_next].value, std::strerror(errno)}) + "\n");
                m_context.Raise(EXIT_USAGE);
            }
            if (m_file != stdin)
                std::fclose(m_file);
            m_file = nullptr;
            ++m_next;
            continue;
        }
        std::string_view text(m_buffer, static_cast<std::size_t>(length));
        if (!text.empty() && text.back() == '\n')
            text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (m_firstLine && text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);  // the byte order mark an editor may put first
        m_firstLine = false;
        line.number = ++m_number;
        line.text = CharactersOf(text);
        line.argument = nullptr;
        return true;
    }
}

void CLineInput::Refuse(const InputLine& line, std::string_view message)
{
    Print(m_context.err, CliFormat(CliText::RefusedLine, {std::to_string(line.number), message}) + "\n");
    struct stat status;
    if (line.argument && stat(line.argument->c_str(), &status) == 0 && S_ISREG(status.st_mode))
        Print(m_context.err, CliFormat(CliText::ArgumentIsFile, {*line.argument}) + "\n");
    m_context.Raise(EXIT_REFUSED);
}

CFrameInput::CFrameInput(const CCommandLine& args, const HexInputProfile& profile, const char* noDataText,
                         CliContext& context)
    : m_lines(args, context, true)
    , m_profile(profile)
    , m_noDataText(noDataText)
    , m_extract(args.Has("--extract"))
    , m_buffer(args.Number("--limit", 1, MAX_SEARCH_BYTES, profile.limit))
{
}

bool CFrameInput::Next(CliFrame& frame)
{
    InputLine line;
    while (m_lines.Next(line)) {
        if (m_extract) {
            line.text = ExtractLogFrame(line.text);
            if (line.text.empty()) {
                m_lines.Refuse(line, CaptureTextOf(CaptureText::NoHexData));
                continue;
            }
        }
        std::size_t count = 0;
        const HexParseResult result = ParseHexText(line.text, m_buffer, count);
        if (result == HexParseResult::Ok && count > 0) {
            frame.line = line.number;
            frame.bytes.assign(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
            return true;
        }
        if (result == HexParseResult::Ok || result == HexParseResult::Empty)
            m_lines.Refuse(line, m_noDataText);
        else
            m_lines.Refuse(line, HexErrorText(m_profile, result, m_buffer.size()));
    }
    return false;
}
