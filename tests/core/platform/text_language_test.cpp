#include "platform/text_language.h"

#include <gtest/gtest.h>

namespace mevra {
namespace {

text_language choice(const std::string& locale, const std::string& language_list) {
    const std::vector<std::string> languages = preferred_languages({locale, language_list});
    return is_c_locale(locale) ? text_language::own : choose_text_language(languages);
}

TEST(TextLanguage, TheFirstLanguageMevraHasWinsAndEnglishIsTheFallback) {
    EXPECT_EQ(choice("fr_FR.UTF-8", "fr:ja"), text_language::own);
    EXPECT_EQ(choice("en_US.UTF-8", "ja:en"), text_language::own);
    EXPECT_EQ(choice("de_DE.UTF-8", "de:en"), text_language::english);
    EXPECT_EQ(choice("de_DE.UTF-8", "de:en_GB:ko"), text_language::english);
    EXPECT_EQ(choice("de_DE.UTF-8", "de::fr"), text_language::english);
    EXPECT_EQ(choice("ko_KR.UTF-8", ""), text_language::own);
    EXPECT_EQ(choice("zh_CN.UTF-8", ""), text_language::english);
    // "C" in the list stops the walk at the program's own texts.
    EXPECT_EQ(choice("de_DE.UTF-8", "de:C:en"), text_language::own);
}

TEST(TextLanguage, TheCLocaleKeepsTheProgramTextsAndIgnoresLanguage) {
    EXPECT_EQ(choice("C", "en"), text_language::own);
    EXPECT_EQ(choice("C.UTF-8", "de:en"), text_language::own);
    EXPECT_EQ(choice("POSIX", ""), text_language::own);
    EXPECT_TRUE(preferred_languages({"C", "en"}).empty());
    EXPECT_EQ(preferred_languages({"fr_FR", "fr::ja_JP"}),
              (std::vector<std::string>{"fr", "ja_JP"}));
    EXPECT_EQ(preferred_languages({"fr_FR", ""}), (std::vector<std::string>{"fr_FR"}));
}

}  // namespace
}  // namespace mevra
