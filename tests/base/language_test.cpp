// The language the programs speak: --lang codes, locale names, and the order
// of command line, stored choice and environment.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <map>
#include <optional>
#include <string>

#include "base/language.h"

namespace vk {
namespace {

using L = Language;

TEST(Language, CodesAndLocaleNames) {
  const struct {
    const char* code;
    std::optional<L> language;
  } codes[] = {{"de", L::German}, {"en", L::English}, {"", std::nullopt},   {"DE", std::nullopt},
               {"en ", std::nullopt}, {"english", std::nullopt}, {"e", std::nullopt}, {"fr", std::nullopt}};
  for (const auto& c : codes) EXPECT_EQ(ParseLanguage(c.code), c.language) << "'" << c.code << "'";
  for (const L l : {L::German, L::English}) EXPECT_EQ(ParseLanguage(LanguageCode(l)), l);

  const struct {
    const char* locale;
    L language;
  } locales[] = {{"de_DE.UTF-8", L::German}, {"de_CH", L::German},       {"de", L::German},
                 {"C", L::German},           {"C.UTF-8", L::German},     {"POSIX", L::German},
                 {"", L::German},            {"en_US.UTF-8", L::English}, {"en_GB", L::English},
                 {"fr_FR.UTF-8", L::English}, {"nl_NL", L::English},     {"Cy", L::English}};
  for (const auto& l : locales) EXPECT_EQ(LocaleNameLanguage(l.locale), l.language) << "'" << l.locale << "'";
}

// Sets the three locale variables for one test and restores them after it.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames)
      if (const char* v = getenv(name)) saved_[name] = v;
  }
  void TearDown() override {
    for (const char* name : kNames) {
      if (saved_.contains(name))
        setenv(name, saved_[name].c_str(), 1);
      else
        unsetenv(name);
    }
  }
  static void Set(const char* lc_all, const char* lc_messages, const char* lang) {
    const char* values[] = {lc_all, lc_messages, lang};
    for (int i = 0; i < 3; ++i) {
      if (values[i] == nullptr)
        unsetenv(kNames[i]);
      else
        setenv(kNames[i], values[i], 1);
    }
  }
  static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::map<std::string, std::string> saved_;
};

TEST_F(LocaleEnvironment, FirstSetVariableDecidesAndTheCommandLineComesFirst) {
  const struct {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    L language;
  } rows[] = {
      {nullptr, nullptr, nullptr, L::German},          // nothing set: today's output
      {nullptr, nullptr, "en_US.UTF-8", L::English},
      {nullptr, nullptr, "de_DE.UTF-8", L::German},
      {nullptr, "en_GB", "de_DE", L::English},         // LC_MESSAGES before LANG
      {"C", "en_GB", "en_US", L::German},               // LC_ALL before both
      {"", "", "en_US.UTF-8", L::English},              // empty counts as unset
      {"de_AT", nullptr, "en_US", L::German},
  };
  for (const auto& r : rows) {
    Set(r.lc_all, r.lc_messages, r.lang);
    EXPECT_EQ(EnvironmentLanguage(), r.language) << (r.lc_all ? r.lc_all : "-") << " " << (r.lang ? r.lang : "-");
    EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt), r.language);
  }
  Set(nullptr, nullptr, "en_US.UTF-8");
  EXPECT_EQ(ChooseLanguage(L::German, L::English), L::German);      // --lang first
  EXPECT_EQ(ChooseLanguage(std::nullopt, L::German), L::German);    // then the window's choice
  Set("de_DE", nullptr, nullptr);
  EXPECT_EQ(ChooseLanguage(std::nullopt, L::English), L::English);
}

}  // namespace
}  // namespace vk
