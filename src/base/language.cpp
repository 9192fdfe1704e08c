#include "base/language.h"

#include <cstdlib>

namespace vk {

std::optional<Language> ParseLanguage(std::string_view code) {
  if (code == "de") return Language::German;
  if (code == "en") return Language::English;
  return std::nullopt;
}

std::string_view LanguageCode(Language language) { return language == Language::English ? "en" : "de"; }

Language LocaleNameLanguage(std::string_view locale) {
  const bool german = locale.empty() || locale == "C" || locale.starts_with("C.") || locale == "POSIX" ||
                      locale.starts_with("de");
  return german ? Language::German : Language::English;
}

Language EnvironmentLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return LocaleNameLanguage(value);
  }
  return Language::German;
}

Language ChooseLanguage(std::optional<Language> command_line, std::optional<Language> stored) {
  if (command_line) return *command_line;
  if (stored) return *stored;
  return EnvironmentLanguage();
}

}  // namespace vk
