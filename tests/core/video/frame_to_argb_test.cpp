// The player's conversion of a decoded bitmap into an ARGB image.
#include <gtest/gtest.h>

#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

namespace mevra {
namespace {

TEST(FrameToArgbTest, TwentyFourBitRowsArePaddedAndFlipped) {
    // 322 × 3 pixels: rows of 966 bytes padded to 968; bottom-up storage.
    std::vector<uint8_t> dib = make_dib(322, 2, 24, {});
    ASSERT_EQ(dib.size(), 40u + 968u * 2);
    uint8_t* px = dib_pixels(dib, 0);
    px[0] = 1, px[1] = 2, px[2] = 3;                         // bottom row, x 0
    px[968 + 321 * 3] = 0x10, px[968 + 321 * 3 + 2] = 0x30;  // top row, x 321
    image_info img;
    ASSERT_EQ(frame_to_argb(dib, img), 0);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    EXPECT_EQ(img.argb_buff[322], 0xFF030201u);  // row 1 is the bottom row
    EXPECT_EQ(img.argb_buff[321], 0xFF300010u);
}

TEST(FrameToArgbTest, EightBitWithoutCountReadsAFullTable) {
    std::vector<uint32_t> table(256, 0);
    table[7] = 0x00123456u;
    std::vector<uint8_t> dib = make_dib(3, -1, 8, table);
    dib[32] = 0;  // colour count 0: the table is still 256 entries
    dib_pixels(dib, 256)[1] = 7;
    image_info img;
    ASSERT_EQ(frame_to_argb(dib, img), 0);
    EXPECT_EQ(img.argb_buff[1], 0xFF123456u);
    EXPECT_EQ(img.argb_buff[0], 0xFF000000u);
}

TEST(FrameToArgbTest, SixteenAndThirtyTwoBitChannels) {
    std::vector<uint8_t> d16 = make_dib(2, -1, 16, {});
    uint8_t* p = dib_pixels(d16, 0);
    p[0] = 0xFF, p[1] = 0x7F;  // 0x7FFF
    p[2] = 0x1F, p[3] = 0x80;  // top bit ignored, blue 31
    image_info img;
    ASSERT_EQ(frame_to_argb(d16, img), 0);
    EXPECT_EQ(img.argb_buff[0], 0xFFF8F8F8u);
    EXPECT_EQ(img.argb_buff[1], 0xFF0000F8u);

    std::vector<uint8_t> d32 = make_dib(1, 1, 32, {});
    p = dib_pixels(d32, 0);
    p[0] = 1, p[1] = 2, p[2] = 3, p[3] = 0x40;
    ASSERT_EQ(frame_to_argb(d32, img), 0);
    EXPECT_EQ(img.argb_buff[0], 0x40030201u);
}

TEST(FrameToArgbTest, OtherBitCountsGiveTransparentBlack) {
    std::vector<uint8_t> dib = make_dib(4, 2, 4, {});
    std::fill(dib.begin() + 40, dib.end(), 0xFF);
    image_info img;
    ASSERT_EQ(frame_to_argb(dib, img), 0);
    EXPECT_EQ(img.width, 4);
    EXPECT_EQ(img.height, 2);
    for (uint32_t v : img.argb_buff)
        EXPECT_EQ(v, 0u);
}

TEST(FrameToArgbTest, ShortOrBrokenBitmapsAreRefused) {
    image_info img(1, 1, std::vector<uint32_t>{5}.data());
    std::vector<uint8_t> dib = make_dib(10, 10, 24, {});
    dib.resize(dib.size() - 40);  // the first stored row is cut
    EXPECT_EQ(frame_to_argb(dib, img), -1);
    EXPECT_EQ(img.argb_buff[0], 5u);  // unchanged
    dib = make_dib(10, 10, 24, {});
    dib[4] = 0;  // width 0
    EXPECT_EQ(frame_to_argb(dib, img), -1);
    dib = make_dib(10, 10, 24, {});
    dib[0] = 0xFF, dib[1] = 0xFF;  // header size beyond the data
    EXPECT_EQ(frame_to_argb(dib, img), -1);
    EXPECT_EQ(frame_to_argb(std::span<const uint8_t>(dib.data(), 20), img), -1);
}

}  // namespace
}  // namespace mevra
