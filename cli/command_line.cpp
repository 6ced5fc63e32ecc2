#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

namespace {

// "-1", "-.5": a negative number is an argument, not an option.
bool LooksLikeOption(std::string_view arg)
{
    if (arg.size() < 2 || arg[0] != '-')
        return false;
    return !(arg[1] == '.' || (arg[1] >= '0' && arg[1] <= '9'));
}

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool SameName(std::string_view typed, std::string_view name)
{
    return typed.size() == name.size() &&
           std::equal(typed.begin(), typed.end(), name.begin(), [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

CCommandLine::CCommandLine(std::span<const std::string> args, std::span<const CliOption> options)
{
    bool optionsEnded = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (optionsEnded || !LooksLikeOption(arg)) {
            m_items.push_back({"", arg});
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const CliOption& o) { return name == o.name; });
        if (option == options.end())
            throw CUsageError(CliFormat(CliText::UnknownOption, {name}));
        if (!option->TakesValue()) {
            if (equals != std::string::npos)
                throw CUsageError(CliFormat(CliText::OptionWithoutValue, {name}));
            m_items.push_back({name, ""});
        } else if (equals != std::string::npos) {
            m_items.push_back({name, arg.substr(equals + 1)});
        } else if (k + 1 < args.size()) {
            m_items.push_back({name, args[++k]});
        } else {
            throw CUsageError(CliFormat(CliText::OptionNeedsValue, {name}));
        }
    }
}

bool CCommandLine::Has(std::string_view name) const
{
    return std::any_of(m_items.begin(), m_items.end(), [&](const Item& item) { return item.name == name; });
}

std::optional<std::string> CCommandLine::Value(std::string_view name) const
{
    for (auto item = m_items.rbegin(); item != m_items.rend(); ++item)
        if (item->name == name)
            return item->value;
    return std::nullopt;
}

std::uint64_t CCommandLine::Number(std::string_view name, std::uint64_t low, std::uint64_t high,
                                   std::uint64_t fallback) const
{
    const std::optional<std::string> text = Value(name);
    if (!text)
        return fallback;
    std::uint64_t value = 0;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || value < low || value > high)
        throw CUsageError(CliFormat(CliText::OptionNotWhole, {name, std::to_string(low), std::to_string(high), *text}));
    return value;
}
