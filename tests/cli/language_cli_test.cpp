// mevra-cli prints the core's messages in the language the desktop
// application would choose in the same environment.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "support/test_support.h"

namespace mevra {
namespace {

// An unreadable file and an image DXT3 cannot store: a load and a save failure.
test::cli_result fail_to_load_and_save(const std::string& environment) {
    const test::temp_dir dir;
    const std::string junk = dir.file("junk.png"), odd = dir.file("odd.png");
    test::write_bytes(junk, {1, 2, 3});
    std::string error;
    EXPECT_EQ(test::make_photo_like(6, 6, 1).file_save_png(odd, error), 0) << error;
    return test::run_mevra_cli("convert --format dds --dds dxt3 " + test::shell_quote(junk) + " " +
                                   test::shell_quote(odd),
                               "LC_ALL= LC_MESSAGES= " + environment);
}

TEST(CliLanguage, EnglishReadersGetTheCatalogueOthersTheProgramsOwnTexts) {
    const test::cli_result english = fail_to_load_and_save("LANG=de_DE.UTF-8 LANGUAGE=de:en");
    EXPECT_NE(english.out.find("Error: "), std::string::npos) << english.out;
    EXPECT_NE(english.out.find("\nThe image could not be opened : "), std::string::npos);
    EXPECT_NE(english.out.find("\nThe file could not be saved.\nPlease make the width and "
                               "height of the image multiples of 4."),
              std::string::npos)
        << english.out;
    EXPECT_EQ(english.out.find("エラー"), std::string::npos);

    for (const char* environment : {"LANG=fr_FR.UTF-8 LANGUAGE=fr:ja", "LANG=C.UTF-8 LANGUAGE=en"}) {
        const test::cli_result own = fail_to_load_and_save(environment);
        EXPECT_NE(own.out.find("エラー: "), std::string::npos) << environment << own.out;
        EXPECT_NE(own.out.find("画像を開くことが出来ませんでした"), std::string::npos);
    }
}

}  // namespace
}  // namespace mevra
