#include "common/text_language.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<TextLanguage> g_language{TextLanguage::Chinese};

bool SameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const char x = (a[k] >= 'A' && a[k] <= 'Z') ? static_cast<char>(a[k] - 'A' + 'a') : a[k];
        if (x != b[k])
            return false;
    }
    return true;
}

} // namespace

TextLanguage CurrentTextLanguage()
{
    return g_language.load(std::memory_order_relaxed);
}

void SetTextLanguage(TextLanguage language)
{
    g_language.store(language, std::memory_order_relaxed);
}

TextLanguage LanguageOfLocale(std::string_view locale)
{
    // language[_territory][.codeset][@modifier]
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    return SameLetters(language, "en") ? TextLanguage::English : TextLanguage::Chinese;
}

TextLanguage LanguageFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LanguageOfLocale(value);
    }
    return TextLanguage::Chinese;
}

std::optional<TextLanguage> LanguageNamed(std::string_view name)
{
    if (SameLetters(name, "en"))
        return TextLanguage::English;
    if (SameLetters(name, "zh"))
        return TextLanguage::Chinese;
    return std::nullopt;
}
