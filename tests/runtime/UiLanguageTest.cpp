// The windows' language from the environment, as gettext programs on the same desktop read it.
#include "runtime/UiLanguage.h"

#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

runtime::UiLanguage languageWith(std::initializer_list<std::pair<const char *, const char *>> variables)
{
    QProcessEnvironment environment;
    for (const auto &[name, value] : variables)
        environment.insert(QLatin1String(name), QLatin1String(value));
    return runtime::uiLanguageOf(environment);
}

TEST(UiLanguage, SpanishLocalesGiveSpanishAndEveryOtherEnglish)
{
    using runtime::UiLanguage;
    EXPECT_EQ(languageWith({{"LANG", "es_US.UTF-8"}}), UiLanguage::Spanish);
    EXPECT_EQ(languageWith({{"LANG", "es_MX"}}), UiLanguage::Spanish);
    EXPECT_EQ(languageWith({{"LANG", "en_US.UTF-8"}}), UiLanguage::English);
    EXPECT_EQ(languageWith({{"LANG", "de_DE.UTF-8"}}), UiLanguage::English);
    EXPECT_EQ(languageWith({}), UiLanguage::English);
    // LC_ALL over LC_MESSAGES over LANG.
    EXPECT_EQ(languageWith({{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "es_ES.UTF-8"}}), UiLanguage::Spanish);
    EXPECT_EQ(languageWith({{"LC_ALL", "en_GB.UTF-8"}, {"LC_MESSAGES", "es_ES.UTF-8"}}), UiLanguage::English);
    // LANGUAGE's first entry the program has decides, but not under the C locale.
    EXPECT_EQ(languageWith({{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "fr:es:en"}}), UiLanguage::Spanish);
    EXPECT_EQ(languageWith({{"LANG", "es_US.UTF-8"}, {"LANGUAGE", "en_US:es"}}), UiLanguage::English);
    EXPECT_EQ(languageWith({{"LANG", "C.UTF-8"}, {"LANGUAGE", "es"}}), UiLanguage::English);
    EXPECT_EQ(languageWith({{"LC_ALL", "C"}, {"LANG", "es_US.UTF-8"}}), UiLanguage::English);
}

} // namespace
