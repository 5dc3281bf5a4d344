#include <gtest/gtest.h>

#include "image/image_info.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::argb_pixels;
using test::make_argb;
using test::make_argb_by;

TEST(FlipAndRotate, RotateRightPutsTheLeftColumnOnTopReadBottomUp) {
    // 3 × 2:  1 2 3
    //         4 5 6
    auto img = make_argb(3, 2, {1, 2, 3, 4, 5, 6});
    img.flip_and_rotate(0);
    ASSERT_EQ(img.width, 2);
    ASSERT_EQ(img.height, 3);
    EXPECT_EQ(argb_pixels(img), (std::vector<uint32_t>{4, 1, 5, 2, 6, 3}));
}

TEST(FlipAndRotate, RotateLeftFlipAndMirrorMoveEveryPixelWhereExpected) {
    auto rotated = make_argb(3, 2, {1, 2, 3, 4, 5, 6});
    rotated.flip_and_rotate(1);
    EXPECT_EQ(rotated.width, 2);
    EXPECT_EQ(argb_pixels(rotated), (std::vector<uint32_t>{3, 6, 2, 5, 1, 4}));

    auto flipped = make_argb(3, 2, {1, 2, 3, 4, 5, 6});
    flipped.flip_and_rotate(2);
    EXPECT_EQ(flipped.width, 3);
    EXPECT_EQ(argb_pixels(flipped), (std::vector<uint32_t>{4, 5, 6, 1, 2, 3}));

    auto mirrored = make_argb(3, 2, {1, 2, 3, 4, 5, 6});
    mirrored.flip_and_rotate(3);
    EXPECT_EQ(argb_pixels(mirrored), (std::vector<uint32_t>{3, 2, 1, 6, 5, 4}));
}

TEST(FlipAndRotate, InversesRestoreImagesLargerThanOneTile) {
    // 131 × 70 crosses several 64-pixel tiles with ragged edges.
    auto original = make_argb_by(131, 70, [](int x, int y) { return uint32_t(y * 1000 + x); });
    auto img = original;
    for (int i = 0; i < 4; ++i)
        img.flip_and_rotate(0);
    EXPECT_EQ(img.argb_buff, original.argb_buff);
    img.flip_and_rotate(0);
    img.flip_and_rotate(1);
    EXPECT_EQ(img.argb_buff, original.argb_buff);
    img.flip_and_rotate(2);
    img.flip_and_rotate(2);
    img.flip_and_rotate(3);
    img.flip_and_rotate(3);
    EXPECT_EQ(img.argb_buff, original.argb_buff);
    EXPECT_EQ(img.width, 131);

    // Two right turns are one flip plus one mirror.
    auto turned = original;
    turned.flip_and_rotate(0);
    turned.flip_and_rotate(0);
    auto flipped = original;
    flipped.flip_and_rotate(2);
    flipped.flip_and_rotate(3);
    EXPECT_EQ(turned.argb_buff, flipped.argb_buff);
}

TEST(FlipAndRotate, IndexedImagesPermuteIndicesAndKeepTheTable) {
    auto img =
        test::make_indexed(IMGTYP_256, 2, 2, {0xFF000000u, 0xFFFFFFFFu, 0xFFFF0000u}, {0, 1, 2, 2});
    auto table = img.color;
    img.flip_and_rotate(0);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{2, 0, 2, 1}));
    EXPECT_EQ(img.color, table);
    EXPECT_EQ(img.color_cnt[2], 2);
    EXPECT_TRUE(img.argb_buff.empty());
}

TEST(FlipAndRotate, UnknownModesAndEmptyImagesChangeNothing) {
    auto img = make_argb(3, 2, {1, 2, 3, 4, 5, 6});
    img.flip_and_rotate(4);
    img.flip_and_rotate(-1);
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(argb_pixels(img), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    image_info empty;
    empty.flip_and_rotate(0);
    EXPECT_EQ(empty.width, 0);
}

}  // namespace
}  // namespace mevra
