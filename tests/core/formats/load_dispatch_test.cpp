#include <gtest/gtest.h>

#include "codec_test_files.h"

namespace mevra {
namespace {

using namespace test;

TEST(LoadDispatch, ContentDecidesForPngAndBmpTheNameForTga) {
    recording_ui ui;
    temp_dir dir;
    const auto img = make_argb(2, 1, {0x80FF0000, 0xFF00FF00});
    const std::pair<const char*, int> files[] = {
        {"png.tga", IMGFMT_PNG}, {"bmp.png", IMGFMT_BMP}, {"tga.TGA", IMGFMT_TGA}};
    for (const auto& [name, format] : files) {
        write_bytes(dir.file(name), saved_as(img, format));
        image_info loaded(dir.file(name));
        EXPECT_EQ(loaded.format, format) << name;
        EXPECT_EQ(loaded.argb_buff, img.argb_buff) << name;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(LoadDispatch, UnreadableFilesShowTheFailureAndLeaveTheObjectEmpty) {
    recording_ui ui;
    temp_dir dir;
    bytes wide = saved_as(make_argb(1, 1, {0}), IMGFMT_BMP);
    wide[18] = 0x40, wide[19] = 0x9C;  // 40000 pixels wide
    bytes odd_tga(18, 0);
    odd_tga[2] = 3;
    bytes cut_png = saved_as(make_photo_like(8, 8, 1), IMGFMT_PNG);
    cut_png.resize(cut_png.size() / 2);
    const std::pair<std::string, bytes> files[] = {
        {"wide.bmp", wide},
        {"odd.tga", odd_tga},
        {"cut.png", cut_png},
        {"targa.bmp", saved_as(make_argb(1, 1, {0}), IMGFMT_TGA)}};
    for (const auto& [name, content] : files) {
        write_bytes(dir.file(name), content);
        image_info img(dir.file(name));
        EXPECT_EQ(img.image_type, IMGTYP_NONE) << name;
        EXPECT_EQ(img.format, IMGFMT_NONE) << name;
        EXPECT_TRUE(img.argb_buff.empty() && img.index_buff.empty()) << name;
    }
    ASSERT_EQ(ui.messages.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const std::string head = dir.file(files[i].first) + "\n画像を開くことが出来ませんでした : ";
        EXPECT_EQ(ui.messages[i].text.rfind(head, 0), 0u) << ui.messages[i].text;
        EXPECT_GT(ui.messages[i].text.size(), head.size());
        EXPECT_EQ(ui.messages[i].caption, "エラー");
    }
}

}  // namespace
}  // namespace mevra
