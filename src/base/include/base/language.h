// The language the programs speak to a person: German (the source language of
// every text) or English. One place decides it for the window and the tool.
#pragma once
#include <optional>
#include <string_view>

namespace vk {

enum class Language { German, English };

// "de" or "en" (as --lang and the options file write it); empty for any other text.
std::optional<Language> ParseLanguage(std::string_view code);

// The code ParseLanguage reads: "de" or "en".
std::string_view LanguageCode(Language language);

// The language of a POSIX locale name ("en_US.UTF-8", "de_CH", "C.UTF-8"):
// German for de*, C, C.* and POSIX, English for every other name.
Language LocaleNameLanguage(std::string_view locale);

// The language of the locale the environment sets for messages: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty; German when none is.
Language EnvironmentLanguage();

// The language to speak: the command line's choice, else the stored choice of
// the window, else the environment's locale.
Language ChooseLanguage(std::optional<Language> command_line, std::optional<Language> stored);

}  // namespace vk
