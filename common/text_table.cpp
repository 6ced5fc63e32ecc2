#include "common/text_table.h"

namespace {

// One of something: "1", "+1" or "-1" (a signed count such as a time zone's quarter hours).
bool IsOne(std::string_view count)
{
    if (!count.empty() && (count[0] == '+' || count[0] == '-'))
        count.remove_prefix(1);
    return count == "1";
}

} // namespace

std::string SubstituteText(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(pattern.size() + 16 * args.size());
    const auto argument = [&](char digit) -> std::string_view {
        const auto index = static_cast<std::size_t>(digit - '1');
        return index < args.size() ? *(args.begin() + index) : std::string_view();
    };
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const bool digitNext = k + 1 < pattern.size() && pattern[k + 1] >= '1' && pattern[k + 1] <= '9';
        if (pattern[k] == '%' && digitNext) {
            out += argument(pattern[k + 1]);
            ++k;
            continue;
        }
        // "{2:part|parts}": the word for the count in argument 2.
        if (pattern[k] == '{' && digitNext && k + 2 < pattern.size() && pattern[k + 2] == ':') {
            const std::size_t bar = pattern.find_first_of("{|}", k + 3);
            const std::size_t close = bar == std::string_view::npos ? bar : pattern.find_first_of("{|}", bar + 1);
            if (close != std::string_view::npos && pattern[bar] == '|' && pattern[close] == '}') {
                out += IsOne(argument(pattern[k + 1])) ? pattern.substr(k + 3, bar - k - 3)
                                                       : pattern.substr(bar + 1, close - bar - 1);
                k = close;
                continue;
            }
        }
        out += pattern[k];
    }
    return out;
}
