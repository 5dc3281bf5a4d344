#include <gtest/gtest.h>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::argb_pixels;
using test::make_argb;
using test::make_indexed;

class ColorOneCalc : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }

    static uint32_t one(int op, uint32_t c) {
        auto img = make_argb(1, 1, {c});
        img.color_one_calc(op);
        return img.argb_buff[0];
    }
};

TEST_F(ColorOneCalc, LumaIsTruncatedNotRounded) {
    EXPECT_EQ(one(0, 0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(one(0, 0xFF0000FFu), 0x1D0000FFu);  // 0.1145 × 255 = 29.2
    EXPECT_EQ(one(0, 0x00000000u), 0x00000000u);
    EXPECT_EQ(one(3, 0x80FF0000u), 0x804C4C4Cu);  // 0.2989 × 255 = 76.2
    EXPECT_EQ(one(3, 0x12FFFFFFu), 0x12FFFFFFu);
}

TEST_F(ColorOneCalc, OpaqueAndInvertKeepTheOtherChannels) {
    EXPECT_EQ(one(1, 0x00123456u), 0xFF123456u);
    EXPECT_EQ(one(4, 0x00123456u), 0x00EDCBA9u);
    EXPECT_EQ(one(8, 0x00123456u), 0x00123456u);
    EXPECT_EQ(one(-1, 0x00123456u), 0x00123456u);
}

TEST_F(ColorOneCalc, IndexedImagesChangeOnlyTheUsedPartOfTheTable) {
    auto img = make_indexed(IMGTYP_256, 2, 2, {0xFF000000u, 0x80123456u}, {0, 1, 1, 0});
    img.color[5] = 0x00ABCDEFu;  // filler beyond color_num
    auto indices = img.index_buff;
    img.color_one_calc(4);
    EXPECT_EQ(img.index_buff, indices);
    EXPECT_EQ(img.color[0], 0xFFFFFFFFu);
    EXPECT_EQ(img.color[1], 0x80EDCBA9u);
    EXPECT_EQ(img.color[5], 0x00ABCDEFu);
    EXPECT_EQ(img.image_type, IMGTYP_256);
}

TEST_F(ColorOneCalc, KeyOperationsNeedASwitchAndUseTheIndexRuleOnlyOnTables) {
    // All switches off: nothing is a key colour.
    EXPECT_EQ(one(2, 0xFF00FF00u), 0xFF00FF00u);
    EXPECT_EQ(one(6, 0xFF00FF00u), 0xFF00FF00u);

    settings().nuki_flg_color = 1;
    settings().back_color = 0x11223344u;
    EXPECT_EQ(one(2, 0xFF00FF00u), 0x0000FF00u);
    EXPECT_EQ(one(2, 0xFF00FF01u), 0xFF00FF01u);
    EXPECT_EQ(one(6, 0xFF00FF00u), 0x11223344u);
    settings().nuki_flg_color = 0;

    // Palette entry 0 is a key colour only for a table entry, never for a pixel.
    settings().nuki_flg_palette0 = 1;
    auto argb = make_argb(2, 1, {0xFF010203u, 0xFF040506u});
    argb.color_one_calc(2);
    argb.color_one_calc(6);
    EXPECT_EQ(argb_pixels(argb), (std::vector<uint32_t>{0xFF010203u, 0xFF040506u}));

    auto indexed = make_indexed(IMGTYP_256, 2, 1, {0xFF010203u, 0xFF040506u}, {0, 1});
    indexed.color_one_calc(2);
    EXPECT_EQ(indexed.color[0], 0x00010203u);
    EXPECT_EQ(indexed.color[1], 0xFF040506u);
    indexed.color_one_calc(6);
    EXPECT_EQ(indexed.color[0], 0x11223344u);
}

TEST_F(ColorOneCalc, FillTransparentStopsAtTheFirstRingThatHasVisiblePixels) {
    const uint32_t red = 0xFFFF0000u, blue = 0xFF0000FFu, clear = 0x00000000u;
    // The centre has opaque red on its left and blue diagonally: only red counts.
    auto img = make_argb(3, 3,
                         {clear, clear, blue,  //
                          red, clear, clear,   //
                          clear, clear, clear});
    img.color_one_calc(5);
    EXPECT_EQ(img.argb_buff[4], 0x00FF0000u);
    // Top-left corner: red below (16) only in the first ring.
    EXPECT_EQ(img.argb_buff[0], 0x00FF0000u);
    // Top middle: blue on the right ends the search before red on the diagonal.
    EXPECT_EQ(img.argb_buff[1], 0x000000FFu);
    // Bottom right: nothing next to it or diagonal; blue two rows up ends the
    // search before red at (-2, -1) of the outer ring is reached.
    EXPECT_EQ(img.argb_buff[8], 0x000000FFu);
    // Bottom left: red directly above.
    EXPECT_EQ(img.argb_buff[6], 0x00FF0000u);
    // Opaque pixels are copied unchanged.
    EXPECT_EQ(img.argb_buff[3], red);
}

TEST_F(ColorOneCalc, FillTransparentReadsOnlyTheUnchangedImage) {
    // A 1-pixel-high strip: the visible pixel at the left reaches two columns,
    // the rest stay as they were, even at the right border.
    auto img = make_argb(5, 1, {0xFF102030u, 0x00000000u, 0x00000000u, 0x00000000u, 0x00FFFFFFu});
    img.color_one_calc(5);
    EXPECT_EQ(argb_pixels(img), (std::vector<uint32_t>{0xFF102030u, 0x00102030u, 0x00102030u,
                                                       0x00000000u, 0x00FFFFFFu}));
}

TEST_F(ColorOneCalc, FillTransparentWeightsTheOuterRingAndTurnsIndexedIntoArgb) {
    // Pixel (0,0) of a 3 × 3 image with only (2,1) and (1,2) visible: positions
    // 0-11 find nothing, the outer ring gives weight 4 each.
    auto img = make_indexed(IMGTYP_256, 3, 3, {0x00000000u, 0xFF640000u, 0xFF000064u},
                            {0, 0, 0, 0, 0, 1, 0, 2, 0});
    img.color_one_calc(5);
    ASSERT_EQ(img.image_type, IMGTYP_RGB);
    ASSERT_TRUE(img.index_buff.empty());
    EXPECT_EQ(img.argb_buff[0], 0x00320032u);
}

TEST_F(ColorOneCalc, KeyToFirstSwapsTheFirstAndMovesTheRest) {
    settings().nuki_flg_alpha0 = 1;
    const std::vector<uint32_t> palette = {0xFF000000u, 0xFF111111u, 0xFF222222u,
                                           0x00333333u, 0xFF444444u, 0x00555555u};
    auto img = make_indexed(IMGTYP_256, 6, 2, palette, {0, 1, 2, 3, 4, 5, 0, 3, 5, 5, 3, 0});
    img.color_one_calc(7);
    EXPECT_EQ(img.color[0], 0x00333333u);
    EXPECT_EQ(img.color[3], 0xFF000000u);
    EXPECT_EQ(img.color[5], 0x00555555u);  // kept, but no longer used
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{3, 1, 2, 0, 4, 0, 3, 0, 0, 0, 0, 3}));
    EXPECT_EQ(img.color_cnt[0], 6);
    EXPECT_EQ(img.color_cnt[3], 3);
    EXPECT_EQ(img.color_cnt[5], 0);
}

TEST_F(ColorOneCalc, KeyToFirstLeavesArgbImagesAndKeyFreeTablesAlone) {
    settings().nuki_flg_alpha0 = 1;
    auto argb = make_argb(2, 1, {0xFF000000u, 0x00FFFFFFu});
    argb.color_one_calc(7);
    EXPECT_EQ(argb_pixels(argb), (std::vector<uint32_t>{0xFF000000u, 0x00FFFFFFu}));

    settings().nuki_flg_alpha0 = 0;
    auto img = make_indexed(IMGTYP_16, 2, 1, {0xFF000000u, 0x00FFFFFFu}, {1, 0});
    img.color_one_calc(7);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(img.color[0], 0xFF000000u);
}

}  // namespace
}  // namespace mevra
