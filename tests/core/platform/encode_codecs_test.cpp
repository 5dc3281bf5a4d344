#include <gtest/gtest.h>

#include <random>

#include "core/platform/encode_readback.h"
#include "platform/picture_encoder.h"
#include "support/test_support.h"

namespace mevra {
namespace {

platform_bitmap random_bitmap(int bits, int width, int height, uint32_t seed) {
    platform_bitmap b{width, height, bits, {}, {}, {}};
    std::mt19937 rng(seed);
    for (int i = 0; i < (bits ? 1 << bits : 0); ++i)
        b.palette.push_back(rng() | 0xFF000000u);
    for (int i = 0; i < width * height; ++i) {
        if (bits)
            b.indices.push_back(static_cast<uint8_t>(rng() % (1u << bits)));
        else
            b.argb.push_back(rng());
    }
    return b;
}

std::vector<uint8_t> encoded(bool (*encode)(const platform_bitmap&, std::vector<uint8_t>&,
                                            std::string&),
                             const platform_bitmap& b) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(encode(b, bytes, error)) << error;
    return bytes;
}

TEST(EncodeGif, FourBitPaletteIsPaddedAndFirstTransparentEntryWins) {
    platform_bitmap b = random_bitmap(4, 131, 97, 3);  // odd width, many LZW resets
    b.palette[5] = 0x00123456;
    b.palette[9] = 0x00FFFFFF;
    b.palette[2] = 0x80FF0000;  // translucent is not transparent
    test::readback gif = test::read_gif(encoded(encode_gif, b));
    ASSERT_TRUE(gif.ok);
    EXPECT_TRUE(gif.gif89a_progressive);
    ASSERT_EQ(gif.colors.size(), 256u);
    for (size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(gif.colors[i], i < 16 ? b.palette[i] | 0xFF000000u : 0xFF000000u) << i;
    }
    EXPECT_EQ(gif.indices, b.indices);
    EXPECT_EQ(gif.transparent, 5);
}

TEST(EncodeGif, RefusesTrueColourAndBitmapsThatDoNotAddUp) {
    platform_bitmap bad_index = random_bitmap(4, 2, 2, 1);
    bad_index.indices[3] = 16;
    platform_bitmap short_rows = random_bitmap(8, 4, 4, 1);
    short_rows.indices.pop_back();
    for (const platform_bitmap& b :
         {random_bitmap(0, 2, 2, 1), bad_index, short_rows, platform_bitmap{}}) {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_FALSE(encode_gif(b, bytes, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(EncodeJpeg, ReadsBackCloseAndQualityDecidesTheSize) {
    image_info photo = test::make_photo_like(123, 77, 42);
    platform_bitmap b{123, 77, 0, {}, {}, photo.argb_buff};
    std::vector<uint8_t> fine, rough;
    std::string error;
    ASSERT_TRUE(encode_jpeg(b, 95, fine, error)) << error;
    ASSERT_TRUE(encode_jpeg(b, 10, rough, error)) << error;
    EXPECT_LT(rough.size(), fine.size());
    test::readback jpg = test::read_jpeg(fine);
    ASSERT_TRUE(jpg.ok);
    EXPECT_EQ(jpg.width, 123);
    EXPECT_LT(test::mean_channel_error(jpg.pixels, b.argb), 4.0);
}

}  // namespace
}  // namespace mevra
