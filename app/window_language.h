#pragma once
// The window's language: chosen at start from `--lang`, the choice made in the menu at an earlier
// run, or the locale; applied to core's texts and to the window's at once.

#include <optional>

#include "common/text_language.h"

class QString;

/// The language a start asks for: `asked` (from `--lang`) if given, else the menu's remembered
/// choice, else the locale's (English for an English locale, Chinese for every other one).
TextLanguage StartUpLanguage(std::optional<TextLanguage> asked);

/// The choice made in the menu, kept for the next runs; nothing while the user has made none.
std::optional<TextLanguage> RememberedLanguage();
void RememberLanguage(TextLanguage language);

/// Makes `language` the language of core's texts and of the window: the window's translation
/// (English) or Qt's own Chinese one for its standard texts (buttons, edit menus) is installed,
/// the other removed, and every widget has handled the change when this returns.
void ApplyLanguage(TextLanguage language);

/// Whether Qt's Chinese translation was found (Debian's qt6-translations-l10n) and is installed.
bool QtChineseLoaded();

/// The value of `--lang en|zh` or `--lang=en|zh` among the program's arguments, which are
/// otherwise ignored. Nothing when the option is absent; `valid` is false for any other value.
std::optional<TextLanguage> LanguageArgument(int argc, const char* const* argv, bool& valid);
/// What the program says on standard error about a `--lang` it cannot take.
QString LanguageArgumentRefusal(const char* program);
