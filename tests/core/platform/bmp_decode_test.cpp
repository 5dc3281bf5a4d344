// BMP variants the own reader leaves to the platform decoder, built byte by byte.
#include <gtest/gtest.h>

#include "image/image_info.h"
#include "platform/picture_decoder.h"
#include "support/test_support.h"
#include "test_encoders.h"

namespace mevra {
namespace {

using test::bmp_info;
using test::bytes;
using test::make_bmp;

decoded_picture decode_bmp_ok(const bytes& file) {
    decoded_picture pic;
    std::string error;
    EXPECT_TRUE(decode_picture(file, pic, error)) << error;
    EXPECT_EQ(pic.container, picture_container::bmp);
    return pic;
}

bytes grey_palette(int entries) {
    bytes out(static_cast<size_t>(entries) * 4, 0);  // blue, green, red, reserved
    for (int i = 0; i < entries; ++i)
        for (int c = 0; c < 3; ++c)
            out[static_cast<size_t>(i) * 4 + c] = static_cast<uint8_t>(i);
    return out;
}

const bytes rle8_pixels = {
    0x03, 0x07, 0x00, 0x00,                          // bottom row: three 7s, end of line
    0x00, 0x03, 0x01, 0x02, 0x03, 0x00,              // absolute 1 2 3, padded
    0x05, 0x09, 0x00, 0x00,                          // a run of 9s cut at the edge
    0x00, 0x02, 0x02, 0x00, 0x01, 0x04, 0x00, 0x01,  // jump right by 2, one 4, end
};

TEST(BmpDecode, PaletteDepthsAndRowOrder) {
    // 1 bit, 10 × 2, bottom-up: the top row comes last in the file.
    auto one = decode_bmp_ok(make_bmp(bmp_info(40, 10, 2, 1, 0, 2), {0, 0, 0, 0, 255, 255, 255, 0},
                                  {0xFF, 0xC0, 0, 0, 0xA5, 0x40, 0, 0}));
    EXPECT_EQ(one.index_bits, 1);
    EXPECT_EQ(one.palette, (std::vector<uint32_t>{0xFF000000, 0xFFFFFFFF}));
    EXPECT_EQ(one.indices, (bytes{1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

    auto two = decode_bmp_ok(make_bmp(bmp_info(40, 3, 1, 2, 0), grey_palette(4), {0x1B, 0, 0, 0}));
    EXPECT_EQ(two.index_bits, 4);
    EXPECT_EQ(two.palette.size(), 4u);
    EXPECT_EQ(two.indices, (bytes{0, 1, 2}));

    // Top-down 24 bits with row padding.
    auto top = decode_bmp_ok(make_bmp(bmp_info(40, 2, -2, 24, 0), {},
                                  {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
    EXPECT_EQ(top.argb, (std::vector<uint32_t>{0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}));

    // OS/2 core header: 16-bit sizes and 3-byte palette entries.
    bytes core;
    test::put_u32(core, 12);
    test::put_u16(core, 2);
    test::put_u16(core, 1);
    test::put_u16(core, 1);
    test::put_u16(core, 8);
    bytes palette;
    for (int i = 0; i < 256; ++i)
        palette.insert(palette.end(), {uint8_t(i), 0, uint8_t(255 - i)});
    auto os2 = decode_bmp_ok(make_bmp(core, palette, {1, 200, 0, 0}));
    EXPECT_EQ(os2.index_bits, 8);
    EXPECT_EQ(os2.indices, (bytes{1, 200}));
    EXPECT_EQ(os2.palette[1], 0xFFFE0001u);
    EXPECT_EQ(os2.palette[200], 0xFF3700C8u);
}

TEST(BmpDecode, RunLengthEncodingWithEscapes) {
    auto rle8 = decode_bmp_ok(make_bmp(bmp_info(40, 4, 3, 8, 1), grey_palette(256), rle8_pixels));
    EXPECT_EQ(rle8.index_bits, 8);
    EXPECT_EQ(rle8.indices, (bytes{0, 0, 4, 0, 1, 2, 3, 9, 7, 7, 7, 0}));

    // RLE4 with only four palette entries: index 4 still gets a (black) entry,
    // and the nibble past the right edge is dropped.
    auto rle4 = decode_bmp_ok(make_bmp(bmp_info(40, 5, 1, 4, 2, 4), grey_palette(4),
                                   {0x03, 0x12, 0x00, 0x03, 0x34, 0x50, 0x00, 0x01}));
    EXPECT_EQ(rle4.index_bits, 4);
    EXPECT_EQ(rle4.indices, (bytes{1, 2, 1, 3, 4}));
    ASSERT_EQ(rle4.palette.size(), 5u);
    EXPECT_EQ(rle4.palette[4], 0xFF000000u);

    // Runs and jumps past the bottom, and data that stops mid-run, end cleanly.
    auto wild =
        decode_bmp_ok(make_bmp(bmp_info(40, 2, 2, 8, 1), grey_palette(2),
                           {0xFF, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0x03, 0x01, 0x00, 0xFE, 0x01}));
    EXPECT_EQ(wild.indices, (bytes{0, 0, 1, 1}));

    test::temp_dir dir;
    test::write_bytes(dir.file("r.bmp"),
                      make_bmp(bmp_info(40, 4, 3, 8, 1), grey_palette(256), rle8_pixels));
    image_info img(dir.file("r.bmp"));
    EXPECT_EQ(img.format, IMGFMT_BMP);
    EXPECT_EQ(img.image_type, IMGTYP_256);
    EXPECT_EQ(img.color_cnt[7], 3);
}

TEST(BmpDecode, SixteenBitAndBitFields) {
    bytes rgb555;
    for (uint32_t v : {0x7C00u, 0x03FFu})
        test::put_u16(rgb555, v);
    EXPECT_EQ(decode_bmp_ok(make_bmp(bmp_info(40, 2, 1, 16, 0), {}, rgb555)).argb,
              (std::vector<uint32_t>{0xFFFF0000, 0xFF00FFFF}));

    // 5-6-5 masks after a 40-byte header.
    bytes masks, rgb565;
    for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu})
        test::put_u32(masks, m);
    for (uint32_t v : {0xF800u, 0x07E0u, 0x0010u, 0u})
        test::put_u16(rgb565, v);
    EXPECT_EQ(decode_bmp_ok(make_bmp(bmp_info(40, 4, 1, 16, 3), masks, rgb565)).argb,
              (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF000083, 0xFF000000}));

    // V5 header with an alpha mask: alpha is kept; without one it is opaque.
    const std::vector<uint32_t> argb_masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const bytes pixel = {0x30, 0x20, 0x10, 0x80};
    EXPECT_EQ(decode_bmp_ok(make_bmp(bmp_info(124, 1, -1, 32, 3, 0, argb_masks), {}, pixel)).argb,
              (std::vector<uint32_t>{0x80102030}));
    EXPECT_EQ(decode_bmp_ok(make_bmp(bmp_info(40, 1, -1, 32, 0), {}, pixel)).argb,
              (std::vector<uint32_t>{0xFF102030}));

    // Masks in a 56-byte header, blue and red swapped.
    auto swapped =
        decode_bmp_ok(make_bmp(bmp_info(56, 1, 1, 32, 3, 0, {0xFF, 0xFF00, 0xFF0000, 0}), {}, pixel));
    EXPECT_EQ(swapped.argb, (std::vector<uint32_t>{0xFF302010}));
}

TEST(BmpDecode, UnsupportedLayoutsAreRefused) {
    decoded_picture pic;
    std::string error;
    EXPECT_FALSE(decode_picture(make_bmp(bmp_info(40, 2, 2, 24, 1), {}, bytes(16)), pic, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(decode_picture(make_bmp(bmp_info(40, 2, 2, 7, 0), {}, bytes(16)), pic, error));
    EXPECT_FALSE(decode_picture(make_bmp(bmp_info(40, 2, 2, 32, 4), {}, bytes(16)), pic, error));
    EXPECT_FALSE(decode_picture(make_bmp(bmp_info(8, 2, 2, 32, 0), {}, bytes(16)), pic, error));
}

}  // namespace
}  // namespace mevra
