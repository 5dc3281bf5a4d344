#include <gtest/gtest.h>

#include "image/image_info.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using bytes = std::vector<uint8_t>;

const std::string failure_line = "画像を開くことが出来ませんでした";

bytes saved(const image_info& img, int format) {
    test::temp_dir dir;
    const std::string path = dir.file("x");
    std::string error;
    const int r = format == IMGFMT_PNG   ? img.file_save_png(path, error)
                  : format == IMGFMT_BMP ? img.file_save_bmp(path, error)
                                         : img.file_save_tga(path, error);
    EXPECT_EQ(r, 0) << error;
    return test::read_bytes(path);
}

TEST(LoadDispatch, PngAndBmpAreKnownByContentWhateverTheName) {
    test::recording_ui ui;
    test::temp_dir dir;
    const auto img = test::make_argb(2, 1, {0x80FF0000, 0xFF00FF00});
    test::write_bytes(dir.file("really_png.tga"), saved(img, IMGFMT_PNG));
    test::write_bytes(dir.file("really_bmp.png"), saved(img, IMGFMT_BMP));
    image_info png(dir.file("really_png.tga"));
    EXPECT_EQ(png.format, IMGFMT_PNG);
    EXPECT_EQ(png.argb_buff, img.argb_buff);
    image_info bmp(dir.file("really_bmp.png"));
    EXPECT_EQ(bmp.format, IMGFMT_BMP);
    EXPECT_EQ(bmp.argb_buff, img.argb_buff);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(LoadDispatch, TgaOnlyByItsExtension) {
    test::recording_ui ui;
    test::temp_dir dir;
    const auto img = test::make_argb(1, 2, {0x11223344, 0x55667788});
    const bytes tga = saved(img, IMGFMT_TGA);
    test::write_bytes(dir.file("upper.TGA"), tga);
    image_info loaded(dir.file("upper.TGA"));
    EXPECT_EQ(loaded.format, IMGFMT_TGA);
    EXPECT_EQ(loaded.argb_buff, img.argb_buff);
    EXPECT_TRUE(ui.messages.empty());

    const std::string other = dir.file("targa.bmp");
    test::write_bytes(other, tga);
    image_info refused(other);
    EXPECT_EQ(refused.image_type, IMGTYP_NONE);
    EXPECT_EQ(refused.format, IMGFMT_NONE);
    EXPECT_EQ(refused.flag, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind(other + "\n" + failure_line + " : ", 0), 0u);
    EXPECT_EQ(ui.messages[0].caption, "エラー");
}

TEST(LoadDispatch, DeclinedAndOversizedFilesEndInTheFailureMessage) {
    test::recording_ui ui;
    test::temp_dir dir;
    // A BMP claiming 40000 × 1 pixels, a TGA header with an unknown image
    // type, and a PNG cut off in its image data.
    bytes bmp = saved(test::make_argb(1, 1, {0}), IMGFMT_BMP);
    bmp[18] = 0x40, bmp[19] = 0x9C;
    bytes tga(18, 0);
    tga[2] = 3;
    bytes png = saved(test::make_photo_like(8, 8, 1), IMGFMT_PNG);
    png.resize(png.size() / 2);
    const std::pair<std::string, bytes> files[] = {
        {"wide.bmp", bmp}, {"odd.tga", tga}, {"cut.png", png}};
    for (const auto& [name, content] : files) {
        test::write_bytes(dir.file(name), content);
        image_info img(dir.file(name));
        EXPECT_EQ(img.image_type, IMGTYP_NONE) << name;
        EXPECT_TRUE(img.argb_buff.empty() && img.index_buff.empty()) << name;
    }
    ASSERT_EQ(ui.messages.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ui.messages[i].text.rfind(dir.file(files[i].first) + "\n" + failure_line, 0), 0u);
        EXPECT_EQ(ui.messages[i].caption, "エラー");
    }
}

}  // namespace
}  // namespace mevra
