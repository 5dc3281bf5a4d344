// JPEG, TIFF, GIF, WebP and PNG through the platform decoder, built with the
// libraries' own encoders, checked directly and through the load path.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "image/image_info.h"
#include "platform/picture_decoder.h"
#include "support/test_support.h"
#include "test_encoders.h"

namespace mevra {
namespace {

using test::bytes;

decoded_picture decode_ok(const bytes& file) {
    decoded_picture pic;
    std::string error;
    EXPECT_TRUE(decode_picture(file, pic, error)) << error;
    return pic;
}

image_info load_file(const bytes& file, const char* name) {
    test::temp_dir dir;
    test::write_bytes(dir.file(name), file);
    return image_info(dir.file(name));
}

int channel(uint32_t c, int shift) {
    return static_cast<int>((c >> shift) & 255);
}

TEST(JpegDecode, ColourGreyAndCmykBecomeOpaqueArgb) {
    bytes rgb;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            for (int v : {40 + x * 8, 60 + y * 8, 128})
                rgb.push_back(static_cast<uint8_t>(v));
    auto pic = decode_ok(test::encode_jpeg(16, 8, 3, rgb));
    EXPECT_EQ(pic.container, picture_container::jpeg);
    ASSERT_EQ(pic.width, 16);
    ASSERT_EQ(pic.height, 8);
    ASSERT_EQ(pic.argb.size(), 128u);
    for (size_t i = 0; i < pic.argb.size(); ++i) {
        EXPECT_EQ(pic.argb[i] >> 24, 255u);
        EXPECT_NEAR(channel(pic.argb[i], 16), rgb[3 * i], 12) << i;
        EXPECT_NEAR(channel(pic.argb[i], 8), rgb[3 * i + 1], 12) << i;
    }

    auto grey = decode_ok(test::encode_jpeg(8, 8, 1, bytes(64, 200)));
    for (uint32_t c : grey.argb)
        EXPECT_EQ(c, 0xFFC8C8C8u);

    // Adobe CMYK: 255 means no ink. No ink is white, full black ink is black,
    // full cyan ink is cyan.
    bytes cmyk;
    for (int i = 0; i < 64; ++i) {
        const int block = (i % 8) / 3;
        const bytes px = block == 0   ? bytes{255, 255, 255, 255}
                         : block == 1 ? bytes{255, 255, 255, 0}
                                      : bytes{0, 255, 255, 255};
        cmyk.insert(cmyk.end(), px.begin(), px.end());
    }
    auto print = decode_ok(test::encode_jpeg(8, 8, 4, cmyk));
    ASSERT_EQ(print.argb.size(), 64u);
    EXPECT_NEAR(channel(print.argb[0], 16), 255, 6);
    EXPECT_NEAR(channel(print.argb[4], 16), 0, 6);
    EXPECT_NEAR(channel(print.argb[7], 16), 0, 12);
    EXPECT_NEAR(channel(print.argb[7], 8), 255, 12);

    auto img = load_file(test::encode_jpeg(8, 8, 1, bytes(64, 10)), "photo.bmp");
    EXPECT_EQ(img.format, IMGFMT_JPG);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    EXPECT_EQ(img.width, 8);
}

TEST(TiffDecode, RgbAndAlphaComeOutAsArgb) {
    bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    auto pic = decode_ok(test::encode_tiff_rgb(3, 2, 3, rgb));
    EXPECT_EQ(pic.container, picture_container::tiff);
    EXPECT_EQ(pic.argb, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF0A141E,
                                               0xFF28323C, 0xFF46505A}));
    // Unassociated alpha survives libtiff's premultiplied output within rounding.
    auto rgba = decode_ok(test::encode_tiff_rgb(2, 1, 4, {200, 100, 50, 128, 9, 9, 9, 0}));
    ASSERT_EQ(rgba.argb.size(), 2u);
    EXPECT_EQ(rgba.argb[0] >> 24, 128u);
    EXPECT_NEAR(channel(rgba.argb[0], 16), 200, 2);
    EXPECT_NEAR(channel(rgba.argb[0], 0), 50, 2);
    EXPECT_EQ(rgba.argb[1] >> 24, 0u);
}

TEST(TiffDecode, PaletteFilesStayIndexed) {
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 16; ++i)
        palette.push_back(i * 0x101010 + 0x050000);
    bytes indices = {0, 15, 3, 7, 9, 1, 2, 14, 5, 8, 11, 12, 13, 4, 6};
    auto pic = decode_ok(test::encode_tiff_palette(5, 3, 4, palette, indices));
    EXPECT_EQ(pic.index_bits, 4);
    EXPECT_EQ(pic.indices, indices);
    ASSERT_EQ(pic.palette.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(pic.palette[i], 0xFF000000 | palette[i]);

    auto one_bit = decode_ok(
        test::encode_tiff_palette(9, 2, 1, {0x000000, 0xFFFFFF},
                                  bytes{1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(one_bit.index_bits, 1);
    EXPECT_EQ(one_bit.indices, (bytes{1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));

    auto img16 = load_file(test::encode_tiff_palette(5, 3, 4, palette, indices), "a.tif");
    EXPECT_EQ(img16.format, IMGFMT_TIF);
    EXPECT_EQ(img16.image_type, IMGTYP_16);
    EXPECT_EQ(img16.color_num, 16);
    auto img256 = load_file(test::encode_tiff_palette(2, 1, 8, palette, {3, 4}), "b.tif");
    EXPECT_EQ(img256.image_type, IMGTYP_256);
    EXPECT_EQ(img256.color_num, 256);
    EXPECT_EQ(img256.index_buff, (std::vector<int32_t>{3, 4}));
}

TEST(GifDecode, FirstFrameOnTheScreenWithTransparentEntry) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // A 2 × 2 frame at (1, 1) on a 4 × 3 screen; index 2 is transparent.
    auto pic = decode_ok(test::encode_gif(4, 3, palette, {1, 1, 2, 2, false}, {1, 2, 3, 1}, 2));
    EXPECT_EQ(pic.container, picture_container::gif);
    EXPECT_EQ(pic.width, 4);
    EXPECT_EQ(pic.height, 3);
    EXPECT_EQ(pic.index_bits, 4);
    EXPECT_EQ(pic.palette, (std::vector<uint32_t>{0xFF000000, 0xFFFF0000, 0x0000FF00, 0xFF0000FF}));
    EXPECT_EQ(pic.indices, (bytes{2, 2, 2, 2, 2, 1, 2, 2, 2, 3, 1, 2}));

    // Without transparency the uncovered pixels take the background index.
    auto plain = decode_ok(test::encode_gif(3, 1, palette, {0, 0, 1, 1, false}, {3}, -1, 1));
    EXPECT_EQ(plain.indices, (bytes{3, 1, 1}));
    EXPECT_EQ(plain.palette[2], 0xFF00FF00u);

    auto img =
        load_file(test::encode_gif(4, 3, palette, {1, 1, 2, 2, false}, {1, 2, 3, 1}, 2), "x.png");
    EXPECT_EQ(img.format, IMGFMT_GIF);
    EXPECT_EQ(img.image_type, IMGTYP_16);
    EXPECT_EQ(img.color_num, 4);
}

TEST(GifDecode, InterlacedRowsAndLargePalettes) {
    std::vector<uint32_t> palette(32);
    for (uint32_t i = 0; i < 32; ++i)
        palette[i] = i * 8;
    bytes indices;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 3; ++x)
            indices.push_back(static_cast<uint8_t>(y * 3 + x));
    auto pic = decode_ok(test::encode_gif(3, 10, palette, {0, 0, 3, 10, true}, indices, -1));
    EXPECT_EQ(pic.indices, indices);
    EXPECT_EQ(pic.index_bits, 8);
    EXPECT_EQ(pic.palette.size(), 32u);
    auto img =
        load_file(test::encode_gif(3, 10, palette, {0, 0, 3, 10, true}, indices, -1), "i.gif");
    EXPECT_EQ(img.image_type, IMGTYP_256);
}

TEST(WebpDecode, LosslessPixelsAndAlpha) {
    const std::vector<uint32_t> argb = {0xFFFF0000, 0x8000FF00, 0x000000FF,
                                        0xFF123456, 0xFFFFFFFF, 0x40102030};
    auto pic = decode_ok(test::encode_webp_lossless(3, 2, argb));
    EXPECT_EQ(pic.container, picture_container::webp);
    EXPECT_EQ(pic.index_bits, 0);
    ASSERT_EQ(pic.argb.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        if (argb[i] >> 24) {  // the colour of a fully transparent pixel may change
            EXPECT_EQ(pic.argb[i], argb[i]) << i;
        }
    EXPECT_EQ(pic.argb[2] >> 24, 0u);
    auto img = load_file(test::encode_webp_lossless(3, 2, argb), "w.webp");
    EXPECT_EQ(img.format, IMGFMT_NONE);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
}

TEST(PngDecode, GreyAlphaAndSixteenBitBecomeArgb) {
    auto grey = decode_ok(test::encode_png(3, 1, 8, PNG_COLOR_TYPE_GRAY, {0, 128, 255}));
    EXPECT_EQ(grey.container, picture_container::png);
    EXPECT_EQ(grey.argb, (std::vector<uint32_t>{0xFF000000, 0xFF808080, 0xFFFFFFFF}));

    auto grey_alpha =
        decode_ok(test::encode_png(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {50, 0, 60, 200}));
    EXPECT_EQ(grey_alpha.argb, (std::vector<uint32_t>{0x00323232, 0xC83C3C3C}));

    // 4-bit greyscale scales to 8 bits; 16-bit RGB keeps the high bytes.
    auto low = decode_ok(test::encode_png(2, 1, 4, PNG_COLOR_TYPE_GRAY, {0xF1}));
    EXPECT_EQ(low.argb, (std::vector<uint32_t>{0xFFFFFFFF, 0xFF111111}));
    auto deep = decode_ok(
        test::encode_png(1, 2, 16, PNG_COLOR_TYPE_RGB,
                         {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 0, 0, 0, 0xFF, 0xFF}, {}, {}, 1));
    EXPECT_EQ(deep.argb, (std::vector<uint32_t>{0xFF12569A, 0xFF0000FF}));

    auto img = load_file(test::encode_png(3, 1, 8, PNG_COLOR_TYPE_GRAY, {0, 128, 255}), "g.png");
    EXPECT_EQ(img.format, IMGFMT_PNG);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
}

TEST(PngDecode, LowBitPalettesStayIndexed) {
    auto one = decode_ok(
        test::encode_png(10, 1, 1, PNG_COLOR_TYPE_PALETTE, {0xA5, 0x80}, {0x000000, 0xFFFFFF}));
    EXPECT_EQ(one.index_bits, 1);
    EXPECT_EQ(one.indices, (bytes{1, 0, 1, 0, 0, 1, 0, 1, 1, 0}));
    EXPECT_EQ(one.palette, (std::vector<uint32_t>{0xFF000000, 0xFFFFFFFF}));

    auto two = decode_ok(test::encode_png(3, 1, 2, PNG_COLOR_TYPE_PALETTE, {0x6C},
                                          {0x110000, 0x002200, 0x000033, 0x444444}, {0, 128}));
    EXPECT_EQ(two.index_bits, 4);
    EXPECT_EQ(two.indices, (bytes{1, 2, 3}));
    EXPECT_EQ(two.palette, (std::vector<uint32_t>{0x00110000, 0x80002200, 0xFF000033, 0xFF444444}));

    auto img = load_file(
        test::encode_png(10, 1, 1, PNG_COLOR_TYPE_PALETTE, {0xA5, 0x80}, {0x000000, 0xFFFFFF}),
        "one.png");
    EXPECT_EQ(img.image_type, IMGTYP_16);
    EXPECT_EQ(img.color_num, 2);
    EXPECT_EQ(img.color_cnt[1], 5);
}

TEST(PictureDecoder, UnknownAndDamagedFilesFailWithAReason) {
    decoded_picture pic;
    std::string error;
    EXPECT_FALSE(decode_picture(bytes{'h', 'e', 'l', 'l', 'o'}, pic, error));
    EXPECT_EQ(error, "not a supported image file");
    EXPECT_FALSE(decode_picture(bytes{}, pic, error));

    test::recording_ui ui;
    test::temp_dir dir;
    test::write_bytes(dir.file("t.gif"), bytes{'G', 'I', 'F', '8', '9', 'a', 1});
    image_info img(dir.file("t.gif"));
    EXPECT_EQ(img.image_type, IMGTYP_NONE);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "エラー");
    const std::string prefix = dir.file("t.gif") + "\n画像を開くことが出来ませんでした : ";
    EXPECT_EQ(ui.messages[0].text.rfind(prefix, 0), 0u);
    EXPECT_GT(ui.messages[0].text.size(), prefix.size());
}

}  // namespace
}  // namespace mevra
