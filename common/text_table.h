#pragma once
// How core and the command line keep their texts in several languages (README, Development: "How
// to add a language"). A module lists its texts once, as X(Id, "中文") lines of a macro: the id,
// and the Chinese text, which is the source text as a tr() string is in the window. The macro
// makes the module's enum of ids and its Chinese table. Every further language is a table of
// {Id, "text"} in the module's .cpp, in the order of the list, checked complete at compile time.
// A text is looked up when it is used, in CurrentTextLanguage(): the window may switch language
// while it runs, so no text is kept in a static. Texts are UTF-8 and whole sentences; "%1", "%2" …
// stand for arguments (SubstituteText), or printf conversions where a module formats with printf;
// a translation keeps the original's placeholders.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text_language.h"

#define VELMORRA_TEXT_ID(id, text) id,
#define VELMORRA_TEXT_SOURCE(id, text) text,
#define VELMORRA_TEXT_ONE(id, text) +1

// One text of a translation table.
template <typename Id>
struct TextEntry {
    Id id;
    const char* text;
};

/// Whether a translation table holds every one of `count` ids once, in the order of the enum.
template <typename Id, std::size_t N>
constexpr bool IsCompleteTable(const TextEntry<Id> (&table)[N], std::size_t count)
{
    if (N != count)
        return false;
    for (std::size_t k = 0; k < N; ++k)
        if (static_cast<std::size_t>(table[k].id) != k || table[k].text == nullptr)
            return false;
    return true;
}

/// The text of `id` in `language`, from the module's tables; "" for an id out of range.
template <typename Id, std::size_t N>
const char* PickText(Id id, TextLanguage language, const char* const (&chinese)[N], const TextEntry<Id> (&english)[N])
{
    const auto index = static_cast<std::size_t>(id);
    if (index >= N)
        return "";
    switch (language) {
    case TextLanguage::English: return english[index].text;
    case TextLanguage::Chinese: break;
    }
    return chinese[index];
}

/// The pattern with "%1" … "%9" replaced by the arguments in order, and "{1:byte|bytes}" by the
/// first word when argument 1 is "1" (or "+1", "-1"), else the second: English counts need it,
/// Chinese ones do not. Any other '%' or '{' stays.
std::string SubstituteText(std::string_view pattern, std::initializer_list<std::string_view> args);
