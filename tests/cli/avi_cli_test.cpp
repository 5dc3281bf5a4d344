// `mevra-cli avi` end to end: info, frames as numbered images, re-encoding.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "image/image_info.h"
#include "support/avi_test_files.h"
#include "support/test_support.h"
#include "video/avi_reader.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;
using test::run_mevra_cli;
using test::shell_quote;

class AviCliTest : public ::testing::Test {
  protected:
    test::temp_dir dir;
    std::string movie() {
        const std::string path = dir.file("movie.avi");
        auto recipe = test::raw_recipe(24, 6);
        recipe.rate = 30000;
        recipe.scale = 1001;
        test::make_avi(path, recipe);
        return path;
    }
};

TEST_F(AviCliTest, InfoPrintsTheStream) {
    const std::string src = movie();
    auto r = run_mevra_cli("avi info --json " + shell_quote(src));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out,
              "{\"frames\": 6, \"rate\": 30000, \"scale\": 1001, \"fps\": 29.97, \"width\": 32, "
              "\"height\": 24, \"bits\": 24, \"codec\": \"rawvideo\"}\n");
    r = run_mevra_cli("avi info " + shell_quote(dir.file("none.avi")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("AVI file: 파일  を開くことができませんでした"), std::string::npos)
        << r.out;
    test::write_bytes(dir.file("text.avi"), std::vector<uint8_t>(100, 'x'));
    r = run_mevra_cli("avi info " + shell_quote(dir.file("text.avi")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("AVIFileOpen: error:"), std::string::npos) << r.out;
}

TEST_F(AviCliTest, FramesAreNumberedImages) {
    const std::string src = movie();
    const std::string out = dir.file("out");
    fs::create_directory(out);
    auto r = run_mevra_cli("avi frames " + shell_quote(src) + " --from 2 --to 3 --out-dir " +
                           shell_quote(out) + " --joiner hyphen --digits 5 --format png");
    EXPECT_EQ(r.status, 0) << r.out;
    image_info img(out + "/movie-00003.png");
    ASSERT_EQ(img.flag, 1);
    EXPECT_EQ(img.get_pos_color(4 * 32 + 5), test::stored_pattern(3, 5, 4, 24));
    EXPECT_TRUE(fs::exists(out + "/movie-00002.png"));
    EXPECT_FALSE(fs::exists(out + "/movie-00004.png"));
    // The environment options' defaults: no joiner, 4 digits, BMP.
    r = run_mevra_cli("avi frames " + shell_quote(src) + " --from 5");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(fs::exists(dir.file("movie0005.bmp")));
    EXPECT_EQ(run_mevra_cli("avi frames " + shell_quote(src) + " --to 6").status, 2);
    EXPECT_EQ(run_mevra_cli("avi frames " + shell_quote(src) + " --digits 9").status, 2);
    EXPECT_EQ(run_mevra_cli("avi frames " + shell_quote(src) + " --format xcf").status, 2);
}

TEST_F(AviCliTest, EncodeWritesOneStreamWithEveryFrame) {
    const std::string src = movie();
    auto r = run_mevra_cli("avi codecs");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("mjpeg"), std::string::npos);
    EXPECT_EQ(run_mevra_cli("avi encode --list-codecs").out, r.out);
    const std::string out = dir.file("new.avi");
    r = run_mevra_cli("avi encode " + shell_quote(src) + " " + shell_quote(out) +
                      " --codec mpeg4 --keyint 2 --quality 90");
    EXPECT_EQ(r.status, 0) << r.out;
    avi_reader avi;
    avi_failure f;
    ASSERT_EQ(avi.open(out, f), 0);
    EXPECT_EQ(avi.info().length, 6);
    EXPECT_EQ(avi.info().stream_count, 1);
    EXPECT_EQ(avi.info().codec, "mpeg4");
    EXPECT_EQ(run_mevra_cli("avi encode " + shell_quote(src) + " " + shell_quote(out) +
                            " --codec nothing")
                  .status,
              2);
    r = run_mevra_cli("avi encode " + shell_quote(src) + " " +
                      shell_quote(dir.file("no/such/dir.avi")) + " --codec mjpeg");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("AVI保存: "), std::string::npos) << r.out;
}

}  // namespace
}  // namespace mevra
