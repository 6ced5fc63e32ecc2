#pragma once
// The language the program speaks: one setting for core's text tables, the command line and the
// window. Chinese unless the locale or the user's choice says English.

#include <cstdint>
#include <optional>
#include <string_view>

enum class TextLanguage : std::uint8_t { Chinese, English };

/// The language core's texts are given in now; Chinese until set.
TextLanguage CurrentTextLanguage();
/// Sets it for every thread; set it at start-up, before texts are read.
void SetTextLanguage(TextLanguage language);

/// The language a locale name asks for: English for an English locale ("en", "en_GB.UTF-8",
/// "en_US@euro"), Chinese for every other one, "C" and "POSIX" included.
TextLanguage LanguageOfLocale(std::string_view locale);

/// The language the environment asks for, by the POSIX order: the first of LC_ALL, LC_MESSAGES
/// and LANG that is set and not empty decides; Chinese when none is.
TextLanguage LanguageFromEnvironment();

/// "en" or "zh" (the names `--lang` takes), any case; nothing for another name.
std::optional<TextLanguage> LanguageNamed(std::string_view name);
