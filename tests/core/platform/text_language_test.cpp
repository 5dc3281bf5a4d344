#include "platform/text_language.h"

#include <gtest/gtest.h>

namespace mevra {
namespace {

text_language choice(const std::string& locale, const std::string& language_list) {
    if (is_c_locale(locale)) return text_language::own;
    return choose_text_language(preferred_languages({locale, language_list}));
}

TEST(TextLanguage, TheFirstLanguageMevraHasWinsEnglishIsTheFallbackAndCKeepsTheOwnTexts) {
    EXPECT_EQ(choice("fr_FR.UTF-8", "fr:ja"), text_language::own);
    EXPECT_EQ(choice("en_US.UTF-8", "ja:en"), text_language::own);
    EXPECT_EQ(choice("de_DE.UTF-8", "de:en"), text_language::english);
    EXPECT_EQ(choice("de_DE.UTF-8", "de::en_GB:ko"), text_language::english);
    EXPECT_EQ(choice("ko_KR.UTF-8", ""), text_language::own);
    EXPECT_EQ(choice("de_DE.UTF-8", "de:C:en"), text_language::own);  // "C" ends the walk
    EXPECT_EQ(choice("C.UTF-8", "de:en"), text_language::own);
    EXPECT_EQ(choice("POSIX", ""), text_language::own);
    EXPECT_TRUE(preferred_languages({"C", "en"}).empty());
    EXPECT_EQ(preferred_languages({"fr_FR", "fr::ja_JP"}), (std::vector<std::string>{"fr", "ja_JP"}));
}

}  // namespace
}  // namespace mevra
