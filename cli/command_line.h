#pragma once
// The arguments of one subcommand: long options (--name, --name VALUE, --name=VALUE) anywhere
// among the positional arguments, "--" ending the options.

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_texts.h"

struct CliOption {
    const char* name;    // "--method"
    CliText valueName;   // "方法" for an option that takes a value, CliText::None for a flag
    CliText help;        // one line for --help

    bool TakesValue() const { return valueName != CliText::None; }
};

// A wrong command line: the message, and the subcommand whose help shows the right one.
class CUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Names of types and methods on the command line: "crc16", "Float" and "FLOAT" alike (ASCII case).
bool SameName(std::string_view typed, std::string_view name);

class CCommandLine {
public:
    /// Parses `args` against `options`; throws CUsageError for an unknown option or a missing value.
    CCommandLine(std::span<const std::string> args, std::span<const CliOption> options);

    bool Has(std::string_view name) const;
    /// The last value given for the option.
    std::optional<std::string> Value(std::string_view name) const;
    /// The value as a whole number in [low, high], or `fallback` when the option is absent.
    std::uint64_t Number(std::string_view name, std::uint64_t low, std::uint64_t high, std::uint64_t fallback) const;

    // Positional arguments and the values of options, in command-line order: an input source is
    // a positional argument (name empty) or a --file value.
    struct Item {
        std::string name;
        std::string value;
    };
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
