#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/platform/encode_readback.h"
#include "formats/save_bitmap.h"
#include "platform/clipboard_port.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

// 40 colours in a 256-colour image, one fully transparent; the table behind
// them holds junk that must not reach the palette.
image_info forty_colour_image() {
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 40; ++i)
        palette.push_back(0xFF000000u | (i * 0x050607u));
    palette[7] = 0x00ABCDEF;
    std::vector<int32_t> indices;
    for (int i = 0; i < 19 * 11; ++i)
        indices.push_back((i * 13) % 40);
    image_info img = test::make_indexed(IMGTYP_256, 19, 11, palette, indices);
    img.color[40] = 0x12345678;
    return img;
}

TEST(SaveBitmap, PaletteSlotsFromTheColourCountOnAreOpaqueBlack) {
    image_info img = forty_colour_image();
    platform_bitmap b = make_platform_bitmap(img);
    ASSERT_EQ(b.index_bits, 8);
    ASSERT_EQ(b.palette.size(), 256u);
    for (size_t i = 0; i < 256; ++i)
        EXPECT_EQ(b.palette[i], i < 40 ? img.color[i] : 0xFF000000u);

    image_info sixteen = test::make_indexed(IMGTYP_16, 3, 1, {0x00FF0000, 0x4000FFFF}, {1, 0, 1});
    b = make_platform_bitmap(sixteen);
    std::vector<uint32_t> expected(16, 0xFF000000u);
    expected[0] = 0x00FF0000;
    expected[1] = 0x4000FFFF;
    EXPECT_EQ(b.index_bits, 4);
    EXPECT_EQ(b.palette, expected);
    EXPECT_EQ(b.indices, (std::vector<uint8_t>{1, 0, 1}));
}

TEST(SaveBitmap, GifOfTrueColourIsReducedOnACopyWithOneTransparentSlot) {
    const int saved_dither = settings().dither_type;
    settings().dither_type = 0;
    const std::vector<uint32_t> pixels = {0x00FF0000, 0xFF102030, 0xFFE0E0E0, 0x00000000,
                                          0xFF102030, 0xFF0000FF, 0x800000FF, 0xFFE0E0E0};
    image_info img = test::make_argb(4, 2, pixels);
    platform_bitmap b;
    std::string error;
    ASSERT_TRUE(make_gif_bitmap(img, b, error)) << error;
    settings().dither_type = saved_dither;
    EXPECT_EQ(img.argb_buff, pixels);  // the image itself is untouched
    ASSERT_EQ(b.index_bits, 8);
    int transparent_slots = 0;
    for (uint32_t entry : b.palette)
        transparent_slots += (entry >> 24) == 0;
    EXPECT_EQ(transparent_slots, 1);
    EXPECT_EQ(b.indices[0], b.indices[3]);
    EXPECT_EQ(b.palette[b.indices[0]] >> 24, 0u);
    EXPECT_EQ(b.indices[1], b.indices[4]);
    for (size_t i : {1, 2, 5, 6}) {
        EXPECT_EQ(b.palette[b.indices[i]] >> 24, 0xFFu) << i;  // opaque, translucent too
        // The reduction's colour space does not round-trip every colour exactly.
        EXPECT_LT(test::mean_channel_error({b.palette[b.indices[i]]}, {pixels[i]}), 2.0) << i;
    }
}

TEST(SaveDispatch, GifAndTiffReadBackExactlyAndJpegFollowsTheQualitySetting) {
    test::temp_dir dir;
    test::recording_ui ui;
    image_info img = forty_colour_image();
    ASSERT_EQ(img.save_to_file(IMGFMT_GIF, dir.file("a.gif")), 0);
    test::readback gif = test::read_gif(test::read_bytes(dir.file("a.gif")));
    ASSERT_TRUE(gif.ok);
    EXPECT_TRUE(gif.gif89a_progressive);
    std::vector<uint32_t> opaque = make_platform_bitmap(img).palette;
    for (uint32_t& c : opaque)
        c |= 0xFF000000u;
    EXPECT_EQ(gif.colors, opaque);
    EXPECT_EQ(gif.transparent, 7);
    EXPECT_TRUE(std::ranges::equal(gif.indices, img.index_buff));

    image_info photo = test::make_photo_like(33, 21, 9, true);
    for (image_info* source : {&img, &photo}) {
        ASSERT_EQ(source->save_to_file(IMGFMT_TIF, dir.file("a.tif")), 0);
        EXPECT_EQ(test::read_tiff(dir.file("a.tif")).pixels, test::argb_pixels(*source));
    }

    const int saved_quality = settings().jpeg_compress;
    settings().jpeg_compress = 100;
    ASSERT_EQ(photo.save_to_file(IMGFMT_JPG, dir.file("fine.jpg")), 0);
    settings().jpeg_compress = 10;
    ASSERT_EQ(photo.save_to_file(IMGFMT_JPG, dir.file("rough.jpg")), 0);
    settings().jpeg_compress = saved_quality;
    EXPECT_LT(test::read_bytes(dir.file("rough.jpg")).size(),
              test::read_bytes(dir.file("fine.jpg")).size());
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SaveDispatch, OwnWritersAndUnusedFormatValues) {
    test::temp_dir dir;
    test::recording_ui ui;
    image_info img = forty_colour_image();
    ASSERT_EQ(img.save_to_file(IMGFMT_BMP, dir.file("a.bmp")), 0);
    EXPECT_EQ(test::read_bytes(dir.file("a.bmp"))[0], 'B');
    std::filesystem::remove(dir.file("a.bmp"));
    for (int format : std::vector<int>{7, 8, IMGFMT_NONE, -1, 11}) {
        EXPECT_EQ(img.save_to_file(format, dir.file("x")), -1) << format;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SaveDispatch, RefusedDdsSizeIsAFailureWithTheWritersMessageOnly) {
    test::temp_dir dir;
    test::recording_ui ui;
    const int saved_layout = settings().dds_format;
    settings().dds_format = FMT_DXT5;
    image_info img = test::make_argb(5, 4, std::vector<uint32_t>(20, 0xFF336699));
    EXPECT_EQ(img.save_to_file(IMGFMT_DDS, dir.file("a.dds")), -1);
    settings().dds_format = saved_layout;
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

class recording_clipboard final : public clipboard_port {
  public:
    explicit recording_clipboard(bool accept) : accept_(accept) {
        previous_ = set_clipboard_port(this);
    }
    ~recording_clipboard() override { set_clipboard_port(previous_); }
    bool has_image() override { return false; }
    bool get_image(decoded_picture&) override { return false; }
    bool set_image(const platform_bitmap& bitmap, std::string& error) override {
        received.push_back(bitmap);
        if (!accept_) error = "clipboard busy";
        return accept_;
    }
    std::vector<platform_bitmap> received;

  private:
    bool accept_;
    clipboard_port* previous_;
};

TEST(SaveDispatch, ClipboardTakesTheBitmapAndARefusalIsAFailedSave) {
    test::recording_ui ui;
    image_info sixteen = test::make_indexed(IMGTYP_16, 2, 1, {0xFF112233, 0x00445566}, {1, 0});
    {
        recording_clipboard board(true);
        ASSERT_EQ(sixteen.save_to_file(IMGFMT_CLIPBOARD, ""), 0);
        ASSERT_EQ(board.received.size(), 1u);
        EXPECT_EQ(board.received[0].palette, make_platform_bitmap(sixteen).palette);
        EXPECT_EQ(board.received[0].indices, (std::vector<uint8_t>{1, 0}));
        EXPECT_TRUE(ui.messages.empty());
    }
    recording_clipboard refusing(false);
    EXPECT_EQ(sixteen.save_to_file(IMGFMT_CLIPBOARD, ""), -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "\nファイルの保存に失敗しました。\nclipboard busy");
    EXPECT_EQ(ui.messages[0].caption, "エラー");
}

}  // namespace
}  // namespace mevra
