#include "format/selection_mirror.h"

#include <algorithm>

std::optional<TextRange> HexSelectionToAscii(std::size_t start, std::string_view selected)
{
    const auto blankAt = [&](std::size_t i) { return i < selected.size() && selected[i] == ' '; };
    // A blank second (or second-to-last) character means the selection begins (or ends) on a
    // byte's last digit rather than inside the pair.
    if (blankAt(1) || (selected.size() >= 2 && blankAt(selected.size() - 2)))
        return std::nullopt;
    const auto digits = static_cast<std::size_t>(std::count_if(selected.begin(), selected.end(),
                                                                [](char c) { return c != ' '; }));
    return TextRange{start / 3, start / 3 + digits / 2};
}

TextRange AsciiSelectionToHex(TextRange selection)
{
    return TextRange{3 * selection.start, 3 * selection.end};
}
