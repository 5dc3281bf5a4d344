// mevra-cli prints the core's messages in the language the desktop
// application would choose in the same environment.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::shell_quote;

class CliLanguageTest : public ::testing::Test {
  protected:
    // An unreadable file and an image that DDS cannot store: one load and
    // one save failure of the core.
    test::cli_result fail_to_load_and_save(const std::string& environment) {
        const std::string junk = dir.file("junk.png");
        test::write_bytes(junk, {1, 2, 3});
        const std::string odd = dir.file("odd.png");
        std::string error;
        EXPECT_EQ(test::make_photo_like(6, 6, 1).file_save_png(odd, error), 0) << error;
        return test::run_mevra_cli("convert --format dds --dds dxt3 " + shell_quote(junk) + " " +
                                       shell_quote(odd),
                                   "LC_ALL= LC_MESSAGES= " + environment);
    }
    test::temp_dir dir;
};

TEST_F(CliLanguageTest, EnglishReadersGetTheCatalogue) {
    const test::cli_result r = fail_to_load_and_save("LANG=de_DE.UTF-8 LANGUAGE=de:en");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Error: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nThe image could not be opened : "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nThe file could not be saved.\nPlease make the width and height "
                         "of the image multiples of 4."),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("エラー"), std::string::npos) << r.out;
}

TEST_F(CliLanguageTest, JapaneseBeforeAnyMissingLanguageAndTheCLocaleKeepTheOwnTexts) {
    for (const char* environment :
         {"LANG=fr_FR.UTF-8 LANGUAGE=fr:ja", "LANG=C.UTF-8 LANGUAGE=en", "LANG=ko_KR.UTF-8"}) {
        const test::cli_result r = fail_to_load_and_save(environment);
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_NE(r.out.find("エラー: "), std::string::npos) << environment << r.out;
        EXPECT_NE(r.out.find("画像を開くことが出来ませんでした"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("ファイルの保存に失敗しました。"), std::string::npos) << r.out;
    }
}

}  // namespace
}  // namespace mevra
