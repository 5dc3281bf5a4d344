#include <gtest/gtest.h>

#include <random>

#include "core/platform/encode_readback.h"
#include "platform/picture_encoder.h"

namespace mevra {
namespace {

platform_bitmap indexed_bitmap(int bits, int width, int height, uint32_t seed) {
    platform_bitmap b;
    b.width = width;
    b.height = height;
    b.index_bits = bits;
    const int entries = 1 << bits;
    std::mt19937 rng(seed);
    for (int i = 0; i < entries; ++i)
        b.palette.push_back(0xFF000000u | (rng() & 0xFFFFFF));
    for (int i = 0; i < width * height; ++i) {
        b.indices.push_back(static_cast<uint8_t>(rng() % static_cast<unsigned>(entries)));
    }
    return b;
}

test::gif_readback encode_and_read(const platform_bitmap& b) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(encode_gif(b, bytes, error)) << error;
    return test::read_gif(bytes);
}

TEST(EncodeGif, EightBitBitmapKeepsPaletteAndIndicesExactly) {
    // An odd width and more than one LZW code-size reset worth of pixels.
    platform_bitmap b = indexed_bitmap(8, 131, 97, 7);
    test::gif_readback gif = encode_and_read(b);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.width, 131);
    EXPECT_EQ(gif.height, 97);
    EXPECT_EQ(gif.image_count, 1);
    EXPECT_FALSE(gif.interlaced);
    EXPECT_EQ(gif.colors, b.palette);
    EXPECT_EQ(gif.indices, b.indices);
    EXPECT_EQ(gif.transparent, -1);
}

TEST(EncodeGif, FourBitBitmapGetsA256EntryTablePaddedWithBlack) {
    platform_bitmap b = indexed_bitmap(4, 9, 5, 3);
    test::gif_readback gif = encode_and_read(b);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.colors.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(gif.colors[i], i < 16 ? b.palette[i] : 0xFF000000u) << i;
    }
    EXPECT_EQ(gif.indices, b.indices);
}

TEST(EncodeGif, FirstFullyTransparentEntryBecomesTheTransparentIndex) {
    platform_bitmap b = indexed_bitmap(8, 4, 4, 11);
    b.palette[5] = 0x00123456;  // alpha 0: transparent
    b.palette[9] = 0x00FFFFFF;  // a later one loses
    b.palette[2] = 0x80FF0000;  // translucent is not transparent
    test::gif_readback gif = encode_and_read(b);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.transparent, 5);
    EXPECT_EQ(gif.colors[5], 0xFF123456u);  // its colour is kept
    EXPECT_EQ(gif.indices, b.indices);

    platform_bitmap small = indexed_bitmap(4, 3, 3, 12);
    small.palette[15] = 0;
    EXPECT_EQ(encode_and_read(small).transparent, 15);
}

TEST(EncodeGif, RefusesTrueColourAndInconsistentBitmaps) {
    std::vector<uint8_t> bytes;
    std::string error;
    platform_bitmap argb;
    argb.width = argb.height = 2;
    argb.argb.assign(4, 0xFF00FF00u);
    EXPECT_FALSE(encode_gif(argb, bytes, error));
    EXPECT_FALSE(error.empty());

    platform_bitmap bad_index = indexed_bitmap(4, 2, 2, 1);
    bad_index.indices[3] = 16;  // past a 16-entry palette
    error.clear();
    EXPECT_FALSE(encode_gif(bad_index, bytes, error));
    EXPECT_FALSE(error.empty());

    platform_bitmap short_buffer = indexed_bitmap(8, 4, 4, 1);
    short_buffer.indices.pop_back();
    EXPECT_FALSE(encode_gif(short_buffer, bytes, error));

    platform_bitmap empty;
    EXPECT_FALSE(encode_gif(empty, bytes, error));
}

}  // namespace
}  // namespace mevra
