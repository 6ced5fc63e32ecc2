// The whole command line in process: option parsing and every subcommand on fuzzed arguments.
// Whatever the arguments, the exit status is 0, 1 or 2; a usage error writes nothing to standard
// output; JSON output is one valid JSON text in UTF-8 (RFC 8259), CSV output records of as many
// fields as its header (RFC 4180), and text output holds no control character but the line feed.
//
// Input: the arguments (without the program name), separated by '\n'; at most 300 bytes are
// used. Files are not read: "-" and --file are dropped, and standard input is empty.

#include <algorithm>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "fuzz_support.h"

namespace {

// RFC 8259, recursive descent; strings must be UTF-8 without raw control characters.
class CJsonCheck {
public:
    explicit CJsonCheck(std::string_view text)
        : m_text(text)
    {
    }

    bool Document()
    {
        Blank();
        if (!Value())
            return false;
        Blank();
        return m_at == m_text.size();
    }

private:
    int Peek() const { return m_at < m_text.size() ? static_cast<unsigned char>(m_text[m_at]) : -1; }
    bool Take(char c)
    {
        if (Peek() != static_cast<unsigned char>(c))
            return false;
        ++m_at;
        return true;
    }
    void Blank()
    {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')
            ++m_at;
    }
    bool Literal(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }
    std::size_t Digits()
    {
        const std::size_t start = m_at;
        while (Peek() >= '0' && Peek() <= '9')
            ++m_at;
        return m_at - start;
    }
    bool Number()
    {
        Take('-');
        if (Take('0')) {
        } else if (Digits() == 0) {
            return false;
        }
        if (Take('.') && Digits() == 0)
            return false;
        if (Take('e') || Take('E')) {
            Take('+') || Take('-');
            if (Digits() == 0)
                return false;
        }
        return true;
    }
    bool String()
    {
        if (!Take('"'))
            return false;
        for (;;) {
            const int c = Peek();
            if (c < 0x20)  // also the end of the text
                return false;
            ++m_at;
            if (c == '"')
                return true;
            if (c == '\\') {
                const int e = Peek();
                ++m_at;
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k, ++m_at)
                        if (!std::isxdigit(Peek()))
                            return false;
                } else if (std::string_view("\"\\/bfnrt").find(static_cast<char>(e)) == std::string_view::npos || e < 0) {
                    return false;
                }
            } else if (c >= 0x80) {
                // The rest of a well-formed UTF-8 sequence.
                const int more = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
                if (more < 0)
                    return false;
                char32_t code = static_cast<char32_t>(c & (0x3F >> more));
                for (int k = 0; k < more; ++k, ++m_at) {
                    if ((Peek() & 0xC0) != 0x80)
                        return false;
                    code = code << 6 | (Peek() & 0x3F);
                }
                if ((more == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) || (more == 3 && (code < 0x10000 || code > 0x10FFFF)))
                    return false;
            }
        }
    }
    bool Value()
    {
        if (++m_depth > 64)
            return false;
        bool ok = false;
        const int c = Peek();
        if (c == '{') {
            ++m_at;
            Blank();
            ok = Take('}');
            while (!ok) {
                Blank();
                if (!String())
                    break;
                Blank();
                if (!Take(':'))
                    break;
                Blank();
                if (!Value())
                    break;
                Blank();
                if (Take('}'))
                    ok = true;
                else if (!Take(','))
                    break;
            }
        } else if (c == '[') {
            ++m_at;
            Blank();
            ok = Take(']');
            while (!ok) {
                Blank();
                if (!Value())
                    break;
                Blank();
                if (Take(']'))
                    ok = true;
                else if (!Take(','))
                    break;
            }
        } else if (c == '"') {
            ok = String();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            ok = Number();
        } else {
            ok = Literal("true") || Literal("false") || Literal("null");
        }
        --m_depth;
        return ok;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_depth = 0;
};

// RFC 4180 records ended by CR LF: the field count of each, or nothing when the text is no CSV.
std::optional<std::vector<std::size_t>> CsvFieldCounts(std::string_view text)
{
    std::vector<std::size_t> counts;
    std::size_t at = 0, fields = 1;
    while (at < text.size()) {
        if (text[at] == '"') {
            for (++at;; ++at) {
                if (at >= text.size())
                    return std::nullopt;
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"')
                        ++at;
                    else
                        break;
                }
            }
            ++at;
        } else {
            while (at < text.size() && text[at] != ',' && text[at] != '\r' && text[at] != '\n' && text[at] != '"')
                ++at;
        }
        if (at < text.size() && text[at] == ',') {
            ++fields;
            ++at;
        } else if (text.substr(at, 2) == "\r\n") {
            counts.push_back(fields);
            fields = 1;
            at += 2;
        } else {
            return std::nullopt;
        }
    }
    return counts;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A subcommand without input arguments reads standard input: let it find nothing there.
    if (!std::freopen("/dev/null", "r", stdin))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, std::min<std::size_t>(size, 300));
    std::vector<std::string> args;
    while (!input.Empty()) {
        std::string arg(input.TextUntil('\n'));
        if (arg != "-" && !arg.starts_with("--file"))
            args.push_back(std::move(arg));
    }
    std::string shownArgs;
    for (const std::string& arg : args)
        shownArgs += "[" + Shown(arg) + "] ";

    char* outText = nullptr;
    char* errText = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outText, &outSize);
    std::FILE* err = open_memstream(&errText, &errSize);
    CliContext context{out, err};
    const int status = RunCli(args, context);
    std::fclose(out);
    std::fclose(err);
    const std::string output(outText, outSize);
    std::free(outText);
    std::free(errText);

    FUZZ_CHECK(status == EXIT_ALL_READ || status == EXIT_REFUSED || status == EXIT_USAGE, shownArgs);
    if (status == EXIT_USAGE)
        FUZZ_CHECK(output.empty() || args.empty() || args[0] == "--help" || args[0] == "-h", shownArgs + "\n" + output);
    if (args.empty())
        return 0;
    const std::span<const CliCommand> commands = CliCommands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return args[0] == c.name; });
    if (command == commands.end() || status == EXIT_USAGE)
        return 0;

    // The options as the subcommand reads them: parsing succeeded, or the status would be 2.
    const std::vector<CliOption> options = CliOptionsOf(*command);
    const CCommandLine line(std::span(args).subspan(1), options);
    for (const CliOption& option : options) {
        const auto& items = line.Items();
        const auto last = std::find_if(items.rbegin(), items.rend(), [&](const CCommandLine::Item& item) { return item.name == option.name; });
        FUZZ_CHECK(line.Has(option.name) == (last != items.rend()));
        FUZZ_CHECK(line.Value(option.name) == (last != items.rend() ? std::optional(last->value) : std::nullopt));
    }
    if (line.Has("--help"))
        return 0;

    const std::string format = line.Value("--format").value_or("text");
    if (format == "json") {
        FUZZ_CHECK(CJsonCheck(output).Document(), shownArgs + "\n" + Shown(output.substr(0, 2000)));
    } else if (format == "csv") {
        const auto counts = CsvFieldCounts(output);
        FUZZ_CHECK(counts && !counts->empty(), shownArgs + "\n" + Shown(output.substr(0, 2000)));
        FUZZ_CHECK(std::all_of(counts->begin(), counts->end(), [&](std::size_t n) { return n == counts->front(); }),
                   shownArgs + "\n" + Shown(output.substr(0, 2000)));
    } else {
        // A captured byte can neither move a terminal's cursor nor start an escape sequence.
        FUZZ_CHECK(std::none_of(output.begin(), output.end(), [](char c) { return (c >= 0 && c < 0x20 && c != '\n') || c == 0x7F; }),
                   shownArgs + "\n" + Shown(output.substr(0, 2000)));
    }
    return 0;
}
